// The sheet "Land&Rain": land-use areas and rainfall, soil groups, curve numbers, runoff depths
// and volumes, irrigation runoff, runoff concentrations and the groundwater-infiltration tables,
// all as formulas over the Input sheet.
#pragma once

#include "generator/generation_options.h"
#include "workbook/model/workbook.h"

// Fills "Land&Rain" for opt.SubwatershedCount subwatersheds, defines the workbook names
// "WSAreaSum" and "RainDayCor" and publishes opt.RunoffFirstRow (the first data row of the
// annual runoff table). Leaves A1 of the sheet selected.
void LandusePage(wb::Workbook& wb, GenerationOptions& opt);
