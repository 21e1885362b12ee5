// The sheet "Sediment": sheet-and-rill erosion by the Universal Soil Loss Equation for cropland,
// pastureland, forest and the user-defined land use of every subwatershed, the share delivered to
// the stream, the delivered sediment before and after BMPs, and the nitrogen, phosphorus, BOD and
// E. coli that travel with it.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Where the tables sit for n subwatersheds. Every table has its labels in column B; the data row
// of subwatershed i is the given row + i. The Total Load sheet reads the erosion, sediment-nutrient
// and land-use nutrient tables at these rows.
struct SedimentSheetRows {
    int n;
    constexpr explicit SedimentSheetRows(int subwatersheds) : n(subwatersheds) {}

    // 1. USLE factors, DR (W) and area (X): two header rows 7 and 8, data 8+i.
    constexpr int usle() const { return 8; }
    // BMP efficiency (hidden): header rows N+11 and N+12, data N+12+i.
    constexpr int efficiency() const { return n + 12; }
    // 2. Erosion and sediment delivery: header row 2N+15.
    constexpr int erosion() const { return 2 * n + 15; }
    // Erosion and sediment after BMP (hidden): header row 3N+18.
    constexpr int afterBmp() const { return 3 * n + 18; }
    // 3. Sediment-bound nutrients: header row 4N+21.
    constexpr int nutrients() const { return 4 * n + 21; }
    // Nutrients by land use (hidden): header rows 5N+24 and 5N+25, data 5N+25+i.
    constexpr int landUse() const { return 5 * n + 25; }
};

// Fills "Sediment" for opt.SubwatershedCount subwatersheds. Its formulas read "Input" (the USLE
// factors of table 4, the F10 switch, the soil concentrations of table 5), "Land&Rain" (the land
// use areas of table 1 and the name WSAreaSum) and "BMPs" (the efficiencies of tables 1..4). The
// land-use initials of the BMP efficiency table come from opt.LandUseNames. Leaves A1 selected.
void SedimentPage(wb::Workbook& wb, GenerationOptions& opt);
