// The sheet "Feedlots": the yearly N, P, BOD and E. coli loads that rain washes off the animal
// lots of every subwatershed, by the curve-number runoff of the lot and a concentration set by
// its animal-unit density, and the part that feedlot BMPs remove.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Where the tables sit for n subwatersheds; each title is one row above its header row. The
// Land&Rain sheet reads the pervious area (column J of table 1) and the Total Load sheet the
// loads and reductions of table 3 at these rows.
struct FeedlotsSheetRows {
    int n;
    constexpr explicit FeedlotsSheetRows(int subwatersheds) : n(subwatersheds) {}

    static constexpr int lotHeader() { return 11; }               // table 1, B..J
    constexpr int animalHeader() const { return n + 15; }         // table 2, B..M
    constexpr int designWeights() const { return n + 16; }        // animals from row n + 17
    constexpr int loadHeader() const { return 2 * n + 19; }       // table 3, B..J
    constexpr int calculationHeader() const { return 3 * n + 23; }  // table 4, B..(n+2), hidden
    constexpr int ratioHeader() const { return 3 * n + 47; }      // table 5, B..F, hidden
};

// Fills "Feedlots" for opt.SubwatershedCount subwatersheds. Its formulas read "Land&Rain"
// (feedlot area, rainfall, rain days and the correction factors of row 6), "Input" (the
// paved-percentage class), "Animal" (head counts), "Reference" (design weights) and "BMPs"
// (feedlot BMP efficiencies). Leaves A1 of the sheet selected.
void FeedlotsPage(wb::Workbook& wb, GenerationOptions& opt);
