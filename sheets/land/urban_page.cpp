// The Urban sheet builder. Every table but table 4 is a CreateTableDunlo frame with the urban
// type headers, urban type u (1..9) in the table's (u+1)-th column; the subwatershed tables have
// subwatershed i in the header row + i.
//
//   table                                header row         columns
//   1. concentrations (TN .. E. coli)    7                  B..K
//   2. urban area, 2a. BMP area          15                 B..K, M..V
//   3. BMP choice, 3a. % of BMP area     N+19               B..K, M..V
//   3.1. urban runoff (ac-ft)            2N+23              B..K
//   pollutant p: load, efficiency,       3N+27 + (p-1)(N+4) B..K, M..V, X..AG
//     reduction (p = 1..5)
//   4. loads from urban (lb/year)        8N+47, 8N+48       B..Q (data from 8N+49)
//   5. captured flow volume              9N+52              B..K
//   6. BMP surface area                  10N+56             B..K
//
// Tables 3.1 to the pollutant tables (rows 2N+21 .. 8N+44) are hidden working tables.
#include "sheets/land/urban_page.h"

#include <cstdint>
#include <string>
#include <vector>

#include "sheets/common/sheet_format.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace {

namespace xl = wb::xl;

using sheets::kBlue;
using sheets::kRed;
using sheets::solidFill;
using sheets::subwatershedLabels;

constexpr int kTitleBand = 43;

constexpr int colB = 2, colC = 3, colK = 11, colM = 13, colX = 24;
constexpr int kTypes = 9;

// Land&Rain: table 1a (urban areas, header row 7) and table 4a (urban runoff, header row
// 4N+26), both with urban type u in column X + u.
constexpr int kLandRainAreaHeader = 7;
int landRainRunoffHeader(int N) { return 4 * N + 26; }

// Rows of this sheet.
constexpr int kConcentrationHeader = 7;  // table 1: pollutant p in row 7 + p
constexpr int kAreaHeader = 15;          // tables 2 and 2a
int bmpHeader(int N) { return N + 19; }  // tables 3 and 3a
int runoffHeader(int N) { return 2 * N + 23; }
int summaryHeader(int N) { return 8 * N + 47; }  // table 4; its data rows start one row lower

std::string num(int v) { return std::to_string(v); }

const std::vector<std::string> kUrbanHeaders{
    "Landuse",        "Commercial",       "Industrial",         "Institutional", "Transportation",
    "Multi-Family",   "Single-Family",    "Urban-Cultivated",   "Vacant (developed)",
    "Open Space"};

// Default concentrations of table 1 (mg/l; E. coli MPN/100ml), one row per pollutant, the nine
// urban types in column order.
constexpr double kConcentrations[5][kTypes] = {
    {2.0, 2.5, 1.8, 3.0, 2.2, 2.2, 1.9, 1.5, 1.5},         // TN
    {0.2, 0.4, 0.3, 0.5, 0.4, 0.4, 0.3, 0.15, 0.15},       // TP
    {9.3, 9.0, 7.8, 9.3, 10.0, 10.0, 4.0, 4.0, 4.0},       // BOD
    {75, 120, 67, 150, 100, 100, 150, 70, 70},             // TSS
    {0, 0, 0, 0, 0, 0, 0, 0, 0},                           // E. coli
};

struct PollutantTitles {
    const char* load;
    const char* efficiency;
    const char* reduction;
};
constexpr PollutantTitles kPollutantTitles[5] = {
    {"3.2. Total urban N load (kg)", "3.2a. Selected urban N reduction efficiency",
     "3.2b. Urban N reduction (kg)"},
    {"3.3. Total urban P load (kg)", "3.3a. Selected urban P reduction efficiency",
     "3.3b. Urban P reduction (kg)"},
    {"3.4. Total urban BOD load (kg)", "3.4a. Selected urban BOD reduction efficiency",
     "3.4b. Urban BOD reduction (kg)"},
    {"3.5. Total urban TSS load (kg)", "3.5a. Selected urban TSS reduction efficiency",
     "3.5b. Urban TSS reduction (kg)"},
    {"3.6. Total Urban E. coli load (MPN/year)",
     "3.6a. Selected urban E. coli reduction efficiency",
     "3.6b. Urban E. coli reduction (MPN/year)"},
};

// A subwatershed table of the nine urban types with its first column at `col`, the title band
// widened over all ten columns. Returns the body, header row + 1 .. header row + N.
wb::Range urbanTable(wb::Worksheet& ws, const std::string& title, int header, int col, int N) {
    wb::CreateTableDunlo(ws, title, subwatershedLabels(N), kUrbanHeaders, header, col, N + 1,
                         kTypes + 1);
    solidFill(ws.range(header - 1, col, header - 1, col + kTypes), kTitleBand);
    return ws.range(header + 1, col + 1, header + N, col + kTypes);
}

// Table 4's sum over the nine urban types of one pollutant table (load or reduction, first type
// in column `firstType`) for pollutant t, written in column `col` of the table's data rows. The
// four mass pollutants turn kg into lb; E. coli counts stay as they are. `tail` is the text's
// trailing blanks.
std::string summarySum(int t, int N, int col, int firstType, const char* tail) {
    const int dRow = urban::pollutantHeaderRow(t, N) - (summaryHeader(N) + 1);
    const std::string row = "R[" + num(dRow) + "]";
    return std::string("= ") + (t < 5 ? "2.203*" : "") + "sum(" + row + "C[" +
           num(firstType - col) + "]:" + row + "C[" + num(firstType + kTypes - 1 - col) + "])" +
           tail;
}

}  // namespace

namespace urban {

int pollutantHeaderRow(int p, int N) { return 3 * N + 27 + (p - 1) * (N + 4); }

// Runoff of table 3.1 times the pollutant's concentration of table 1, same urban type: m3 x
// mg/l = g, then kg; E. coli MPN/100ml becomes MPN.
std::string loadFormula(int p, int i, int N) {
    const int row = pollutantHeaderRow(p, N) + i;
    const std::string volume = "=4047*0.3048*R[" + num(runoffHeader(N) + i - row) + "]C";
    const std::string concentration = "*R[" + num(kConcentrationHeader + p - row) + "]C";
    return volume + concentration + (p < 5 ? "/1000" : "/454*10*453592");
}

// Efficiency (%) x load x the BMP's share of the area (%, table 3a), so divided by 100 twice;
// 0 where the efficiency is not a number. The letter cases are those the sheet has always had.
std::string reductionFormula(int p, int N) {
    const char* const opening = p == 2 ? "=if(Isnumber(" : p == 4 ? "=If(isnumber(" : "=if(isnumber(";
    const int toShare = bmpHeader(N) - pollutantHeaderRow(p, N);
    return std::string(opening) + "RC[-11]),RC[-11]*RC[-22]*R[" + num(toShare) +
           "]C[-11]/10000,0)";
}

}  // namespace urban

void UrbanPage(wb::Workbook& wb, GenerationOptions& opt) {
    const int N = opt.SubwatershedCount;
    wb::Worksheet& ws = wb.sheet("Urban");
    ws.select();

    solidFill(ws.range("A1:AY100"), 2);
    ws.columns("A").setColumnWidth(5);
    ws.columns("C:AD").setColumnWidth(9);

    ws.range("B1").setValue("Urban Runoff BMP and Pollutant Load Reduction ");
    ws.range("B1").font().setBold(true).setColor(kBlue);
    wb::Range band = ws.range("B1:K1");
    solidFill(band, 15);
    band.font().setColor(kBlue);
    for (int side : {xl::EdgeLeft, xl::EdgeTop, xl::EdgeBottom, xl::EdgeRight})
        band.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(xl::Automatic);
    for (int side : {xl::InsideVertical, xl::InsideHorizontal}) band.borders(side).setLineStyle(xl::None);

    // Table 1: default concentrations, which the user may change.
    wb::CreateTableDunlo(ws, "1. Urban pollutant concentration in runoff (mg/l) and E. coli (MPN/100ml)",
                         {"", "TN", "TP", "BOD", "TSS", "E. coli"}, kUrbanHeaders,
                         kConcentrationHeader, colB, 6, kTypes + 1);
    for (int p = 1; p <= 5; ++p)
        for (int u = 1; u <= kTypes; ++u)
            ws.cells(kConcentrationHeader + p, colB + u).setValue(kConcentrations[p - 1][u - 1]);
    ws.range(kConcentrationHeader + 1, colC, kConcentrationHeader + 5, colK).font().setColor(kRed);
    solidFill(ws.range(kConcentrationHeader - 1, colB, kConcentrationHeader - 1, colK), kTitleBand);

    // Tables 2 and 2a: the urban areas of Land&Rain, and the part of them a BMP serves.
    urbanTable(ws, "2. Urban landuse distribution", kAreaHeader, colB, N)
        .setFormulaR1C1("='Land&Rain'!R[" + num(kLandRainAreaHeader - kAreaHeader) + "]C[" +
                        num(colX - colB) + "]");
    urbanTable(ws, "2a. Effective BMP application area (ac)", kAreaHeader, colM, N)
        .setFormulaR1C1("=RC[" + num(colB - colM) + "]");

    // Tables 3 and 3a: the BMP chosen for each area, and the share of the area it serves.
    const int t3 = bmpHeader(N);
    urbanTable(ws, "3. Selected urban BMPs", t3, colB, N).setValue("0 No BMP");
    const std::string area = "R[" + num(kAreaHeader - t3) + "]";
    urbanTable(ws, "3a. Percentage of BMP effective area (%)", t3, colM, N)
        .setFormulaR1C1("=if(" + area + "C[-11]>0, 100* " + area + "C/" + area + "C[-11],0)");

    // Table 3.1: urban runoff of Land&Rain table 4a.
    const int t31 = runoffHeader(N);
    urbanTable(ws, "3.1. Urban runoff (ac-ft)", t31, colB, N)
        .setFormulaR1C1("='Land&Rain'!R[" + num(landRainRunoffHeader(N) - t31) + "]C[" +
                        num(colX - colB) + "]");

    // Load, efficiency and reduction of each pollutant.
    for (int p = 1; p <= 5; ++p) {
        const int header = urban::pollutantHeaderRow(p, N);
        const PollutantTitles& titles = kPollutantTitles[p - 1];
        urbanTable(ws, titles.load, header, colB, N);
        for (int i = 1; i <= N; ++i)
            ws.range(header + i, colC, header + i, colK).setFormulaR1C1(urban::loadFormula(p, i, N));
        // The user enters BMP efficiencies (%) here.
        urbanTable(ws, titles.efficiency, header, colM, N).setFormulaR1C1("0");
        urbanTable(ws, titles.reduction, header, colX, N)
            .setFormulaR1C1(urban::reductionFormula(p, N));
    }
    ws.rows(t31 - 2, urban::pollutantHeaderRow(5, N) + N + 1).setHidden(true);

    // Table 4: loads before BMPs, reductions and loads after BMPs, five pollutants each.
    const int t4 = summaryHeader(N);
    std::vector<std::string> headers(9);  // one per column pair of the 16-column frame
    headers[0] = "Watershed";
    wb::CreateTableVesk(ws, "4. Pollutant loads from urban (lb/year) and E. coli (MPN/year)",
                        headers, t4, colB, N + 1, 16, false, true);
    ws.rows(t4 + 1).insert();  // the pollutant names' row, formatted as the header row
    const char* const groups[3] = {"Pre-BMP Load", "Load Reduction", "After BMP Load"};
    const char* const pollutants[5] = {"N", "P", "BOD", "TSS", "E. coli"};
    for (int g = 0; g < 3; ++g) {
        const int first = colC + 5 * g;
        wb::Range group = ws.range(t4, first, t4, first + 4);
        group.clearContents();
        group.setMergeCells(true);
        ws.cells(t4, first).setValue(groups[g]);
        for (int t = 1; t <= 5; ++t) ws.cells(t4 + 1, first + t - 1).setValue(pollutants[t - 1]);
    }
    for (int i = 1; i <= N; ++i) {
        const int row = t4 + 1 + i;
        for (int t = 1; t <= 5; ++t) {
            ws.cells(row, colB + t).setFormulaR1C1(summarySum(t, N, colB + t, colC, " "));
            ws.cells(row, colB + 5 + t)
                .setFormulaR1C1(summarySum(t, N, colB + 5 + t, colX + 1, t < 5 ? "  " : " "));
        }
    }
    ws.range(t4 + 2, colM, t4 + 1 + N, colM + 4).setFormulaR1C1("=RC[-10]-RC[-5]");
    solidFill(ws.range(t4 - 1, colB, t4 - 1, colB + 15), kTitleBand);

    // Tables 5 and 6, typed by the user later.
    urbanTable(ws, "5. Captured Flow Volume (gallon/year)", 9 * N + 52, colB, N).setValue(0);
    urbanTable(ws, "6. BMP Surface Area (acre) or Number of Units (e.g., Rain Barrel)",
               10 * N + 56, colB, N)
        .setValue(0);

    ws.range("A1").select();
}
