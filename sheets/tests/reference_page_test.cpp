// The Reference sheet: the animal masses other sheets read, and the hidden BOD columns.
#include <gtest/gtest.h>

#include "sheets/summary/reference_page.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

TEST(ReferencePage, MassesWhereOtherSheetsReadThem) {
    Workbook book;
    Worksheet& ws = book.addSheet("Reference");
    book.addSheet("Input").select();
    GenerationOptions opt;
    ReferencePage(book, opt);

    // The Feedlots sheet reads C5..C12 and the Animal sheet C5..C17 by row: one animal a row.
    const std::vector<std::pair<const char*, double>> masses = {
        {"Beef cattle", 1000}, {"Dairy cow", 1400}, {"Hog", 200},   {"Sheep", 100},
        {"Horse", 1000},       {"Chicken (Layer)", 4}, {"Turkey", 10}, {"Duck", 4},
        {"Goose", 6},          {"Deer", 40},        {"Beaver", 15}, {"Raccoon", 7},
        {"Other", 0}};
    for (size_t k = 0; k < masses.size(); ++k) {
        const int row = 5 + static_cast<int>(k);
        EXPECT_EQ(ws.cells(row, 2).text(), masses[k].first) << row;
        EXPECT_EQ(ws.cells(row, 3).value(), CellValue(masses[k].second)) << row;
    }
    EXPECT_EQ(ws.range("B3").text(), "Modified from ASAE, 1998");
    EXPECT_EQ(ws.range("C4").text(), "Typical Animal Mass,lb");
    EXPECT_EQ(ws.range("F4").text(), "BOD per Animal,lb/yr");
    EXPECT_TRUE(ws.range("F4").format().font.bold);
    EXPECT_EQ(ws.cells(18, 2).value(), CellValue());  // nothing below the table

    // D..F hold their numbers (constants, not formulas) while hidden; A..C and G stay visible.
    EXPECT_EQ(ws.range("D5").value(), CellValue(1.6));
    EXPECT_EQ(ws.range("E6").value(), CellValue(2.24));
    EXPECT_EQ(ws.range("F5").value(), CellValue(467.1));
    EXPECT_FALSE(ws.range("F10").hasFormula());
    for (int col = 1; col <= 7; ++col) {
        const bool hidden = col >= 4 && col <= 6;
        auto it = ws.colInfo.find(col);
        EXPECT_EQ(it != ws.colInfo.end() && it->second.hidden, hidden) << col;
    }
    EXPECT_EQ(ws.columns("A").columnWidth(), 5);
    EXPECT_EQ(ws.columns("R").columnWidth(), 16);
    EXPECT_EQ(book.activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

}  // namespace
