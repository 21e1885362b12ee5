// The sheet "Graphs": copies of the Total Load summary tables and eleven charts of them, five
// pies of the loads with BMP by source and six column charts of the loads with BMP and the
// reductions by subwatershed. The only sheet the generator protects.
#pragma once

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Fills and protects "Graphs" for opt.SubwatershedCount subwatersheds. Its formulas read the
// summary tables of "Total Load" (as TotalLoadPage lays them out). Leaves A1 selected.
void GraphPage(wb::Workbook& wb, GenerationOptions& opt);
