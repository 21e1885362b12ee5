// The sheet "Urban": per subwatershed and for each of nine urban land-use types, the yearly N,
// P, BOD, TSS and E. coli loads of urban runoff, their reduction by urban BMPs, and the summary
// table 4 that the Total Load sheet reads.
#pragma once

#include <string>

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Fills "Urban" for opt.SubwatershedCount subwatersheds. Its formulas read "Land&Rain" (the
// detailed urban areas of table 1a and the urban runoff of table 4a). Leaves A1 selected.
void UrbanPage(wb::Workbook& wb, GenerationOptions& opt);

namespace urban {

// Header row of pollutant p's load, efficiency and reduction tables (p = 1..5: N, P, BOD, TSS,
// E. coli) for N subwatersheds.
int pollutantHeaderRow(int p, int N);

// The R1C1 texts written into the pollutant tables, for subwatershed i of N.
std::string loadFormula(int p, int i, int N);
std::string reductionFormula(int p, int N);

}  // namespace urban
