// The Animal sheet on the in-memory model: table positions for one and many subwatersheds, the
// formulas in the cells they read, and the hidden working rows.
#include <gtest/gtest.h>

#include <string>

#include "sheets/land/animal_page.h"
#include "sheets/tests/sheet_test_support.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

using sheet_test::Built;
using sheet_test::hidden;

Built build(int n) {
    Built b;
    for (const char* name : {"General Input Data", "Input", "Land&Rain", "Animal", "Reference"})
        b.book->addSheet(name);
    b.opt.SubwatershedCount = n;
    AnimalPage(*b.book, b.opt);
    b.ws = &b.book->sheet("Animal");
    return b;
}

std::string a1(Worksheet& ws, const std::string& cell) { return ws.range(cell).formula(); }

TEST(AnimalPage, OneSubwatershedPositions) {
    Built b = build(1);
    Worksheet& ws = *b.ws;
    EXPECT_EQ(b.opt.PastureAeuFirstRow, 30);
    EXPECT_EQ(b.book->activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));

    const std::pair<const char*, const char*> texts[] = {
        {"B8", "1. Agricultural animals"},
        {"B9", "Watershed"},
        {"C9", "Beef Cattle"},
        {"K9", "AEU"},
        {"M9", "# of months manure applied on Pastureland"},
        {"B10", "W1"},
        {"B11", "Total"},
        {"B13", "2. Wildlife density in cropland"},
        {"C14", "Cropland, #/mi\u00b2"},
        {"B15", "Goose"},
        {"B19", "Other"},
        {"B23", "Estimated wildlife and AEU in watersheds"},
        {"C24", "Geese"},
        {"H24", "AEU"},
        {"B25", "W1"},
        {"B26", "Total"},
        {"L23", "Total animal equivalent units and cropland nutrient concentrations.  A: "
                "AEU<=1.5, B: 1.5<AEU<2.5, C: AEU>=2.5"},
        {"U24", "Manured E. coli"},
        {"B29", "AEU"},
        {"E29", "C"},
        {"B30", "N in ag. area"},
        {"B37", "E. coli in manured area"},
        {"L28", "Total animal equivalent units and pastureland nutrient concentrations.  A: "
                "AEU<=1.5, B: 1.5<AEU<2.5, C: AEU>=2.5"},
        {"N29", "Past. N"},
        {"B40", "AEU and nutrient in pastureland runoff (mg/l), A: AEU<=1.5, B: 1.5<AEU<2.5, "
                "C: AEU>=2.5"},
        {"D41", "B"},
        {"B42", "N in Past. area"},
        {"B49", "E. coli in manured area"},
        // Texts of the header block, trailing blanks included.
        {"B2", "The number of animals in the "},
        {"B4", "Manure is assumed to be collected and applied to cropland. "},
    };
    for (const auto& [cell, text] : texts) EXPECT_EQ(ws.range(cell).text(), text) << cell;
    EXPECT_EQ(ws.range("B20").text(), "");  // the empty sixth row of table 2

    EXPECT_EQ(a1(ws, "E2"), "='General Input Data'!$C$6");
    EXPECT_EQ(a1(ws, "K11"), "=SUM(K10:K10)");
    EXPECT_EQ(a1(ws, "H26"), "=SUM(H25:H25)");
    EXPECT_EQ(a1(ws, "L26"), "=SUM(L25:L25)");
    EXPECT_EQ(a1(ws, "L30"), "=H25+K10");
    EXPECT_EQ(a1(ws, "L31"), "=SUM(L30:L30)");
    EXPECT_EQ(ws.range("M31").value(), CellValue());  // no class for the total row
}

// Three subwatersheds, so that every formula is checked away from the first row.
TEST(AnimalPage, FormulasReadTheirCells) {
    Built b = build(3);
    Worksheet& ws = *b.ws;
    const std::pair<const char*, const char*> formulas[] = {
        // Table 1: Input table 2 (header row N+21 = 24), K and L shifted one column right.
        {"C11", "=Input!C26"},
        {"J12", "=Input!J27"},
        {"L11", "=Input!K26"},
        {"M12", "=Input!L27"},
        {"K12", "=IF(('Land&Rain'!E10)=0,0,(C12*Reference!C$5+D12*Reference!C$6+E12*Reference!C$7+"
                "F12*Reference!C$8+G12*Reference!C$9+H12*Reference!C$10+I12*Reference!C$11+"
                "J12*Reference!C$12)/1000/('Land&Rain'!E10))"},
        {"C13", "=SUM(C10:C12)"},
        {"K13", "=SUM(K10:K12)"},
        // Table 2 (header row 16): per acre from per square mile.
        {"D17", "= C17 / 640"},
        {"D21", "= C21 / 640"},
        // Wildlife (header row 26), subwatershed 2: cropland area x density of table 2.
        {"C28", "='Land&Rain'!E9*D17"},
        {"E28", "='Land&Rain'!E9*D19"},
        {"G28", "='Land&Rain'!E9*D21"},
        {"H28", "=IF(('Land&Rain'!E9)=0,0,(C28*Reference!C$13+D28*Reference!C$14+E28*Reference!C$15+"
                "F28*Reference!C$16+G28*Reference!C$17)/1000/('Land&Rain'!E9))"},
        {"C30", "=SUM(C27:C29)"},
        // Cropland AEU (header row 26), class table at 33.
        {"L28", "=H28+K11"},
        {"M28", "=IF(L28>=2.5,\"C\",IF(L28>1.5,\"B\",\"A\"))"},
        {"N28", "=LOOKUP(M28,C33:E33,C34:E34)"},
        {"Q28", "=LOOKUP(M28,C33:E33,C37:E37)"},
        {"U28", "=LOOKUP(M28,C33:E33,C41:E41)"},
        {"L30", "=SUM(L27:L29)"},
        // Cropland classes: Input table 7 from row 5N+50 = 65, two rows a class.
        {"C34", "=Input!C65"},
        {"C35", "=Input!C66"},
        {"C36", "=Input!D65"},
        {"C41", "=Input!F66"},
        {"D34", "=Input!C67"},
        {"D38", "=Input!E67"},
        {"E34", "=Input!C69"},
        {"E41", "=Input!F70"},
        // Pastureland AEU (header row 33), class table at 45.
        {"L35", "=H28+K11"},
        {"M35", "=IF(L35>=2.5,\"C\",IF(L35>1.5,\"B\",\"A\"))"},
        {"N35", "=LOOKUP(M35,C45:E45,C46:E46)"},
        {"U35", "=LOOKUP(M35,C45:E45,C53:E53)"},
        {"L37", "=SUM(L34:L36)"},
        // Pastureland classes: Input table 10 from row 7N+71 = 92.
        {"C46", "=Input!C92"},
        {"C53", "=Input!F93"},
        {"D46", "=Input!C94"},
        {"E46", "=Input!C96"},
        {"E53", "=Input!F97"},
    };
    for (const auto& [cell, text] : formulas) EXPECT_EQ(a1(ws, cell), text) << cell;
    EXPECT_EQ(b.opt.PastureAeuFirstRow, 34);
    EXPECT_EQ(ws.range("L37").formula(), "=SUM(L34:L36)");
    EXPECT_EQ(ws.range("L38").value(), CellValue());
}

TEST(AnimalPage, EntryCellsFormatsAndComments) {
    Built b = build(1);
    Worksheet& ws = *b.ws;
    // Wildlife densities: 0 in red for the user, per-acre values black with three decimals.
    for (int row = 15; row <= 19; ++row) {
        EXPECT_EQ(ws.cells(row, 3).value(), CellValue(0.0)) << row;
        EXPECT_EQ(ws.cells(row, 3).format().font.color, Color::fromBgr(0x0000FF)) << row;
        EXPECT_EQ(ws.cells(row, 4).format().font.color, Color::fromBgr(0)) << row;
        EXPECT_EQ(ws.cells(row, 4).format().numberFormat, "0.000") << row;
    }
    EXPECT_FALSE(ws.range("C20").hasFormula());
    EXPECT_FALSE(ws.range("D20").hasFormula());
    EXPECT_EQ(ws.range("H25").format().numberFormat, "0.000");

    const std::pair<const char*, const char*> comments[] = {
        {"K9", "Animal equivalent weight unit: 1 AEU = 1000 lb/acre"},
        {"L9", "Manure application time (months per year) to cropland"},
        {"M9", "Manure application time (months per year) to pastureland"},
        {"B14", "Wild animal density on agricultural land"},
        {"E30", "N concentration in agricultural runoff (mg/l)"},
        {"E35", "BOD in manured area runoff (mg/l)"},
        {"E37", "E. coli in manured area runoff (MPN/100ml)"},
        {"E42", "N concentration in pastureland runoff (mg/l)"},
        {"E47", "BOD in manured area runoff (mg/l)"},
        {"E48", "E. coli in pastureland runoff (MPN/100ml)"},
    };
    for (const auto& [cell, text] : comments) {
        const Comment* c = ws.range(cell).comment();
        ASSERT_NE(c, nullptr) << cell;
        EXPECT_EQ(c->text, text) << cell;
    }
    EXPECT_EQ(ws.range("D30").comment(), nullptr);  // only the class-C column has comments
}

// Hidden: table 2 (N+12 .. N+19) and the working tables N+22 .. 2N+47. Beyond 19 subwatersheds
// the pastureland AEU table runs past row 2N+47, and its lower rows stay visible.
class AnimalHiddenRows : public ::testing::TestWithParam<int> {};

TEST_P(AnimalHiddenRows, HiddenRanges) {
    const int n = GetParam();
    Built b = build(n);
    Worksheet& ws = *b.ws;
    EXPECT_EQ(b.opt.PastureAeuFirstRow, 2 * n + 28);
    for (int row = 1; row <= 3 * n + 40; ++row) {
        const bool expected = (row >= n + 12 && row <= n + 19) || (row >= n + 22 && row <= 2 * n + 47);
        EXPECT_EQ(hidden(ws, row), expected) << "N = " << n << ", row " << row;
    }
    // The last pastureland AEU row and its total hold their formulas wherever they land.
    EXPECT_EQ(ws.cells(3 * n + 27, 12).formula(),
              "=H" + std::to_string(2 * n + 23) + "+K" + std::to_string(n + 9));
    EXPECT_EQ(ws.cells(3 * n + 28, 12).formula(), "=SUM(L" + std::to_string(2 * n + 28) + ":L" +
                                                      std::to_string(3 * n + 27) + ")");
}

INSTANTIATE_TEST_SUITE_P(Counts, AnimalHiddenRows, ::testing::Values(1, 19, 20, 30, 200));

}  // namespace
