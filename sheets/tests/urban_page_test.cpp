// The Urban sheet on the in-memory model: positions for one and many subwatersheds, the formula
// texts of the pollutant tables and of table 4, and the hidden working rows.
#include <gtest/gtest.h>

#include <string>

#include "sheets/land/urban_page.h"
#include "sheets/tests/sheet_test_support.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

using sheet_test::Built;
using sheet_test::hidden;

Built build(int n) {
    Built b;
    b.book->addSheet("Land&Rain");
    b.book->addSheet("Urban");
    b.opt.SubwatershedCount = n;
    UrbanPage(*b.book, b.opt);
    b.ws = &b.book->sheet("Urban");
    return b;
}

std::string cell(int row, int col) { return formula::cellAddress(row, col); }

TEST(UrbanPage, OneSubwatershedPositions) {
    Built b = build(1);
    Worksheet& ws = *b.ws;
    EXPECT_EQ(b.book->activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));

    const std::pair<const char*, const char*> texts[] = {
        {"B1", "Urban Runoff BMP and Pollutant Load Reduction "},
        {"B6", "1. Urban pollutant concentration in runoff (mg/l) and E. coli (MPN/100ml)"},
        {"B7", "Landuse"},
        {"K7", "Open Space"},
        {"B12", "E. coli"},
        {"B14", "2. Urban landuse distribution"},
        {"M14", "2a. Effective BMP application area (ac)"},
        {"B16", "W1"},
        {"B19", "3. Selected urban BMPs"},
        {"B20", "Landuse"},
        {"C21", "0 No BMP"},
        {"K21", "0 No BMP"},
        {"M19", "3a. Percentage of BMP effective area (%)"},
        {"B24", "3.1. Urban runoff (ac-ft)"},
        {"B29", "3.2. Total urban N load (kg)"},
        {"M29", "3.2a. Selected urban N reduction efficiency"},
        {"X29", "3.2b. Urban N reduction (kg)"},
        {"B49", "3.6. Total Urban E. coli load (MPN/year)"},
        {"X49", "3.6b. Urban E. coli reduction (MPN/year)"},
        {"B54", "4. Pollutant loads from urban (lb/year) and E. coli (MPN/year)"},
        {"B55", "Watershed"},
        {"C55", "Pre-BMP Load"},
        {"H55", "Load Reduction"},
        {"M55", "After BMP Load"},
        {"C56", "N"},
        {"G56", "E. coli"},
        {"H56", "N"},
        {"Q56", "E. coli"},
        {"B57", "W1"},
        {"B60", "5. Captured Flow Volume (gallon/year)"},
        {"B61", "Landuse"},
        {"B65", "6. BMP Surface Area (acre) or Number of Units (e.g., Rain Barrel)"},
        {"B66", "Landuse"},
        {"B67", "W1"},
    };
    for (const auto& [c, text] : texts) EXPECT_EQ(ws.range(c).text(), text) << c;

    const std::pair<const char*, const char*> r1c1[] = {
        {"C16", "='Land&Rain'!R[-8]C[22]"},
        {"C26", "='Land&Rain'!R[5]C[22]"},
        {"C31", "=4047*0.3048*R[-5]C*R[-23]C/1000"},
        {"C57", "= 2.203*SUM(R[-26]C:R[-26]C[8]) "},
    };
    for (const auto& [c, text] : r1c1) EXPECT_EQ(ws.range(c).formulaR1C1(), text) << c;
    const std::pair<const char*, const char*> a1[] = {
        {"C16", "='Land&Rain'!Y8"},
        {"K16", "='Land&Rain'!AG8"},
        {"N16", "=C16"},
        {"N21", "=IF(C16>0, 100* N16/C16,0)"},
        {"C26", "='Land&Rain'!Y31"},
        {"C31", "=4047*0.3048*C26*C8/1000"},
        {"C57", "= 2.203*SUM(C31:K31) "},
    };
    for (const auto& [c, text] : a1) EXPECT_EQ(ws.range(c).formula(), text) << c;

    // The header groups of table 4 are merged over five columns each.
    for (const char* group : {"C55:G55", "H55:L55", "M55:Q55"}) {
        Range g = ws.range(group);
        EXPECT_TRUE(g.mergeCells()) << group;
        EXPECT_EQ(g.mergeArea().ref(), g.ref()) << group;
    }
    // The inserted sub-header row is formatted as the header row.
    EXPECT_TRUE(ws.range("D56").format().font.bold);
    EXPECT_EQ(ws.range("D56").format().fill.color, Color::indexed(15));
}

TEST(UrbanPage, DefaultConcentrationsAndEntryCells) {
    Built b = build(2);
    Worksheet& ws = *b.ws;
    const std::tuple<const char*, double> values[] = {
        {"C8", 2.0}, {"F8", 3.0}, {"K8", 1.5}, {"D9", 0.4}, {"J9", 0.15}, {"G10", 10.0},
        {"I10", 4.0}, {"D11", 120}, {"I11", 150}, {"C12", 0}, {"K12", 0},
    };
    for (const auto& [c, v] : values) {
        EXPECT_EQ(ws.range(c).value(), CellValue(v)) << c;
        EXPECT_EQ(ws.range(c).format().font.color, Color::fromBgr(0x0000FF)) << c;
    }
    for (const char* band : {"K6", "K14", "V14", "K20", "V20", "K32", "V32", "AG56", "Q62", "K69", "K75"})
        EXPECT_EQ(ws.range(band).format().fill.color, Color::indexed(43)) << band;

    // Efficiencies start as the number 0; tables 5 and 6 hold 0 for the user.
    for (const char* c : {"N34", "V35", "N58", "V59", "C71", "K72", "C77", "K78"}) {
        EXPECT_EQ(ws.range(c).value(), CellValue(0.0)) << c;
        EXPECT_FALSE(ws.range(c).hasFormula()) << c;
    }
}

// Table 4 for three subwatersheds, subwatershed 2 (row 74): the pollutant tables start in rows
// 36, 43, 50, 57 and 64, so subwatershed 2 is in rows 38, 45, 52, 59, 66.
TEST(UrbanPage, SummaryTableSumsEachPollutant) {
    Built b = build(3);
    Worksheet& ws = *b.ws;
    const int loadRows[5] = {38, 45, 52, 59, 66};
    for (int t = 1; t <= 5; ++t) {
        const std::string r = std::to_string(loadRows[t - 1]);
        const std::string lb = t < 5 ? "2.203*" : "";
        EXPECT_EQ(ws.cells(74, 2 + t).formula(), "= " + lb + "SUM(C" + r + ":K" + r + ") ") << t;
        EXPECT_EQ(ws.cells(74, 7 + t).formula(),
                  "= " + lb + "SUM(Y" + r + ":AG" + r + ")" + (t < 5 ? "  " : " "))
            << t;
        EXPECT_EQ(ws.cells(74, 12 + t).formula(), "=" + cell(74, 2 + t) + "-" + cell(74, 7 + t))
            << t;
    }
    EXPECT_EQ(ws.range("B75").text(), "W3");
    EXPECT_EQ(ws.range("Q75").formula(), "=G75-L75");
    EXPECT_EQ(ws.range("C76").value(), CellValue());  // no total row

    // One pollutant table cell of each kind, E. coli of the last urban type.
    EXPECT_EQ(ws.range("K66").formula(), "=4047*0.3048*K31*K12/454*10*453592");
    EXPECT_EQ(ws.range("AG66").formula(), "=IF(ISNUMBER(V66),V66*K66*V24/10000,0)");
    EXPECT_EQ(ws.range("Y45").formula(), "=IF(ISNUMBER(N45),N45*C45*N24/10000,0)");
}

// The texts as written, letter cases included (the cell keeps function names in upper case).
TEST(UrbanPage, PollutantFormulaTexts) {
    const std::pair<int, const char*> reductions[] = {
        {1, "=if(isnumber(RC[-11]),RC[-11]*RC[-22]*R[-10]C[-11]/10000,0)"},
        {2, "=if(Isnumber(RC[-11]),RC[-11]*RC[-22]*R[-15]C[-11]/10000,0)"},
        {3, "=if(isnumber(RC[-11]),RC[-11]*RC[-22]*R[-20]C[-11]/10000,0)"},
        {4, "=If(isnumber(RC[-11]),RC[-11]*RC[-22]*R[-25]C[-11]/10000,0)"},
        {5, "=if(isnumber(RC[-11]),RC[-11]*RC[-22]*R[-30]C[-11]/10000,0)"},
    };
    for (const auto& [p, text] : reductions) EXPECT_EQ(urban::reductionFormula(p, 1), text) << p;

    EXPECT_EQ(urban::loadFormula(1, 1, 1), "=4047*0.3048*R[-5]C*R[-23]C/1000");
    EXPECT_EQ(urban::loadFormula(4, 1, 1), "=4047*0.3048*R[-20]C*R[-35]C/1000");
    EXPECT_EQ(urban::loadFormula(5, 1, 1), "=4047*0.3048*R[-25]C*R[-39]C/454*10*453592");
    EXPECT_EQ(urban::loadFormula(2, 3, 10), "=4047*0.3048*R[-28]C*R[-65]C/1000");
}

class UrbanLayout : public ::testing::TestWithParam<int> {};

// Tables 3.1 to 3.6b (rows 2N+21 .. 8N+44) are hidden, nothing else; tables 4, 5 and 6 follow.
TEST_P(UrbanLayout, HiddenRowsAndLowerTables) {
    const int n = GetParam();
    Built b = build(n);
    Worksheet& ws = *b.ws;
    for (int row = 1; row <= 11 * n + 60; ++row)
        EXPECT_EQ(hidden(ws, row), row >= 2 * n + 21 && row <= 8 * n + 44)
            << "N = " << n << ", row " << row;

    const std::string wn = "W" + std::to_string(n);
    EXPECT_EQ(ws.cells(8 * n + 47, 2).text(), "Watershed");
    EXPECT_EQ(ws.cells(8 * n + 48, 3).text(), "N");
    EXPECT_EQ(ws.cells(8 * n + 49, 2).text(), "W1");
    EXPECT_EQ(ws.cells(9 * n + 48, 2).text(), wn);
    EXPECT_EQ(ws.cells(9 * n + 48, 3).formula(),
              "= 2.203*SUM(C" + std::to_string(4 * n + 27) + ":K" + std::to_string(4 * n + 27) +
                  ") ");
    EXPECT_EQ(ws.cells(9 * n + 52, 2).text(), "Landuse");
    EXPECT_EQ(ws.cells(10 * n + 52, 2).text(), wn);
    EXPECT_EQ(ws.cells(10 * n + 56, 2).text(), "Landuse");
    EXPECT_EQ(ws.cells(11 * n + 56, 2).text(), wn);
    // The last efficiency and reduction cells of the E. coli tables.
    EXPECT_EQ(ws.cells(8 * n + 43, 22).value(), CellValue(0.0));
    EXPECT_TRUE(ws.cells(8 * n + 43, 33).hasFormula());
}

INSTANTIATE_TEST_SUITE_P(Counts, UrbanLayout, ::testing::Values(1, 19, 20, 30, 200));

}  // namespace
