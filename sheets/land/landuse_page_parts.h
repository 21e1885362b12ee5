// The steps of LandusePage, shared by its source files. Each step draws one table (or one
// sheet-wide setting) of "Land&Rain"; LandusePage calls them in their fixed order, since the
// groundwater tables are copies of tables finished before them.
#pragma once

#include <string>
#include <vector>

#include "generator/generation_options.h"
#include "sheets/common/sheet_format.h"
#include "workbook/model/workbook.h"

namespace landuse {

// Relative R1C1 pieces: "R[-3]" / "R" and "C[2]" / "C" (an offset of 0 is written bare).
using sheets::C;
using sheets::R;
using sheets::RC;

using sheets::solidFill;
using sheets::subwatershedLabels;

// Runoff depth per event by the curve-number method, with the rain (or irrigation) depth x, the
// initial-abstraction factor f and the curve number cn given as reference texts:
// IF((x-f*(1000/cn-10))>0,POWER((x-f*(1000/cn-10)),2)/(x-f*(1000/cn-10)+(1000/cn-10)),0)
std::string curveNumberRunoff(const std::string& x, const std::string& f, const std::string& cn);

// A whole header row: the given height, top-aligned, centred, wrapped.
void tallHeaderRow(wb::Worksheet& ws, int row, double height);
// The six land-use headers "Watershed", "Urban" .. "User Defined", optionally with one more.
std::vector<std::string> landUseHeaders(const GenerationOptions& opt, const char* extra = nullptr);
// Headers of the detailed urban tables 2.1a, 2.2a and 4a.
std::vector<std::string> urbanTypeHeaders();

// Land use and precipitation, soils and curve numbers.
void headerBlock(wb::Worksheet& ws);
void table1(wb::Workbook& wb, wb::Worksheet& ws, const GenerationOptions& opt, int N);
void correctionFactors(wb::Worksheet& ws);
void table1a(wb::Worksheet& ws, int N);
void table2(wb::Worksheet& ws, int N);
void table3(wb::Worksheet& ws, int N);
void table21a(wb::Worksheet& ws, int N);
void table21(wb::Worksheet& ws, const GenerationOptions& opt, int N);
void columnWidths(wb::Worksheet& ws);

// Runoff, irrigation and concentrations.
void table22a(wb::Worksheet& ws, int N);
void table22(wb::Worksheet& ws, const GenerationOptions& opt, int N);
void table23(wb::Worksheet& ws, int N);
void table4(wb::Worksheet& ws, GenerationOptions& opt, int N);
void table4a(wb::Worksheet& ws, int N);
void table5(wb::Worksheet& ws, int N);
void table6(wb::Worksheet& ws, const GenerationOptions& opt, int N);

// Groundwater infiltration.
void groundwater1(wb::Worksheet& ws, int N);
void groundwater2(wb::Worksheet& ws, int N);
void groundwater3(wb::Worksheet& ws, int N);
void groundwater4(wb::Worksheet& ws, int N);

}  // namespace landuse
