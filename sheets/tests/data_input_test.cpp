// The Input sheet on the in-memory model: where every table lands for 1 and 200 subwatersheds,
// the default values of both initialisation modes, the formula texts, the list boxes and option
// buttons, and the formats the planner sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "sheets/input/data_input.h"
#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

// A workbook with the sheets the Input formulas name and the template's paved-percentage items,
// with the Input sheet built for n subwatersheds.
struct InputBook {
    Workbook book;
    Worksheet& ws;
    GenerationOptions opt;

    InputBook(int n, bool nonZero) : ws(book.addSheet("Input")) {
        book.addSheet("General Input Data");
        book.addSheet("WeatherData");
        book.addSheet("CountyData");
        const char* paved[] = {"0-24%", "25-49%", "50-74%", "75-100%"};
        for (int k = 0; k < 4; ++k) ws.cells(1 + k, 27).setValue(paved[k]);
        book.sheet("General Input Data").select();
        opt.SubwatershedCount = n;
        opt.applyInitialisationMode(nonZero);
        opt.LandUseNames = {"Watershed", "Urban", "Cropland", "Pastureland", "Forest",
                            "User Defined", ""};
        DataInput(book, opt);
    }

    std::string text(int r, int c) { return ws.cells(r, c).text(); }
    std::string text(const char* a1) { return ws.range(a1).text(); }
    std::string a1(int r, int c) { return ws.cells(r, c).formula(); }
    CellValue value(int r, int c) { return ws.cells(r, c).value(); }
    const CellFormat& fmt(int r, int c) { return ws.cells(r, c).format(); }
    const CellFormat& fmt(const char* a1) { return ws.range(a1).format(); }
    std::string note(int r, int c) {
        const Comment* k = ws.cells(r, c).comment();
        return k ? k->text : "(none)";
    }
    std::vector<const Control*> controls(std::string_view progId) {
        std::vector<const Control*> out;
        for (const Control& c : ws.controls)
            if (c.progId == progId) out.push_back(&c);
        return out;
    }
};

std::string W(int i) { return "W" + std::to_string(i); }
CellValue num(double v) { return CellValue(v); }

const Color kRedBgr = Color::fromBgr(0x0000FF);
const Color kBlueBgr = Color::fromBgr(0xFF0000);
const Color kRedIndex = Color::indexed(3);

// ---------------------------------------------------------------------------------------------
// Row plan

struct Plan {
    int n;
    int landUseLast, animalHeader, animalTotals, septicHeader, soilLossGroups, optionalMarker,
        soilGroupHeader, curveHeader, runoffHeader, groundwaterHeader, urbanHeader,
        irrigationHeader, pastureHeader, endMarker;
};

TEST(InputRowPlan, EveryTableWhereTheOtherSheetsReadIt) {
    const Plan plans[] = {
        {1, 18, 22, 24, 28, 33, 38, 40, 45, 54, 57, 67, 72, 77, 85},
        {200, 217, 221, 422, 426, 630, 834, 836, 1040, 1049, 1052, 1062, 1266, 1470, 1478},
    };
    for (const Plan& p : plans) {
        SCOPED_TRACE("N = " + std::to_string(p.n));
        InputBook in(p.n, false);
        const int n = p.n;

        EXPECT_EQ(in.text(16, 2), "1. Input watershed land use area (ac) and precipitation (in)");
        EXPECT_EQ(in.text(17, 2), "Watershed");
        EXPECT_EQ(in.text(p.landUseLast, 2), W(n));
        EXPECT_EQ(in.text(p.landUseLast + 1, 2), "");

        EXPECT_EQ(in.text(p.animalHeader - 1, 2), "2. Input agricultural animals");
        EXPECT_EQ(in.text(p.animalHeader, 3), "Beef Cattle");
        EXPECT_EQ(in.text(p.animalTotals - 1, 2), W(n));
        EXPECT_EQ(in.text(p.animalTotals, 2), "Total");

        EXPECT_EQ(in.text(p.septicHeader - 1, 2),
                  "3. Input septic system and illegal direct wastewater discharge data");
        EXPECT_EQ(in.text(p.septicHeader + n, 2), W(n));

        EXPECT_EQ(in.text(p.soilLossGroups - 1, 2),
                  "4. Modify the Universal Soil Loss Equation (USLE) parameters");
        EXPECT_EQ(in.text(p.soilLossGroups, 2), "Watershed");
        EXPECT_EQ(in.text(p.soilLossGroups, 18), "User Defined");
        EXPECT_EQ(in.text(p.soilLossGroups + 1, 22), "P");
        EXPECT_EQ(in.text(p.soilLossGroups + 2, 2), "W1");
        EXPECT_EQ(in.text(p.soilLossGroups + 1 + n, 2), W(n));

        EXPECT_EQ(in.text(p.optionalMarker, 2), "Optional Data Input:");
        EXPECT_EQ(in.text("AA20"), "$B$" + std::to_string(p.optionalMarker));

        EXPECT_EQ(in.text(p.soilGroupHeader, 7), "SHG Selected");
        EXPECT_EQ(in.text(p.soilGroupHeader + n, 2), W(n));

        EXPECT_EQ(in.text(p.curveHeader, 2), "SHG");
        EXPECT_EQ(in.text(p.curveHeader + 1, 2), "Urban");
        EXPECT_EQ(in.text(p.curveHeader + 5, 2), "User Defined");
        EXPECT_EQ(in.text(p.curveHeader, 8), "Urban\\SHG");
        EXPECT_EQ(in.text(p.curveHeader + 9, 8), "Open Space");

        EXPECT_EQ(in.text(p.runoffHeader, 2), "Land use");
        EXPECT_EQ(in.text(p.runoffHeader + 9, 2), "6. User Defined");
        EXPECT_EQ(in.text(p.groundwaterHeader, 8), "Landuse");
        EXPECT_EQ(in.text(p.groundwaterHeader + 6, 8), "User-Defined");

        EXPECT_EQ(in.text(p.urbanHeader, 13), "Total % Area");
        EXPECT_EQ(in.text(p.urbanHeader + n, 2), W(n));
        EXPECT_EQ(in.text(p.irrigationHeader, 7), "Irrigation Frequency (#/Year)");
        EXPECT_EQ(in.text(p.irrigationHeader + n, 2), W(n));
        EXPECT_EQ(in.text(p.pastureHeader + 6, 2), "3a. w/ manure");

        EXPECT_EQ(in.text(p.endMarker, 2), "Input Ends Here.");
        EXPECT_EQ(in.text("AA21"), "$O$" + std::to_string(p.endMarker));

        // One paved-percentage list per subwatershed, four soil-group buttons per subwatershed.
        EXPECT_EQ(in.controls(kListBoxProgId).size(), static_cast<size_t>(n));
        EXPECT_EQ(in.controls(kOptionButtonProgId).size(), static_cast<size_t>(4 * n));
        EXPECT_TRUE(findOleObject(in.ws, "lstBx1" + std::to_string(n)));

        // The builder leaves the Input sheet active with A1 selected.
        EXPECT_EQ(in.book.activeSheetIndex(), in.ws.index());
        EXPECT_EQ(in.ws.selection(), (RangeRef{1, 1, 1, 1}));
    }
}

// ---------------------------------------------------------------------------------------------
// Required tables

TEST(InputTables, DefaultsOfBothInitialisationModes) {
    for (bool nonZero : {false, true}) {
        SCOPED_TRACE(nonZero ? "non-zero" : "zero");
        InputBook in(3, nonZero);
        const double landUse[6] = {200, 200, 200, 200, 0, 10};  // C..G, H in non-zero mode
        for (int r = 18; r <= 20; ++r) {
            for (int c = 3; c <= 8; ++c)
                EXPECT_EQ(in.value(r, c), num(nonZero ? landUse[c - 3] : 0)) << r << "," << c;
            // Animals C..J and manure months K, L (table 2, rows 25..27).
            for (int c = 3; c <= 10; ++c) EXPECT_EQ(in.value(r + 7, c), num(nonZero ? 100 : 0));
            EXPECT_EQ(in.value(r + 7, 11), num(nonZero ? 4 : 0));
            EXPECT_EQ(in.value(r + 7, 12), num(nonZero ? 4 : 0));
            // Septic systems (table 3, rows 33..35): only the count depends on the mode.
            EXPECT_EQ(in.value(r + 15, 3), num(nonZero ? 600 : 0));
            EXPECT_EQ(in.value(r + 15, 4), num(2.43));
            EXPECT_EQ(in.value(r + 15, 5), num(2));
            EXPECT_EQ(in.value(r + 15, 6), num(0));
            EXPECT_EQ(in.value(r + 15, 7), num(0));
        }
    }
}

TEST(InputTables, LandUseAndRainFormulas) {
    InputBook in(3, true);
    const std::string station = "MATCH(WeatherData!$M$5,WeatherData!$V$2:$V$8220,0))";
    EXPECT_EQ(in.a1(20, 10), "=SUM(C20:H20)");
    EXPECT_EQ(in.a1(20, 11), "=INDEX(WeatherData!Y$2:Y$8220," + station);
    EXPECT_EQ(in.a1(20, 12), "=INDEX(WeatherData!AA$2:AA$8220," + station);
    // The average rain per event of every row uses the correction factors of row 16.
    EXPECT_EQ(in.a1(18, 13), "=(K18*K16)/(L18*L16)");
    EXPECT_EQ(in.a1(20, 13), "=(K20*K16)/(L20*L16)");
    EXPECT_EQ(in.a1(16, 11), "=INDEX(WeatherData!W$2:W$8220," + station);
    EXPECT_EQ(in.a1(16, 12), "=INDEX(WeatherData!X$2:X$8220," + station);
    EXPECT_FALSE(in.ws.range("M16").hasFormula());
    EXPECT_EQ(in.note(16, 11), "Rainfall Correction Factor:  The percentage of rainfall events "
                               "that exceeds 5 mm per event.");
    EXPECT_EQ(in.note(16, 12), "Rain Days Correction Factor:  The percentage of rain day (event) "
                               "that generates runoff.");
    EXPECT_EQ(in.text("K15"), "Rain correction factors");
    EXPECT_EQ(in.fmt(20, 11).numberFormat, "0");
    EXPECT_EQ(in.fmt(20, 13).numberFormat, "0.000");
    EXPECT_EQ(in.fmt(16, 11).numberFormat, "0.000");

    EXPECT_EQ(in.a1(1, 11), "='General Input Data'!$C$6");
    EXPECT_EQ(in.text(17, 9), "Feedlot Percent Paved");
    EXPECT_EQ(in.text(17, 13), "Avg. Rain/Event");

    InputBook one(1, false);
    EXPECT_EQ(one.ws.range("M18").formulaR1C1(), "=(RC[-2]*R[-2]C[-2])/(RC[-1]*R[-2]C[-1])");
}

TEST(InputTables, PavedPercentageListsLieOverTheirCells) {
    InputBook in(3, false);
    auto lists = in.controls(kListBoxProgId);
    ASSERT_EQ(lists.size(), 3u);
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(W(i));
        const Control& c = *lists[i - 1];
        Range cell = in.ws.cells(17 + i, 9);
        EXPECT_EQ(c.name, "lstBx1" + std::to_string(i));
        EXPECT_DOUBLE_EQ(c.left, cell.left());
        EXPECT_DOUBLE_EQ(c.top, cell.top());
        EXPECT_DOUBLE_EQ(c.width, cell.width());
        EXPECT_DOUBLE_EQ(c.height, cell.height());
        EXPECT_EQ(c.linkedCell, "$I$" + std::to_string(17 + i));
        EXPECT_EQ(c.listFillRange, "AA1:AA4");
        EXPECT_EQ(c.list, (std::vector<std::string>{"0-24%", "25-49%", "50-74%", "75-100%"}));
        EXPECT_EQ(c.listIndex, 0);
        EXPECT_EQ(c.listStyle, 1);
        EXPECT_TRUE(c.autoLoad);
        EXPECT_EQ(c.backColor, Color::fromBgr(0x0000FF));
        EXPECT_EQ(c.foreColor, Color::fromBgr(0));
        EXPECT_EQ(in.text(17 + i, 9), "0-24%");
    }
}

TEST(InputTables, AnimalTotalsCoverTheBodyRows) {
    InputBook one(1, false);
    EXPECT_EQ(one.ws.range("C24").formulaR1C1(), "=SUM(R[-1]C:R[-1]C)");
    EXPECT_EQ(one.a1(24, 10), "=SUM(J23:J23)");
    InputBook in(3, true);
    EXPECT_EQ(in.a1(28, 3), "=SUM(C25:C27)");
    EXPECT_EQ(in.a1(28, 10), "=SUM(J25:J27)");
    EXPECT_FALSE(in.ws.cells(28, 11).hasFormula());
    EXPECT_EQ(in.note(24, 11), "Time that manure is applied (months per year) to cropland");
    EXPECT_EQ(in.note(24, 12), "Time that manure is applied (months per year) to pastureland");
    EXPECT_EQ(in.note(32, 4),
              "Person served per septic system. The national average is 2.43 person per home.");
    EXPECT_EQ(in.note(32, 7), "Optional Input: Percentage reduction of people that discharge to "
                              "streams directly (0-100)");
}

TEST(InputTables, SoilLossFactorsComeFromTheCountyTable) {
    InputBook one(1, false);
    EXPECT_EQ(one.a1(35, 3), "=LOOKUP(I13,CountyData!F2:F3217,CountyData!O2:O3217)");

    // N = 3: groups in row 39, factor names in row 40, subwatersheds in rows 41..43.
    InputBook in(3, false);
    const char* groups[] = {"Cropland", "Pastureland", "Forest", "User Defined"};
    const char* factors[] = {"R", "K", "LS", "C", "P"};
    const char* countyColumn[] = {"O", "P", "Q", "R", "S"};
    for (int g = 0; g < 4; ++g) {
        const int c = 3 + 5 * g;
        EXPECT_EQ(in.text(39, c), groups[g]);
        const RangeRef* m = in.ws.mergeAt(39, c);
        ASSERT_TRUE(m);
        EXPECT_EQ(*m, (RangeRef{39, c, 39, c + 4}));
        for (int f = 0; f < 5; ++f) EXPECT_EQ(in.text(40, c + f), factors[f]);
    }
    // Fixed factors by column: pastureland C, P; forest C, P; user-defined P.
    const std::pair<int, double> fixed[] = {{11, 0.04}, {12, 1}, {16, 0.003}, {17, 1}, {22, 1}};
    for (int r = 41; r <= 43; ++r) {
        EXPECT_EQ(in.text(r, 2), W(r - 40));
        for (int c = 3; c <= 22; ++c) {
            SCOPED_TRACE(formula::cellAddress(r, c));
            EXPECT_EQ(in.fmt(r, c).numberFormat, "0.000");
            const auto* f = std::find_if(std::begin(fixed), std::end(fixed),
                                         [&](auto& p) { return p.first == c; });
            if (f != std::end(fixed)) {
                EXPECT_EQ(in.value(r, c), num(f->second));
                continue;
            }
            const std::string lookup = "LOOKUP(I13,CountyData!F2:F3217,CountyData!" +
                                       std::string(countyColumn[(c - 3) % 5]) + "2:" +
                                       countyColumn[(c - 3) % 5] + "3217)";
            if (c == 6)  // cropland C, never below 0.2
                EXPECT_EQ(in.a1(r, c), "=IF(" + lookup + " > 0.2, " + lookup + ", 0.2)");
            else
                EXPECT_EQ(in.a1(r, c), "=" + lookup);
        }
    }
    EXPECT_EQ(in.text(44, 2), "");  // the table ends with the last subwatershed
}

// ---------------------------------------------------------------------------------------------
// Optional section

TEST(InputOptional, SoilGroupButtonsFourPerSubwatershed) {
    InputBook in(3, false);
    auto buttons = in.controls(kOptionButtonProgId);
    ASSERT_EQ(buttons.size(), 12u);
    for (int k = 1; k <= 12; ++k) {
        SCOPED_TRACE("OptionButton" + std::to_string(k));
        const Control& b = *buttons[k - 1];
        const int i = (k - 1) / 4 + 1, col = 3 + (k - 1) % 4, row = 48 + i;
        Range cell = in.ws.cells(row, col);
        EXPECT_EQ(b.name, "OptionButton" + std::to_string(k));
        EXPECT_DOUBLE_EQ(b.left, cell.left() + cell.width() / 2);
        EXPECT_DOUBLE_EQ(b.top, cell.top());
        EXPECT_DOUBLE_EQ(b.width, cell.height());
        EXPECT_DOUBLE_EQ(b.height, cell.height());
        EXPECT_EQ(b.linkedCell, cell.address());
        EXPECT_EQ(b.groupName, std::to_string(i));
        EXPECT_EQ(b.backColor, Color::fromBgr(0x0000FF));
        // "SHG B" is chosen in every row.
        EXPECT_EQ(b.value, col == 4 ? "TRUE" : "FALSE");
        EXPECT_EQ(in.value(row, col), CellValue(col == 4));
        EXPECT_EQ(in.fmt(row, col).font.color, Color::indexed(2));
    }
    EXPECT_EQ(in.a1(49, 7),
              "=IF(C49=TRUE,\"A\",IF(D49=TRUE,\"B\",IF(E49=TRUE,\"C\",IF(F49=TRUE,\"D\","
              "\"No Match\"))))");

    // Choosing "SHG A" of the second subwatershed changes that row only.
    findOleObject(in.ws, "optionbutton5")->setValue(true);
    EXPECT_EQ(in.value(50, 3), CellValue(true));
    EXPECT_EQ(in.value(50, 4), CellValue(false));
    EXPECT_EQ(in.value(49, 4), CellValue(true));
    EXPECT_EQ(in.value(51, 4), CellValue(true));

    // The run groups the buttons four by four under these names, matched without regard to case.
    for (int g = 1; g <= 3; ++g) {
        std::vector<std::string> names;
        for (int k = 4 * g - 3; k <= 4 * g; ++k) names.push_back("optionButton" + std::to_string(k));
        EXPECT_NO_THROW(groupShapes(in.ws, names)) << g;
    }
}

TEST(InputOptional, SoilConcentrationsAndComments) {
    InputBook in(1, false);
    // Table 5 body row 41.
    EXPECT_EQ(in.value(41, 8), num(0.08));
    EXPECT_EQ(in.value(41, 9), num(0.0308));
    EXPECT_EQ(in.a1(41, 10), "=IF((H41*2)>1,1,H41*2)");
    EXPECT_EQ(in.value(41, 11), num(0));
    EXPECT_EQ(in.note(40, 3).substr(0, 26), "Soil Hydrologic Group A: L");
    EXPECT_EQ(in.note(40, 8),
              "Go to the \"KAVRO\" menu for soil N concentration map. Value range: 0-100.");
    EXPECT_EQ(in.note(40, 10), "Estimated national average loading ratio BOD/N = 2.");
    EXPECT_EQ(in.note(40, 11), "(none)");
}

TEST(InputOptional, ReferenceTablesAndSubwatershedTables) {
    InputBook in(1, false);
    // Table 6 (rows 46..50) and 6a (rows 46..54) side by side.
    EXPECT_EQ(in.text(46, 2), "Urban");
    EXPECT_EQ(in.value(46, 3), num(83));
    EXPECT_EQ(in.value(50, 6), num(85));
    EXPECT_EQ(in.text(49, 8), "Transportation");
    EXPECT_EQ(in.value(49, 12), num(98));
    EXPECT_EQ(in.value(54, 10), num(69));

    // Table 7: rows 55..63; the pastureland row 61 is empty, its values live in table 10.
    EXPECT_EQ(in.value(55, 3), num(1.9));
    EXPECT_EQ(in.value(60, 5), num(24.6));
    EXPECT_EQ(in.text(61, 2), "4. Pastureland (see Table 10 for default values with manure)");
    for (int c = 3; c <= 6; ++c) EXPECT_EQ(in.value(61, c), CellValue()) << c;
    EXPECT_EQ(in.value(62, 4), num(0.1));
    EXPECT_EQ(in.note(55, 3),
              "Area with low livestock density: N, P, and BOD conc. in cropland runoff (mg/l)");
    EXPECT_EQ(in.note(59, 2), "3. H-Cropland: The study area has high livestock density "
                              "(>=2500 lb/ac live animal weight)");
    // Table 7a: rows 58..63.
    EXPECT_EQ(in.text(62, 8), "Feedlot");
    EXPECT_EQ(in.value(62, 9), num(6));
    EXPECT_EQ(in.value(61, 10), num(0.009));

    // Table 8 (row 68) and table 9 (row 73) follow table 1's urban and cropland areas.
    EXPECT_EQ(in.a1(68, 3), "=C18");
    const double mix[9] = {15, 10, 10, 10, 10, 30, 5, 5, 5};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(in.value(68, 4 + k), num(mix[k])) << k;
    EXPECT_EQ(in.a1(68, 13), "=D68+E68+F68+G68+H68+I68+J68+K68+L68");
    EXPECT_EQ(in.note(67, 13), "The total % area must be equal to 100");
    EXPECT_EQ(in.a1(73, 3), "=D18");
    for (int c = 4; c <= 7; ++c) EXPECT_EQ(in.value(73, c), num(0)) << c;

    // Table 10: rows 78..83.
    for (int r = 78; r <= 83; ++r) {
        EXPECT_EQ(in.value(r, 3), num(4));
        EXPECT_EQ(in.value(r, 4), num(0.3));
        EXPECT_EQ(in.value(r, 5), num(13));
        EXPECT_EQ(in.value(r, 6), num(0));
    }
    EXPECT_EQ(in.note(79, 3),
              "Manured L-cropland: N, P, and BOD conc. in manured pastureland runoff (mg/l)");

    // With more subwatersheds the offsets grow with N and still reach table 1.
    InputBook three(3, false);
    EXPECT_EQ(three.a1(80, 3), "=C20");   // table 8, W3
    EXPECT_EQ(three.a1(87, 3), "=D20");   // table 9, W3
}

// ---------------------------------------------------------------------------------------------
// Formats

TEST(InputFormats, WhatThePlannerSees) {
    InputBook in(1, false);
    EXPECT_DOUBLE_EQ(in.ws.range("A1").columnWidth(), 5);
    EXPECT_DOUBLE_EQ(in.ws.range("B1").columnWidth(), 11);
    EXPECT_DOUBLE_EQ(in.ws.range("I1").columnWidth(), 18);
    EXPECT_DOUBLE_EQ(in.ws.range("Z1").columnWidth(), 11);
    EXPECT_EQ(in.fmt("AY300").fill.color, Color::indexed(2));

    // Header band B1:P1: blue on grey, an outline without inside lines; "RED" in red.
    EXPECT_TRUE(in.fmt("B1").font.bold);
    EXPECT_EQ(in.fmt("H1").font.color, kBlueBgr);
    EXPECT_EQ(in.fmt("H1").fill.color, Color::indexed(15));
    EXPECT_EQ(in.fmt("B1").left.lineStyle, xl::Continuous);
    EXPECT_EQ(in.fmt("P1").right.lineStyle, xl::Continuous);
    EXPECT_EQ(in.fmt("H1").top.lineStyle, xl::Continuous);
    EXPECT_EQ(in.fmt("H1").left.lineStyle, xl::None);
    EXPECT_EQ(in.fmt("H1").right.lineStyle, xl::None);
    const auto& runs = in.ws.runs[{1, 4}];
    auto red = std::find_if(runs.begin(), runs.end(),
                            [](const TextRun& r) { return r.font.color == Color::indexed(3); });
    ASSERT_NE(red, runs.end());
    EXPECT_EQ(in.text("D1").substr(red->start, red->length), "RED");
    EXPECT_EQ(in.fmt("K1").align.horizontal, xl::Center);
    EXPECT_TRUE(in.fmt("F12").font.bold);

    // Table 1: title band to J, grey correction factors, red entries, black results.
    EXPECT_EQ(in.fmt("J16").fill.color, Color::indexed(43));
    EXPECT_EQ(in.fmt("K16").fill.color, Color::indexed(15));
    EXPECT_TRUE(in.fmt("K16").align.wrap);
    EXPECT_EQ(in.fmt("M16").top.lineStyle, xl::Continuous);
    EXPECT_EQ(in.fmt("K15").font.color, Color::indexed(29));
    EXPECT_EQ(in.fmt("C18").font.color, kRedBgr);
    EXPECT_EQ(in.fmt("I18").font.color, kRedBgr);
    EXPECT_EQ(in.fmt("J18").font.color, Color::fromBgr(0));

    // Tables 2 to 4.
    EXPECT_EQ(in.fmt("L21").fill.color, Color::indexed(43));
    EXPECT_TRUE(in.fmt("K22").align.wrap);
    EXPECT_EQ(in.fmt("F29").fill.color, Color::indexed(34));
    EXPECT_EQ(in.fmt("C29").font.color, kRedIndex);
    EXPECT_EQ(in.fmt("V32").fill.color, Color::indexed(43));
    EXPECT_TRUE(in.fmt("S34").font.bold);  // the inserted factor row looks like a header
    EXPECT_EQ(in.fmt("S34").fill.color, Color::indexed(15));
    EXPECT_EQ(in.fmt("V35").font.color, kRedIndex);

    // Optional section.
    EXPECT_EQ(in.fmt("B38").font.color, kBlueBgr);
    EXPECT_TRUE(in.fmt("B38").font.bold);
    EXPECT_DOUBLE_EQ(in.fmt("B38").font.size, 10);
    EXPECT_EQ(in.fmt("K39").fill.color, Color::indexed(43));
    EXPECT_EQ(in.fmt("Z40").align.vertical, xl::Top);  // the whole header row of table 5
    EXPECT_EQ(in.fmt("C41").align.horizontal, xl::Right);
    EXPECT_EQ(in.fmt("C41").numberFormat, "0.000");
    EXPECT_EQ(in.fmt("H41").font.color, kRedIndex);
    EXPECT_EQ(in.fmt("E44").fill.color, Color::indexed(43));  // table 6 band B..E
    EXPECT_EQ(in.fmt("F44").fill.color, Color::indexed(2));
    EXPECT_EQ(in.fmt("K44").fill.color, Color::indexed(43));  // table 6a band H..K
    EXPECT_EQ(in.fmt("L44").fill.color, Color::indexed(2));
    EXPECT_EQ(in.fmt("F50").font.color, kRedBgr);
    EXPECT_EQ(in.fmt("F53").fill.color, Color::indexed(43));  // table 7 band B..F
    EXPECT_EQ(in.fmt("M56").fill.color, Color::indexed(43));  // table 7a band H..M
    EXPECT_EQ(in.fmt("N56").fill.color, Color::indexed(2));
    EXPECT_TRUE(in.fmt("E55").font.bold);
    EXPECT_FALSE(in.fmt("E56").font.bold);
    EXPECT_EQ(in.fmt("F61").fill.color, Color::indexed(36));
    EXPECT_EQ(in.fmt("F63").font.color, kRedBgr);
    EXPECT_EQ(in.fmt("L63").font.color, kRedBgr);
    EXPECT_DOUBLE_EQ(in.ws.range("B67").rowHeight(), 24);
    EXPECT_EQ(in.fmt("C68").font.color, Color::automatic());
    EXPECT_EQ(in.fmt("D68").font.color, kRedIndex);
    EXPECT_EQ(in.fmt("G73").fill.color, Color::indexed(34));
    EXPECT_EQ(in.fmt("G73").font.color, kRedIndex);
    EXPECT_TRUE(in.fmt("E78").font.bold);
    EXPECT_FALSE(in.fmt("E79").font.bold);
    EXPECT_EQ(in.fmt("B85").font.color, kBlueBgr);
    EXPECT_TRUE(in.fmt("B85").font.bold);
}

}  // namespace
