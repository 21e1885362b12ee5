// The Total Load sheet builder: sheet settings, the four hidden working tables and the order of
// the whole build. Tables 1 and 2 are in total_load_page_summary.cpp.
//
//   table                                          header row   subwatershed i   total row
//   a. runoff loads without BMPs (hidden)          4            5+i              N+6
//   b. runoff load reductions (hidden)             N+10         N+11+i           2N+12
//   1. total load by subwatershed(s)               2N+15        2N+16+i          3N+17
//   c. loads by land use with BMP (hidden)         3N+20        3N+21+i          4N+22
//   d. groundwater loads by land use (hidden)      4N+25        4N+26+i          5N+27
//   2. total load by land uses (with BMP)          5N+30        sources 5N+31 .. 5N+41
//
// Working tables have one block of columns per land use (or source), N, P, BOD, E. coli in a and
// b, N, P, BOD, Sediment, E. coli in c and d.
#include "sheets/summary/total_load_page.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sheets/common/sheet_format.h"
#include "sheets/summary/total_load_page_parts.h"
#include "workbook/tables.h"

namespace totalload {

namespace {

namespace xl = wb::xl;

using sheets::kBlue;

constexpr int colB = 2, colC = 3;

std::string num(int v) { return std::to_string(v); }

// A working table: its blocks (named, `width` columns each from column C) and what goes into
// each block cell of subwatershed i (block k, position j, both from 1): a formula, a constant,
// or nothing ("").
struct WorkingTable {
    const char* title;
    int header;
    int columns;  // CreateTableVesk's column count
    int width;
    std::vector<const char*> blocks;
    std::vector<const char*> pollutants;
    std::function<std::string(int row, int i, int k, int j)> cell;
};

int blockColumn(const WorkingTable& t, int k, int j) { return colC + t.width * (k - 1) + j - 1; }

// Draws the table and fills it; returns the last column of its blocks.
int build(wb::Worksheet& ws, const WorkingTable& t, int N) {
    const int R = t.header;
    std::vector<std::string> headers{"Watershed"};
    headers.resize(t.columns / 2 + 1);
    wb::CreateTableVesk(ws, t.title, headers, R, colB, N + 2, t.columns, false, true);
    // CreateTableVesk labels one row too many; that row is the total row.
    ws.cells(R + N + 1, colB).setValue("Total");
    // A second header row for the pollutant names; subwatershed i moves to R + 1 + i.
    wb::Range second = ws.rows(R + 1);
    second.select();
    second.insert();

    const int blocks = static_cast<int>(t.blocks.size());
    for (int k = 1; k <= blocks; ++k) {
        wb::Range head = ws.range(R, blockColumn(t, k, 1), R, blockColumn(t, k, t.width));
        head.select();
        head.clearContents();
        head.setMergeCells(true);
        ws.cells(R, blockColumn(t, k, 1)).setValue(t.blocks[k - 1]);
    }
    for (int k = 1; k <= blocks; ++k)
        for (int j = 1; j <= t.width; ++j)
            ws.cells(R + 1, blockColumn(t, k, j)).setValue(t.pollutants[j - 1]);

    for (int k = 1; k <= blocks; ++k)
        for (int i = 1; i <= N; ++i)
            for (int j = 1; j <= t.width; ++j) {
                const int row = R + 1 + i;
                const std::string entry = t.cell(row, i, k, j);
                if (!entry.empty()) ws.cells(row, blockColumn(t, k, j)).setFormulaR1C1(entry);
            }
    const int last = blockColumn(t, blocks, t.width);
    ws.range(R + N + 2, colC, R + N + 2, last).setFormulaR1C1("=SUM(R[" + num(-N) + "]C:R[-1]C)");
    return last;
}

// The sum over the block columns `step` apart to the left of a total block, nearest first:
// "=RC[-4]+RC[-8]+RC[-12]+RC[-16]".
std::string blockSum(int step, int count) {
    std::string f = "=";
    for (int b = 1; b <= count; ++b) f += (b > 1 ? "+RC[" : "RC[") + num(-step * b) + "]";
    return f;
}

// Pollutant position j of a block to the N, P, BOD, E. coli order of the other sheets' columns
// (c and d put Sediment fourth and E. coli fifth).
int fourPollutants(int j) { return j == 5 ? 4 : j; }

// Table a: runoff (ac-ft) of each land use times its concentration, as pounds (E. coli counts).
// Cropland and pastureland mix the Animal sheet's agricultural and manured concentrations by the
// months of manure application; forest and user defined use the fixed Land&Rain table 5 rows.
std::string loadWithoutBmp(const Sources& s, int row, int i, int k, int j) {
    const int col = colC + 4 * (k - 1) + j - 1;
    if (k == 5) return blockSum(4, 4);
    const std::string unit = j == 4 ? kToCounts : kToPounds;
    const int runoffCol = 3 + 2 * k;  // E, G, I, K
    const std::string runoff = "='Land&Rain'!" + ref(row, col, s.runoff(i), runoffCol);
    if (k <= 2) {
        const int monthsCol = k == 1 ? 12 : 13;  // L, M
        const int aeuRow = k == 1 ? s.croplandAeu(i) : s.pastureAeu(i);
        const int agCol = 14 + 2 * (j - 1);  // N, P, R, T; manured one to the right
        const std::string share =
            "Animal!" + ref(row, col, Sources::manureMonths(i), monthsCol) + "/12";
        return runoff + "*((1-" + share + ")*Animal!" + ref(row, col, aeuRow, agCol) + "+(" +
               share + ")*Animal!" + ref(row, col, aeuRow, agCol + 1) + " )" + unit;
    }
    const int concRow = s.concentration(k - 1);  // Forest, User Defined
    return runoff + "*'Land&Rain'!" + ref(row, col, concRow, 3 + j - 1) + unit;
}

// Table b: load without BMP times the land use's BMP efficiency. On cropland the irrigation
// runoff reduction of Land&Rain table 6 counts in full and the efficiency applies to the rest.
std::string reductionWithBmp(const Sources& s, const TableRows& t, int row, int i, int k, int j) {
    const int col = colC + 4 * (k - 1) + j - 1;
    if (k == 5) return blockSum(4, 4);
    const std::string withoutBmp = ref(row, col, t.a + 1 + i, col);
    // Group j + 1 (N, P, BOD, E. coli after Sediment) of four columns, land use k within it.
    const std::string efficiency =
        "Sediment!" + ref(row, col, s.sedimentEfficiency(i), 4 * (j + 1) - 1 + k - 1);
    if (k > 1) return "=" + withoutBmp + "*" + efficiency;
    const std::string irrigation = "'Land&Rain'!" + ref(row, col, s.runoffReduction(i), 5) +
                                   "*Animal!" + ref(row, col, s.croplandAeu(i), 14 + 2 * (j - 1)) +
                                   (j == 4 ? kToCounts : kToPounds);
    return "=(" + withoutBmp + "-" + irrigation + ")*" + efficiency + "+" + irrigation;
}

// Table c: every source's load with BMP by subwatershed. Blocks: 1 Urban, 2 Cropland,
// 3 Pastureland, 4 Forest, 5 Feedlot, 6 User Defined, 7 Septic, 8 Gully, 9 Streambank.
std::string loadByLandUse(const Sources& s, const TableRows& t, int row, int i, int k, int j) {
    const int col = colC + 5 * (k - 1) + j - 1;
    const int q = fourPollutants(j);
    switch (k) {
        case 1:
            return "=Urban!" + ref(row, col, s.urban(i), 13 + j - 1);
        case 5:
            if (j == 4) return "0";
            return "=Feedlots!" + ref(row, col, s.feedlots(i), 3 + q - 1) + "- Feedlots!" +
                   ref(row, col, s.feedlots(i), 7 + q - 1);
        case 7:
            if (j == 4) return "0";
            return "=Septic!" + ref(row, col, s.septic(i), 11 + q - 1);
        case 8:
        case 9: {
            const int loads =
                k == 8 ? 3 : 13;  // gully C..G, streambank M..Q; reductions 5 to the right
            return "='Gully&Streambank'!" + ref(row, col, s.gully(i), loads + j - 1) +
                   "-'Gully&Streambank'!" + ref(row, col, s.gully(i), loads + 5 + j - 1);
        }
        default: {
            // Runoff load without BMP minus its reduction (tables a and b), plus the load carried
            // by sediment with BMP (Sediment land-use table, tons; E. coli counts).
            const int u = k == 6 ? 4 : k - 1;   // Cropland, Pastureland, Forest, User Defined
            const int sedimentCol = 5 * u - 2;  // first of N, P, BOD, E. coli, sediment
            if (j == 4) {
                const std::string sediment =
                    "Sediment!" + ref(row, col, s.sedimentByLandUse(i), sedimentCol + 4);
                return u == 1 ? "=2000*" + sediment : "=(" + sediment + ")*2000";
            }
            const int runoffCol = colC + 4 * (u - 1) + q - 1;
            const std::string sediment =
                "Sediment!" + ref(row, col, s.sedimentByLandUse(i), sedimentCol + q - 1);
            return "=" + ref(row, col, t.a + 1 + i, runoffCol) + "-" +
                   ref(row, col, t.b + 1 + i, runoffCol) + "+(" + sediment +
                   (j == 5 ? ")" : ")*2000");
        }
    }
}

// Table d: groundwater volume (Land&Rain GW4, ac-ft) of each land use times its groundwater
// concentration on the Input sheet. Blocks 1 Urban .. 6 User Defined as in table c, 7 Total.
// Groundwater carries no sediment.
std::string groundwaterLoad(const Sources& s, int row, int i, int k, int j) {
    if (k == 7) return blockSum(5, 6);
    if (j == 4) return "";
    const int col = colC + 5 * (k - 1) + j - 1;
    constexpr int volumeCol[7] = {0, 37, 39, 41, 43, 47, 45};  // AK, AM, AO, AQ, AU, AS
    return "='Land&Rain'!" + ref(row, col, s.runoff(i), volumeCol[k]) + "*'Input'!" +
           ref(row, col, s.inputGroundwater(k), 9 + fourPollutants(j) - 1) +
           (j == 5 ? kToCounts : kToPounds);
}

void hideRows(wb::Worksheet& ws, int first, int last) { ws.rows(first, last).setHidden(true); }

}  // namespace

std::string ref(int row, int col, int targetRow, int targetCol) {
    return sheets::RC(targetRow - row, targetCol - col);
}

TableRows tableRows(int N) {
    TableRows t{};
    t.a = 4;
    t.b = (N + t.a) + 6;
    t.one = (N + t.b) + 5;
    t.c = (N + t.one) + 5;
    t.d = (N + t.c) + 5;
    t.two = (N + t.d) + 5;
    return t;
}

}  // namespace totalload

void TotalLoadPage(wb::Workbook& wb, GenerationOptions& opt) {
    using namespace totalload;
    namespace xl = wb::xl;
    const int N = opt.SubwatershedCount;
    if (opt.RunoffFirstRow < 1 || opt.PastureAeuFirstRow < 1)
        throw wb::WorkbookError(
            "The Total Load sheet needs the rows that the Land&Rain and Animal builders publish; "
            "build those sheets first");
    const Sources s{N, opt.RunoffFirstRow, opt.PastureAeuFirstRow,
                    opt.GullyCount + opt.StreambankCount};
    const TableRows t = tableRows(N);

    wb::Worksheet& ws = wb.sheet("Total Load");
    ws.select();

    solidFill(ws.range("A1:AY100"), 2);
    ws.columns("A").setColumnWidth(5);
    ws.columns("B:AA").setColumnWidth(11);
    ws.range("B1").setValue("Total Load");
    ws.range("B1").font().setColor(kBlue).setBold(true);
    ws.range("D1").setValue(
        "This is the summary of annual nutrient and sediment load for each subwatershed. This "
        "sheet "
        "is initially protected.");
    wb::Range band = ws.range("B1:L1");
    solidFill(band, 15);
    band.font().setColor(kBlue);
    for (int side :
         {xl::EdgeLeftOfCell, xl::EdgeRightOfCell, xl::EdgeTopOfCell, xl::EdgeBottomOfCell})
        band.borders(side)
            .setLineStyle(xl::Continuous)
            .setWeight(xl::Thin)
            .setColorIndex(xl::Automatic);
    for (int side : {xl::InsideVertical, xl::InsideHorizontal})
        band.borders(side).setLineStyle(xl::None);

    const std::vector<const char*> fourPollutantNames{"N", "P", "BOD", "E. coli"};
    const std::vector<const char*> fivePollutantNames{"N", "P", "BOD", "Sediment", "E. coli"};
    const std::vector<const char*> runoffBlocks{"Cropland", "Pastureland", "Forest", "User Defined",
                                                "Total"};

    WorkingTable a{"a. Nutrient load from runoff (lb/year) and E. coli (MPN/year) without BMPs",
                   t.a,
                   20,
                   4,
                   runoffBlocks,
                   fourPollutantNames,
                   [&](int row, int i, int k, int j) { return loadWithoutBmp(s, row, i, k, j); }};
    int last = build(ws, a, N);
    ws.range(t.a + 2, colC, t.a + N + 2, last).setNumberFormat("0.0");

    WorkingTable b{
        "b. Nutrient load reduction in runoff with BMPs (lb/year) and E. coli (MPN/year)",
        t.b,
        20,
        4,
        runoffBlocks,
        fourPollutantNames,
        [&](int row, int i, int k, int j) { return reductionWithBmp(s, t, row, i, k, j); }};
    last = build(ws, b, N);
    ws.range(t.b + 2, colC, t.b + N + 2, last).setNumberFormat("0.0");
    hideRows(ws, 2, t.b + N + 2);

    WorkingTable c{
        "c. Nutrient and sediment load by land uses with BMP (lb/year) and E. coli (MPN/year)",
        t.c,
        45,
        5,
        {"Urban", "Cropland", "Pastureland", "Forest", "Feedlot", "User Defined", "Septic", "Gully",
         "Streambank"},
        fivePollutantNames,
        [&](int row, int i, int k, int j) { return loadByLandUse(s, t, row, i, k, j); }};
    last = build(ws, c, N);
    ws.range(t.c - 1, colC, t.c + N + 2, last).setNumberFormat("0.0");
    hideRows(ws, t.c - 1, t.c + N + 2);

    WorkingTable d{
        "d. Load from groundwater by land uses with BMP (lb/year) and E. coli (MPN/year)",
        t.d,
        35,
        5,
        {"Urban", "Cropland", "Pastureland", "Forest", "Feedlot", "User Defined", "Total"},
        fivePollutantNames,
        [&](int row, int i, int k, int j) { return groundwaterLoad(s, row, i, k, j); }};
    last = build(ws, d, N);
    ws.range(t.d - 1, colC, t.d + N + 2, last).setNumberFormat("0.0");
    hideRows(ws, t.d - 1, t.d + N + 2);

    // Table 1 reads table d, below the rows that tables c and d insert. Written before those
    // insertions, its references would move down with them (two rows, onto other subwatersheds
    // and the total row), so it is written once both tables stand.
    summaryTable1(ws, s, t);
    summaryTable2(ws, N, t);
    ws.range("A1").select();
}
