// The framed tables of the generated workbook. Every step writes through the object-model
// operations, in the order the tables have always been drawn, so that later steps (the merges,
// the fill-down of the sum column) see exactly what the earlier ones left.
#include "workbook/tables.h"

#include <algorithm>
#include <string>

namespace wb {

namespace {

// FArray(i) / RArray(i), with the spreadsheet's "subscript out of range" as a workbook error.
const std::string& item(const std::vector<std::string>& list, int i, const char* what,
                        const std::string& title) {
    if (i < 0 || i >= static_cast<int>(list.size()))
        throw WorkbookError(std::string(what) + "(" + std::to_string(i) + ") of the table \"" +
                            title + "\" does not exist (" + std::to_string(list.size()) +
                            " entries)");
    return list[static_cast<size_t>(i)];
}

// A selection grown until it holds every merged area it touches, as the spreadsheet selects.
RangeRef widenToMerges(const Worksheet& ws, RangeRef sel) {
    for (bool grown = true; grown;) {
        grown = false;
        for (const RangeRef& m : ws.merges) {
            if (!m.intersects(sel)) continue;
            RangeRef u{std::min(sel.r1, m.r1), std::min(sel.c1, m.c1), std::max(sel.r2, m.r2),
                       std::max(sel.c2, m.c2)};
            if (!(u == sel)) {
                sel = u;
                grown = true;
            }
        }
    }
    return sel;
}

// Step 1: a full grid of thin automatic lines over the block, no diagonals.
void drawGrid(Worksheet& ws, int r0, int c0, int lastRow, int lastCol) {
    Range block = ws.range(r0, c0, lastRow, lastCol);
    block.select();
    block.borders(xl::DiagonalDown).setLineStyle(xl::None);
    block.borders(xl::DiagonalUp).setLineStyle(xl::None);
    for (int side : {xl::EdgeLeftOfCell, xl::EdgeRightOfCell, xl::EdgeTopOfCell,
                     xl::EdgeBottomOfCell, xl::EdgeLeftOfCell, xl::EdgeRightOfCell}) {
        block.borders(side)
            .setLineStyle(xl::Continuous)
            .setWeight(xl::Thin)
            .setColorIndex(xl::Automatic);
    }
}

// A header or title: selected, then written as formula text.
void writeText(Worksheet& ws, int row, int col, const std::string& text) {
    Range cell = ws.cells(row, col);
    cell.select();
    cell.setFormulaR1C1(text);
}

// Step 3: the column pairs (C0+t, C0+t+1), t = 1, 3, ... <= c-1, in every row of the block.
void mergePairs(Worksheet& ws, int r0, int c0, int rows, int c, bool merge) {
    for (int row = r0; row <= r0 + rows - 1; ++row)
        for (int t = 1; t <= c - 1; t += 2) ws.range(row, c0 + t, row, c0 + t + 1).setMergeCells(merge);
}

void subwatershedLabels(Worksheet& ws, int r0, int c0, int rows) {
    for (int i = 1; i <= rows - 1; ++i) ws.cells(r0 + i, c0).setValue("W" + std::to_string(i));
}

// Step 5: bold, automatic font, solid grey fill.
void formatHeaderRow(Worksheet& ws, int r0, int c0, int lastCol, bool wrap) {
    Range header = ws.range(r0, c0, r0, lastCol);
    header.font().setBold(true).setColorIndex(xl::Automatic);
    header.interior().setColorIndex(15).setPattern(xl::Solid).setPatternColorIndex(xl::Automatic);
    if (wrap) {
        header.setWrapText(true);
        header.setShrinkToFit(false);
    }
}

// Step 6: the title band above the header row, a fixed width whatever the block's.
void titleBand(Worksheet& ws, const std::string& title, int r0, int c0, int width) {
    Range band = ws.range(r0 - 1, c0, r0 - 1, c0 + width - 1);
    band.font().setBold(true).setColorIndex(xl::Automatic);
    band.interior().setColorIndex(43).setPattern(xl::Solid).setPatternColorIndex(xl::Automatic);
    writeText(ws, r0 - 1, c0, title);
}

}  // namespace

void CreateTableVesk(Worksheet& ws, const std::string& Title, const std::vector<std::string>& FArray,
                     int OrgR, int OrgC, int R, int c, bool MergeYN, bool Dosum) {
    const int r0 = OrgR, c0 = OrgC, last = c0 + c - 1;
    drawGrid(ws, r0, c0, r0 + R - 1, last);
    // Header j >= 1 goes into the second column of pair j; with an even c the last one lands
    // in column C0 + c, just right of the block.
    for (int k = 0; k <= c; k += 2) writeText(ws, r0, c0 + k, item(FArray, k / 2, "FArray", Title));
    mergePairs(ws, r0, c0, R, c, MergeYN);
    subwatershedLabels(ws, r0, c0, R);
    formatHeaderRow(ws, r0, c0, last, true);
    titleBand(ws, Title, r0, c0, 8);

    // The last column's data cells. As in the spreadsheet, selecting them takes in the whole
    // merged pairs they touch, and the sum goes into the selection's active cell: with merged
    // pairs and an odd c that is the left cell of the last pair (C0 + c - 2), where the pair's
    // value shows and where the builders expect the row total.
    RangeRef sel = widenToMerges(ws, ws.range(r0 + 1, last, r0 + R - 1, last).ref());
    const RangeRef* first = ws.mergeAt(r0 + 1, last);
    const int sumCol = first ? first->c1 : last;
    ws.setSelection(sel, r0 + 1, sumCol);
    // The same text whatever c is: the nine cells from ten to two columns to the left.
    if (Dosum) ws.cells(r0 + 1, sumCol).setFormulaR1C1("=SUM(RC[-10]:RC[-2])");
    if (R > 2) Range(&ws, sel).fillDown();
}

void CreateTableVesk2(Worksheet& ws, const std::string& Title,
                      const std::vector<std::string>& FArray, int OrgR, int OrgC, int R, int c,
                      bool MergeYN) {
    const int r0 = OrgR, c0 = OrgC, last = c0 + c;
    drawGrid(ws, r0, c0, r0 + R - 1, last);
    for (int k = 0; k <= c; ++k) writeText(ws, r0, c0 + k, item(FArray, k, "FArray", Title));
    mergePairs(ws, r0, c0, R, c, MergeYN);
    subwatershedLabels(ws, r0, c0, R);
    formatHeaderRow(ws, r0, c0, last, true);
    titleBand(ws, Title, r0, c0, 8);
}

void CreateTableDunlo(Worksheet& ws, const std::string& Title,
                      const std::vector<std::string>& RArray,
                      const std::vector<std::string>& FArray, int OrgR, int OrgC, int R, int c) {
    const int r0 = OrgR, c0 = OrgC, last = c0 + c - 1;
    drawGrid(ws, r0, c0, r0 + R - 1, last);
    for (int k = 0; k <= c - 1; ++k) writeText(ws, r0, c0 + k, item(FArray, k, "FArray", Title));
    for (int i = 1; i <= R - 1; ++i) writeText(ws, r0 + i, c0, item(RArray, i, "RArray", Title));
    formatHeaderRow(ws, r0, c0, last, false);
    titleBand(ws, Title, r0, c0, 4);
}

}  // namespace wb
