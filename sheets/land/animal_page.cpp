// The Animal sheet builder. Every table is a CreateTableDunlo frame (one header per column); the
// builder writes its body as R1C1 formulas whose offsets it computes from the rows below, so
// that each formula reads the cells named beside it whatever the subwatershed count.
//
//   table                               header row   body rows              columns
//   1. Agricultural animals             9            10 .. N+9, total N+10  B..M
//   2. Wildlife density (hidden)        N+13         N+14 .. N+19           B..D
//   wildlife and AEU                    N+23         N+24 .. 2N+23, 2N+24   B..H
//   cropland AEU and concentrations     N+23         N+24 .. 2N+23, 2N+24   L..U
//   cropland concentrations by class    2N+27        2N+28 .. 2N+35         B..E
//   pastureland AEU and concentrations  2N+27        2N+28 .. 3N+27, 3N+28  L..U
//   pastureland concentrations by class 2N+39        2N+40 .. 2N+47         B..E
#include "sheets/land/animal_page.h"

#include <cstdint>
#include <string>
#include <vector>

#include "sheets/common/sheet_format.h"
#include "sheets/input/data_input.h"
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

// Columns.
constexpr int colB = 2, colC = 3, colE = 5, colH = 8, colK = 11, colL = 12, colM = 13;

// Land&Rain table 1: subwatershed i in row 7 + i, its cropland area in column E.
constexpr int kLandRainHeader = 7;
constexpr int kLandRainCropland = colE;

// Reference column C: the weights (lb) of the eight livestock kinds from row 5 and of the five
// wild animals from row 13, in the column order of tables 1 and "wildlife and AEU".
constexpr int kReferenceWeightColumn = colC;
constexpr int kLivestockWeightRow = 5;
constexpr int kWildlifeWeightRow = 13;

std::string num(int v) { return std::to_string(v); }

// The column sum of the n rows above: "=SUM(R[-n]C:R[-1]C)".
std::string columnSum(int n) { return "=SUM(R[" + num(-n) + "]C:R[-1]C)"; }

// Centred and bottom-aligned, upright, not indented, not shrunk, not merged.
void centre(const wb::Range& r, bool wrap) {
    wb::Range cells = r;
    cells.setHorizontalAlignment(xl::Center)
        .setVerticalAlignment(xl::Bottom)
        .setWrapText(wrap)
        .setOrientation(0)
        .setIndentLevel(0)
        .setShrinkToFit(false)
        .setMergeCells(false);
}

// Row labels for CreateTableDunlo (index 0 is not read): "W1".."Wn", then `last`.
std::vector<std::string> subwatershedLabels(int n, const char* last) {
    std::vector<std::string> labels{""};
    for (int i = 1; i <= n; ++i) labels.push_back("W" + std::to_string(i));
    labels.emplace_back(last);
    return labels;
}

// Animal equivalent units per acre of cropland for the cell (row, col): the `count` animal
// numbers just left of it times their weights in Reference column C from `firstWeightRow` on,
// per 1000 lb and per acre of the subwatershed's cropland (Land&Rain row `landRainRow`); 0 where
// the subwatershed has no cropland.
std::string aeuFormula(int row, int col, int count, int firstWeightRow, int landRainRow) {
    const std::string cropland =
        "'Land&Rain'!" + rel(landRainRow - row, kLandRainCropland - col);
    std::string weighted;
    for (int k = 0; k < count; ++k) {
        if (k > 0) weighted += "+";
        weighted += "RC[" + num(k - count) + "]*Reference!R" + num(firstWeightRow + k) + "C[" +
                    num(kReferenceWeightColumn - col) + "]";
    }
    return "=if((" + cropland + ")=0,0,(" + weighted + ")/1000/(" + cropland + "))";
}

// The AEU density class of the total AEU just left: A up to 1.5, B below 2.5, C from 2.5.
const char* const kClassFormula = "=IF(RC[-1]>=2.5,\"C\",IF(RC[-1]>1.5,\"B\",\"A\"))";

// Concentration q (1..8) for the class letter in column M of `row`: the letter is looked up in
// the class letters C..E of a class table's header row and the value comes from that table's
// row for quantity q. The cell is in column M + q.
std::string classLookup(int row, int q, int classHeader) {
    const int col = colM + q;
    const int keys = classHeader - row, values = classHeader + q - row;
    const int first = colC - col, last = colE - col;
    return "=LOOKUP(RC[-" + num(q) + "]," + rel(keys, first) + ":" + rel(keys, last) + "," +
           rel(values, first) + ":" + rel(values, last) + ")";
}

const std::vector<std::string> kClassHeaders{"AEU", "A", "B", "C"};

// Total AEU, class and the eight concentrations of every subwatershed (rows header+1 ..
// header+N, columns L..U), and the AEU total. The total AEU adds the wildlife AEU (column H of
// `wildlifeHeader` + i) and the livestock AEU (column K of table 1, row 9 + i).
void aeuBody(wb::Worksheet& ws, int header, int N, int wildlifeHeader, int livestockHeader,
             int classHeader) {
    const std::string wildlife = header == wildlifeHeader
                                     ? std::string("RC[-4]")
                                     : "R[" + num(wildlifeHeader - header) + "]C[-4]";
    ws.range(header + 1, colL, header + N, colL)
        .setFormulaR1C1("=" + wildlife + "+R[" + num(livestockHeader - header) + "]C[-1]");
    ws.cells(header + N + 1, colL).setFormulaR1C1(columnSum(N));
    ws.range(header + 1, colM, header + N, colM).setFormulaR1C1(kClassFormula);
    for (int i = 1; i <= N; ++i)
        for (int q = 1; q <= 8; ++q)
            ws.cells(header + i, colM + q).setFormulaR1C1(classLookup(header + i, q, classHeader));
}

// The body of a class table (header row `header`, classes A, B, C in columns C, D, E): each
// class has an agricultural and a manured row in the Input concentration block starting at
// `inputFirstRow` (A, then B, then C), with N, P, BOD and E. coli in Input columns C..F. Body
// row k (1..8) reads the class's agricultural row for odd k and its manured row for even k, in
// Input column C + (k-1) div 2. The class-C cells get `comments`.
void classBody(wb::Worksheet& ws, int header, int inputFirstRow,
               const std::vector<std::string>& comments) {
    for (int cls = 0; cls < 3; ++cls) {
        const int col = colC + cls;
        for (int k = 1; k <= 8; ++k) {
            const int row = header + k;
            const int dRow = inputFirstRow + 2 * cls + (k - 1) % 2 - row;
            const int dCol = colC + (k - 1) / 2 - col;
            const std::string column = cls == 0 && dCol == 0 ? "C" : "C[" + num(dCol) + "]";
            ws.cells(row, col).setFormulaR1C1("='Input'!R[" + num(dRow) + "]" + column);
        }
    }
    for (int k = 1; k <= 8; ++k) ws.cells(header + k, colE).addComment(comments[k - 1]);
}

}  // namespace

void AnimalPage(wb::Workbook& wb, GenerationOptions& opt) {
    const int N = opt.SubwatershedCount;
    const InputSheetRows input(N);
    wb::Worksheet& ws = wb.sheet("Animal");
    ws.select();

    solidFill(ws.range("A1:AY100"), 2);
    ws.columns("A").setColumnWidth(5);
    ws.columns("B").setColumnWidth(12);
    ws.columns("C:AT").setColumnWidth(10);
    ws.columns("L:M").setColumnWidth(25);

    // Header block.
    ws.range("B1").setValue("Animal");
    ws.range("B1").font().setBold(true).setColor(kBlue);
    ws.range("B2").setValue("The number of animals in the ");
    ws.range("E2").setFormulaR1C1("='General Input Data'!R6C3");
    ws.range("F2").setValue("subwatersheds is shown below.");
    ws.range("B3").setValue(
        "Nutrient contributions from these animals are used to derive loading estimates for all "
        "land uses except for urban.");
    ws.range("B4").setValue("Manure is assumed to be collected and applied to cropland. ");
    ws.range("B5").setValue("Wildlife densities are required input for cropland.");
    wb::Range block = ws.range("B1:Q6");
    solidFill(block, 15);
    block.font().setColor(kBlue);
    outline(block);

    // Table 1: the animals typed on the Input sheet and their AEU per acre of cropland.
    const int t1 = 9;
    wb::CreateTableDunlo(ws, "1. Agricultural animals", subwatershedLabels(N, "Total"),
                         {"Watershed", "Beef Cattle", "Dairy Cattle", "Swine (Hog)", "Sheep",
                          "Horse", "Chicken", "Turkey", "Duck", "AEU",
                          "# of months manure applied on Cropland",
                          "# of months manure applied on Pastureland"},
                         t1, colB, N + 2, 12);
    const int toInput = input.animalHeader() - t1;
    wb::Range animals = ws.range(t1 + 1, colC, t1 + N, 10);  // C..J
    animals.font().setColor(kBlack);
    animals.setFormulaR1C1("='Input'!R[" + num(toInput) + "]C");
    wb::Range months = ws.range(t1 + 1, colL, t1 + N, colM);  // from Input K..L
    months.font().setColor(kBlack);
    months.setFormulaR1C1("='Input'!R[" + num(toInput) + "]C[-1]");
    ws.cells(t1, colL).addComment("Manure application time (months per year) to cropland");
    ws.cells(t1, colM).addComment("Manure application time (months per year) to pastureland");
    ws.cells(t1 + 1, colK)
        .setFormulaR1C1(aeuFormula(t1 + 1, colK, 8, kLivestockWeightRow, kLandRainHeader + 1));
    // The first AEU cell carried down the column, as copying it onto K10:K(N+9) does.
    ws.range(t1 + 1, colK, t1 + N, colK).fillDown();
    ws.cells(t1, colK).addComment("Animal equivalent weight unit: 1 AEU = 1000 lb/acre");
    ws.range(t1 + N + 1, colC, t1 + N + 1, colK).setFormulaR1C1(columnSum(N));
    centre(ws.range(t1, colC, t1, colL), true);

    // Table 2: wildlife per square mile of cropland, typed here, and per acre.
    const int t2 = N + 13;
    wb::CreateTableDunlo(ws, "2. Wildlife density in cropland",
                         {"", "Goose", "Deer", "Beaver", "Raccoons", "Other", ""},
                         {"Animal", "Cropland, #/mi\u00b2", "Cropland, #/ac"}, t2, colB, 7, 3);
    ws.range(t2 + 1, colC, t2 + 5, colC + 1).font().setColor(kRed);
    for (int w = 1; w <= 5; ++w) {
        ws.cells(t2 + w, colC).setValue(0);
        wb::Range perAcre = ws.cells(t2 + w, colC + 1);
        perAcre.setFormulaR1C1("= RC[-1] / 640");
        perAcre.font().setColor(kBlack);
        perAcre.setNumberFormat("0.000");
    }
    centre(ws.range(t2, colC, t2, colC + 1), true);
    ws.cells(t2, colB).addComment("Wild animal density on agricultural land");
    ws.rows(t2 - 1, t2 + 6).setHidden(true);

    // Wildlife numbers (cropland area x density per acre) and their AEU.
    const int t3 = N + 23;
    wb::CreateTableDunlo(ws, "Estimated wildlife and AEU in watersheds",
                         subwatershedLabels(N, "Total"),
                         {"Watershed", "Geese", "Deer", "Beaver", "Raccoons", "Other", "AEU"}, t3,
                         colB, N + 2, 7);
    for (int i = 1; i <= N; ++i) {
        const int row = t3 + i;
        for (int w = 1; w <= 5; ++w) {
            const int col = colB + w;
            ws.cells(row, col).setFormulaR1C1(
                "='Land&Rain'!" + rel(kLandRainHeader + i - row, kLandRainCropland - col) + "*" +
                rel(t2 + w - row, colC + 1 - col));
        }
    }
    wb::Range numbers = ws.range(t3 + 1, colC, t3 + N, colB + 5);
    numbers.setHorizontalAlignment(xl::Center).setVerticalAlignment(xl::Bottom);
    wb::Range wildAeu = ws.range(t3 + 1, colH, t3 + N, colH);
    wildAeu.setFormulaR1C1(aeuFormula(t3 + 1, colH, 5, kWildlifeWeightRow, kLandRainHeader + 1));
    wildAeu.setNumberFormat("0.000");
    centre(wildAeu, false);
    wb::Range wildTotals = ws.range(t3 + N + 1, colC, t3 + N + 1, colH);
    wildTotals.setFormulaR1C1(columnSum(N));
    centre(wildTotals, false);

    // Cropland: total AEU, class and concentrations.
    const int t4 = N + 23;
    const int cropClasses = 2 * N + 27;
    wb::CreateTableDunlo(ws,
                         "Total animal equivalent units and cropland nutrient concentrations.  A: "
                         "AEU<=1.5, B: 1.5<AEU<2.5, C: AEU>=2.5",
                         std::vector<std::string>(N + 2),
                         {"Total", "AEU", "Ag. N", "Manured N", "Ag. P", "Manured P", "Ag. BOD",
                          "Manured BOD", "Ag. E. coli", "Manured E. coli"},
                         t4, colL, N + 2, 10);
    opt.PastureAeuFirstRow = t4 + 1;
    aeuBody(ws, t4, N, t3, t1, cropClasses);

    wb::CreateTableDunlo(ws,
                         "AEU and nutrient in cropland runoff (mg/l), A: AEU<=1.5, B: "
                         "1.5<AEU<2.5, C: AEU>=2.5",
                         {"", "N in ag. area", "N in manured area", "P in ag. area",
                          "P in manured area", "BOD in ag. area", "BOD in manured area",
                          "E. coli in ag. area", "E. coli in manured area"},
                         kClassHeaders, cropClasses, colB, 9, 4);
    classBody(ws, cropClasses, input.runoffConcHeader() + 1,
              {"N concentration in agricultural runoff (mg/l)",
               "N concentration in manured area runoff (mg/l)",
               "P concentration in agricultural runoff (mg/l)",
               "P concentration in manured area runoff (mg/l)", "BOD in agricultural runoff (mg/l)",
               "BOD in manured area runoff (mg/l)", "E. coli in agricultural runoff (MPN/100ml)",
               "E. coli in manured area runoff (MPN/100ml)"});

    // Pastureland: the same total AEU and class, with the pastureland concentrations.
    const int t6 = 2 * N + 27;
    const int pastureClasses = 2 * N + 39;
    wb::CreateTableDunlo(ws,
                         "Total animal equivalent units and pastureland nutrient concentrations.  "
                         "A: AEU<=1.5, B: 1.5<AEU<2.5, C: AEU>=2.5",
                         std::vector<std::string>(N + 2),
                         {"Total", "AEU", "Past. N", "Manured N", "Past. P", "Manured P",
                          "Past. BOD", "Manured BOD", "Past. E. coli", "Manured E. coli"},
                         t6, colL, N + 2, 10);
    opt.PastureAeuFirstRow = t6 + 1;
    aeuBody(ws, t6, N, t3, t1, pastureClasses);

    wb::CreateTableDunlo(ws,
                         "AEU and nutrient in pastureland runoff (mg/l), A: AEU<=1.5, B: "
                         "1.5<AEU<2.5, C: AEU>=2.5",
                         {"", "N in Past. area", "N in manured area", "P in Past. area",
                          "P in manured area", "BOD in Past. area", "BOD in manured area",
                          "E. coli in Past. area", "E. coli in manured area"},
                         kClassHeaders, pastureClasses, colB, 9, 4);
    classBody(ws, pastureClasses, input.pastureConcHeader() + 1,
              {"N concentration in pastureland runoff (mg/l)",
               "N concentration in manured area runoff (mg/l)",
               "P concentration in pastureland runoff (mg/l)",
               "P concentration in manured area runoff (mg/l)", "BOD in pastureland runoff (mg/l)",
               "BOD in manured area runoff (mg/l)", "E. coli in pastureland runoff (MPN/100ml)",
               "E. coli in manured area runoff (MPN/100ml)"});

    // The working tables from the wildlife table down to the pastureland class table are hidden;
    // for more than 19 subwatersheds the last rows of the pastureland AEU table lie below them.
    ws.rows(t3 - 1, pastureClasses + 8).setHidden(true);
    ws.range("A1").select();
}
