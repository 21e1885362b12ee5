// The Gully&Streambank sheet builder. Three CreateTableDunlo frames with their labels in column B:
//
//   table                                     header row    rows            columns
//   1. gully dimensions                       11            11+d            B..P
//   2. impaired streambank dimensions         G+15          G+15+k          B..P
//   3. loads per subwatershed (hidden)        T = G+S+19    T+i             B..Z
//
// Each gully or streambank is assigned to a subwatershed by a list box over its B cell that lists
// AA1:AA(N); its soil class (J) and a streambank's recession category (F) are chosen the same way
// from the template's lookup tables AB2:AD11 and AF2:AH5, which the formulas look up.
#include "sheets/sources/gully_streambank.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "sheets/common/sheet_format.h"
#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace {

namespace xl = wb::xl;

using sheets::kBlack;
using sheets::RC;
using sheets::kRed;
using sheets::solidFill;

constexpr int colB = 2, colC = 3, colD = 4, colE = 5, colF = 6, colG = 7, colH = 8, colI = 9,
              colJ = 10, colK = 11, colL = 12, colM = 13, colN = 14, colO = 15, colP = 16,
              colR = 18, colW = 23, colX = 24, colY = 25, colZ = 26;

// The template's lookup tables: soil textural classes in rows 2..11 (class, dry weight,
// nutrient correction factor in AB, AC, AD), lateral recession categories in rows 2..5
// (category, rate range, rate in AF, AG, AH).
constexpr int kSoilFirst = 2, kSoilLast = 11, colAB = 28, colAC = 29, colAD = 30;
constexpr int kRecessionFirst = 2, kRecessionLast = 5, colAF = 32, colAG = 33, colAH = 34;
const char* const kSoilList = "AB2:AB11";
const char* const kRecessionList = "AF2:AF5";

// Input table 5: soil N, P, BOD % in H, I, J and E. coli per 100 mg in K of row 4N+36+i.
int inputSoilRow(int n, int i) { return 4 * n + 36 + i; }
constexpr int kInputSoilN = 8, kInputEcoli = 11;

// clang-format off
const std::vector<std::string> kGullyHeaders{
    "Watershed",        "Gully",
    "Top Width (ft)",   "Bottom Width (ft)",
    "Depth (ft)",       "Length (ft)",
    "Years to Form",    "BMP Efficiency (0-1)",
    "Soil Textural Class", "Soil Dry Weight (ton/ft3)",
    "Nutrient Correction Factor", "Annual Load (ton)",
    "Load Reduction (ton)", "Annual Load (ton)-ncf",
    "Load Reduction (ton)-ncf"};

const std::vector<std::string> kStreambankHeaders{
    "Watershed",        "Strm Bank",
    "Length (ft)",      "Height (ft)",
    "Lateral Recession", "Rate Range (ft/yr)",
    "Rate (ft/yr)",     "BMP Efficiency (0-1)",
    "Soil Textural Class", "Soil Dry Weight (ton/ft3)",
    "Nutrient Correction Factor", "Annual Load (ton)",
    "Load Reduction (ton)", "Annual Load (ton)-ncf",
    "Load Reduction (ton)-ncf"};

const std::vector<std::string> kLoadHeaders{
    "Watershed",           "GU-N Load",           "GU-P Load",           "GU-BOD Load",
    "GU-Sediment Load",    "GU-E. coli Load",     "GU-N Reduc- tion",    "GU-P Reduc- tion",
    "GU-BOD Reduc- tion",  "GU-Sediment Reduction", "GU-E. coli Reduction", "SB-N Load",
    "SB-P Load",           "SB-BOD Load",         "SB-Sediment Load",    "SB-E. coli Load",
    "SB-N Reduction",      "SB-P Reduction",      "SB-BOD Reduction",    "SB-Sediment Reduction",
    "SB-E. coli Reduction", "GU-Sed Load-ncf",    "GU-Sed Reduc-ncf",    "SB-Sed Load-ncf",
    "SB-Sed Reduc-ncf"};
// clang-format on

std::string num(int v) { return std::to_string(v); }

// The relative column block of rows first..last, column `col`, seen from (row, from).
std::string block(int row, int from, int first, int last, int col) {
    return RC(first - row, col - from) + ":" + RC(last - row, col - from);
}

// LOOKUP of the key in column keyCol of the same row, in the template table's key column over
// rows first..last, returning the value column.
std::string lookup(int row, int col, int keyCol, int first, int last, int keyTable,
                   int valueTable) {
    return "=LOOKUP(" + RC(0, keyCol - col) + "," + block(row, col, first, last, keyTable) + "," +
           block(row, col, first, last, valueTable) + ")";
}

std::vector<std::string> labels(int count, bool subwatersheds) {
    std::vector<std::string> l(1);  // index 0 is not read
    for (int i = 1; i <= count; ++i) l.push_back(subwatersheds ? "W" + num(i) : "");
    return l;
}

void headerRow(wb::Range r) {
    r.setWrapText(true);
    r.setHorizontalAlignment(xl::Center);
    r.setVerticalAlignment(xl::Top);
}

// A list box over the cell, listing `list` with the first item chosen; the cell shows the choice
// and receives every later one.
void addListBox(wb::Worksheet& ws, int row, int col, const std::string& list) {
    wb::Range cell = ws.cells(row, col);
    wb::OleObject box = wb::addOleObject(ws, wb::kListBoxProgId, cell.left(), cell.top(),
                                         cell.width(), cell.height());
    box.setListFillRange(list);
    box.setAutoLoad(true);
    box.setBackColor(kRed);
    box.setForeColor(kBlack);
    box.setFontBold(false);
    box.setListStyle(1);
    box.setListIndex(0);
    cell.setValue(box.listItem(0));
    box.setLinkedCell(cell.address());
}

void columnWidths(wb::Worksheet& ws) {
    const std::pair<const char*, double> widths[] = {
        {"A", 1.5}, {"B", 18},   {"D:E", 7}, {"F", 18}, {"G", 9},  {"H", 7},
        {"K:M", 8}, {"N:Z", 10}, {"I", 9},   {"J", 27}, {"L", 10},
    };
    for (const auto& [cols, w] : widths) ws.columns(cols).setColumnWidth(w);
}

void gullyTable(wb::Worksheet& ws, const GullySheetRows& at, bool zero) {
    const int g = at.g, n = at.n, header = at.gullyHeader();
    wb::CreateTableDunlo(ws, "1. Gully dimensions in the different watersheds", labels(g, false),
                         kGullyHeaders, header, colB, g + 1, 15);
    headerRow(ws.range(header, colB, header, colP));

    const int dimension = zero ? 0 : 5;
    for (int d = 1; d <= g; ++d) {
        const int row = at.gully(d);
        ws.cells(row, colC).setValue("Gully" + num(d));
        for (int col = colD; col <= colP; ++col)
            ws.cells(row, col).setValue(col == colH ? 1 : col == colI ? 0.95 : dimension);
    }

    for (int i = 1; i <= n; ++i) ws.cells(i, 27).setValue("W" + num(i));  // AA1:AA(N)
    const std::string subwatersheds = "AA1:AA" + num(n);
    for (int d = 1; d <= g; ++d) addListBox(ws, at.gully(d), colB, subwatersheds);
    for (int d = 1; d <= g; ++d) addListBox(ws, at.gully(d), colJ, kSoilList);

    if (g > 0) {
        for (int d = 1; d <= g; ++d) {
            const int row = at.gully(d);
            ws.cells(row, colK).setFormulaR1C1(
                lookup(row, colK, colJ, kSoilFirst, kSoilLast, colAB, colAC));
            ws.cells(row, colL).setFormulaR1C1(
                lookup(row, colL, colJ, kSoilFirst, kSoilLast, colAB, colAD));
            // Load: the mean width times depth, length and dry weight over the years to form.
            ws.cells(row, colM).setFormulaR1C1(
                "=if(RC[-5]=0,0,(RC[-9]+RC[-8])*RC[-7]*RC[-6]*RC[-2]/RC[-5]/2)");
            ws.cells(row, colN).setFormulaR1C1("=RC[-5]*RC[-1]");
            ws.cells(row, colO).setFormulaR1C1(
                "=if(RC[-7]=0,0,(RC[-11]+RC[-10])*RC[-9]*RC[-8]*RC[-4]*RC[-3]/RC[-7]/2)");
            ws.cells(row, colP).setFormulaR1C1("=RC[-7]*RC[-1]");
        }
        ws.range(at.gully(1), colC, at.gully(g), colJ).font().setColor(kRed);
        ws.range(at.gully(1), colM, at.gully(g), colP).setNumberFormat("0.0000");
    }
    solidFill(ws.range(header - 1, colB, header - 1, colN), 43);

    ws.cells(header, colL)
        .addComment(
            "For adjusting sediment nutrient content: Finer soils have larger aggregated surface "
            "area "
            "for nutrients to attach");
    ws.cells(header, colM).addComment("Annual sediment load without stabilization parctices");
    ws.cells(header, colN).addComment("Annual sediment reduction with stabilization practices");
    ws.cells(header, colO)
        .addComment(
            "Annual sediment load adjusted for nutrient calculation. BCF = Nutrient Correction "
            "Factor");
    ws.cells(header, colP)
        .addComment(
            "Annual sediment reduction adjusted for nutrient calculation. BCF = Nutrient "
            "Correction "
            "Factor");
}

void streambankTable(wb::Worksheet& ws, const GullySheetRows& at, bool zero) {
    const int s = at.s, header = at.streambankHeader();
    wb::CreateTableDunlo(ws, "2. Impaired streambank dimensions in the different watersheds",
                         labels(s, false), kStreambankHeaders, header, colB, s + 1, 15);
    headerRow(ws.range(header, colB, header, colP));

    for (int k = 1; k <= s; ++k) {
        const int row = at.streambank(k);
        ws.cells(row, colC).setValue("Bank" + num(k));
        ws.cells(row, colD).setValue(zero ? 0 : 5);
        ws.cells(row, colE).setValue(zero ? 0 : 100);
    }
    const std::string subwatersheds = "AA1:AA" + num(at.n);
    for (int k = 1; k <= s; ++k) addListBox(ws, at.streambank(k), colB, subwatersheds);
    for (int k = 1; k <= s; ++k) addListBox(ws, at.streambank(k), colF, kRecessionList);
    for (int k = 1; k <= s; ++k) addListBox(ws, at.streambank(k), colJ, kSoilList);

    if (s > 0) {
        for (int k = 1; k <= s; ++k) {
            const int row = at.streambank(k);
            ws.cells(row, colG).setFormulaR1C1(
                lookup(row, colG, colF, kRecessionFirst, kRecessionLast, colAF, colAG));
            ws.cells(row, colH).setFormulaR1C1(
                lookup(row, colH, colF, kRecessionFirst, kRecessionLast, colAF, colAH));
            ws.cells(row, colI).setValue(0.95);
        }
        for (int k = 1; k <= s; ++k) {
            const int row = at.streambank(k);
            ws.cells(row, colK).setFormulaR1C1(
                lookup(row, colK, colJ, kSoilFirst, kSoilLast, colAB, colAC));
            ws.cells(row, colL).setFormulaR1C1(
                lookup(row, colL, colJ, kSoilFirst, kSoilLast, colAB, colAD));
            // Load: length x height x recession rate x dry weight.
            ws.cells(row, colM).setFormulaR1C1("=RC[-9]*RC[-8]*RC[-5]*RC[-2]");
            ws.cells(row, colN).setFormulaR1C1("=RC[-5]*RC[-1]");
            ws.cells(row, colO).setFormulaR1C1("=RC[-11]*RC[-10]*RC[-7]*RC[-4]*RC[-3]");
            ws.cells(row, colP).setFormulaR1C1("=RC[-7]*RC[-1]");
        }
        const int first = at.streambank(1), last = at.streambank(s);
        ws.range(first, colC, last, colJ).font().setColor(kRed);
        ws.range(first, colG, last, colG).font().setColor(kBlack);
        ws.range(first, colM, last, colP).setNumberFormat("0.0000");
    }
    solidFill(ws.range(header - 1, colB, header - 1, colN), 43);
    // The load columns' headers with their notes, as the gully table has them.
    ws.range(at.gullyHeader(), colL, at.gullyHeader(), colP).copy();
    ws.cells(header, colL).paste();
}

// The per-subwatershed sums in pounds: 2000 x the loads (tons) of column `source` of the gully or
// streambank rows first..last whose column B names the subwatershed.
std::string sumByLabel(int row, int col, int i, int first, int last, int source) {
    return "=2000*SUMIF(" + block(row, col, first, last, colB) + ", \"=W" + num(i) + "\", " +
           block(row, col, first, last, source) + ")";
}

struct LoadColumn {
    int col;
    int sediment;  // the -ncf sediment column of the load table it scales
    int input;     // its soil concentration column of the Input sheet
};

void loadTable(wb::Worksheet& ws, const GullySheetRows& at) {
    const int n = at.n, header = at.loadHeader();
    wb::CreateTableDunlo(ws,
                         "3. Load and load reduction (lb/year, GU=Gully; SB=Streambank) in the "
                         "different watersheds",
                         labels(n, true), kLoadHeaders, header, colB, n + 1, 25);

    const int gFirst = at.gully(1), gLast = at.gully(at.g);
    const int sFirst = at.streambank(1), sLast = at.streambank(at.s);
    // Sediment: gully and streambank loads and reductions, plain and -ncf.
    const std::array<std::array<int, 3>, 8> sums = {{
        {colW, colO, 0},
        {colX, colP, 0},
        {colY, colO, 1},
        {colZ, colP, 1},
        {colF, colM, 0},
        {colP, colM, 1},
        {colK, colN, 0},
        {21, colN, 1},  // U
    }};
    for (const auto& [col, source, bank] : sums)
        for (int i = 1; i <= n; ++i) {
            const int row = at.load(i);
            ws.cells(row, col).setFormulaR1C1(bank
                                                  ? sumByLabel(row, col, i, sFirst, sLast, source)
                                                  : sumByLabel(row, col, i, gFirst, gLast, source));
        }

    // Nutrients: the -ncf sediment (lb) times the soil's N, P or BOD per cent, group by group
    // (gully load, gully reduction, streambank load, streambank reduction); then E. coli, the
    // sediment in mg times the count per 100 mg.
    using Pair = std::pair<int, int>;  // first column of the group, its sediment column
    const std::array<Pair, 4> groups = {Pair{colC, colW}, Pair{colH, colX}, Pair{colM, colY},
                                        Pair{colR, colZ}};
    const std::array<int, 4> ecoli = {colG, colL, 17, 22};  // G, L, Q, V
    std::vector<LoadColumn> nutrients;
    for (int p = 0; p < 3; ++p)
        for (const auto& [first, sediment] : groups)
            nutrients.push_back({first + p, sediment, kInputSoilN + p});
    for (size_t k = 0; k < groups.size(); ++k)
        nutrients.push_back({ecoli[k], groups[k].second, kInputEcoli});
    for (const LoadColumn& c : nutrients)
        for (int i = 1; i <= n; ++i) {
            const int row = at.load(i);
            ws.cells(row, c.col)
                .setFormulaR1C1("=" + RC(0, c.sediment - c.col) + "*'input'!" +
                                RC(inputSoilRow(n, i) - row, c.input - c.col) +
                                (c.input == kInputEcoli ? "/100*453592" : "/100"));
        }

    ws.range(header + 1, colC, header + n, 22).setNumberFormat(".00");  // C..V
    headerRow(ws.range(header, colB, header, colZ));
    solidFill(ws.range(header - 1, colB, header - 1, colR), 43);
}

}  // namespace

void GullyStreamBank(wb::Workbook& wb, GenerationOptions& opt) {
    const GullySheetRows at(opt.GullyCount, opt.StreambankCount, opt.SubwatershedCount);
    const bool zero = !opt.NonZeroStart;  // the options form's OptZero
    wb::Worksheet& ws = wb.sheet("Gully&Streambank");
    ws.select();
    columnWidths(ws);
    gullyTable(ws, at, zero);
    streambankTable(ws, at, zero);
    loadTable(ws, at);
    ws.columns("O:V").setHidden(true);
    ws.rows(at.loadHeader() - 1, at.load(at.n) + 1).setHidden(true);
    ws.range("A1").select();
}
