// Tables 1 and 2 of the Total Load sheet: loads, reductions, loads with BMP and percentage
// reductions by subwatershed, and the watershed's loads with BMP by source.
#include <string>
#include <vector>

#include "sheets/summary/total_load_page_parts.h"
#include "workbook/tables.h"

namespace totalload {

namespace {

namespace xl = wb::xl;

constexpr int colB = 2, colC = 3;
constexpr const char* kTons = "/2000";
constexpr const char* kBillions = "/1000000000";

std::string num(int v) { return std::to_string(v); }

struct Column {
    const char* header;
    const char* unit;
};
// Columns B..V of table 1.
const Column kTable1[] = {
    {"Watershed", ""},
    {"N Load (no BMP)", "lb/year"},
    {"P Load (no BMP)", "lb/year"},
    {"BOD Load (no BMP)", "lb/year"},
    {"Sediment Load (no BMP)", "t/year"},
    {"E. coli Load (no BMP)", "Billion MPN/year"},
    {"N Reduction", "lb/year"},
    {"P Reduction", "lb/year"},
    {"BOD Reduction", "lb/year"},
    {"Sediment Reduction", "t/year"},
    {"E. coli Reduction", "Billion MPN/year"},
    {"N Load (with BMP)", "lb/year"},
    {"P Load (with BMP)", "lb/year"},
    {"BOD (with BMP)", "lb/year"},
    {"Sediment Load (with BMP)", "t/year"},
    {"E. coli Load (with BMP)", "Billion MPN/year"},
    {"%N Reduction", "%"},
    {"%P Reduction", "%"},
    {"%BOD Reduction", "%"},
    {"%Sed Reduction", "%"},
    {"%E. coli Reduction", "%"},
};

// The formulas of subwatershed i's row in table 1, columns C..L, from the working tables of
// this sheet (a: runoff loads, b: runoff reductions, d: groundwater) and the other sheets'
// per-subwatershed loads (L..V of Gully&Streambank are reductions, C..Q loads).
struct Table1Row {
    const Sources& s;
    const TableRows& t;
    int i;
    int row;

    std::string at(int col, int targetRow, int targetCol) const {
        return ref(row, col, targetRow, targetCol);
    }
    std::string gully(int col, int target) const {
        return "'Gully&Streambank'!" + at(col, s.gully(i), target);
    }

    // N, P, BOD (q = 1..3) without BMP, column C..E; E. coli in G.
    std::string load(int q) const {
        const int col = colC + q - 1;
        return "=" + at(col, t.a + 1 + i, 19 + q - 1) + "+Feedlots!" + at(col, s.feedlots(i), col) +
               "+(Sediment!" + at(col, s.sedimentNutrients(i), 11 + 2 * (q - 1)) + ")*2000+Urban!" +
               at(col, s.urban(i), col) + "+Septic!" + at(col, s.septic(i), col) + "+" +
               at(col, t.d + 1 + i, 33 + q - 1) + "+" + gully(col, col) + "+" +
               gully(col, col + 10);
    }
    // The gully and streambank E. coli loads (G, Q) count here as their reductions count in L,
    // so that the load with BMP is the load minus the reduction of the same sources.
    std::string ecoliLoad() const {
        const int col = 7;
        return "=(" + at(col, t.a + 1 + i, 22) + " + Feedlots!" + at(col, s.feedlots(i), 6) +
               "+Sediment!" + at(col, s.sedimentNutrients(i), 17) + "+Urban!" +
               at(col, s.urban(i), 7) + "+Septic!" + at(col, s.septic(i), 6) + " +" +
               at(col, t.d + 1 + i, 37) + "+" + gully(col, 7) + "+" + gully(col, 17) + ")" +
               kBillions;
    }
    // Sediment (tons) without BMP, column F.
    std::string sediment() const {
        const int col = 6;
        return "=Sediment!" + at(col, s.erosion(i), 13) + "+Urban!" + at(col, s.urban(i), 6) +
               kTons + "+" + at(col, t.d + 1 + i, 36) + kTons + "+" + gully(col, 16) + kTons + "+" +
               gully(col, 6) + kTons;
    }
    // N, P, BOD reductions, columns H..J.
    std::string reduction(int q) const {
        const int col = 8 + q - 1;
        return "=" + at(col, t.b + 1 + i, 19 + q - 1) + "+(Sediment!" +
               at(col, s.sedimentNutrients(i), 19 + 2 * (q - 1)) + ")*2000+Urban!" +
               at(col, s.urban(i), col) + "+Feedlots!" + at(col, s.feedlots(i), 7 + q - 1) +
               "+Septic!" + at(col, s.septic(i), 7 + q - 1) + "+" + gully(col, col) + "+" +
               gully(col, col + 10);
    }
    std::string sedimentReduction() const {
        const int col = 11;
        return "=Sediment!" + at(col, s.erosion(i), 15) + "+Urban!" + at(col, s.urban(i), 11) +
               kTons + "+" + gully(col, 21) + kTons + "+" + gully(col, 11) + kTons;
    }
    std::string ecoliReduction() const {
        const int col = 12;
        return "=(" + at(col, t.b + 1 + i, 22) + "+Sediment!" +
               at(col, s.sedimentNutrients(i), 25) + " +Urban!" + at(col, s.urban(i), 12) +
               "+Feedlots!" + at(col, s.feedlots(i), 10) + "+Septic!" + at(col, s.septic(i), 10) +
               "+" + gully(col, 12) + " +" + gully(col, 22) + ")" + kBillions;
    }
};

}  // namespace

void summaryTable1(wb::Worksheet& ws, const Sources& s, const TableRows& t) {
    const int N = s.N;
    const int H = t.one;
    std::vector<std::string> labels{"", ""};  // index 0 unread; 1 the units row
    for (int i = 1; i <= N; ++i) labels.push_back("W" + std::to_string(i));
    labels.push_back("Total");
    std::vector<std::string> headers;
    for (const Column& c : kTable1) headers.push_back(c.header);
    wb::CreateTableDunlo(ws, "1. Total load by subwatershed(s)", labels, headers, H, colB, N + 3,
                         21);

    wb::Range header = ws.range(H, colB, H, 23);  // B..W
    header.setWrapText(true);
    header.setHorizontalAlignment(xl::Center);
    header.setVerticalAlignment(xl::Top);

    const int first = H + 2, total = H + N + 2;
    for (int i = 1; i <= N; ++i) {
        const Table1Row r{s, t, i, H + 1 + i};
        for (int q = 1; q <= 3; ++q) ws.cells(r.row, colC + q - 1).setFormulaR1C1(r.load(q));
        ws.cells(r.row, 7).setFormulaR1C1(r.ecoliLoad());
        ws.cells(r.row, 6).setFormulaR1C1(r.sediment());
        for (int q = 1; q <= 3; ++q) ws.cells(r.row, 8 + q - 1).setFormulaR1C1(r.reduction(q));
        ws.cells(r.row, 11).setFormulaR1C1(r.sedimentReduction());
        ws.cells(r.row, 12).setFormulaR1C1(r.ecoliReduction());
    }
    solidFill(ws.range(H, 8, total, 12), 24);
    solidFill(ws.range(H, 18, total, 22), 24);
    ws.range(first, 13, total - 1, 17).setFormulaR1C1("=RC[-10]-RC[-5]");
    ws.range(total, colC, total, 17).setFormulaR1C1("=SUM(R[" + num(-N) + "]C:R[-1]C)");
    ws.range(first, colC, total, 17).setNumberFormat("0.0");
    // Percentages of the no-BMP load; the total row's from the totals.
    wb::Range percent = ws.range(first, 18, total, 22);
    percent.setFormulaR1C1("=if(RC[-15]=0,0,100*RC[-10]/RC[-15])");
    percent.setNumberFormat("0.0");
    for (int col = colC; col <= 22; ++col) ws.cells(H + 1, col).setValue(kTable1[col - colB].unit);
    ws.range(H - 1, colB, H - 1, 22)
        .interior()
        .setColorIndex(43)
        .setPatternColorIndex(xl::Automatic);
}

void summaryTable2(wb::Worksheet& ws, int N, const TableRows& t) {
    const int H = t.two;
    const std::vector<std::string> sources{"",       "Urban",      "Cropland",     "Pastureland",
                                           "Forest", "Feedlots",   "User Defined", "Septic",
                                           "Gully",  "Streambank", "Groundwater",  "Total"};
    wb::CreateTableDunlo(ws, "2. Total load by land uses (with BMP)", sources,
                         {"Sources", "N Load (lb/yr)", "P Load (lb/yr)", "BOD Load (lb/yr)",
                          "Sediment Load (t/yr)", "E. coli Load (Billion MPN/yr)"},
                         H, colB, 12, 6);
    wb::Range header = ws.rows(H);
    header.setRowHeight(40);
    header.setHorizontalAlignment(xl::Center);
    header.setVerticalAlignment(xl::Top);
    header.setWrapText(true);

    // Sources 1..9 are the total row of table c, block k; groundwater the total row of table d's
    // Total block. Sediment in tons, E. coli in billions.
    const char* const endings[6] = {"", "", "", "", kTons, kBillions};
    const int cTotal = t.c + N + 2, dTotal = t.d + N + 2;
    for (int k = 1; k <= 10; ++k) {
        const int row = H + k;
        for (int j = 1; j <= 5; ++j) {
            const int col = colC + j - 1;
            const std::string source = k <= 9 ? ref(row, col, cTotal, colC + 5 * (k - 1) + j - 1)
                                              : ref(row, col, dTotal, 33 + j - 1);
            ws.cells(row, col).setFormulaR1C1("=" + source + endings[j]);
        }
    }
    ws.range(H + 11, colC, H + 11, 7).setFormulaR1C1("=sum(R[-1]C:R[-10]C)");
    ws.range(H - 1, colB, H - 1, 7)
        .interior()
        .setColorIndex(43)
        .setPatternColorIndex(xl::Automatic);
    wb::Range body = ws.range(H + 1, colC, H + 11, 7);
    body.interior().setColorIndex(34);
    body.setNumberFormat("0.00");
}

}  // namespace totalload
