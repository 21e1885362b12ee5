// The Septic sheet on the in-memory model: table positions for one and many subwatersheds, the
// cells the formulas read, the hidden block of defaults and the formats.
#include <gtest/gtest.h>

#include <string>

#include "sheets/sources/septic_page.h"
#include "sheets/tests/sheet_test_support.h"
#include "workbook/formula/formula.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

using sheet_test::Built;
using sheet_test::hidden;

// `before` runs on the empty sheet first, as a template's leftovers.
template <class F = void (*)(Worksheet&)>
Built build(int n, F before = [](Worksheet&) {}) {
    Built b;
    b.book->addSheet("Input");
    before(b.book->addSheet("Septic"));
    b.opt.SubwatershedCount = n;
    SepticPage(*b.book, b.opt);
    b.ws = &b.book->sheet("Septic");
    return b;
}

std::string cell(int row, int col) { return formula::cellAddress(row, col, false, false); }

class SepticLayout : public ::testing::TestWithParam<int> {};

TEST_P(SepticLayout, TablesBlockAndHiddenRows) {
    const int n = GetParam();
    Built b = build(n);
    Worksheet& ws = *b.ws;
    const std::string last = "W" + std::to_string(n);
    struct Text {
        int row, col;
        std::string text;
    };
    const Text texts[] = {
        {1, 2, "Septic Nutrient Loads"},
        {7, 2, "1. Nutrient load from septic systems"},
        {8, 12, "Direct Wastewater Flow, l/hr,"},
        {8, 13, "N Load,  lb/hr"},
        {8, 21, "Reduction: E. coli Load,  MPN/hr"},
        {9, 2, "W1"},
        {n + 8, 2, last},
        {n + 11, 2, "Assume the average concentrations reaching the stream (from septic overcharge) are:"},
        {n + 11, 9, "Wastewater per capita:"},
        {n + 12, 3, "Total Nitrogen:"},
        {n + 15, 3, "E. coli"},
        {n + 16, 2, "Typical septic overcharge flow rate of:"},
        {n + 16, 6, "gal/day/person(range of 45 to 100)"},
        {n + 18, 2, "2. Septic nutrient load in lb/yr except E. coli in MPN/yr) "},
        {n + 18, 7, "Wastewater Reduction"},
        {n + 18, 11, "Load after Reduction"},
        {n + 19, 3, "N Load, lb/yr"},
        {n + 19, 10, "E. coli, MPN/yr"},
        {n + 19, 14, "E. coli, MPN/yr"},
        {n + 20, 2, "W1"},
        {2 * n + 19, 2, last},
    };
    for (const Text& t : texts)
        EXPECT_EQ(ws.cells(t.row, t.col).text(), t.text) << cell(t.row, t.col);
    EXPECT_EQ(ws.cells(n + 9, 2).text(), "");
    EXPECT_EQ(ws.cells(2 * n + 20, 2).text(), "");

    // Defaults: septic overcharge in E, raw wastewater in I, flows per person in row N+16.
    const double septic[] = {60, 23.5, 245, 0, 70}, wastewater[] = {40, 8, 220, 0, 75};
    for (int q = 0; q < 5; ++q) {
        EXPECT_EQ(ws.cells(n + 12 + q, 5).value(), CellValue(septic[q])) << q;
        EXPECT_EQ(ws.cells(n + 12 + q, 9).value(), CellValue(wastewater[q])) << q;
    }
    const std::string flowNote = ws.cells(n + 16, 10).text();
    EXPECT_EQ(flowNote.rfind("gal/day/person (range of 75 to 125)      (", 0), 0u) << flowNote;
    EXPECT_NE(flowNote.find("Metcalf & Eddy"), std::string::npos);

    // Every subwatershed reaches the same parameter cells: the first and the last row.
    for (int row : {9, n + 8}) {
        const std::string r = std::to_string(row);
        EXPECT_EQ(ws.cells(row, 9).formula(), "=G" + r + "*E" + std::to_string(n + 16));
        EXPECT_EQ(ws.cells(row, 13).formula(), "=(K" + r + "*E" + std::to_string(n + 12) + "+L" +
                                                   r + "*I" + std::to_string(n + 12) + ")/453592.4");
        EXPECT_EQ(ws.cells(row, 21).formula(), "=I" + std::to_string(n + 15) + "*Q" + r + " * 10");
    }

    // Hidden: the empty row N+10 and the block N+11 .. N+16; nothing else.
    for (int row = 1; row <= 2 * n + 22; ++row)
        EXPECT_EQ(hidden(ws, row), row >= n + 10 && row <= n + 16) << "row " << row;
    EXPECT_EQ(ws.range("AY100").format().fill.color, Color::indexed(2));
    EXPECT_EQ(ws.range("A101").format().fill.pattern, xl::None);
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

INSTANTIATE_TEST_SUITE_P(Counts, SepticLayout, ::testing::Values(1, 200));

TEST(SepticPage, OneSubwatershedRows) {
    // Leftovers in the block's cells that hold nothing are cleared.
    Built b = build(1, [](Worksheet& ws) { ws.range("D13").setValue(9); ws.range("J18").setValue(9); });
    Worksheet& ws = *b.ws;
    EXPECT_EQ(ws.range("B7").text(), "1. Nutrient load from septic systems");
    EXPECT_EQ(ws.range("B9").text(), "W1");
    EXPECT_EQ(ws.range("B19").text(), "2. Septic nutrient load in lb/yr except E. coli in MPN/yr) ");
    EXPECT_EQ(ws.range("B21").text(), "W1");
    EXPECT_EQ(ws.range("D13").value(), CellValue());
    EXPECT_EQ(ws.range("J18").value(), CellValue());
    EXPECT_FALSE(hidden(ws, 18));
    // Row 9 reads E13..E17 and I13..I17.
    const std::pair<const char*, const char*> formulas[] = {
        {"I9", "=G9*E17"},
        {"J9", "=H9*I17"},
        {"M9", "=(K9*E13+L9*I13)/453592.4"},
        {"N9", "=(K9*E14+L9*I14)/453592.4"},
        {"O9", "=(K9*E15+L9*I15)/453592.4"},
        {"P9", "=(K9*E16+L9*I16) * 10"},
        {"R9", "=I13*Q9/453592.4"},
        {"S9", "=I14*Q9/453592.4"},
        {"T9", "=I15*Q9/453592.4"},
        {"U9", "=I16*Q9 * 10"},
    };
    for (const auto& [at, text] : formulas) EXPECT_EQ(ws.range(at).formula(), text) << at;
}

// Three subwatersheds, subwatershed 2 (table 1 row 10, table 2 row 24, Input table 3 row 34).
TEST(SepticPage, FormulasReadTheirCells) {
    Built b = build(3);
    Worksheet& ws = *b.ws;
    const std::pair<const char*, const char*> formulas[] = {
        {"C10", "=Input!C34"},
        {"D10", "=Input!D34"},
        {"E10", "=Input!E34"},
        {"F10", "=C10*E10/100"},
        {"G10", "=C10*D10*E10/100"},
        {"H10", "=Input!F34"},
        {"I10", "=G10*E19"},
        {"J10", "=H10*I19"},
        {"K10", "=I10*3.785412/24"},
        {"L10", "=J10*3.785412/24"},
        {"N10", "=(K10*E16+L10*I16)/453592.4"},
        {"P10", "=(K10*E18+L10*I18) * 10"},
        {"Q10", "=Input!G34*L10/100"},
        {"T10", "=I17*Q10/453592.4"},
        {"C24", "=M10*24*365"},
        {"F24", "=P10*24*365"},
        {"G24", "=R10*24*365"},
        {"J24", "=U10*24*365"},
        {"K24", "=C24-G24"},
        {"N24", "=F24-J24"},
    };
    for (const auto& [at, text] : formulas) EXPECT_EQ(ws.range(at).formula(), text) << at;
}

TEST(SepticPage, FormatsAndComments) {
    Built b = build(3);
    Worksheet& ws = *b.ws;
    EXPECT_TRUE(ws.range("B1").format().font.bold);
    EXPECT_EQ(ws.range("B1").format().font.color, Color::fromBgr(0xFF0000));
    EXPECT_EQ(ws.range("K5").format().fill.color, Color::indexed(15));
    const CellFormat& header = ws.range("U8").format();
    EXPECT_TRUE(header.align.wrap);
    EXPECT_EQ(header.align.horizontal, xl::Center);
    EXPECT_EQ(header.align.vertical, xl::Top);
    EXPECT_EQ(ws.range("Q8").format().font.color, Color::fromBgr(0));
    EXPECT_EQ(ws.range("E11").format().font.color, Color::fromBgr(0));  // values from Input
    EXPECT_EQ(ws.range("H11").format().numberFormat, "General");
    for (const char* at : {"I9", "P11", "U11"})
        EXPECT_EQ(ws.range(at).format().numberFormat, "0.000") << at;
    for (const char* at : {"Q9", "U11"}) EXPECT_EQ(ws.range(at).format().fill.color, Color::indexed(34)) << at;
    EXPECT_NE(ws.range("P9").format().fill.color, Color::indexed(34));
    // Table 2 (header 22): reduction group filled like its label, all three groups "0.00".
    EXPECT_EQ(ws.range("G21").format().fill.color, Color::indexed(34));
    EXPECT_EQ(ws.range("N21").format().fill.color, Color::indexed(43));
    EXPECT_TRUE(ws.range("N21").format().font.bold);
    for (const char* at : {"C23", "J25", "N25"})
        EXPECT_EQ(ws.range(at).format().numberFormat, "0.00") << at;
    EXPECT_EQ(ws.range("J25").format().fill.color, Color::indexed(34));
    EXPECT_NE(ws.range("K25").format().fill.color, Color::indexed(34));

    ASSERT_NE(ws.range("D8").comment(), nullptr);
    EXPECT_EQ(ws.range("D8").comment()->text,
              "Population per septic system (per home data is used). National average is 2.43");
    ASSERT_NE(ws.range("E8").comment(), nullptr);
    EXPECT_EQ(ws.range("E8").comment()->text, "% of failing septic systems");
}

}  // namespace
