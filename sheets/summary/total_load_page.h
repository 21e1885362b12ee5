// The sheet "Total Load": the yearly N, P, BOD, sediment and E. coli loads of every
// subwatershed and of the watershed, without BMPs, the reductions the BMPs achieve and the loads
// with BMPs. Four hidden working tables (a to d) turn the runoff, concentrations and loads of
// the other sheets into loads by land use; tables 1 and 2 are the summary the user reads.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Fills "Total Load" for opt.SubwatershedCount subwatersheds. Reads opt.RunoffFirstRow and
// opt.PastureAeuFirstRow (published by the Land&Rain and Animal builders, which must have run)
// and opt.GullyCount + opt.StreambankCount. Its formulas read "Input", "Land&Rain", "Animal",
// "Urban", "Feedlots", "Septic", "Sediment" and "Gully&Streambank", which must exist (filled or
// not). Leaves A1 selected; the sheet is not protected.
void TotalLoadPage(wb::Workbook& wb, GenerationOptions& opt);

namespace totalload {

// Header rows of the six tables for N subwatersheds, each derived from the one above it.
// Working tables a to d get one more header row inserted below this one, so subwatershed i is
// in row header + 1 + i; table 1 has its units row there; table 2 has source k in header + k.
struct TableRows {
    int a, b, one, c, d, two;
};
TableRows tableRows(int N);

}  // namespace totalload
