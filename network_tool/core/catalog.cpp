#include "catalog.h"

#include <fstream>
#include <string>
#include <system_error>

#include "text_scan.h"

namespace combra {

std::filesystem::path CatalogPath(const std::filesystem::path& programFolder) {
    return programFolder / "Support" / "allCombra.csv";
}

bool EnterProgramFolder(const std::filesystem::path& folder, MessageSink* sink) {
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    if (ec) {
        if (sink) sink->ShowMessage("Cannot set current working directory.");
        return false;
    }
    return true;
}

namespace {

// An efficiency token: "ND", empty or not a number gives 0, and so does a number out of the
// float's range, which would otherwise become an infinity that no model input file can hold.
float EfficiencyOf(std::string_view token) {
    if (token == "ND") return 0.0f;
    std::size_t pos = 0;
    float value = 0.0f;
    if (!detail::ScanFloat(token, pos, value)) return 0.0f;
    return value;
}

}  // namespace

std::optional<BmpCatalogEntry> ParseCatalogLine(std::string_view line) {
    if (line.find(",,") != std::string_view::npos) return std::nullopt;

    // Tokens between commas; runs of commas (and leading or trailing ones) give no token.
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) comma = line.size();
        if (comma > start) tokens.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }

    BmpCatalogEntry entry;
    if (tokens.size() > 0) entry.name1 = std::string(tokens[0]);
    if (tokens.size() > 1) entry.name2 = std::string(tokens[1]);
    for (int k = 0; k < kPollutantCount; ++k) {
        const std::size_t t = 2 + static_cast<std::size_t>(k);
        entry.eff[k] = t < tokens.size() ? EfficiencyOf(tokens[t]) : 0.0f;
    }
    return entry;
}

std::vector<BmpCatalogEntry> ReadCatalog(const std::filesystem::path& file, MessageSink* sink,
                                         bool* opened) {
    std::vector<BmpCatalogEntry> entries;
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    const bool ok = in && !std::filesystem::is_directory(file, ec);
    if (opened) *opened = ok;
    if (!ok) {
        if (sink) sink->ShowMessage("Cannot open file " + file.string() + " for reading");
        return entries;
    }
    std::string line;
    if (!detail::ReadLine(in, line)) return entries;  // column headings
    while (detail::ReadLine(in, line)) {
        const std::string_view text = detail::TrimLeft(line);
        if (text.empty()) break;  // an empty line ends the catalogue
        if (auto entry = ParseCatalogLine(text)) entries.push_back(std::move(*entry));
    }
    return entries;
}

}  // namespace combra
