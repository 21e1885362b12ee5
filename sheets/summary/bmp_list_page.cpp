#include "sheets/summary/bmp_list_page.h"

#include <exception>

#include "sheets/summary/bmp_list_file.h"
#include "workbook/model/workbook.h"

namespace {

namespace xl = wb::xl;

// A field goes in as typed entry, so numeric efficiencies become numbers. A field that begins
// with "=" stays text: the list is data, and a formula in it would run in the planner's workbook.
void writeField(const wb::Range& cell, const std::string& field) {
    wb::Range c = cell;
    if (!field.empty() && field.front() == '=')
        c.setText(field);
    else
        c.setValue(field);
}

void fillSheet(wb::Workbook& wb, const std::string& path) {
    wb::Worksheet& ws = wb.sheet("BMPList");
    ws.select();

    const kavro::BmpListContents list = kavro::readBmpListFile(path);
    int n = 0;
    for (const kavro::BmpRecord& record : list.records) {
        ++n;
        ws.range(n, 1, n, kavro::kBmpFieldsPerRecord).select();
        for (int k = 0; k < kavro::kBmpFieldsPerRecord; ++k)
            writeField(ws.cells(n, k + 1), record[static_cast<size_t>(k)]);
    }
    if (!list.ok()) throw wb::WorkbookError(list.error);

    ws.range("A1:G1").interior().setColorIndex(15).setPattern(xl::Solid).setPatternColorIndex(
        xl::Automatic);
    if (n == 0) throw wb::WorkbookError("The BMP list file \"" + path + "\" holds no record.");

    // A thin grid over the block, then the inside lines taken away: a thin outline.
    wb::Range block = ws.range(1, 1, n, 7);
    for (int side : {xl::EdgeLeftOfCell, xl::EdgeRightOfCell, xl::EdgeTopOfCell,
                     xl::EdgeBottomOfCell})
        block.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(
            xl::Automatic);
    block.borders(xl::InsideVertical).setLineStyle(xl::None);
    block.borders(xl::InsideHorizontal).setLineStyle(xl::None);
}

}  // namespace

void BMPListPage(wb::Workbook& wb, GenerationOptions& opt) {
    BMPListPage(wb, opt, opt.BmpListPath.empty() ? kavro::defaultBmpListPath() : opt.BmpListPath);
}

void BMPListPage(wb::Workbook& wb, GenerationOptions& /*opt*/, const std::string& path) {
    try {
        fillSheet(wb, path);
    } catch (const std::exception& e) {
        throw wb::WorkbookError(std::string(e.what()) + kBmpListFailure);
    }
}
