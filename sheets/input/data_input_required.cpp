// Tables 2, 3 and 4 of the Input sheet: agricultural animals, septic systems and the soil-loss
// (USLE) factors, which default to the county values of the CountyData sheet.
#include <string>
#include <vector>

#include "sheets/input/data_input_parts.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace data_input {

namespace xl = wb::xl;

void drawAnimalTable(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int n = opt.SubwatershedCount;
    const InputSheetRows rows(n);
    const int header = rows.animalHeader();
    const int first = header + 1, last = header + n;

    std::vector<std::string> labels = subwatershedLabels(n);
    labels.emplace_back("Total");
    wb::CreateTableDunlo(ws, "2. Input agricultural animals", labels,
                         {"Watershed", "Beef Cattle", "Dairy Cattle", "Swine (Hog)", "Sheep",
                          "Horse", "Chicken", "Turkey", "Duck",
                          "# of months manure applied on Cropland",
                          "# of months manure applied on Pastureland"},
                         header, 2, n + 2, 11);

    ws.range(first, 3, last, 10).font().setColor(kRed);
    for (int r = first; r <= last; ++r)
        for (int a = 1; a <= 8; ++a) ws.cells(r, 2 + a).setValue(opt.AnimalSelected[a] ? 100 : 0);
    ws.range(first, 11, last, 12).font().setColor(kRed);
    for (int r = first; r <= last; ++r) ws.range(r, 11, r, 12).setValue(opt.NonZeroStart ? 4 : 0);

    ws.cells(header, 11).addComment("Time that manure is applied (months per year) to cropland");
    ws.cells(header, 12).addComment("Time that manure is applied (months per year) to pastureland");

    ws.range(rows.animalTotals(), 3, rows.animalTotals(), 10)
        .setFormulaR1C1("=SUM(R[" + std::to_string(-n) + "]C:R[-1]C)");

    wrapHeader(ws.range(header, 3, header, 12), xl::Bottom);
    ws.range(header - 1, 2, header - 1, 12).interior().setColorIndex(kTitleBand);
}

void drawSepticTable(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int n = opt.SubwatershedCount;
    const int header = InputSheetRows(n).septicHeader();
    const int first = header + 1, last = header + n;

    wb::CreateTableDunlo(ws, "3. Input septic system and illegal direct wastewater discharge data",
                         subwatershedLabels(n),
                         {"Watershed", "No. of Septic Systems", "Population per Septic System",
                          "Septic Failure Rate, %", "Wastewater Direct Discharge, # of People",
                          "Direct Discharge Reduction, %"},
                         header, 2, n + 1, 6);
    ws.range(header, 2, header, 8)
        .setHorizontalAlignment(xl::Center)
        .setVerticalAlignment(xl::Bottom)
        .setWrapText(true);

    ws.range(first, 3, last, 7).font().setColorIndex(kRedIndex);
    for (int r = first; r <= last; ++r) {
        ws.cells(r, 3).setValue(opt.NonZeroStart ? 600 : 0);
        ws.cells(r, 4).setValue(2.43);
        ws.cells(r, 5).setValue(2);
        ws.cells(r, 6).setValue(0);
        ws.cells(r, 7).setValue(0);
    }

    ws.cells(header, 4).addComment(
        "Person served per septic system. The national average is 2.43 person per home.");
    ws.cells(header, 5).addComment("% of failing septic systems");
    ws.cells(header, 6).addComment(
        "Optional input: Number of people that discharge wastewater to streams directly");
    ws.cells(header, 7).addComment(
        "Optional Input: Percentage reduction of people that discharge to streams directly (0-100)");

    ws.range(first, 6, last, 7).interior().setColorIndex(kEntryFill);
    ws.range(header - 1, 2, header - 1, 7).interior().setColorIndex(kTitleBand);
}

namespace {

std::string rel(char axis, int offset) {
    return std::string(1, axis) + "[" + std::to_string(offset) + "]";
}

// The county lookup of one factor cell (row of subwatershed i, column col = C..V): the county key
// in I13 looked up in CountyData!F2:F3217, giving the factor of the same row in CountyData!O..S
// (R, K, LS, C, P by the column's place in its land-use group). All offsets are relative to the
// cell, so each cell's text differs while every one points at the same county cells.
std::string countyLookup(int n, int i, int col) {
    const int t = col - 2;
    const int toKey = -(3 * n + 18 + i);       // row 13
    const int toFirst = -(3 * n + 29 + i);     // row 2
    const int toLast = 3186 - 3 * n - i;       // row 3217
    const int factorColumn = 13 + (t - 1) % 5;  // O..S as 13..17 measured from column B
    auto column = [&](int offset) {
        return "'CountyData'!" + rel('R', toFirst) + rel('C', offset) + ":" + rel('R', toLast) +
               rel('C', offset);
    };
    return "lookup(" + rel('R', toKey) + rel('C', 7 - t) + "," + column(4 - t) + "," +
           column(factorColumn - t) + ")";
}

// Factors that do not come from the county table: pastureland C and P, forest C and P, and the
// user-defined P. Returns false for a looked-up column.
bool fixedFactor(int col, double& value) {
    switch (col) {
        case 11: value = 0.04; return true;   // K, pastureland C
        case 12: value = 1; return true;      // L, pastureland P
        case 16: value = 0.003; return true;  // P, forest C
        case 17: value = 1; return true;      // Q, forest P
        case 22: value = 1; return true;      // V, user-defined P
        default: return false;
    }
}

constexpr int kCroplandC = 6;  // column F

}  // namespace

void drawSoilLossTable(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int n = opt.SubwatershedCount;
    const InputSheetRows rows(n);
    const int groupRow = rows.soilLossGroupHeader();
    const int factorRow = rows.soilLossFactorHeader();
    const std::vector<std::string> factors = {"R", "K", "LS", "C", "P"};

    std::vector<std::string> headers = {"Watershed"};
    for (int twice = 0; twice < 2; ++twice) headers.insert(headers.end(), factors.begin(), factors.end());
    wb::CreateTableVesk(ws, "4. Modify the Universal Soil Loss Equation (USLE) parameters", headers,
                        groupRow, 2, n + 1, 21, false, true);

    // A second header row for the factor names; the subwatershed rows move down by one.
    ws.rows(factorRow).insert();

    const char* groups[] = {"Cropland", "Pastureland", "Forest", "User Defined"};
    for (int g = 1; g <= 4; ++g) {
        wb::Range block = ws.range(groupRow, 5 * g - 2, groupRow, 5 * g + 2);
        block.clearContents();
        block.setMergeCells(true);
        ws.cells(groupRow, 5 * g - 2).setValue(groups[g - 1]);
        for (int f = 0; f < 5; ++f) ws.cells(factorRow, 5 * g - 2 + f).setValue(factors[f]);
    }

    wb::Range body = ws.range(factorRow + 1, 3, factorRow + n, 22);
    body.setNumberFormat("0.000");
    body.font().setColorIndex(kRedIndex);
    for (int i = 1; i <= n; ++i) {
        const int r = factorRow + i;
        for (int col = 3; col <= 22; ++col) {
            double value = 0;
            if (fixedFactor(col, value)) {
                ws.cells(r, col).setValue(value);
                continue;
            }
            const std::string lookup = countyLookup(n, i, col);
            if (col == kCroplandC)
                ws.cells(r, col).setFormulaR1C1("=if(" + lookup + " > 0.2, " + lookup + ", 0.2)");
            else
                ws.cells(r, col).setFormulaR1C1("=" + lookup);
        }
    }

    ws.range(groupRow - 1, 2, groupRow - 1, 22).interior().setColorIndex(kTitleBand);
}

}  // namespace data_input
