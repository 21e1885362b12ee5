// The Feedlots sheet builder. All five tables are CreateTableDunlo frames; the builder writes
// their bodies as R1C1 formulas whose offsets it computes from the positions below, so that
// every formula reads the cells named beside it whatever the subwatershed count.
//
//   table                                   header row   body rows        columns
//   1. paved class, area, rain, efficiency  11           12 .. N+11       B..J
//   2. agricultural animals                 N+15         N+16 .. 2N+16    B..M
//   3. loads and reductions                 2N+19        2N+20 .. 3N+19   B..J
//   4. load calculation (hidden)            3N+23        3N+24 .. 3N+43   B..(N+2), W{i} in 2+i
//   5. ratios to a slaughter steer (hidden) 3N+47        3N+48 .. 3N+58   B..F
#include "sheets/sources/feedlots_page.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sheets/common/sheet_format.h"
#include "sheets/input/data_input.h"
#include "sheets/summary/bmp_page.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace {

namespace xl = wb::xl;

using sheets::kBlack;
using sheets::kBlue;
using sheets::kRed;
using sheets::outline;
using sheets::rel;
using sheets::solidFill;

constexpr int colB = 2, colC = 3, colD = 4, colE = 5, colJ = 10, colM = 13;

// Land&Rain: row 6 holds the rain-day correction factor (S6) and the initial abstraction factor
// (U6); table 1 has subwatershed i in row 7 + i with the feedlot area in M, rain days in S and
// the average rain per event in U.
constexpr int kLandRainFactors = 6;
constexpr int kLandRainHeader = 7;
constexpr int kLandRainFeedlotArea = 13, kLandRainRainDays = 19, kLandRainEventRain = 21;
// Input table 1: the feedlot percent-paved class in column I.
constexpr int kInputPavedClass = 9;
// Animal table 1 (subwatershed i in row 9 + i) and the Reference weights (column C from row 5):
// the eight livestock kinds in the same order on both sheets.
constexpr int kAnimalHeader = 9;
constexpr int kAnimalFirstColumn = colC;
constexpr int kReferenceFirstWeightRow = 5, kReferenceWeightColumn = 3;
// BMPs table 5 holds the feedlot BMP efficiencies.
constexpr int kBmpFeedlotTable = 5;

std::string num(int v) { return std::to_string(v); }

// Centred and bottom-aligned, wrapped, upright, not indented, not shrunk, not merged.
void centre(const wb::Range& r) {
    wb::Range cells = r;
    cells.setHorizontalAlignment(xl::Center)
        .setVerticalAlignment(xl::Bottom)
        .setWrapText(true)
        .setOrientation(0)
        .setIndentLevel(0)
        .setShrinkToFit(false)
        .setMergeCells(false);
}

// Labels for CreateTableDunlo, whose index 0 is not read: `first` (when given), then "W1".."Wn".
std::vector<std::string> subwatershedLabels(int n, const char* first = nullptr) {
    std::vector<std::string> labels{""};
    if (first) labels.emplace_back(first);
    for (int i = 1; i <= n; ++i) labels.push_back("W" + num(i));
    return labels;
}

// The paved-percentage classes of a lot, their curve numbers and the pervious share of the lot.
// Any other text counts as curve number 91 and half the lot pervious.
struct PavedClass {
    const char* text;
    const char* curveNumber;
    const char* perviousShare;
};
constexpr std::array<PavedClass, 4> kPavedClasses{{
    {"0-24%", "91", "0.875"},
    {"25-49%", "92", "0.625"},
    {"50-74%", "93", "0.375"},
    {"75-100%", "94", "0.125"},
}};
constexpr const char* kOtherCurveNumber = "91";
constexpr const char* kOtherPerviousShare = "0.5";

// Nested IFs that pick a class's value for the class text in `cell`, `other` for any other text.
std::string byPavedClass(const std::string& cell, const char* PavedClass::*value, const char* other) {
    std::string text, closing;
    for (const PavedClass& c : kPavedClasses) {
        text += "IF(" + cell + "=\"" + c.text + "\"," + c.*value + ",";
        closing += ")";
    }
    return text + other + closing;
}

// The eleven animal columns of table 2 (C..M) and rows of table 5, in the same order. Livestock
// kinds counted on the Animal sheet carry their index there (0..7, also their Reference weight
// row from row 5); the young stock has a fixed design weight and a head count typed here. The
// ratios are the animal's N, P, BOD and E. coli production relative to a 1000 lb slaughter steer.
struct FeedlotAnimal {
    const char* header;  // table 2
    const char* label;   // table 5
    int livestock;       // -1: young stock, typed on this sheet
    int designWeight;    // young stock only
    bool blackFont;      // head counts shown in black
    std::array<double, 4> ratios;
};
constexpr std::array<FeedlotAnimal, 11> kAnimals{{
    {"Beef Cattle (Slaughter Steer)", "Slaughter Steer", 0, 0, false, {1, 1, 1, 0}},
    {"Young Beef", "Young Beef", -1, 500, false, {0.5, 0.51, 0.5, 0}},
    {"Dairy Cattle", "Dairy Cow", 1, 0, false, {1.853, 0.92, 1.4, 0}},
    {"Young Dairy Stock", "Young Dairy Stock", -1, 500, false, {0.662, 0.33, 0.5, 0}},
    {"Swine", "Swine", 2, 0, false, {0.306, 0.27, 0.388, 0}},
    {"Feeder Pig", "Feeder Pig", -1, 50, false, {0.076, 0.07, 0.097, 0}},
    {"Sheep", "Sheep", 3, 0, false, {0.124, 0.06, 0.075, 0}},
    {"Horse", "Horse", 4, 0, true, {0.882, 0.42, 1.063, 0}},
    {"Chicken", "Chicken", 5, 0, true, {0.01, 0.01, 0.008, 0}},
    {"Turkey", "Turkey", 6, 0, true, {0.018, 0.03, 0.013, 0}},
    {"Duck", "Duck", 7, 0, true, {0.018, 0.01, 0.011, 0}},
}};

// N, P, BOD and E. coli: names in the row labels of table 4, and the concentration (mg/l) of
// lot runoff at full animal density; E. coli takes the density share itself (MPN/100 ml).
constexpr std::array<const char*, 4> kPollutants{"N", "P", "BOD", "E. coli"};
constexpr std::array<const char*, 4> kCeilings{"1500", "300", "2000", nullptr};

// Row labels of table 4, rows 1..20 below its header.
std::vector<std::string> calculationLabels() {
    std::vector<std::string> labels{"", "CN", "S", "Q", "V"};
    for (const char* stage : {"EAU-", "AUD-", "PACK-"})
        for (const char* p : kPollutants) labels.push_back(std::string(stage) + p);
    for (int m = 0; m < 4; ++m)
        labels.push_back(std::string(kPollutants[m]) + (kCeilings[m] ? "-CONC mg/l" : "-CONC MPN/100ml"));
    return labels;
}

// The BMP efficiency in BMPs column `bmpCol` for the table-1 cell (row, col), "ND" read as 0.
std::string efficiency(int row, int col, int bmpRow, int bmpCol) {
    const std::string cell = "'BMPs'!" + rel(bmpRow - row, bmpCol - col);
    return "=If(" + cell + "=\"ND\",0," + cell + ")";
}

}  // namespace

void FeedlotsPage(wb::Workbook& wb, GenerationOptions& opt) {
    const int N = opt.SubwatershedCount;
    const FeedlotsSheetRows at(N);
    wb::Worksheet& ws = wb.sheet("Feedlots");
    ws.select();

    solidFill(ws.range("A1:AY100"), 2);
    ws.columns("A").setColumnWidth(5);
    ws.columns("B:R").setColumnWidth(16);

    // Notes.
    ws.range("B1").setValue("Feedlot Pollution ");
    ws.range("B1").font().setBold(true).setColor(kBlue);
    ws.range("B2").setValue(
        "Notes:  An animal lot refers to an open lot or combination of open lots intended for "
        "confined feeding, breeding, raising or holding animals.");
    ws.range("B3").setValue(
        "It is specifically designed as a confinement area in which manure accumulates or where "
        "the concentration of animals is such that vegetation cannot be maintained.");
    ws.range("B4").setValue(
        "The purpose of these calculations is to represent nitrogen (N), phosphorus (P), and "
        "Biological Oxygen Demand (BOD) reductions after an animal waste BMP is installed.");
    ws.range("B5").setValue(
        "This method has two assumptions:  1) the feedlot is adjacent to a receiving hydrological "
        "system without any buffering areas; and 2) installing the ");
    ws.range("B6").setValue(
        "animal waste BMP will reduce pollutants from the lot from reaching the hydrologic system.");
    ws.range("B7").setValue(
        "Feedlots that cannot show impact to the hydrologic system being protected should not be "
        "evaluated with this computation.");
    wb::Range notes = ws.range("B2:I7");
    solidFill(notes, 15);
    notes.font().setColor(kBlue);
    outline(notes);

    // Table 1: the lot of every subwatershed.
    const int t1 = at.lotHeader();
    wb::CreateTableDunlo(ws, "1. Select a range of paved percentage for feedlots",
                         subwatershedLabels(N),
                         {"Watershed", "Contributing area (ac.)", "Percent paved",
                          "Average event rainfall (inch)", "Feedlot BMP efficiency on N",
                          "Feedlot BMP efficiency on P", "Feedlot BMP efficiency on BOD",
                          "Feedlot BMP efficiency on E. coli", "Feedlot pervious area (ac.)"},
                         t1, colB, N + 1, 9);
    centre(ws.range(t1, colB, t1, colJ));
    const int toLandRain = kLandRainHeader - t1;
    ws.range(t1 + 1, colC, t1 + N, colC)
        .setFormulaR1C1("='Land&Rain'!" + rel(toLandRain, kLandRainFeedlotArea - colC));
    for (int k = 0; k < 4; ++k) ws.cells(k + 1, 26).setText(kPavedClasses[k].text);
    ws.columns("Z").setHidden(true);
    ws.range(t1 + 1, colD, t1 + N, colD)
        .setFormulaR1C1("='Input'!" + rel(InputSheetRows::landUseHeader() - t1, kInputPavedClass - colD));
    wb::Range eventRain = ws.range(t1 + 1, colE, t1 + N, colE);
    eventRain.setFormulaR1C1("='Land&Rain'!" + rel(toLandRain, kLandRainEventRain - colE));
    eventRain.setNumberFormat("0.000");
    // Efficiencies on N, P, BOD (F..H from BMPs C..E) and E. coli (I from BMPs G).
    const int bmpRow = BmpSheetRows(N).row(kBmpFeedlotTable, 0);
    for (int k = 0; k < 4; ++k) {
        const int col = 6 + k, bmpCol = k < 3 ? colC + k : 7;
        ws.range(t1 + 1, col, t1 + N, col).setFormulaR1C1(efficiency(t1, col, bmpRow, bmpCol));
    }
    // Pervious area: contributing area (C) times the pervious share of the class in D.
    ws.range(t1 + 1, colJ, t1 + N, colJ)
        .setFormulaR1C1("=RC[-7]*" + byPavedClass("RC[-6]", &PavedClass::perviousShare,
                                                  kOtherPerviousShare));

    // Table 2: design weights and head counts.
    const int t2 = at.animalHeader();
    std::vector<std::string> animalHeaders{"Animal"};
    for (const FeedlotAnimal& a : kAnimals) animalHeaders.emplace_back(a.header);
    wb::CreateTableDunlo(ws, "2. Agricultural animals", subwatershedLabels(N, "Design Weight (lbs)"),
                         animalHeaders, t2, colB, N + 2, 12);
    wb::Range animalHead = ws.range(t2, colB, at.designWeights(), colM);
    centre(animalHead);
    solidFill(animalHead, 15);
    for (int k = 1; k <= 11; ++k) {
        const FeedlotAnimal& a = kAnimals[k - 1];
        const int col = colB + k;
        wb::Range weight = ws.cells(at.designWeights(), col);
        if (a.livestock < 0)
            weight.setValue(a.designWeight);
        else
            weight.setFormulaR1C1("=Reference!R" + num(kReferenceFirstWeightRow + a.livestock) +
                                  "C" + num(kReferenceWeightColumn));
    }
    wb::Range counts = ws.range(at.designWeights() + 1, colC, at.designWeights() + N, colM);
    for (int k = 1; k <= 11; ++k) {
        const FeedlotAnimal& a = kAnimals[k - 1];
        const int col = colB + k;
        wb::Range column = ws.range(counts.row(), col, counts.lastRow(), col);
        if (a.livestock < 0) {
            column.setValue(0);
            column.font().setColor(kRed);
            continue;
        }
        column.setFormulaR1C1("=Animal!" + rel(kAnimalHeader - at.designWeights(),
                                               kAnimalFirstColumn + a.livestock - col));
        if (a.blackFont) column.font().setColor(kBlack);
    }

    // Table 3: yearly loads and their reductions.
    const int t3 = at.loadHeader(), t4 = at.calculationHeader();
    wb::CreateTableDunlo(ws,
                         "3. Load from feedlot (lb/yr)(1 ac x in x mg/l = 0.227 lb) except E. coli "
                         "in MPN/yr",
                         subwatershedLabels(N),
                         {"Watershed", "N load", "P Load", "BOD load", "E. coli load",
                          "N Reduction", "P Reduction", "BOD Reduction", "E. coli Reduction"},
                         t3, colB, N + 1, 9);
    // Load of pollutant k (C..F): rain days x correction factor x concentration x runoff volume
    // x 0.227 lb per ac-in and mg/l, E. coli in MPN; nothing from a lot without area.
    for (int i = 1; i <= N; ++i) {
        const int row = t3 + i, lotRow = t1 + i, landRainRow = kLandRainHeader + i;
        const int subwatershedCol = colB + i;  // in table 4
        for (int k = 1; k <= 4; ++k) {
            const int col = colB + k;
            const std::string lotArea = rel(lotRow - row, colC - col);
            std::string load = "=if(" + lotArea + "<>0,'Land&Rain'!" +
                               rel(landRainRow - row, kLandRainRainDays - col) + "*'Land&Rain'!" +
                               rel(kLandRainFactors - row, kLandRainRainDays - col) + "*" +
                               rel(t4 + 16 + k - row, subwatershedCol - col) + "*" +
                               rel(t4 + 4 - row, subwatershedCol - col) + "*0.227,0)";
            if (k == 4) load += "*10*453592";
            ws.cells(row, col).setFormulaR1C1(load);
        }
    }
    ws.range(t3 + 1, colC, t3 + N, colB + 4).setNumberFormat("0.00");
    // Reduction of pollutant k (G..J): the load times the lot's BMP efficiency (F..I of table 1).
    for (int k = 1; k <= 4; ++k) {
        const int col = 6 + k;
        const std::string eff = rel(t1 - t3, 5 + k - col);
        ws.range(t3 + 1, col, t3 + N, col)
            .setFormulaR1C1("=if(" + eff + "<>0,RC[" + num(colB + k - col) + "]*" + eff + ",0)");
    }
    ws.range(t3 + 1, 7, t3 + N, colJ).setNumberFormat("0.00");

    // Table 4: curve-number runoff of every lot, its animal units, density and concentrations.
    const int t5 = at.ratioHeader();
    wb::CreateTableDunlo(ws, "Feedlot load calculation", calculationLabels(),
                         subwatershedLabels(N), t4, colB, 21, N + 1);
    for (int i = 1; i <= N; ++i) {
        const int col = colB + i, lotRow = t1 + i, countRow = at.designWeights() + i;
        auto lot = [&](int row, int lotCol) { return rel(lotRow - row, lotCol - col); };

        int row = t4 + 1;  // CN of the paved class in D
        ws.cells(row, col).setFormulaR1C1(
            "=" + byPavedClass(lot(row, colD), &PavedClass::curveNumber, kOtherCurveNumber));
        ws.cells(++row, col).setFormulaR1C1("=(1000/R[-1]C)-10");
        // Q from the event rainfall P (E of table 1) and the initial abstraction factor Ia
        // (Land&Rain U6); no runoff while P does not exceed Ia x S, as on Land&Rain.
        ++row;
        const std::string rain = "R[" + num(lotRow - row) + "]C" + num(colE);
        const std::string ia =
            "'Land&Rain'!R[" + num(kLandRainFactors - row) + "]C" + num(kLandRainEventRain);
        const std::string s = "R[-1]C";
        const std::string excess = rain + "-" + ia + "*(" + s + ")";
        ws.cells(row, col).setFormulaR1C1("=IF((" + excess + ")>0,((" + excess + ")^2)/(" + rain +
                                          "-(" + ia + "*" + s + ")+" + s + "),0)");
        ++row;  // V = Q x contributing area (C)
        ws.cells(row, col).setFormulaR1C1("=((R[-1]C*" + lot(row, colC) + "))");
        // EAU: head counts of table 2 weighted by the ratios of table 5.
        for (int m = 0; m < 4; ++m) {
            ++row;
            std::string eau = "=";
            for (int k = 1; k <= 11; ++k) {
                if (k > 1) eau += "+";
                eau += rel(countRow - row, colB + k - col) + "*" + rel(t5 + k - row, colC + m - col);
            }
            ws.cells(row, col).setFormulaR1C1(eau);
        }
        for (int m = 0; m < 4; ++m) {  // AUD: per acre of the lot, 0 without a positive area
            ++row;
            const std::string area = lot(row, colC);
            ws.cells(row, col).setFormulaR1C1("=IF(" + area + ">0,R[-4]C/" + area + ",0)");
        }
        for (int m = 0; m < 4; ++m)  // PACK: density capped at 100 per acre, as a share
            ws.cells(++row, col).setFormulaR1C1("=(IF(R[-4]C<100,R[-4]C,100))/100");
        for (int m = 0; m < 4; ++m)
            ws.cells(++row, col)
                .setFormulaR1C1(kCeilings[m] ? std::string("=R[-4]C*") + kCeilings[m] : "=R[-4]C");
    }
    ws.rows(t4 - 1, t4 + 20).setHidden(true);

    // Table 5: production ratios.
    std::vector<std::string> animalLabels{""};
    for (const FeedlotAnimal& a : kAnimals) animalLabels.emplace_back(a.label);
    wb::CreateTableDunlo(ws, "Ratio of nutrients produced by animals relative to 1000 lb of "
                             "slaughter steer",
                         animalLabels, {"Animal", "N", "P", "BOD", "E. coli"}, t5, colB, 12, 5);
    for (int m = 0; m < 4; ++m)
        for (int k = 1; k <= 11; ++k) ws.cells(t5 + k, colC + m).setValue(kAnimals[k - 1].ratios[m]);
    ws.rows(t5 - 1, t5 + 11).setHidden(true);

    ws.range("A1").select();
}
