#include "model_file.h"

#include <charconv>

#include "text_scan.h"

namespace combra {

namespace {

void AppendInt(std::string& out, std::int32_t value) {
    char buf[16];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, end);
}

// As "%f" of the float widened to double: six decimals.
void AppendFixed6(std::string& out, float value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                   std::chars_format::fixed, 6);
    if (ec != std::errc()) {  // cannot happen for a float; keep the line well formed
        out += "0.000000";
        return;
    }
    out.append(buf, end);
}

}  // namespace

std::string FormatNodeLine(const BmpNode& node) {
    std::string line;
    line.reserve(96);
    for (std::int32_t v : {node.id, node.downstreamId, node.catalogIndex, node.x, node.y}) {
        AppendInt(line, v);
        line += '\t';
    }
    AppendFixed6(line, node.load);
    for (float e : node.eff) {
        line += '\t';
        AppendFixed6(line, e);
    }
    line += '\n';
    return line;
}

std::optional<BmpNode> ParseNodeLine(std::string_view line) {
    BmpNode node;
    std::size_t pos = 0;
    std::int32_t* ints[] = {&node.id, &node.downstreamId, &node.catalogIndex, &node.x, &node.y};
    for (std::int32_t* field : ints) {
        if (!detail::ScanInt(line, pos, *field)) return std::nullopt;
    }
    if (!detail::ScanFloat(line, pos, node.load)) return std::nullopt;
    for (float& e : node.eff) {
        if (!detail::ScanFloat(line, pos, e)) return std::nullopt;
    }
    return node;
}

}  // namespace combra
