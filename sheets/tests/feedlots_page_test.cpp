// The Feedlots sheet on the in-memory model: table positions for one and many subwatersheds, the
// cells every formula reads, the guarded runoff row and the hidden working tables.
#include <gtest/gtest.h>

#include <string>

#include "sheets/sources/feedlots_page.h"
#include "sheets/tests/sheet_test_support.h"
#include "workbook/formula/formula.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

using sheet_test::Built;
using sheet_test::hidden;

Built build(int n) {
    Built b;
    for (const char* name : {"Input", "Land&Rain", "Animal", "Feedlots", "Reference", "BMPs"})
        b.book->addSheet(name);
    b.opt.SubwatershedCount = n;
    FeedlotsPage(*b.book, b.opt);
    b.ws = &b.book->sheet("Feedlots");
    return b;
}

std::string cell(int row, int col) { return formula::cellAddress(row, col, false, false); }

// Titles, headers and labels that pin every table in place, for one and for 200 subwatersheds.
class FeedlotsLayout : public ::testing::TestWithParam<int> {};

TEST_P(FeedlotsLayout, TablesSitWhereTheOtherSheetsLookForThem) {
    const int n = GetParam();
    Built b = build(n);
    Worksheet& ws = *b.ws;
    const std::string N = std::to_string(n);
    struct Text {
        int row, col;
        std::string text;
    };
    const Text texts[] = {
        {1, 2, "Feedlot Pollution "},
        {10, 2, "1. Select a range of paved percentage for feedlots"},
        {11, 10, "Feedlot pervious area (ac.)"},
        {12, 2, "W1"},
        {n + 14, 2, "2. Agricultural animals"},
        {n + 15, 3, "Beef Cattle (Slaughter Steer)"},
        {n + 15, 13, "Duck"},
        {n + 16, 2, "Design Weight (lbs)"},
        {2 * n + 16, 2, "W" + N},
        {2 * n + 18, 2, "3. Load from feedlot (lb/yr)(1 ac x in x mg/l = 0.227 lb) except E. coli in MPN/yr"},
        {2 * n + 19, 10, "E. coli Reduction"},
        {3 * n + 19, 2, "W" + N},
        {3 * n + 22, 2, "Feedlot load calculation"},
        {3 * n + 23, 3, "W1"},
        {3 * n + 23, n + 2, "W" + N},
        {3 * n + 24, 2, "CN"},
        {3 * n + 26, 2, "Q"},
        {3 * n + 31, 2, "EAU-E. coli"},
        {3 * n + 43, 2, "E. coli-CONC MPN/100ml"},
        {3 * n + 46, 2, "Ratio of nutrients produced by animals relative to 1000 lb of slaughter steer"},
        {3 * n + 48, 2, "Slaughter Steer"},
        {3 * n + 58, 2, "Duck"},
    };
    for (const Text& t : texts)
        EXPECT_EQ(ws.cells(t.row, t.col).text(), t.text) << cell(t.row, t.col);
    EXPECT_EQ(ws.cells(3 * n + 23, n + 3).text(), "");  // table 4 ends at column N+2
    EXPECT_EQ(ws.cells(n + 12, 2).text(), "");          // table 1 ends at row N+11

    // The last subwatershed's cells of tables 3 and 4 read its own rows.
    EXPECT_EQ(ws.cells(3 * n + 19, 3).formula(),
              "=IF(C" + std::to_string(n + 11) + "<>0,'Land&Rain'!S" + std::to_string(n + 7) +
                  "*'Land&Rain'!S6*" + cell(3 * n + 40, n + 2) + "*" + cell(3 * n + 27, n + 2) +
                  "*0.227,0)");
    EXPECT_EQ(ws.cells(3 * n + 43, n + 2).formula(), "=" + cell(3 * n + 39, n + 2));

    // Hidden: rows 3N+22 .. 3N+43 and 3N+46 .. 3N+58, and the class list in column Z.
    for (int row = 1; row <= 3 * n + 62; ++row) {
        const bool expected = (row >= 3 * n + 22 && row <= 3 * n + 43) ||
                              (row >= 3 * n + 46 && row <= 3 * n + 58);
        EXPECT_EQ(hidden(ws, row), expected) << "row " << row;
    }
    ASSERT_TRUE(ws.colInfo.count(26));
    EXPECT_TRUE(ws.colInfo.at(26).hidden);
    EXPECT_EQ(ws.range("Z1").text(), "0-24%");
    EXPECT_EQ(ws.range("Z4").text(), "75-100%");

    // White over A1:AY100 only.
    EXPECT_EQ(ws.range("AY100").format().fill.color, Color::indexed(2));
    EXPECT_EQ(ws.range("AZ1").format().fill.pattern, xl::None);
    EXPECT_EQ(ws.range("A101").format().fill.pattern, xl::None);
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

INSTANTIATE_TEST_SUITE_P(Counts, FeedlotsLayout, ::testing::Values(1, 200));

TEST(FeedlotsPage, OneSubwatershedRows) {
    Built b = build(1);
    Worksheet& ws = *b.ws;
    // Table 1 rows 10-12, table 2 15-18, table 3 20-22, table 4 25-46, table 5 49-61.
    const std::pair<const char*, const char*> texts[] = {
        {"B10", "1. Select a range of paved percentage for feedlots"}, {"B12", "W1"},
        {"B15", "2. Agricultural animals"}, {"B18", "W1"},
        {"B20", "3. Load from feedlot (lb/yr)(1 ac x in x mg/l = 0.227 lb) except E. coli in MPN/yr"},
        {"B22", "W1"}, {"B25", "Feedlot load calculation"}, {"C26", "W1"},
        {"B46", "E. coli-CONC MPN/100ml"},
        {"B49", "Ratio of nutrients produced by animals relative to 1000 lb of slaughter steer"},
        {"B61", "Duck"},
    };
    for (const auto& [at, text] : texts) EXPECT_EQ(ws.range(at).text(), text) << at;
    EXPECT_EQ(ws.range("D26").text(), "");
    EXPECT_EQ(ws.range("C46").formula(), "=C42");
    EXPECT_FALSE(ws.range("D27").hasFormula());  // the single data column is C
}

// Three subwatersheds; every formula checked in subwatershed 2's row or column, as A1 with the
// cells it resolves to.
TEST(FeedlotsPage, FormulasReadTheirCells) {
    Built b = build(3);
    Worksheet& ws = *b.ws;
    std::string eauN = "=", eauEcoli = "=";
    for (int k = 1; k <= 11; ++k) {
        const std::string count = cell(21, 2 + k);  // table 2, W2
        eauN += (k > 1 ? "+" : "") + count + "*" + cell(56 + k, 3);
        eauEcoli += (k > 1 ? "+" : "") + count + "*" + cell(56 + k, 6);
    }
    const std::pair<const char*, std::string> formulas[] = {
        // Table 1 (header 11): Land&Rain table 1 row 9, Input table 1 row 19, BMPs table 5 row 37.
        {"C13", "='Land&Rain'!M9"},
        {"D13", "=Input!I19"},
        {"E13", "='Land&Rain'!U9"},
        {"F13", "=IF(BMPs!C37=\"ND\",0,BMPs!C37)"},
        {"G13", "=IF(BMPs!D37=\"ND\",0,BMPs!D37)"},
        {"H13", "=IF(BMPs!E37=\"ND\",0,BMPs!E37)"},
        {"I13", "=IF(BMPs!G37=\"ND\",0,BMPs!G37)"},
        {"J13", "=C13*IF(D13=\"0-24%\",0.875,IF(D13=\"25-49%\",0.625,IF(D13=\"50-74%\",0.375,"
                "IF(D13=\"75-100%\",0.125,0.5))))"},
        // Table 2 (header 18): design weights, then Animal row 11 for W2.
        {"C19", "=Reference!$C$5"},
        {"E19", "=Reference!$C$6"},
        {"M19", "=Reference!$C$12"},
        {"C21", "=Animal!C11"},
        {"E21", "=Animal!D11"},
        {"G21", "=Animal!E11"},
        {"I21", "=Animal!F11"},
        {"J21", "=Animal!G11"},
        {"M21", "=Animal!J11"},
        // Table 3 (header 25): concentrations of table 4 in rows 49..52, volume in row 36.
        {"C27", "=IF(C13<>0,'Land&Rain'!S9*'Land&Rain'!S6*D49*D36*0.227,0)"},
        {"E27", "=IF(C13<>0,'Land&Rain'!S9*'Land&Rain'!S6*D51*D36*0.227,0)"},
        {"F27", "=IF(C13<>0,'Land&Rain'!S9*'Land&Rain'!S6*D52*D36*0.227,0)*10*453592"},
        {"G27", "=IF(F13<>0,C27*F13,0)"},
        {"J27", "=IF(I13<>0,F27*I13,0)"},
        // Table 4 (header 32), column D for W2; table 5's ratios from row 57.
        {"D33", "=IF(D13=\"0-24%\",91,IF(D13=\"25-49%\",92,IF(D13=\"50-74%\",93,"
                "IF(D13=\"75-100%\",94,91))))"},
        {"D34", "=(1000/D33)-10"},
        {"D35", "=IF(($E13-'Land&Rain'!$U6*(D34))>0,(($E13-'Land&Rain'!$U6*(D34))^2)/"
                "($E13-('Land&Rain'!$U6*D34)+D34),0)"},
        {"D36", "=((D35*C13))"},
        {"D37", eauN},
        {"D40", eauEcoli},
        {"D41", "=IF(C13>0,D37/C13,0)"},
        {"D44", "=IF(C13>0,D40/C13,0)"},
        {"D45", "=(IF(D41<100,D41,100))/100"},
        {"D48", "=(IF(D44<100,D44,100))/100"},
        {"D49", "=D45*1500"},
        {"D50", "=D46*300"},
        {"D51", "=D47*2000"},
        {"D52", "=D48"},
    };
    for (const auto& [at, text] : formulas) EXPECT_EQ(ws.range(at).formula(), text) << at;
}

// The runoff row carries the same small-storm guard as the other runoff formulas: the
// curve-number depth (P - Ia*S)^2/(P - Ia*S + S) inside IF(P - Ia*S > 0, ..., 0), its own text
// unchanged.
TEST(FeedlotsPage, RunoffDepthIsGuardedAgainstSmallStorms) {
    for (int n : {1, 200}) {
        Built b = build(n);
        for (int i : {1, n}) {
            const std::string lot = std::to_string(i - 3 * n - 15);
            const std::string ia = std::to_string(-3 * n - 20);
            const std::string excess = "R[" + lot + "]C5-'Land&Rain'!R[" + ia + "]C21*(R[-1]C)";
            const std::string depth = "((" + excess + ")^2)/(R[" + lot + "]C5-('Land&Rain'!R[" +
                                      ia + "]C21*R[-1]C)+R[-1]C)";
            EXPECT_EQ(b.ws->cells(3 * n + 26, 2 + i).formulaR1C1(),
                      "=IF((" + excess + ")>0," + depth + ",0)")
                << "N = " << n << ", W" << i;
        }
    }
}

TEST(FeedlotsPage, TypedCellsConstantsAndFormats) {
    Built b = build(2);
    Worksheet& ws = *b.ws;
    // Young stock: design weights 500, 500, 50 and head counts 0 in red; no formula feeds them.
    const std::pair<int, double> young[] = {{4, 500}, {6, 500}, {8, 50}};
    for (const auto& [col, weight] : young) {
        EXPECT_EQ(ws.cells(18, col).value(), CellValue(weight)) << col;
        for (int row : {19, 20}) {
            EXPECT_EQ(ws.cells(row, col).value(), CellValue(0.0)) << cell(row, col);
            EXPECT_FALSE(ws.cells(row, col).hasFormula()) << cell(row, col);
            EXPECT_EQ(ws.cells(row, col).format().font.color, Color::fromBgr(0x0000FF));
        }
    }
    EXPECT_EQ(ws.range("J20").format().font.color, Color::fromBgr(0));  // horse .. duck black
    EXPECT_EQ(ws.range("M20").format().font.color, Color::fromBgr(0));
    EXPECT_EQ(ws.range("C20").format().font.color, Color::automatic());  // others automatic

    // Table 5 (header 53): the ratios, E. coli all zero.
    const double ratios[11][3] = {{1, 1, 1},         {0.5, 0.51, 0.5},     {1.853, 0.92, 1.4},
                                  {0.662, 0.33, 0.5}, {0.306, 0.27, 0.388}, {0.076, 0.07, 0.097},
                                  {0.124, 0.06, 0.075}, {0.882, 0.42, 1.063}, {0.01, 0.01, 0.008},
                                  {0.018, 0.03, 0.013}, {0.018, 0.01, 0.011}};
    for (int k = 1; k <= 11; ++k) {
        for (int m = 0; m < 3; ++m)
            EXPECT_EQ(ws.cells(53 + k, 3 + m).value(), CellValue(ratios[k - 1][m])) << k << "," << m;
        EXPECT_EQ(ws.cells(53 + k, 6).value(), CellValue(0.0)) << k;
    }

    EXPECT_EQ(ws.range("E13").format().numberFormat, "0.000");
    EXPECT_EQ(ws.range("C24").format().numberFormat, "0.00");
    EXPECT_EQ(ws.range("J25").format().numberFormat, "0.00");
    const CellFormat& header = ws.range("J11").format();
    EXPECT_EQ(header.align.horizontal, xl::Center);
    EXPECT_TRUE(header.align.wrap);
    EXPECT_EQ(ws.range("M18").format().fill.color, Color::indexed(15));  // design-weight row
    EXPECT_TRUE(ws.range("B1").format().font.bold);
    EXPECT_EQ(ws.range("I7").format().font.color, Color::fromBgr(0xFF0000));
    EXPECT_EQ(ws.range("I7").format().fill.color, Color::indexed(15));
}

}  // namespace
