// The Land&Rain sheet end to end: a three-subwatershed workbook made by kavro-generate,
// recalculated in LibreOffice headless as generated (groundwater switch off), then with values
// typed into its Input sheet and recalculated again.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include "sheets/tests/sheet_test_support.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/testing/libreoffice.h"

namespace fs = std::filesystem;
using kavro::testing::SheetValues;

namespace {

const std::string kTmp = std::string(KAVRO_TEST_TMP) + "/landuse_libreoffice";
using Book = std::map<std::string, SheetValues>;

std::string generate(const std::string& name) {
    return sheet_test::generateWithCommand(kTmp, name, "-n 3 --nonzero");
}

// Runoff per event by the curve-number method with no initial abstraction.
double runoff(double depth, double cn) {
    const double s = 1000 / cn - 10;
    return depth > 0 ? depth * depth / (depth + s) : 0;
}

// Rows of N = 3: table 1 8..10, GW1 15..19, GW2 25..27, GW3 32..34, GW4 39..41.
struct LandRainEndToEnd : ::testing::Test {
    static inline Book generated, typed;

    static void SetUpTestSuite() {
        const std::string path = generate("landuse");
        generated = kavro::testing::recalculate(path, kTmp);

        auto book = wb::ooxml::openWorkbook(path);
        wb::Worksheet& in = book->sheet("Input");
        in.range("K10").setValue(true);  // groundwater infiltration on
        // Curve numbers of table 6: pastureland 100 and forest 50 for every group.
        in.range("C58:F58").setValue(100);
        in.range("C59:F59").setValue(50);
        in.range("M18").setValue(1);  // W1: one inch per event
        // W1: 100 acres urban, 10 % for each of the nine urban types, total 100 %.
        in.range("C18").setValue(100);
        in.range("D78:L78").setValue(10);
        in.range("M78").setValue(100);
        // W2 on soil group A.
        in.range("C50").setValue(true);
        in.range("D50").setValue(false);
        // Irrigation: W2 the same depth before and after, W3 4 in before and 2 in after.
        const double w2[4] = {10, 3, 3, 4}, w3[4] = {20, 4, 2, 5};
        for (int k = 0; k < 4; ++k) {
            in.cells(86, 4 + k).setValue(w2[k]);
            in.cells(87, 4 + k).setValue(w3[k]);
        }
        const std::string edited = kTmp + "/landuse_typed.xlsm";
        wb::ooxml::saveWorkbook(*book, edited);
        typed = kavro::testing::recalculate(edited, kTmp);
    }
};

TEST_F(LandRainEndToEnd, NoErrorValuesAndTableOneMirrorsInput) {
    for (Book* book : {&generated, &typed}) {
        const SheetValues& lr = (*book)["Land&Rain"];
        ASSERT_GE(lr.rows.size(), 55u);  // through table 6
        for (size_t r = 0; r < lr.rows.size(); ++r)
            for (size_t c = 0; c < lr.rows[r].size(); ++c)
                EXPECT_FALSE(kavro::testing::isErrorValue(lr.rows[r][c]))
                    << "row " << r + 1 << " col " << c + 1 << ": " << lr.rows[r][c];
    }
    const SheetValues& lr = generated["Land&Rain"];
    const SheetValues& in = generated["Input"];
    const int inputCol[10] = {3, 4, 5, 6, 7, 8, 10, 11, 12, 13};  // C..H, J..M
    for (int i = 1; i <= 3; ++i)
        for (int p = 1; p <= 10; ++p)
            EXPECT_EQ(lr.number(7 + i, 1 + 2 * p), in.number(17 + i, inputCol[p - 1])) << i << "," << p;
    EXPECT_EQ(lr.number("P11"), in.number("J18") + in.number("J19") + in.number("J20"));
    EXPECT_EQ(lr.number("Q6"), in.number("K16"));
    EXPECT_EQ(lr.number("S6"), in.number("L16"));
    EXPECT_EQ(lr.number("D2"), 3);
}

// Curve numbers 100 and 50: runoff equals the rain per event, and 1/11 of one inch.
TEST_F(LandRainEndToEnd, CurveNumberRunoff) {
    const SheetValues& lr = typed["Land&Rain"];
    EXPECT_EQ(lr.number("U8"), 1);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(lr.number(2 * 3 + 18 + i, 7), 100);                       // 2.1 pastureland CN
        EXPECT_NEAR(lr.number(3 * 3 + 22 + i, 7), lr.number(7 + i, 21), 1e-12);  // 2.2 = U
    }
    EXPECT_NEAR(lr.number("I32"), 1.0 / 11, 1e-12);
    EXPECT_EQ(lr.text("I32").substr(0, 6), "0.0909");
    // Groups: W1 keeps "B", W2 is now "A" (table 3's values by LOOKUP over merged pairs).
    EXPECT_EQ(lr.text("K15"), "B");
    EXPECT_EQ(lr.text("K16"), "A");
    EXPECT_EQ(lr.number("C25"), lr.number("Q15"));
    EXPECT_EQ(lr.number("C26"), lr.number("O15"));
    EXPECT_EQ(lr.number("E26"), lr.number("O16"));
}

TEST_F(LandRainEndToEnd, PerviousUrbanArea) {
    const SheetValues& lr = typed["Land&Rain"];
    for (int col = 25; col <= 33; ++col) EXPECT_NEAR(lr.number(8, col), 10, 1e-12) << col;
    EXPECT_NEAR(lr.number("AH8"), 100, 1e-12);
    EXPECT_NEAR(lr.number("AI8"), 52.3, 1e-9);
}

TEST_F(LandRainEndToEnd, GroundwaterSwitch) {
    // Switched off (the template's FALSE): every groundwater value is 0 whatever the areas.
    const SheetValues& off = generated["Land&Rain"];
    struct Block {
        int r1, r2, c1, c2;
    };
    const Block blocks[4] = {{15, 19, 37, 43}, {25, 27, 37, 45}, {32, 34, 37, 45}, {39, 41, 37, 47}};
    int values = 0;
    for (const Block& b : blocks)
        for (int r = b.r1; r <= b.r2; ++r)
            for (int c = b.c1; c <= b.c2; ++c)
                if (off.isNumber(r, c)) {
                    EXPECT_EQ(off.number(r, c), 0) << r << "," << c;
                    ++values;
                }
    EXPECT_GE(values, 20 + 15 + 15 + 18);
    EXPECT_GT(off.number("C8"), 0);  // there is land to infiltrate

    // Switched on: GW1's fractions, GW2's by the selected group, GW3 and GW4 from them.
    const SheetValues& on = typed["Land&Rain"];
    EXPECT_EQ(on.number("AK15"), 0.36);
    EXPECT_EQ(on.number("AQ15"), 0.06);
    EXPECT_EQ(on.number("AO19"), 0.15);
    EXPECT_EQ(on.number("AK25"), 0.24);  // W1, group B: urban
    EXPECT_EQ(on.number("AM25"), 0.3);   // cropland
    EXPECT_EQ(on.number("AS25"), 0.3);   // user defined
    EXPECT_EQ(on.number("AK26"), 0.36);  // W2, group A
    EXPECT_EQ(on.number("AM26"), 0.45);
    EXPECT_NEAR(on.number("AK32"), 0.24 * on.number("U8"), 1e-12);
    EXPECT_NEAR(on.number("AM33"), 0.45 * on.number("U9"), 1e-12);
    EXPECT_NEAR(on.number("AK39"),
                on.number("AK32") / 12 * on.number("S8") * on.number("S6") * on.number("AI8"), 1e-9);
    EXPECT_NEAR(on.number("AM40"),
                on.number("AM33") / 12 * on.number("S9") * on.number("S6") * on.number("E9"), 1e-9);
    EXPECT_GT(on.number("AM40"), 0);
    // Feedlots: the urban depth over the Feedlots sheet's pervious area J(11+i).
    EXPECT_NEAR(on.number("AU40"),
                on.number("AK33") / 12 * on.number("S9") * on.number("S6") *
                    typed["Feedlots"].number("J13"),
                1e-9);
}

TEST_F(LandRainEndToEnd, IrrigationRunoffAndReduction) {
    const SheetValues& lr = typed["Land&Rain"];
    const double cn = lr.number("E27");  // W3 cropland curve number
    EXPECT_EQ(cn, typed["Input"].number("D57"));
    // W2: equal depths, no reduction.
    EXPECT_NEAR(lr.number("Q33"), runoff(3, lr.number("E26")), 1e-12);
    EXPECT_EQ(lr.number("Y33"), 0);
    EXPECT_EQ(lr.number("E54"), 0);
    // W3: 4 in before, 2 in after, 20 acres, 5 times a year.
    const double before = runoff(4, cn), after = runoff(2, cn);
    EXPECT_NEAR(lr.number("Q34"), before, 1e-12);
    EXPECT_NEAR(lr.number("S34"), after, 1e-12);
    EXPECT_NEAR(lr.number("Y34"), before - after, 1e-12);
    EXPECT_NEAR(lr.number("E55"), (before - after) / 12 * 20 * 5, 1e-9);
    // Table 4: the cropland volume carries the irrigation runoff, and so does the total.
    const double rain = lr.number("E34") / 12 * lr.number("E10") * lr.number("S10") * lr.number("S6");
    EXPECT_NEAR(lr.number("E41"), rain + before / 12 * 20 * 5, 1e-9);
    EXPECT_NEAR(lr.number("M41"), lr.number("C41") + lr.number("E41") + lr.number("G41") +
                                      lr.number("I41") + lr.number("K41"), 1e-9);
    EXPECT_NEAR(lr.number("E39"),
                lr.number("E32") / 12 * lr.number("E8") * lr.number("S8") * lr.number("S6"), 1e-9);
}

}  // namespace
