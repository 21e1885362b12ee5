// The sheet "Animal": livestock and wildlife of every subwatershed turned into animal equivalent
// units (1 AEU = 1000 lb of live animal weight per acre of cropland), the AEU density class
// (A, B or C) and, from the class, the runoff concentrations of cropland and pastureland.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Fills "Animal" for opt.SubwatershedCount subwatersheds. Its formulas read "Input",
// "Land&Rain" (cropland areas), "Reference" (animal weights) and "General Input Data". Publishes
// opt.PastureAeuFirstRow, the row of subwatershed 1 in the pastureland AEU table (2N+28), and
// leaves A1 of the sheet selected.
void AnimalPage(wb::Workbook& wb, GenerationOptions& opt);
