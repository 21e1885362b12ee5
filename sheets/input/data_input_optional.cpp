// The optional section of the Input sheet, between "Optional Data Input:" and "Input Ends Here.":
// soil groups with their option buttons (table 5), curve numbers (6, 6a), runoff and groundwater
// concentrations (7, 7a), the urban land-use mix (8), irrigation (9) and the pastureland runoff
// concentrations (10).
#include <string>
#include <vector>

#include "sheets/input/data_input_parts.h"
#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace data_input {

namespace xl = wb::xl;

void drawOptionalMarker(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int row = InputSheetRows(opt.SubwatershedCount).optionalMarker();
    wb::Range marker = ws.cells(row, 2);
    marker.setValue("Optional Data Input:");
    ws.range("AA20").setText(marker.address());
    marker.font().setColor(kBlue).setBold(true).setSize(10);
}

void drawSoilGroupTable(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int n = opt.SubwatershedCount;
    const int header = InputSheetRows(n).soilGroupHeader();
    const int first = header + 1, last = header + n;

    wb::CreateTableVesk2(ws,
                         "5. Select average soil hydrologic group (SHG), SHG A = highest "
                         "infiltration and SHG D = lowest infiltration",
                         {"Watershed", "SHG A", "SHG B", "SHG C", "SHG D", "SHG Selected",
                          "Soil N conc.%", "Soil P conc.%", "Soil BOD conc.%",
                          "Soil E. coli conc. (#/100mg)"},
                         header, 2, n + 1, 9, false);
    ws.rows(header).setHorizontalAlignment(xl::Center).setVerticalAlignment(xl::Top).setWrapText(true);
    ws.range(first, 11, last, 11).clearContents();
    ws.range(first, 3, last, 11).setHorizontalAlignment(xl::Right);

    // Four option buttons per subwatershed, one on the right half of each of C..F, numbered
    // 1, 2, 3, ... without gaps: the run groups them four by four by these names. Each writes
    // TRUE or FALSE into the cell under it, in white so that only the button shows.
    std::vector<wb::OleObject> buttons;
    buttons.reserve(4 * n);
    for (int i = 1; i <= n; ++i)
        for (int col = 3; col <= 6; ++col) {
            wb::Range cell = ws.cells(header + i, col);
            const double side = cell.height();
            wb::OleObject button = wb::addOleObject(ws, wb::kOptionButtonProgId,
                                                    cell.left() + cell.width() / 2, cell.top(),
                                                    side, side);
            button.setLinkedCell(cell.address());
            button.setBackColor(kRed);
            button.setName("OptionButton" + std::to_string(buttons.size() + 1));
            cell.font().setColorIndex(kWhiteIndex);
            buttons.push_back(button);
        }

    // The buttons of a row exclude one another; "SHG B" starts chosen.
    for (int i = 1; i <= n; ++i) {
        const std::string group = std::to_string(i);
        for (int j = 0; j < 4; ++j) {
            wb::OleObject& button = buttons[4 * (i - 1) + j];
            button.setGroupName(group);
            button.setValue("1");
        }
        ws.cells(header + i, 7).setFormulaR1C1(
            "=IF(RC[-4]=TRUE,\"A\",IF(RC[-3]=TRUE,\"B\",IF(RC[-2]=TRUE,\"C\",IF(RC[-1]=TRUE,"
            "\"D\",\"No Match\"))))");
        buttons[4 * (i - 1) + 1].setValue(true);
    }

    ws.range(first, 3, last, 11).setNumberFormat("0.000");
    for (int r = first; r <= last; ++r) {
        ws.cells(r, 8).setValue(0.08).font().setColorIndex(kRedIndex);
        ws.cells(r, 9).setValue(0.0308).font().setColorIndex(kRedIndex);
        // Soil BOD is twice the soil N, at most 1 %.
        ws.cells(r, 10).setFormulaR1C1("=IF((RC[-2]*2)>1,1,RC[-2]*2)").font().setColorIndex(kRedIndex);
        ws.cells(r, 11).setValue(0).font().setColorIndex(kRedIndex);
    }

    ws.cells(header, 3).addComment(
        "Soil Hydrologic Group A: Low runoff potential and high infiltration rates even when "
        "thoroughly wetted. Chiefly deep, well to excessively drained sands or gravels. High rate "
        "of water transmission (<0.75 cm/hr).");
    ws.cells(header, 4).addComment(
        "Soil Hydrologic Group B: Moderate infiltration rates when thoroughly wetted. Chiefly "
        "moderately deep to deep, moderately well to well drained soils with moderately fine to "
        "moderately coarse textures.  Moderate rate of water transmission (0.4-0.75 cm/hr)");
    ws.cells(header, 5).addComment(
        "Soil Hydrologic Group C: Low infiltration rates when thoroughly wetted. Chiefly soils "
        "with a layer that impedes downward movement of water, or soils with moderately fine to "
        "fine texture.  Low rate of water transmission (0.15 -0.40 cm/hr).");
    ws.cells(header, 6).addComment(
        "Soil Hydrologic Group D: High runoff potential. Very low infiltration rates when "
        "thoroughly wetted. Chiefly clay soils with a high swelling potential, soils with a "
        "permanent high water table, soils with a claypan or clay layer at or near the surface, "
        "or shallow soils over nearly impervious material. Very low rate of water transmission "
        "(0-0.15 cm/hr)");
    ws.cells(header, 8).addComment(
        "Go to the \"KAVRO\" menu for soil N concentration map. Value range: 0-100.");
    ws.cells(header, 9).addComment(
        "Go to the \"KAVRO\" menu for soil P2O5 concentration map. P = 0.44 * P2O5. Value range: "
        "0-100.");
    ws.cells(header, 10).addComment("Estimated national average loading ratio BOD/N = 2.");

    ws.range(header - 1, 2, header - 1, 11).interior().setColorIndex(kTitleBand);
}

namespace {

struct CurveNumbers {
    const char* name;
    int a, b, c, d;
};

// Writes the body rows of a curve-number table whose label column is `col`.
void writeCurveNumbers(wb::Worksheet& ws, int header, int col, const std::vector<CurveNumbers>& body) {
    for (size_t k = 0; k < body.size(); ++k) {
        const int r = header + 1 + static_cast<int>(k);
        ws.cells(r, col).setValue(body[k].name);
        ws.cells(r, col + 1).setValue(body[k].a);
        ws.cells(r, col + 2).setValue(body[k].b);
        ws.cells(r, col + 3).setValue(body[k].c);
        ws.cells(r, col + 4).setValue(body[k].d);
    }
}

}  // namespace

void drawCurveNumberTables(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int header = InputSheetRows(opt.SubwatershedCount).curveNumberHeader();

    // Table 6, by land use; its title band covers B..E.
    wb::CreateTableVesk2(ws, "6. Reference runoff curve number (may be modified)",
                         {"SHG", "A", "B", "C", "D"}, header, 2, 6, 4, false);
    ws.range(header - 1, 6, header - 1, 9).interior().setColorIndex(kWhiteIndex);
    writeCurveNumbers(ws, header, 2,
                      {{"Urban", 83, 89, 92, 93},
                       {"Cropland", 67, 78, 85, 89},
                       {"Pastureland", 49, 69, 79, 84},
                       {"Forest", 39, 60, 73, 79},
                       {"User Defined", 50, 70, 80, 85}});
    ws.range(header + 5, 2, header + 5, 6).font().setColor(kRed);

    // Table 6a beside it, by urban land use; title band H..K.
    wb::CreateTableVesk2(ws, "6a. Detailed urban reference runoff curve number (may be modified)",
                         {"Urban\\SHG", "A", "B", "C", "D"}, header, 8, 10, 4, false);
    ws.range(header - 1, 12, header - 1, 15).interior().setColorIndex(kWhiteIndex);
    writeCurveNumbers(ws, header, 8,
                      {{"Commercial", 89, 92, 94, 95},
                       {"Industrial", 81, 88, 91, 93},
                       {"Institutional", 81, 88, 91, 93},
                       {"Transportation", 98, 98, 98, 98},
                       {"Multi-Family", 77, 85, 90, 92},
                       {"Single-Family", 57, 72, 81, 86},
                       {"Urban-Cultivated", 67, 78, 85, 89},
                       {"Vacant-Developed", 77, 85, 90, 92},
                       {"Open Space", 49, 69, 79, 84}});
}

void drawConcentrationTables(wb::Worksheet& ws, const GenerationOptions& opt) {
    const InputSheetRows rows(opt.SubwatershedCount);

    // Table 7: runoff concentrations by land use and livestock density. The pastureland row
    // stays empty: its values are those of table 10.
    const int header = rows.runoffConcHeader();
    wb::CreateTableDunlo(ws, "7. Nutrient concentration in runoff (mg/l) and E. coli (MPN/100ml)",
                         {"", "1. L-Cropland", "1a. w/ manure", "2. M-Cropland", "2a. w/ manure",
                          "3. H-Cropland", "3a. w/ manure",
                          "4. Pastureland (see Table 10 for default values with manure)",
                          "5. Forest", "6. User Defined"},
                         {"Land use", "N", "P", "BOD", "E. coli"}, header, 2, 10, 5);
    const char* runoff[9][4] = {
        {"1.9", "0.3", "4", "0"},   {"8.1", "2", "12.3", "0"}, {"2.9", "0.4", "6.1", "0"},
        {"12.2", "3", "18.5", "0"}, {"4.4", "0.5", "9.2", "0"}, {"18.3", "4", "24.6", "0"},
        {"", "", "", ""},           {"0.2", "0.1", "0.5", "0"}, {"0", "0", "0", "0"}};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 9; ++k) ws.cells(header + 1 + k, 3 + c).setValue(runoff[k][c]);

    ws.range(header + 9, 2, header + 9, 6).font().setColor(kRed);
    for (int k : {1, 3, 5, 7, 8, 9}) ws.range(header + k, 2, header + k, 5).font().setBold(true);
    ws.cells(header + 1, 2).addComment(
        "1. L-Cropland: The study area has low livestock density (<=1500 lb/ac live animal weight)");
    ws.cells(header + 3, 2).addComment(
        "2. M-Cropland: The study area has medium livestock density (>1500 and <2500 lb/ac live "
        "animal weight)");
    ws.cells(header + 5, 2).addComment(
        "3. H-Cropland: The study area has high livestock density (>=2500 lb/ac live animal "
        "weight)");
    const char* runoffNotes[6] = {
        "Area with low livestock density: N, P, and BOD conc. in cropland runoff (mg/l)",
        "Manured L-cropland: N, P, and BOD conc. in manured cropland runoff (mg/l)",
        "Area with medium livestock density: N, P, and BOD conc. in cropland runoff (mg/l)",
        "Manured M-cropland: N, P, and BOD conc. in manured cropland runoff (mg/l)",
        "Area with high livestock density: N, P, and BOD conc. in cropland runoff (mg/l)",
        "Manured H-cropland: N, P, and BOD conc. in manured cropland runoff (mg/l)"};
    for (int k = 0; k < 6; ++k) ws.cells(header + 1 + k, 3).addComment(runoffNotes[k]);
    ws.range(header - 1, 2, header - 1, 6).interior().setColorIndex(kTitleBand);
    ws.range(header + 7, 2, header + 7, 6).interior().setColorIndex(36);

    // Table 7a beside it: shallow groundwater; title band H..M.
    const int gwHeader = rows.groundwaterConcHeader();
    wb::CreateTableVesk2(ws,
                         "7a. Nutrient concentration in shallow groundwater (mg/l) and E. coli "
                         "(MPN/100ml)(may be modified)",
                         {"Landuse", "N", "P", "BOD", "E. coli"}, gwHeader, 8, 7, 4, false);
    ws.range(gwHeader - 1, 14, gwHeader - 1, 16).interior().setColorIndex(kWhiteIndex);
    struct Groundwater {
        const char* name;
        double n, p;
    };
    const Groundwater groundwater[6] = {{"Urban", 1.5, 0.063},  {"Cropland", 1.44, 0.063},
                                        {"Pastureland", 1.44, 0.063}, {"Forest", 0.11, 0.009},
                                        {"Feedlot", 6, 0.07},   {"User-Defined", 0, 0}};
    for (int k = 0; k < 6; ++k) {
        const int r = gwHeader + 1 + k;
        ws.cells(r, 8).setValue(groundwater[k].name);
        ws.cells(r, 9).setValue(groundwater[k].n);
        ws.cells(r, 10).setValue(groundwater[k].p);
        ws.cells(r, 11).setValue(0);
        ws.cells(r, 12).setValue(0);
    }
    ws.range(gwHeader + 6, 8, gwHeader + 6, 12).font().setColor(kRed);
    ws.range(header - 1, 2, header - 1, 6).interior().setColorIndex(kTitleBand);
}

void drawUrbanMixTable(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int n = opt.SubwatershedCount;
    const int header = InputSheetRows(n).urbanMixHeader();
    const int first = header + 1, last = header + n;

    wb::CreateTableDunlo(ws, "8. Input or modify urban land use distribution", subwatershedLabels(n),
                         {"Watershed", "Urban Area (ac.)", "Commercial %", "Industrial %",
                          "Institutional %", "Transportation %", "Multi-Family %",
                          "Single-Family %", "Urban-Cultivated %", "Vacant (developed) %",
                          "Open Space %", "Total % Area"},
                         header, 2, n + 1, 12);

    // Default mix of D..L (commercial .. open space), 100 % in all.
    const int mix[9] = {15, 10, 10, 10, 10, 30, 5, 5, 5};
    std::string total = "=";
    for (int k = 9; k >= 1; --k) total += "RC[-" + std::to_string(k) + "]" + (k > 1 ? "+" : "");

    ws.range(first, 3, last, 14).font().setColorIndex(kRedIndex);
    for (int i = 1; i <= n; ++i) {
        const int r = header + i;
        // The urban area of table 1, C(17 + i).
        ws.cells(r, 3).setFormulaR1C1("=R[" + std::to_string(-(5 * n + 45)) + "]C");
        for (int k = 0; k < 9; ++k) ws.cells(r, 4 + k).setValue(mix[k]);
        ws.cells(r, 13).setFormulaR1C1(total);
    }
    ws.range(first, 3, last, 3).font().setColorIndex(xl::Automatic);

    ws.range(header, 2, header, 13)
        .setRowHeight(24)
        .setVerticalAlignment(xl::Top)
        .setHorizontalAlignment(xl::Center)
        .setWrapText(true);
    ws.cells(header, 3).addComment("The % of urban area installed with stormwater sewers");
    ws.cells(header, 4).addComment(
        "This and the next 8 columns contain the % area of the land uses within urban");
    ws.cells(header, 13).addComment("The total % area must be equal to 100");
    ws.range(header - 1, 2, header - 1, 13).interior().setColorIndex(kTitleBand);
}

void drawIrrigationTable(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int n = opt.SubwatershedCount;
    const int header = InputSheetRows(n).irrigationHeader();
    const int first = header + 1, last = header + n;

    wb::CreateTableDunlo(ws, "9. Input irrigation area (ac) and irrigation amount (in)",
                         subwatershedLabels(n),
                         {"Watershed", "Total Cropland (ac)", "Cropland: Acres Irrigated",
                          "Water Depth (in) per Irrigation - Before BMP",
                          "Water Depth (in) per Irrigation - After BMP",
                          "Irrigation Frequency (#/Year)"},
                         header, 2, n + 1, 6);
    ws.range(header, 2, header, 8)
        .setHorizontalAlignment(xl::Center)
        .setVerticalAlignment(xl::Bottom)
        .setWrapText(true);

    ws.range(first, 4, last, 7).font().setColorIndex(kRedIndex);
    for (int i = 1; i <= n; ++i) {
        const int r = header + i;
        // The cropland area of table 1, D(17 + i).
        ws.cells(r, 3).setFormulaR1C1("=R[" + std::to_string(-(6 * n + 49)) + "]C[1]");
        ws.range(r, 4, r, 7).setValue(0);
    }
    ws.range(first, 4, last, 7).interior().setColorIndex(kEntryFill);
    ws.range(header - 1, 2, header - 1, 7).interior().setColorIndex(kTitleBand);
}

void drawPastureConcTable(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int header = InputSheetRows(opt.SubwatershedCount).pastureConcHeader();

    wb::CreateTableDunlo(ws,
                         "10. Pastureland Nutrient concentration in runoff (mg/l) and E. coli "
                         "(MPN/100ml)",
                         {"", "1. L-Pastureland", "1a. w/ manure", "2. M-Pastureland",
                          "2a. w/ manure", "3. H-Pastureland", "3a. w/ manure"},
                         {"Land use", "N", "P", "BOD", "E. coli"}, header, 2, 7, 5);
    const double pasture[4] = {4, 0.3, 13, 0};  // N, P, BOD, E. coli
    for (int c = 0; c < 4; ++c)
        for (int k = 1; k <= 6; ++k) ws.cells(header + k, 3 + c).setValue(pasture[c]);
    ws.range(header + 6, 2, header + 6, 6).font().setColor(kBlack);

    for (int k : {1, 3, 5}) ws.range(header + k, 2, header + k, 5).font().setBold(true);
    ws.cells(header + 1, 2).addComment(
        "1. L-Pastureland: The study area has low livestock density (<=1500 lb/ac live animal "
        "weight)");
    ws.cells(header + 3, 2).addComment(
        "2. M-Pastureland: The study area has medium livestock density (>1500 and <2500 lb/ac live "
        "animal weight)");
    ws.cells(header + 5, 2).addComment(
        "3. H-Pastureland: The study area has high livestock density (>=2500 lb/ac live animal "
        "weight)");
    const char* notes[6] = {
        "Area with low livestock density: N, P, and BOD conc. in pastureland runoff (mg/l)",
        "Manured L-cropland: N, P, and BOD conc. in manured pastureland runoff (mg/l)",
        "Area with medium livestock density: N, P, and BOD conc. in pastureland runoff (mg/l)",
        "Manured M-cropland: N, P, and BOD conc. in manured pastureland runoff (mg/l)",
        "Area with high livestock density: N, P, and BOD conc. in pastureland runoff (mg/l)",
        "Manured H-cropland: N, P, and BOD conc. in manured pastureland runoff (mg/l)"};
    for (int k = 0; k < 6; ++k) ws.cells(header + 1 + k, 3).addComment(notes[k]);
    ws.range(header - 1, 2, header - 1, 6).interior().setColorIndex(kTitleBand);
}

void drawEndMarker(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int row = InputSheetRows(opt.SubwatershedCount).endMarker();
    ws.cells(row, 2).setValue("Input Ends Here.").font().setColor(kBlue).setBold(true);
    ws.range("AA21").setText(ws.cells(row, 15).address());
}

}  // namespace data_input
