// The Septic sheet builder. Both tables are CreateTableDunlo frames; table 1 turns the septic
// table of the Input sheet into flows and hourly loads with the defaults of a hidden block, and
// table 2 gives the yearly figures.
//
//   table                               header row   body rows          columns
//   1. nutrient load (hourly)           8            9 .. N+8           B..U
//   defaults (hidden with row N+10)     -            N+11 .. N+16       B..F, I..J
//   2. yearly load                      N+19         N+20 .. 2N+19      B..N
#include "sheets/sources/septic_page.h"

#include <array>
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
using sheets::C;
using sheets::outline;
using sheets::solidFill;
using sheets::subwatershedLabels;

// Columns of table 1.
constexpr int colB = 2, colC = 3, colD = 4, colE = 5, colF = 6, colG = 7, colH = 8, colI = 9,
              colJ = 10, colK = 11, colL = 12, colM = 13, colN = 14, colP = 16, colQ = 17,
              colR = 18, colU = 21;
// The defaults block: septic overcharge in E (values) and F (ranges), raw wastewater in I and J.
constexpr int kSepticDefault = colE, kWastewaterDefault = colI;
// Input table 3, columns C..G: systems, persons per system, failure rate %, people discharging
// directly, direct-discharge reduction %.
constexpr int kInputSystems = colC, kInputDirect = colF, kInputReduction = colG;

constexpr const char* kToPounds = "/453592.4";  // mg to lb
constexpr const char* kToMpn = " * 10";         // MPN/100 ml x litres to MPN

std::string num(int v) { return std::to_string(v); }

// A cell of the same row, `to` seen from `from`: "RC[-2]".
std::string same(int from, int to) { return "RC[" + num(to - from) + "]"; }
// Cell (row, col) seen from (fromRow, fromCol): "R[4]C[-8]".
std::string rel(int fromRow, int fromCol, int row, int col) {
    return sheets::rel(row - fromRow, col - fromCol);
}

// The defaults: per pollutant (N, P, BOD, E. coli) the label, the concentration reaching the
// stream from septic overcharge and that of raw wastewater with their ranges; then the flows per
// person. The raw-wastewater concentrations are the medium strength of untreated domestic
// wastewater, the ranges weak to strong.
struct Default {
    const char* label;
    double septic;
    const char* septicRange;
    double wastewater;
    const char* wastewaterRange;
};
constexpr std::array<Default, 4> kConcentrations{{
    {"Total Nitrogen:", 60, "mg/L (range of 20 to 100)", 40, "mg/L (range of 20 to 85)"},
    {"Total Phosphorus:", 23.5, "mg/L (range of 18 to 29)", 8, "mg/L (range of 4 to 15)"},
    {"Organics (BOD):", 245, "mg/L (range of 200 to 290)", 220, "mg/L (range of 110 to 400)"},
    {"E. coli", 0, "MPN/100ml", 0, "MPN/100ml"},
}};
constexpr double kSepticFlow = 70, kWastewaterFlow = 75;
constexpr const char* kWastewaterFlowNote =
    "gal/day/person (range of 75 to 125)      (raw wastewater concentrations: medium strength "
    "of untreated domestic wastewater, ranges weak to strong, after Metcalf & Eddy, Inc., "
    "Wastewater Engineering: Treatment, Disposal, and Reuse, 3rd ed., McGraw-Hill, 1991)";

}  // namespace

void SepticPage(wb::Workbook& wb, GenerationOptions& opt) {
    const int N = opt.SubwatershedCount;
    const SepticSheetRows at(N);
    wb::Worksheet& ws = wb.sheet("Septic");
    ws.select();

    solidFill(ws.range("A1:AY100"), 2);
    ws.columns("A").setColumnWidth(5);
    ws.columns("B:AA").setColumnWidth(12);
    ws.range("B1").setValue("Septic Nutrient Loads");
    ws.range("B2").setValue(
        "The direct contribution of nutrients to a stream is mainly from failing septic systems.");
    ws.range("B3").setValue(
        "Required input for calculating septic nutrient load are number of systems, failure rate, "
        "loading rate (lb/hr) and flow (cfs).");
    ws.range("B4").setValue(
        "Assumption: failing septic systems are distributed evenly across the watershed based on "
        "land area.");
    ws.range("B1").font().setColor(kBlue).setFontStyle("bold");
    wb::Range notes = ws.range("B2:K5");
    solidFill(notes, 15);
    notes.font().setColor(kBlue);
    outline(notes);

    // Table 1: systems, flows and hourly loads.
    const int t1 = at.hourlyHeader();
    wb::CreateTableDunlo(
        ws, "1. Nutrient load from septic systems", subwatershedLabels(N),
        {"Watershed", "No. of Septic Systems", "Population per Septic System",
         "Septic Failure Rate, %", "Failing Septic Systems", "Population on Failing Septic",
         "Direct Discharge Population", "Failing Septic Flow, gal/day", "Direct Wastewater Flow",
         "Failing Septic Flow, l/hr", "Direct Wastewater Flow, l/hr,", "N Load,  lb/hr",
         "P Load,  lb/hr", "BOD, lb/hr", "E. coli, MPN/hr",
         "Reduction: Direct Wastewater Flow, l/hr", "Reduction: N Load,  lb/hr",
         "Reduction: P Load,  lb/hr", "Reduction: BOD Load,  lb/hr",
         "Reduction: E. coli Load,  MPN/hr"},
        t1, colB, N + 1, 20);
    ws.range(t1, colB, t1, colU)
        .setWrapText(true)
        .setHorizontalAlignment(xl::Center)
        .setVerticalAlignment(xl::Top);

    const int first = t1 + 1, last = t1 + N;
    const int toInput = InputSheetRows(N).septicHeader() - t1;
    auto input = [&](int col, int inputCol) {
        return "'Input'!R[" + num(toInput) + "]" + C(inputCol - col);
    };
    auto column = [&](int col) { return ws.range(first, col, last, col); };

    wb::Range typed = ws.range(first, colC, last, colE);  // systems, persons, failure rate
    typed.setFormulaR1C1("=" + input(colC, kInputSystems));
    typed.font().setColor(kBlack);
    ws.cells(t1, colD).addComment(
        "Population per septic system (per home data is used). National average is 2.43");
    ws.cells(t1, colE).addComment("% of failing septic systems");
    column(colF).setFormulaR1C1("=" + same(colF, colC) + "*" + same(colF, colE) + "/100");
    column(colG).setFormulaR1C1("=" + same(colG, colC) + "*" + same(colG, colD) + "*" +
                                same(colG, colE) + "/100");
    column(colH).setFormulaR1C1("=" + input(colH, kInputDirect));
    for (int row = first; row <= last; ++row) {
        // Flows, gal/day: failing population x overcharge flow, direct population x wastewater.
        ws.cells(row, colI).setFormulaR1C1("=" + same(colI, colG) + "*" +
                                           rel(row, colI, at.flowPerPerson(), kSepticDefault));
        ws.cells(row, colJ).setFormulaR1C1("=" + same(colJ, colH) + "*" +
                                           rel(row, colJ, at.flowPerPerson(), kWastewaterDefault));
    }
    column(colK).setFormulaR1C1("=RC[-2]*3.785412/24");  // gal/day to l/hr
    column(colL).setFormulaR1C1("=RC[-2]*3.785412/24");
    // Hourly loads: failing flow x overcharge concentration + direct flow x raw concentration.
    for (int q = 0; q < 4; ++q) {
        const int col = colM + q, pRow = at.concentration(q);
        for (int row = first; row <= last; ++row)
            ws.cells(row, col).setFormulaR1C1(
                "=(" + same(col, colK) + "*" + rel(row, col, pRow, kSepticDefault) + "+" +
                same(col, colL) + "*" + rel(row, col, pRow, kWastewaterDefault) + ")" +
                (col == colP ? kToMpn : kToPounds));
    }
    // Reductions: the share of the direct flow removed, at raw-wastewater concentrations.
    column(colQ).setFormulaR1C1("=" + input(colQ, kInputReduction) + "*" + same(colQ, colL) + "/100");
    for (int q = 0; q < 4; ++q) {
        const int col = colR + q, pRow = at.concentration(q);
        for (int row = first; row <= last; ++row)
            ws.cells(row, col).setFormulaR1C1("=" + rel(row, col, pRow, kWastewaterDefault) + "*" +
                                              same(col, colQ) + (col == colU ? kToMpn : kToPounds));
    }
    ws.range(first, colI, last, colU).setNumberFormat("0.000");
    ws.range(t1, colQ, t1, colU).font().setColor(kBlack);
    ws.range(first, colQ, last, colU).interior().setColorIndex(34);

    // The defaults, hidden with the empty row above them.
    const int d = at.defaultsFirst();
    ws.range(d, colB, at.flowPerPerson(), colF).clearContents();
    ws.range(d, colI, at.flowPerPerson() + 1, colJ).clearContents();
    ws.cells(d, colB).setValue(
        "Assume the average concentrations reaching the stream (from septic overcharge) are:");
    for (int q = 0; q < 4; ++q) {
        const Default& c = kConcentrations[q];
        const int row = at.concentration(q);
        ws.cells(row, colC).setValue(c.label);
        ws.cells(row, kSepticDefault).setValue(c.septic);
        ws.cells(row, kSepticDefault + 1).setValue(c.septicRange);
        ws.cells(row, kWastewaterDefault).setValue(c.wastewater);
        ws.cells(row, kWastewaterDefault + 1).setValue(c.wastewaterRange);
    }
    ws.cells(at.flowPerPerson(), colB).setValue("Typical septic overcharge flow rate of:");
    ws.cells(at.flowPerPerson(), kSepticDefault).setValue(kSepticFlow);
    ws.cells(at.flowPerPerson(), kSepticDefault + 1).setValue("gal/day/person(range of 45 to 100)");
    ws.cells(d, kWastewaterDefault).setValue("Wastewater per capita:");
    ws.cells(at.flowPerPerson(), kWastewaterDefault).setValue(kWastewaterFlow);
    ws.cells(at.flowPerPerson(), kWastewaterDefault + 1).setValue(kWastewaterFlowNote);
    ws.rows(d - 1, at.flowPerPerson()).setHidden(true);

    // Table 2: yearly loads, reductions and what remains.
    const int t2 = at.yearlyHeader();
    std::vector<std::string> headers{"Watershed"};
    for (int group = 0; group < 3; ++group)
        for (const char* h : {"N Load, lb/yr", "P Load, lb/yr", "BOD, lb/yr", "E. coli, MPN/yr"})
            headers.emplace_back(h);
    wb::CreateTableDunlo(ws, "2. Septic nutrient load in lb/yr except E. coli in MPN/yr) ",
                         subwatershedLabels(N), headers, t2, colB, N + 1, 13);
    ws.cells(t2 - 1, colG).setValue("Wastewater Reduction");
    wb::Range reductionBand = ws.range(t2 - 1, colG, t2 - 1, colJ);
    reductionBand.interior().setColorIndex(34);
    reductionBand.font().setBold(true);
    ws.cells(t2 - 1, colK).setValue("Load after Reduction");
    wb::Range remainingBand = ws.range(t2 - 1, colK, t2 - 1, colN);
    remainingBand.interior().setColorIndex(43);
    remainingBand.font().setBold(true);

    const int toHourly = t1 - t2;  // same subwatershed's row of table 1
    wb::Range yearly = ws.range(t2 + 1, colC, t2 + N, colF);
    yearly.setFormulaR1C1("=R[" + num(toHourly) + "]C[" + num(colM - colC) + "]*24*365");
    yearly.setNumberFormat("0.00");
    wb::Range reduced = ws.range(t2 + 1, colG, t2 + N, colJ);
    reduced.setFormulaR1C1("=R[" + num(toHourly) + "]C[" + num(colR - colG) + "]*24*365");
    reduced.setNumberFormat("0.00");
    reduced.interior().setColorIndex(34);
    wb::Range remaining = ws.range(t2 + 1, colK, t2 + N, colN);
    remaining.setFormulaR1C1("=RC[" + num(colC - colK) + "]-RC[" + num(colG - colK) + "]");
    remaining.setNumberFormat("0.00");

    ws.range("A1").select();
}
