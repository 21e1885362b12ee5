// The workbook package's parts, without the zip container in the way: the input is the package
// written out as text, each part a line "@@ name" followed by its content up to the next such
// line. The parts are zipped into a package, which is then checked as in package_check.h. Byte
// changes to a zipped file mostly break its checksums; here they reach the XML.
#include <vector>

#include "package_check.h"
#include "workbook/ooxml/zip.h"

namespace {

std::vector<std::pair<std::string, std::string>> partsOf(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> parts;
    constexpr std::string_view kMarker = "@@ ";
    std::size_t pos = text.substr(0, kMarker.size()) == kMarker ? 0 : text.find("\n@@ ");
    while (pos != std::string_view::npos) {
        if (text[pos] == '\n') ++pos;
        const std::size_t nameEnd = text.find('\n', pos);
        if (nameEnd == std::string_view::npos) break;
        std::string name(text.substr(pos + kMarker.size(), nameEnd - pos - kMarker.size()));
        const std::size_t next = text.find("\n@@ ", nameEnd);  // may be the name line's own end
        const std::size_t start = nameEnd + 1;
        const std::size_t end = next == std::string_view::npos ? text.size() : next;
        parts.emplace_back(std::move(name),
                           end > start ? std::string(text.substr(start, end - start)) : "");
        pos = next;
    }
    return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavro::fuzz;
    const std::string path = scratchPath("template.xlsm");
    try {
        wb::ooxml::ZipWriter zip(path);
        for (auto& [name, content] : partsOf(asText(data, size))) zip.add(name, std::move(content));
        zip.commit();
    } catch (const wb::WorkbookError&) {
        return 0;  // names the zip container cannot hold
    }
    checkPackage(path);
    return 0;
}
