// LandusePage: the building order of "Land&Rain", its header block, the land-use and
// precipitation table with its correction factors, the soil-group and curve-number tables and
// the sheet-wide settings. The runoff tables are in landuse_page_runoff.cpp, the groundwater
// tables in landuse_page_groundwater.cpp.
#include "sheets/land/landuse_page.h"

#include <array>
#include <string>

#include "sheets/land/landuse_page_parts.h"
#include "workbook/tables.h"

using namespace wb;

namespace landuse {

namespace {

const char* const kShgComments[4] = {
    "Soil Hydrologic Group A: Low runoff potential and high infiltration rates even when "
    "thoroughly wetted. Chiefly deep, well to excessively drained sands or gravels. High rate of "
    "water transmission (<0.75 cm/hr).",
    "Soil Hydrologic Group B: Moderate infiltration rates when thoroughly wetted. Chiefly "
    "moderately deep to deep, moderately well to well drained soils with moderately fine to "
    "moderately coarse textures.  Moderate rate of water transmission (0.4-0.75 cm/hr)",
    "Soil Hydrologic Group C: Low infiltration rates when thoroughly wetted. Chiefly soils with a "
    "layer that impedes downward movement of water, or soils with moderately fine to fine "
    "texture.  Low rate of water transmission (0.15 -0.40 cm/hr).",
    "Soil Hydrologic Group D: High runoff potential. Very low infiltration rates when thoroughly "
    "wetted. Chiefly clay soils with a high swelling potential, soils with a permanent high water "
    "table, soils with a claypan or clay layer at or near the surface, or shallow soils over "
    "nearly impervious material. Very low rate of water transmission (0-0.15 cm/hr)",
};

// Impervious fractions of the nine urban types (Commercial .. Open Space), in column order.
constexpr std::array<const char*, 9> kImperviousFraction{"0.85", "0.7", "0.5",  "0.95", "0.75",
                                                         "0.3",  "0.01", "0.7", "0.01"};

std::string num(int n) { return std::to_string(n); }

void thinGrid(const Range& r) {
    for (int side : {xl::EdgeLeftOfCell, xl::EdgeRightOfCell, xl::EdgeTopOfCell,
                     xl::EdgeBottomOfCell})
        r.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(xl::Automatic);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Shared helpers

std::string curveNumberRunoff(const std::string& x, const std::string& f, const std::string& cn) {
    const std::string s = "(1000/" + cn + "-10)";
    const std::string base = x + "-" + f + "*" + s;
    return "IF((" + base + ")>0,POWER((" + base + "),2)/(" + base + "+" + s + "),0)";
}

void tallHeaderRow(Worksheet& ws, int row, double height) {
    Range r = ws.rows(row);
    r.setRowHeight(height);
    r.setVerticalAlignment(xl::Top);
    r.setHorizontalAlignment(xl::Center);
    r.setWrapText(true);
}

std::vector<std::string> landUseHeaders(const GenerationOptions& opt, const char* extra) {
    std::vector<std::string> h(opt.LandUseNames.begin(), opt.LandUseNames.begin() + 6);
    if (extra) h.emplace_back(extra);
    return h;
}

std::vector<std::string> urbanTypeHeaders() {
    return {"Watershed",      "Commercial",    "Industrial",       "Institutional",
            "Transportation", "Multi-Family",  "Single-Family",    "Urban-Cultivated",
            "Vacant (developed)", "Open Space"};
}

// ---------------------------------------------------------------------------------------------
// Header block, rows 1 to 4

void headerBlock(Worksheet& ws) {
    ws.range("B1").setValue("Land Use and Precipitation");
    ws.range("B1").font().setBold(true).setColor(0xFF0000);
    ws.range("B2").setValue("You entered");
    ws.range("D2").setFormulaR1C1("='General Input Data'!R6C3");
    ws.range("F2").setValue("subwatersheds in this project.");
    ws.range("B3").setValue(
        "Areas listed below are in acres, and average annual precipitation is in inches.");
    ws.range("B4").setValue("SHG: Soil Hydrologic Group");

    // A grey band with an outline and no inner lines. The cell-wide font colour comes before
    // the coloured words and D2's own font, which would otherwise be overwritten by it.
    Range block = ws.range("B2:L4");
    solidFill(block, 15);
    block.font().setColor(0xFF0000);
    for (int side : {xl::DiagonalDown, xl::DiagonalUp, xl::InsideVertical, xl::InsideHorizontal})
        block.borders(side).setLineStyle(xl::None);
    for (int side : {xl::EdgeLeft, xl::EdgeTop, xl::EdgeBottom, xl::EdgeRight})
        block.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(xl::Automatic);
    ws.range("B3").characters(27, 5).setColorIndex(53);  // "acres"
    ws.range("B3").characters(73, 6).setColorIndex(53);  // "inches"
    ws.range("D2").font().setBold(true).setColor(0x000000);
}

// ---------------------------------------------------------------------------------------------
// Table 1, the total area and "WSAreaSum"

void table1(Workbook& wb, Worksheet& ws, const GenerationOptions& opt, int N) {
    std::vector<std::string> headers = landUseHeaders(opt);
    for (const char* h : {"Feedlots", "Total", "Annual Rainfall", "Rain Days", "Avg. Rain/event"})
        headers.emplace_back(h);
    CreateTableVesk(ws, "1. Input watershed land use area (ac) and precipitation (in)", headers, 7,
                    2, N + 1, 21, true, true);
    ws.range(8, 3, N + 7, 18).font().setColor(0x000000);

    // Each pair p (C, E, ..., U) reads its column of the Input table ten rows further down:
    // C..H for the six areas, then J..M (Total, rainfall, rain days, rain per event), skipping
    // Input's paved-percentage column I. The offsets are written as plain integers.
    for (int p = 1; p <= 10; ++p) {
        const int col = 1 + 2 * p;
        const int inputCol = p <= 6 ? 2 + p : 3 + p;
        ws.range(8, col, N + 7, col).setFormulaR1C1("='Input'!R[10]C[" + num(inputCol - col) + "]");
    }
    ws.range(8, 21, N + 7, 22).setNumberFormat("0.000");

    ws.cells(N + 8, 15).setValue("Sum=");
    ws.cells(N + 8, 16).setFormulaR1C1("=SUM(R[" + num(-N) + "]C[-1]:R[-1]C[-1])");
    wb.addName("WSAreaSum", "='Land&Rain'!R" + num(N + 8) + "C16");
}

// ---------------------------------------------------------------------------------------------
// Correction factors (row 6) and the note in row 5

void correctionFactors(Worksheet& ws) {
    ws.rows(6).setRowHeight(18);
    struct Factor {
        const char* cells;
        const char* content;
        const char* comment;
    };
    const Factor factors[3] = {
        {"Q6:R6", "='Input'!R[10]C[-6]",
         "Rainfall Correction Factor:  The percentage of rainfall events that exceeds 5 mm per "
         "event."},
        {"S6:T6", "='Input'!R[10]C[-7]",
         "Rain Days Correction Factor:  The percentage of rain day (event) that generates runoff."},
        {"U6:V6", "0",
         "Rainfall Initial Abstraction Factor: A factor that determines initial rainfall retention "
         "on the land surface, ranges from 0 to 0.2."},
    };
    for (const Factor& f : factors) {
        Range pair = ws.range(f.cells);
        pair.setMergeCells(true);
        thinGrid(pair);
        solidFill(pair, 15);
        pair.font().setColor(0x000000);
        pair.setHorizontalAlignment(xl::Center);
        pair.setVerticalAlignment(xl::Bottom);
        pair.setWrapText(true);
        pair.setOrientation(0);
        pair.setIndentLevel(0);
        pair.setShrinkToFit(false);
        Range cell = pair.cells(1, 1);
        cell.setFormulaR1C1(f.content);
        cell.addComment(f.comment);
    }
    ws.range("U6").comment()->heightScale = 1.6;

    Range note = ws.range("Q5:W5");
    note.font().setColorIndex(29).setBold(true);
    solidFill(note, 15);
    ws.range("Q5").setValue("Go to \"KAVRO\" menu for correction factors.");
}

// ---------------------------------------------------------------------------------------------
// Table 1a, detailed urban land use area

void table1a(Worksheet& ws, int N) {
    CreateTableDunlo(ws, "1a. Detailed urban land use area (ac)", subwatershedLabels(N),
                     {"Watershed", "Commercial (ac.)", "Industrial (ac.)", "Institutional (ac.)",
                      "Transportation (ac.)", "Multi-Family (ac.)", "Single-Family (ac.)",
                      "Urban-Cultivated (ac.)", "Vacant (developed) (ac.)", "Open Space (ac.)",
                      "Total Area (ac.)", "Pervious Area (ac.)"},
                     7, 24, N + 1, 12);
    ws.range(8, 25, N + 7, 36).font().setColorIndex(0);

    // Urban type u (Y..AH): the urban area C times the type's share on Input (D..M of the
    // urban distribution table), in percent.
    for (int u = 1; u <= 10; ++u)
        ws.range(8, 24 + u, N + 7, 24 + u)
            .setFormulaR1C1("=" + RC(0, -u - 21) + "*'Input'!R[" + num(5 * N + 55) + "]C[-21]/100");

    // Pervious area: the total less the impervious part of the nine urban types.
    std::string impervious;
    for (size_t k = 0; k < kImperviousFraction.size(); ++k)
        impervious += (k ? "+" : "") + RC(0, static_cast<int>(k) - 10) + "*" + kImperviousFraction[k];
    ws.range(8, 35, N + 7, 35).setFormulaR1C1("=Rc[-1]-(" + impervious + ")");

    tallHeaderRow(ws, 7, 24);
}

// ---------------------------------------------------------------------------------------------
// Table 2, soil hydrologic group

void table2(Worksheet& ws, int N) {
    CreateTableVesk(ws, "2. Select average soil hydrologic group",
                    {"Watershed", "SHG A", "SHG B", "SHG C", "SHG D", "Selected"}, N + 11, 2, N + 1,
                    11, true, true);
    // No sum here: the frame's last pair (K:L, merged) is cleared whole.
    ws.range(N + 12, 11, 2 * N + 11, 12).clearContents();
    ws.range(N + 12, 11, 2 * N + 11, 11).setFormulaR1C1("='Input'!R[" + num(3 * N + 25) + "]C[-4]");
    for (int g = 0; g < 4; ++g) ws.cells(N + 11, 3 + 2 * g).addComment(kShgComments[g]);
}

// ---------------------------------------------------------------------------------------------
// Table 3, reference runoff curve numbers by land use and group

void table3(Worksheet& ws, int N) {
    CreateTableVesk(ws, "3. Reference runoff curve number (may be modified)",
                    {"SHG", "A", "B", "C", "D"}, N + 11, 14, 6, 9, true, true);
    const char* landUses[5] = {"Urban", "Cropland", "Pastureland", "Forest", "User Defined"};
    for (int k = 1; k <= 5; ++k) ws.cells(N + 11 + k, 14).setValue(landUses[k - 1]);
    // Group g (O, Q, S, U) reads Input column C + g of the same land-use row.
    for (int g = 0; g < 4; ++g) {
        const int col = 15 + 2 * g;
        ws.range(N + 12, col, N + 16, col)
            .setFormulaR1C1("='Input'!R[" + num(4 * N + 29) + "]C[" + num(-12 - g) + "]");
    }
    ws.range(N + 16, 15, N + 16, 22).font().setColor(0x0000FF);
}

// ---------------------------------------------------------------------------------------------
// Table 2.1a, urban curve numbers by the selected group

void table21a(Worksheet& ws, int N) {
    CreateTableDunlo(ws, "2.1a. Urban runoff curve number", subwatershedLabels(N),
                     urbanTypeHeaders(), N + 11, 24, N + 1, 10);
    ws.range(N + 12, 25, 2 * N + 11, 34).font().setColorIndex(0);
    // LOOKUP(K(N+11+i), Input!I(5N+40):L(5N+40), Input!I(5N+40+t):L(5N+40+t))
    for (int i = 1; i <= N; ++i)
        for (int t = 1; t <= 9; ++t) {
            const int letters = 4 * N - i + 29, values = 4 * N + t - i + 29;
            ws.cells(N + 11 + i, 24 + t)
                .setFormulaR1C1("=LOOKUP(" + RC(0, -t - 13) + ",'Input'!" + RC(letters, -t - 15) +
                                ":" + RC(letters, -t - 12) + ",'Input'!" + RC(values, -t - 15) +
                                ":" + RC(values, -t - 12) + ")");
        }
    tallHeaderRow(ws, N + 11, 24);
}

// ---------------------------------------------------------------------------------------------
// Table 2.1, curve numbers by land use from table 3

void table21(Worksheet& ws, const GenerationOptions& opt, int N) {
    CreateTableVesk(ws, "2.1. Curve Number (CN)", landUseHeaders(opt), 2 * N + 18, 2, N + 1, 11,
                    true, true);
    // LOOKUP(K(N+11+i), O(N+11):U(N+11), O(N+11+t):U(N+11+t))
    for (int i = 1; i <= N; ++i)
        for (int t = 1; t <= 5; ++t) {
            const int head = -(N + 7) - i;
            ws.cells(2 * N + 18 + i, 2 * t + 1)
                .setFormulaR1C1("=LOOKUP(" + RC(-(N + 7), 10 - 2 * t) + "," + RC(head, 14 - 2 * t) +
                                ":" + RC(head, 20 - 2 * t) + "," + RC(head + t, 14 - 2 * t) + ":" +
                                RC(head + t, 20 - 2 * t) + ")");
        }
}

// ---------------------------------------------------------------------------------------------
// Column widths

void columnWidths(Worksheet& ws) {
    ws.columns("A").setColumnWidth(5);
    ws.columns("B").setColumnWidth(10);
    ws.columns("C:V").setColumnWidth(5);
    ws.columns("M").setColumnWidth(2);
    ws.columns("N").setColumnWidth(10);
    ws.columns("AK:AR").setColumnWidth(5);
}

}  // namespace landuse

void LandusePage(Workbook& wb, GenerationOptions& opt) {
    using namespace landuse;
    const int N = opt.SubwatershedCount;
    Worksheet& ws = wb.sheet("Land&Rain");
    ws.select();

    solidFill(ws.range("A1:AY100"), 2);
    headerBlock(ws);
    table1(wb, ws, opt, N);
    correctionFactors(ws);
    table1a(ws, N);

    table2(ws, N);
    table3(ws, N);
    groundwater1(ws, N);
    table21a(ws, N);

    table21(ws, opt, N);
    groundwater2(ws, N);
    table22a(ws, N);
    table22(ws, opt, N);  // hides the rows of tables 2.1 to 2.3
    groundwater3(ws, N);
    table23(ws, N);
    table4(ws, opt, N);

    columnWidths(ws);
    wb.addName("RainDayCor", "='Land&Rain'!R6C19");
    groundwater4(ws, N);
    table4a(ws, N);
    table5(ws, N);
    table6(ws, opt, N);

    // The detailed urban tables 1a, 2.1a, 2.2a and 4a stay out of sight.
    ws.columns("X:AH").setHidden(true);
    ws.range("A1").select();
}
