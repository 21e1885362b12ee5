// The sheet "Septic": the N, P, BOD and E. coli loads that reach streams from failing septic
// systems and from wastewater discharged without treatment, and the reduction of the
// direct-discharge part.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Where the tables sit for n subwatersheds; each title is one row above its header row. The
// Total Load sheet reads table 2 (C..N) at these rows.
struct SepticSheetRows {
    int n;
    constexpr explicit SepticSheetRows(int subwatersheds) : n(subwatersheds) {}

    static constexpr int hourlyHeader() { return 8; }  // table 1, B..U
    // The hidden block of defaults: its first row (a note), the concentrations of N, P, BOD and
    // E. coli (q = 0..3) and the flow per person; septic overcharge in E, raw wastewater in I.
    constexpr int defaultsFirst() const { return n + 11; }
    constexpr int concentration(int q) const { return n + 12 + q; }
    constexpr int flowPerPerson() const { return n + 16; }
    constexpr int yearlyHeader() const { return n + 19; }  // table 2, B..N
};

// Fills "Septic" for opt.SubwatershedCount subwatersheds from the septic table of "Input".
// Leaves A1 of the sheet selected.
void SepticPage(wb::Workbook& wb, GenerationOptions& opt);
