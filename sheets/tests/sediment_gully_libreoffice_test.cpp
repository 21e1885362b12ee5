// The Sediment and Gully&Streambank sheets end to end: a workbook for four subwatersheds, three
// gullies and one streambank made by kavro-generate, recalculated in LibreOffice headless as
// generated, then with areas, efficiencies and gully data typed in as a planner would, and once
// more with the whole-watershed delivery-ratio switch on.
#include <gtest/gtest.h>
#include <unistd.h>

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

// One folder per process: ctest may run the tests of this program side by side.
const std::string kTmp =
    std::string(KAVRO_TEST_TMP) + "/sediment_gully_libreoffice/" + std::to_string(getpid());
using Book = std::map<std::string, SheetValues>;

std::string generate(const std::string& name) {
    return sheet_test::generateWithCommand(kTmp, name, "-n 4 -g 3 -s 1 --nonzero");
}

double smallAreaRatio(double acres) { return 0.42 * std::pow(acres / 640, -0.125); }
double largeAreaRatio(double acres) {
    return 0.417662 * std::pow(acres / 640, -0.134958) - 0.127097;
}

// Rows for N = 4, G = 3, S = 1.
// Sediment: USLE 8+i, BMP efficiency 16+i, erosion 23+i, after BMP 30+i, nutrients 37+i,
// land use 45+i. Input: table 1 in row 17+i, soil concentrations in row 52+i.
// Gully&Streambank: gullies 12..14, the streambank 19, loads 23+i.
constexpr double kCropland[4] = {60, 1000, 200, 0};
constexpr double kPasture[4] = {40, 0, 0, 0};
constexpr double kTotalArea = 1300;

struct SedimentGullyEndToEnd : ::testing::Test {
    static inline Book generated, typed, wholeWatershed;

    static void SetUpTestSuite() {
        const std::string path = generate("sediment_gully");
        generated = kavro::testing::recalculate(path, kTmp);

        auto book = wb::ooxml::openWorkbook(path);
        wb::Worksheet& in = book->sheet("Input");
        for (int i = 1; i <= 4; ++i) {
            in.range(17 + i, 3, 17 + i, 8).setValue(0);  // C..H: urban .. feedlots
            in.cells(17 + i, 4).setValue(kCropland[i - 1]);
            in.cells(17 + i, 5).setValue(kPasture[i - 1]);
        }
        in.range("K54").setValue(10);  // W2: soil E. coli per 100 mg
        // W1: no data for the cropland BMP's sediment efficiency, half for pastureland.
        wb::Worksheet& bmps = book->sheet("BMPs");
        bmps.range("F8").setValue("ND");
        bmps.range("F16").setValue(0.5);
        // Gully 1 formed in no time; gully 3 moved to W2; gully 2 keeps 5 x 5 x 5 x 5 ft, 1 year.
        wb::Worksheet& gs = book->sheet("Gully&Streambank");
        gs.range("H12").setValue(0);
        gs.range("B14").setValue("W2");
        const std::string edited = kTmp + "/sediment_gully_typed.xlsm";
        wb::ooxml::saveWorkbook(*book, edited);
        typed = kavro::testing::recalculate(edited, kTmp);

        in.range("F10").setValue(true);
        const std::string whole = kTmp + "/sediment_gully_whole.xlsm";
        wb::ooxml::saveWorkbook(*book, whole);
        wholeWatershed = kavro::testing::recalculate(whole, kTmp);
    }
};

TEST_F(SedimentGullyEndToEnd, NoErrorValues) {
    for (Book* book : {&generated, &typed, &wholeWatershed})
        for (const char* name : {"Sediment", "Gully&Streambank"}) {
            const SheetValues& s = (*book)[name];
            ASSERT_GE(s.rows.size(), 27u) << name;
            for (size_t r = 0; r < s.rows.size(); ++r)
                for (size_t c = 0; c < s.rows[r].size(); ++c)
                    EXPECT_FALSE(kavro::testing::isErrorValue(s.rows[r][c]))
                        << name << " row " << r + 1 << " col " << c + 1 << ": " << s.rows[r][c];
        }
}

// 100 acres (60 + 40), 1000, exactly 200 (the small-area curve) and no area at all.
TEST_F(SedimentGullyEndToEnd, DeliveryRatioBySubwatershedArea) {
    const SheetValues& sed = typed["Sediment"];
    EXPECT_EQ(sed.text("X7"), "Individual Sub ");
    EXPECT_NEAR(sed.number("W9"), smallAreaRatio(100), 1e-12);
    EXPECT_NEAR(sed.number("W10"), largeAreaRatio(1000), 1e-12);
    EXPECT_NEAR(sed.number("W11"), smallAreaRatio(200), 1e-12);
    EXPECT_EQ(sed.number("W12"), 0);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(sed.number(8 + i, 24), kCropland[i - 1] + kPasture[i - 1]) << i;
    // An area of 0 gives no erosion, no sediment and a reduction of 0 %.
    EXPECT_EQ(sed.number("M27"), 0);
    EXPECT_EQ(sed.number("Q27"), 0);
}

TEST_F(SedimentGullyEndToEnd, WholeWatershedSwitch) {
    const SheetValues& sed = wholeWatershed["Sediment"];
    EXPECT_EQ(sed.text("X7"), "Total WS ");
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(sed.number(8 + i, 24), kTotalArea) << i;
        EXPECT_NEAR(sed.number(8 + i, 23), largeAreaRatio(kTotalArea), 1e-12) << i;
    }
    // The subwatershed without land now has a ratio, but still no sediment.
    EXPECT_EQ(sed.number("M27"), 0);
    EXPECT_NEAR(sed.number("M24"), sed.number("K24") * largeAreaRatio(kTotalArea), 1e-9);
}

TEST_F(SedimentGullyEndToEnd, ErosionBmpsAndSedimentNutrients) {
    const SheetValues& sed = typed["Sediment"];
    const SheetValues& in = typed["Input"];
    // Erosion: R x K x LS x C x P x area of each land use, W1.
    double crop = kCropland[0], pasture = kPasture[0];
    for (int k = 0; k < 5; ++k) {
        crop *= sed.number(9, 3 + k);
        pasture *= sed.number(9, 8 + k);
    }
    EXPECT_GT(crop, 0);
    EXPECT_NEAR(sed.number("C24"), crop, 1e-9);
    EXPECT_NEAR(sed.number("E24"), pasture, 1e-9);
    EXPECT_NEAR(sed.number("K24"), crop + pasture, 1e-9);
    const double dr = smallAreaRatio(100), sediment = (crop + pasture) * dr;
    EXPECT_NEAR(sed.number("M24"), sediment, 1e-9);

    // "ND" counts as no reduction, 0.5 halves the pastureland erosion.
    EXPECT_EQ(sed.number("C17"), 0);
    EXPECT_EQ(sed.number("D17"), 0.5);
    EXPECT_NEAR(sed.number("C31"), crop, 1e-9);
    EXPECT_NEAR(sed.number("E31"), pasture / 2, 1e-9);
    const double after = (crop + pasture / 2) * dr;
    EXPECT_NEAR(sed.number("M31"), after, 1e-9);
    EXPECT_NEAR(sed.number("O24"), sediment - after, 1e-9);
    const double percent = 100 * (sediment - after) / sediment;
    EXPECT_NEAR(sed.number("Q24"), percent, 1e-9);
    // Without BMPs elsewhere nothing is reduced.
    EXPECT_EQ(sed.number("O25"), 0);

    // Nutrients carry the enrichment ratio 2, E. coli does not.
    const double soilN = in.number("H53");
    EXPECT_GT(soilN, 0);
    EXPECT_EQ(sed.number("C38"), soilN);
    EXPECT_NEAR(sed.number("K38"), 2 * soilN * sediment / 100, 1e-9);
    EXPECT_NEAR(sed.number("S38"), sed.number("K38") * percent / 100, 1e-9);
    EXPECT_EQ(sed.number("I39"), 10);
    EXPECT_NEAR(sed.number("Q39") / (10 * sed.number("M25") / 100 * 2000 * 453592), 1, 1e-12);
    EXPECT_EQ(sed.number("Q38"), 0);  // no E. coli in W1's soil

    // By land use: sediment with BMP of each land use and the N it carries.
    EXPECT_NEAR(sed.number("G46"), crop * dr, 1e-9);
    EXPECT_NEAR(sed.number("L46"), pasture * dr / 2, 1e-9);
    EXPECT_NEAR(sed.number("H46"), sed.number("L46") * soilN * 2 / 100, 1e-9);
}

// Gullies: load = mean width x depth x length x dry weight / years; the streambank's = length x
// height x rate x dry weight; per subwatershed 2000 x the loads of the rows assigned to it.
TEST_F(SedimentGullyEndToEnd, GullyAndStreambankLoads) {
    const SheetValues& gs = typed["Gully&Streambank"];
    const double dryWeight = gs.number("AC2"), factor = gs.number("AD2"), rate = gs.number("AH2");
    EXPECT_EQ(gs.text("J13"), gs.text("AB2"));
    EXPECT_EQ(gs.text("F19"), gs.text("AF2"));
    EXPECT_EQ(gs.text("G19"), gs.text("AG2"));

    EXPECT_EQ(gs.number("M12"), 0);  // years to form 0
    EXPECT_EQ(gs.number("O12"), 0);
    const double load = (5.0 + 5.0) / 2 * 5 * 5 * dryWeight / 1;
    EXPECT_NEAR(gs.number("M13"), load, 1e-12);
    EXPECT_NEAR(gs.number("N13"), 0.95 * load, 1e-12);
    EXPECT_NEAR(gs.number("O13"), load * factor, 1e-12);
    const double bank = 5.0 * 100 * rate * dryWeight;
    EXPECT_NEAR(gs.number("M19"), bank, 1e-12);

    // W1 keeps gullies 1 and 2 and the streambank, W2 has gully 3.
    EXPECT_NEAR(gs.number("F24"), 2000 * load, 1e-9);
    EXPECT_NEAR(gs.number("F25"), 2000 * load, 1e-9);
    EXPECT_EQ(gs.number("F26"), 0);
    EXPECT_NEAR(gs.number("K24"), 2000 * 0.95 * load, 1e-9);
    EXPECT_NEAR(gs.number("W24"), 2000 * load * factor, 1e-9);
    EXPECT_NEAR(gs.number("P24"), 2000 * bank, 1e-9);
    EXPECT_EQ(gs.number("P25"), 0);
    // Nutrients from the -ncf sediment and the soil of the subwatershed.
    const SheetValues& in = typed["Input"];
    EXPECT_NEAR(gs.number("C24"), gs.number("W24") * in.number("H53") / 100, 1e-9);
    EXPECT_NEAR(gs.number("G25") / (gs.number("W25") * 10 / 100 * 453592), 1, 1e-12);
    EXPECT_NEAR(gs.number("R24"), gs.number("Z24") * in.number("H53") / 100, 1e-9);

    // As generated every gully is in W1.
    const SheetValues& before = generated["Gully&Streambank"];
    EXPECT_NEAR(before.number("F24"), 3 * 2000 * load, 1e-9);
    EXPECT_EQ(before.number("F25"), 0);
    EXPECT_EQ(before.text("B14"), "W1");
}

}  // namespace
