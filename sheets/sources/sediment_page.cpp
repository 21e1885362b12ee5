// The Sediment sheet builder. All six tables are CreateTableVesk frames with their labels in
// column B; the land uses are always cropland, pastureland, forest and user defined, in that
// order (u = 0..3 below).
//
//   table                                   header row(s)     data row of i   columns
//   1. USLE factors, DR, area               7, 8              8+i             B..X
//   BMP efficiency (hidden)                 N+11, N+12        N+12+i          B..V
//   2. erosion and sediment delivery        2N+15             2N+15+i         B..R (pairs)
//   erosion after BMP (hidden)              3N+18             3N+18+i         B..N (pairs)
//   3./4. sediment nutrients, reductions    4N+21             4N+21+i         B..Z (pairs)
//   nutrients by land use (hidden)          5N+24, 5N+25      5N+25+i         B..V
//
// Every formula reaches its cells by offsets computed from these positions.
#include "sheets/sources/sediment_page.h"

#include <array>
#include <string>
#include <vector>

#include "sheets/common/sheet_format.h"
#include "sheets/summary/bmp_page.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace {

namespace xl = wb::xl;

using sheets::kBlack;
using sheets::RC;
using sheets::kBlue;
using sheets::solidFill;

constexpr int colB = 2, colC = 3, colE = 5, colK = 11, colM = 13, colO = 15, colQ = 17, colS = 19,
              colV = 22, colW = 23, colX = 24, colZ = 26;

constexpr std::array<const char*, 4> kLandUses = {"Cropland", "Pastureland", "Forest",
                                                  "User Defined"};
constexpr std::array<const char*, 5> kUsleFactors = {"R", "K", "LS", "C", "P"};

// Input sheet: table 4 (USLE factors, data row 3N+31+i, land use u in columns 3+5u .. 7+5u) and
// table 5 (soil N, P, BOD %, E. coli per 100 mg in H..K of row 4N+36+i).
int inputUsleRow(int n, int i) { return 3 * n + 31 + i; }
int inputSoilRow(int n, int i) { return 4 * n + 36 + i; }
constexpr int kInputSoilN = 8;  // H
// Land&Rain table 1: land use u's area in column 5+2u (E, G, I, K), the total in O, row 7+i.
int landRainRow(int i) { return 7 + i; }
constexpr int kLandRainTotal = 15;

// BMPs tables 1..4, one per land use: the efficiency of each pollutant group in its own column.
// Groups here: sediment, N, P, BOD, E. coli.
constexpr std::array<const char*, 5> kGroups = {"Sediment", "N", "P", "BOD", "E. coli"};
constexpr std::array<int, 5> kBmpColumn = {6, 3, 4, 5, 7};  // F, C, D, E, G

std::vector<std::string> headersWithBlanks(const char* first, int count) {
    std::vector<std::string> h(static_cast<size_t>(count));
    h[0] = first;
    return h;
}

// The row below a two-row header: the group names merged over their columns in the first row,
// the sub-headers one by one in the second.
void groupHeaders(wb::Worksheet& ws, int row, int firstCol, const std::string& name,
                  const std::vector<std::string>& subHeaders) {
    const int width = static_cast<int>(subHeaders.size());
    wb::Range group = ws.range(row, firstCol, row, firstCol + width - 1);
    group.clearContents();
    group.setMergeCells(true);
    ws.cells(row, firstCol).setValue(name);
    for (int k = 0; k < width; ++k)
        ws.cells(row + 1, firstCol + k).setValue(subHeaders[static_cast<size_t>(k)]);
}

void sheetSettings(wb::Worksheet& ws) {
    solidFill(ws.range("A1:AY100"), 2);
    ws.range("B1").setValue("Sediment Load");
    ws.range("B1").font().setBold(true).setColor(kBlue);
    ws.range("B2").setValue(
        "Sediment load is calculated based on USLE equation and delivery ratio. Users need to "
        "modify the default USLE parameters.");
    ws.range("B3").setValue(
        "Sediment delivery ratio (DR) is calculated using:  DR=0.42^A-0.125 if A<200 acres, and "
        "DR=0.417662A^-0.134958 - 0.127097 if A>=200 acres.");
    ws.range("B4").setValue(
        "Where A is the watershed area (mi²).  KAVRO calcultes sheet and rill erosion only "
        "(using USLE) and does not account for gully erosion and stream bank erosion.");
    wb::Range block = ws.range("B2:W4");
    solidFill(block, 15);
    block.font().setColor(kBlue);
    for (int side : {xl::EdgeLeft, xl::EdgeTop, xl::EdgeBottom, xl::EdgeRight})
        block.borders(side)
            .setLineStyle(xl::Continuous)
            .setWeight(xl::Thin)
            .setColorIndex(xl::Automatic);
    for (int side : {xl::InsideVertical, xl::InsideHorizontal})
        block.borders(side).setLineStyle(xl::None);

    ws.columns("A").setColumnWidth(5);
    ws.columns("B").setColumnWidth(10);
    ws.columns("C:AC").setColumnWidth(5);
}

// The sediment delivery ratio from the area in the next column: 0 for no area, the small-area
// curve up to 200 acres and the large-area curve above; A/640 is the area in square miles.
const char* const kDeliveryRatio =
    "=IF(RC[1]=0,0,if(RC[1]>200,(0.417662*POWER(RC[1]/640,-0.134958)-0.127097),"
    "0.42*POWER(RC[1]/640,-0.125)))";

void usleTable(wb::Worksheet& ws, const SedimentSheetRows& at) {
    const int n = at.n, top = 7;
    std::vector<std::string> headers{"Watershed"};
    for (int u = 0; u < 2; ++u)
        headers.insert(headers.end(), kUsleFactors.begin(), kUsleFactors.end());
    headers.emplace_back();
    wb::CreateTableVesk(ws, "1. Input USLE parameters", headers, top, colB, n + 1, 22, false, true);
    ws.rows(top + 1).insert();  // the factor names' row, formatted as the header row

    const std::vector<std::string> factors(kUsleFactors.begin(), kUsleFactors.end());
    for (int u = 0; u < 4; ++u)
        groupHeaders(ws, top, 3 + 5 * u, kLandUses[static_cast<size_t>(u)], factors);
    ws.cells(top + 1, colW).setValue("DR");

    ws.range(at.usle() + 1, colC, at.usle() + n, colX).font().setColor(kBlack);
    for (int i = 1; i <= n; ++i) {
        const int row = at.usle() + i;
        ws.range(row, colC, row, colV)
            .setFormulaR1C1("='Input'!" + RC(inputUsleRow(n, i) - row, 0));
        ws.cells(row, colW).setFormulaR1C1(kDeliveryRatio);
        ws.cells(row, colW).font().setColorIndex(xl::Automatic);
    }

    // X: the area the delivery ratio is computed from, the subwatershed's own or, when Input F10
    // says so, the whole watershed's.
    ws.cells(top, colX).setFormulaR1C1("=IF('Input'!R10C6=TRUE,\"Total WS \",\"Individual Sub \")");
    ws.cells(top + 1, colX).setValue("Area (ac)");
    ws.range(top, colX, at.usle() + n, colX).font().setColor(kBlack);
    for (int i = 1; i <= n; ++i) {
        const int row = at.usle() + i;
        ws.cells(row, colX).setFormulaR1C1("=IF('Input'!R10C6=TRUE, WSAreaSum, 'Land&Rain'!" +
                                           RC(landRainRow(i) - row, kLandRainTotal - colX) + ")");
    }
    ws.range(top, colW, at.usle() + n, colW).copy();
    ws.cells(top, colX).pasteSpecialFormats();
    ws.columns("X").setColumnWidth(10);
}

// The BMPs efficiencies of the four land uses, regrouped by pollutant; "ND" counts as 0.
void efficiencyTable(wb::Worksheet& ws, const SedimentSheetRows& at, const GenerationOptions& opt) {
    const int n = at.n, top = at.efficiency() - 1;
    wb::CreateTableVesk(ws, "BMP and efficiency, C=Cropland, P=Pastureland,F=Forest,U=User Defined",
                        headersWithBlanks("BMP on", 12), top, colB, n + 1, 22, false, true);
    ws.rows(top + 1).insert();
    ws.rows(top + 1).setWrapText(true);

    // The land-use names as the options form captions them (LandUseNames 2..5).
    std::vector<std::string> initials;
    for (int u = 0; u < 4; ++u)
        initials.push_back(opt.LandUseNames[static_cast<size_t>(u + 2)].substr(0, 1));
    for (int g = 0; g < 5; ++g) {
        const int first = 3 + 4 * g;
        groupHeaders(ws, top, first, kGroups[static_cast<size_t>(g)], initials);
        for (int u = 0; u < 4; ++u)
            ws.cells(top + 1, first + u).addComment(opt.LandUseNames[static_cast<size_t>(u + 2)]);
    }

    const BmpSheetRows bmps(n);
    for (int i = 1; i <= n; ++i) {
        const int row = at.efficiency() + i;
        for (int g = 0; g < 5; ++g)
            for (int u = 0; u < 4; ++u) {
                const int col = 3 + 4 * g + u;
                const std::string cell = "'BMPs'!" + RC(bmps.row(u + 1, i) - row,
                                                        kBmpColumn[static_cast<size_t>(g)] - col);
                ws.cells(row, col).setFormulaR1C1("=If(" + cell + "=\"ND\",0," + cell + ")");
            }
    }
    wb::Range w = ws.range(top, colW, at.efficiency() + n, colW);
    w.clear();
    solidFill(w, 2);
    ws.rows(top - 1, at.efficiency() + n).setHidden(true);
}

void erosionTable(wb::Worksheet& ws, const SedimentSheetRows& at) {
    const int n = at.n, top = at.erosion();
    wb::CreateTableVesk(ws, "2. Erosion and sediment delivery (ton/year)",
                        {"Watershed", "Cropland", "Pastureland", "Forest", "User Defined",
                         "Erosion", "Sediment", "Sed. Reduction", "%Reduction"},
                        top, colB, n + 1, 17, true, true);
    ws.range(top + 1, colC, top + n, colQ + 1).setNumberFormat("0.000");

    for (int i = 1; i <= n; ++i) {
        const int row = top + i, usle = at.usle() + i;
        // Land use u: R x K x LS x C x P of its USLE columns times its Land&Rain area.
        for (int u = 0; u < 4; ++u) {
            const int col = colC + 2 * u;
            std::string f = "=";
            for (int k = 0; k < 5; ++k) f += RC(usle - row, 3 + 5 * u + k - col) + "*";
            f += "'Land&Rain'!" + RC(landRainRow(i) - row, colE + 2 * u - col);
            ws.cells(row, col).setFormulaR1C1(f);
        }
        ws.cells(row, colK).setFormulaR1C1("=Sum(RC[-8]:RC[-2])");
        ws.cells(row, colM).setFormulaR1C1("=(RC[-2]*" + RC(usle - row, colW - colM) + ")");
        ws.cells(row, colO).setFormulaR1C1("=(RC[-2]-" + RC(at.afterBmp() + i - row, colM - colO) +
                                           ")");
        ws.cells(row, colQ).setFormulaR1C1("=if(RC[-4]=0,0,(100*RC[-2]/RC[-4]))");
    }
    ws.cells(top, colK).addComment("Soil erosion calculated using the USLE equation");
    ws.cells(top, colM).addComment("Sediment load: = erosion * delivery ratio");
    ws.cells(top, colO).addComment("Sediment reduction by BMPs");
    ws.cells(top, colQ).addComment("The % sediment reduction relative to sediment load");
    ws.range(top + 1, colQ, top + n, colQ).setNumberFormat("0.0");
}

void afterBmpTable(wb::Worksheet& ws, const SedimentSheetRows& at) {
    const int n = at.n, top = at.afterBmp();
    wb::CreateTableVesk(
        ws, "Erosion and sediment delivery after BMP (ton/year)",
        {"Watershed", "Cropland", "Pastureland", "Forest", "User Defined", "Erosion", "Sediment"},
        top, colB, n + 1, 13, true, true);
    for (int i = 1; i <= n; ++i) {
        const int row = top + i;
        // Land use u: its erosion times one minus its sediment efficiency.
        for (int u = 0; u < 4; ++u) {
            const int col = colC + 2 * u;
            ws.cells(row, col).setFormulaR1C1("=" + RC(at.erosion() + i - row, 0) + "*(1-" +
                                              RC(at.efficiency() + i - row, colC + u - col) + ")");
        }
        ws.cells(row, colK).setFormulaR1C1("=Sum(RC[-8]:RC[-2])");
        ws.cells(row, colM).setFormulaR1C1("=(RC[-2]*" + RC(at.usle() + i - row, colW - colM) +
                                           ")");
    }
    ws.range(top + 1, colC, top + n, colM + 1).setNumberFormat("0.00");
    ws.rows(top - 1, top + n).setHidden(true);
}

void nutrientTable(wb::Worksheet& ws, const SedimentSheetRows& at) {
    const int n = at.n, top = at.nutrients();
    wb::CreateTableVesk(ws, "3. Nutrient load from sediment (ton/year) and E. coli (MPN/year)",
                        {"Watershed", "N conc.%", "P conc.%", "BOD conc.%",
                         "E. coli conc (#/100ml)", "N Load", "P Load", "BOD Load", "E. coli Load",
                         "N Reduction", "P Reduction", "BOD Reduction", "E. coli Reduction"},
                        top, colB, n + 1, 25, true, true);
    ws.cells(top, colC).addComment(
        "Go to the \"KAVRO\" menu for soil N concentration map. Value range: 0-100.");
    ws.cells(top, colE).addComment(
        "Go to the \"KAVRO\" menu for soil P2O5 concentration map. P = 0.44 * P2O5. Value range: "
        "0-100.");
    ws.cells(top, colE + 2).addComment("National average loading ratio BOD/N = 2.");
    ws.cells(top, colE + 4).addComment("E. coli (MPN/100mg)");
    for (int col : {colK, colM, colO}) ws.cells(top, col).addComment("Nutrient enrichment ratio=2");
    ws.range(top + 1, colC, top + n, colZ).setNumberFormat("0.000");

    for (int i = 1; i <= n; ++i) {
        const int row = top + i, erosion = at.erosion() + i;
        // C, E, G, I: the soil's N, P, BOD and E. coli, Input H..K.
        for (int q = 0; q < 4; ++q) {
            const int col = colC + 2 * q;
            ws.cells(row, col).setFormulaR1C1("='Input'!" +
                                              RC(inputSoilRow(n, i) - row, kInputSoilN + q - col));
            ws.cells(row, col).font().setColor(kBlack);
        }
        // K, M, O: twice the concentration times the sediment (N, P and BOD are enriched);
        // Q: E. coli per 100 mg times the sediment in mg.
        for (int q = 0; q < 3; ++q) {
            const int col = colK + 2 * q;
            ws.cells(row, col).setFormulaR1C1("=(2*RC[-8]*" + RC(erosion - row, colM - col) +
                                              "/100)");
        }
        ws.cells(row, colQ).setFormulaR1C1("=(RC[-8]*" + RC(erosion - row, colM - colQ) +
                                           "/100)*2000*453592");
        // S, U, W, Y: each load times the sediment's % reduction.
        for (int q = 0; q < 4; ++q) {
            const int col = colS + 2 * q;
            ws.cells(row, col).setFormulaR1C1("=(RC[-8]*" + RC(erosion - row, colQ - col) +
                                              "/100)");
        }
    }

    wb::Range title = ws.range(top - 1, colS, top - 1, colX);
    ws.cells(top - 1, colS)
        .setValue("4. Nutrient load reduction (ton/year) and E. coli (MPN/year)");
    title.font().setBold(true).setColorIndex(xl::Automatic);
    title.interior().setColorIndex(43);

    const int note = top + n + 1;
    ws.cells(note, colB).setValue("Go to the \"KAVRO\" menu for soil nutrient concentration map.");
    wb::Range band = ws.range(note, colB, note, colK + 1);
    band.font().setBold(true).setColorIndex(29);
    band.interior().setColorIndex(15);
}

// Sediment with BMP of each land use and the N, P, BOD and E. coli it carries.
void landUseTable(wb::Worksheet& ws, const SedimentSheetRows& at) {
    const int n = at.n, top = at.landUse() - 1;
    wb::CreateTableVesk(
        ws, "Sediment and sediment nutrients by land uses with BMP (t/y) and E. coli (MPN/yr)",
        headersWithBlanks("Watershed", 11), top, colB, n + 1, 21, false, true);
    ws.rows(top + 1).insert();
    ws.rows(top + 1).setWrapText(true);
    const std::vector<std::string> quantities{"N", "P", "BOD", "E. coli", "Sed."};
    for (int u = 0; u < 4; ++u)
        groupHeaders(ws, top, 3 + 5 * u, kLandUses[static_cast<size_t>(u)], quantities);

    for (int i = 1; i <= n; ++i) {
        const int row = at.landUse() + i, nutrients = at.nutrients() + i;
        for (int u = 0; u < 4; ++u) {
            const int sed = 7 + 5 * u;  // G, L, Q, V
            // N, P, BOD, E. coli: the land use's sediment times the soil concentration (C, E, G,
            // I of the sediment-nutrient table).
            for (int q = 0; q < 4; ++q) {
                const int col = sed - 4 + q;
                const std::string f =
                    "=" + RC(0, sed - col) + "*" + RC(nutrients - row, colC + 2 * q - col);
                ws.cells(row, col).setFormulaR1C1(f + (q < 3 ? "*2/100" : "/100*2000*453592"));
            }
            // Sed.: erosion x DR x (1 - sediment efficiency).
            ws.cells(row, sed).setFormulaR1C1("=" + RC(at.erosion() + i - row, colC + 2 * u - sed) +
                                              "*" + RC(at.usle() + i - row, colW - sed) + "*(1-" +
                                              RC(at.efficiency() + i - row, colC + u - sed) + ")");
        }
    }
    wb::Range w = ws.range(top, colW, at.landUse() + n + 1, colW);
    w.clear();
    solidFill(w, 2);
    ws.rows(top - 1, at.landUse() + n).setHidden(true);
}

}  // namespace

void SedimentPage(wb::Workbook& wb, GenerationOptions& opt) {
    const SedimentSheetRows at(opt.SubwatershedCount);
    wb::Worksheet& ws = wb.sheet("sediment");
    ws.select();
    sheetSettings(ws);
    usleTable(ws, at);
    efficiencyTable(ws, at, opt);
    erosionTable(ws, at);
    afterBmpTable(ws, at);
    nutrientTable(ws, at);
    landUseTable(ws, at);
    ws.range("A1").select();
}
