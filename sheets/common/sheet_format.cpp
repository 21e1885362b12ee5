#include "sheets/common/sheet_format.h"

#include "workbook/model/style.h"

namespace sheets {

namespace xl = wb::xl;

void solidFill(const wb::Range& r, int colorIndex) {
    r.interior().setColorIndex(colorIndex).setPattern(xl::Solid).setPatternColorIndex(xl::Automatic);
}

void outline(const wb::Range& r) {
    for (int side : {xl::EdgeLeft, xl::EdgeTop, xl::EdgeBottom, xl::EdgeRight})
        r.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(xl::Automatic);
    for (int side : {xl::InsideVertical, xl::InsideHorizontal}) r.borders(side).setLineStyle(xl::None);
}

std::vector<std::string> subwatershedLabels(int n) {
    std::vector<std::string> labels{""};
    for (int i = 1; i <= n; ++i) labels.push_back("W" + std::to_string(i));
    return labels;
}

std::string R(int offset) { return offset == 0 ? "R" : "R[" + std::to_string(offset) + "]"; }
std::string C(int offset) { return offset == 0 ? "C" : "C[" + std::to_string(offset) + "]"; }

std::string rel(int dRow, int dCol) {
    return "R[" + std::to_string(dRow) + "]C[" + std::to_string(dCol) + "]";
}

}  // namespace sheets
