#include "results_output.h"

#include <charconv>
#include <cmath>
#include <string>

namespace combra {

namespace {

constexpr const char* kCsvNames[kPollutantCount] = {"N", "P", "BOD", "Sediment", "EColi"};
constexpr const char* kTextNames[kPollutantCount] = {"N Eff", "P Eff", "BOD Eff",
                                                     "Sediment Eff", "EColi Eff"};

// Six decimals, whatever the C locale says; JSON has no infinity, so null there.
std::string Fixed6(float value, bool json) {
    if (json && !std::isfinite(value)) return "null";
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                   std::chars_format::fixed, 6);
    return ec == std::errc() ? std::string(buf, end) : std::string("null");
}

}  // namespace

void WriteResults(std::ostream& out, const CBMPDoc& doc, ResultFormat format, bool allNodes) {
    const bool json = format == ResultFormat::kJson;
    if (format == ResultFormat::kCsv) out << "id,total,N,P,BOD,Sediment,EColi\n";
    if (json) out << "[";
    bool first = true;
    for (const auto& node : doc.Nodes()) {
        if (allNodes ? !node->processed : node->downstream != nullptr) continue;
        switch (format) {
            case ResultFormat::kCsv:
                out << node->id << ',' << Fixed6(node->total, false);
                for (float c : node->combined) out << ',' << Fixed6(c, false);
                out << '\n';
                break;
            case ResultFormat::kText:
                out << "Node " << node->id << ": Total Load or Area=" << Fixed6(node->total, false);
                for (int k = 0; k < kPollutantCount; ++k)
                    out << ' ' << kTextNames[k] << '=' << Fixed6(node->combined[k], false);
                out << '\n';
                break;
            case ResultFormat::kJson:
                out << (first ? "\n  " : ",\n  ") << "{\"id\": " << node->id
                    << ", \"total\": " << Fixed6(node->total, true);
                for (int k = 0; k < kPollutantCount; ++k)
                    out << ", \"" << kCsvNames[k] << "\": " << Fixed6(node->combined[k], true);
                out << '}';
                break;
        }
        first = false;
    }
    if (json) out << (first ? "]\n" : "\n]\n");
}

}  // namespace combra
