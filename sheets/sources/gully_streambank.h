// The sheet "Gully&Streambank": the sediment eroded from each gully and each impaired streambank
// the planner describes, the share that stabilization practices hold back, and both summed per
// subwatershed together with the nutrients and E. coli the sediment carries.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Where the tables sit for g gullies, s streambanks and n subwatersheds.
struct GullySheetRows {
    int g, s, n;
    constexpr GullySheetRows(int gullies, int streambanks, int subwatersheds)
        : g(gullies), s(streambanks), n(subwatersheds) {}

    // 1. gullies: header row 11, gully d in row 11+d.
    constexpr int gullyHeader() const { return 11; }
    constexpr int gully(int d) const { return 11 + d; }
    // 2. streambanks: header row G+15, streambank k in row G+15+k.
    constexpr int streambankHeader() const { return g + 15; }
    constexpr int streambank(int k) const { return g + 15 + k; }
    // 3. loads per subwatershed (hidden): header row T = G+S+19, subwatershed i in row T+i,
    // read by the Total Load sheet (columns C..Z).
    constexpr int loadHeader() const { return g + s + 19; }
    constexpr int load(int i) const { return loadHeader() + i; }
};

// Fills the template's "Gully&Streambank" sheet for opt.GullyCount gullies, opt.StreambankCount
// streambanks and opt.SubwatershedCount subwatersheds; the run calls it only when there is at
// least one gully or streambank. Dimensions start at 0 in zero mode (opt.NonZeroStart false),
// else at 5 (100 for a streambank's height). The lookups read the template's tables AB2:AD11
// (soil textural classes) and AF2:AH5 (lateral recession categories) on the same sheet, the
// nutrient columns the soil concentrations of the Input sheet's table 5. Leaves A1 selected.
void GullyStreamBank(wb::Workbook& wb, GenerationOptions& opt);
