// The "Input" sheet, where the planner types the watershed: land use and rainfall, animals,
// septic systems, soil-loss factors and, in an optional section, soil groups, curve numbers,
// concentrations, the urban mix and irrigation.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Where the tables of the Input sheet sit for n subwatersheds. Every other sheet reads the Input
// sheet at these rows, so they never change. Each table's title is one row above its header row;
// subwatershed i of a subwatershed table is in the header row + i.
struct InputSheetRows {
    int n;
    constexpr explicit InputSheetRows(int subwatersheds) : n(subwatersheds) {}

    static constexpr int rainFactors() { return 16; }   // K16:M16, labelled in K15
    static constexpr int landUseHeader() { return 17; }  // table 1, B..M
    constexpr int animalHeader() const { return n + 21; }          // table 2, B..L
    constexpr int animalTotals() const { return 2 * n + 22; }
    constexpr int septicHeader() const { return 2 * n + 26; }      // table 3, B..G
    constexpr int soilLossGroupHeader() const { return 3 * n + 30; }  // table 4, B..V
    constexpr int soilLossFactorHeader() const { return 3 * n + 31; }  // body below this row
    constexpr int optionalMarker() const { return 4 * n + 34; }    // "Optional Data Input:" in B
    constexpr int soilGroupHeader() const { return 4 * n + 36; }   // table 5, B..K
    constexpr int curveNumberHeader() const { return 5 * n + 40; }  // tables 6 (B..F), 6a (H..L)
    constexpr int runoffConcHeader() const { return 5 * n + 49; }  // table 7, B..F
    constexpr int groundwaterConcHeader() const { return 5 * n + 52; }  // table 7a, H..L
    constexpr int urbanMixHeader() const { return 5 * n + 62; }    // table 8, B..M
    constexpr int irrigationHeader() const { return 6 * n + 66; }  // table 9, B..G
    constexpr int pastureConcHeader() const { return 7 * n + 70; }  // table 10, B..F
    constexpr int endMarker() const { return 7 * n + 78; }         // "Input Ends Here." in B
};

// Draws the whole Input sheet in one pass, top to bottom. Needs the sheets "Input",
// "General Input Data", "WeatherData" and "CountyData", the paved-percentage items in Input!AA1:AA4
// and opt.LandUseNames as the information sheet publishes them.
void DataInput(wb::Workbook& wb, GenerationOptions& opt);
