// The pieces of the Input sheet builder, one per group of tables, and the formatting words they
// share. DataInput calls them in sheet order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "generator/generation_options.h"
#include "sheets/common/sheet_format.h"
#include "sheets/input/data_input.h"
#include "workbook/model/range.h"
#include "workbook/model/worksheet.h"

namespace data_input {

using sheets::kBlack;
using sheets::kBlue;
using sheets::kRed;
using sheets::solidFill;
using sheets::subwatershedLabels;

// Palette indexes.
inline constexpr int kRedIndex = 3;
inline constexpr int kWhiteIndex = 2;
inline constexpr int kHeaderGrey = 15;
inline constexpr int kTitleBand = 43;
inline constexpr int kEntryFill = 34;

// Tables 1 to 4, the part the planner must fill in.
void drawHeaderArea(wb::Worksheet& ws);
void drawLandUseTable(wb::Worksheet& ws, const GenerationOptions& opt);
void drawAnimalTable(wb::Worksheet& ws, const GenerationOptions& opt);
void drawSepticTable(wb::Worksheet& ws, const GenerationOptions& opt);
void drawSoilLossTable(wb::Worksheet& ws, const GenerationOptions& opt);

// The optional section: tables 5 to 10 between the two markers.
void drawOptionalMarker(wb::Worksheet& ws, const GenerationOptions& opt);
void drawSoilGroupTable(wb::Worksheet& ws, const GenerationOptions& opt);
void drawCurveNumberTables(wb::Worksheet& ws, const GenerationOptions& opt);
void drawConcentrationTables(wb::Worksheet& ws, const GenerationOptions& opt);
void drawUrbanMixTable(wb::Worksheet& ws, const GenerationOptions& opt);
void drawIrrigationTable(wb::Worksheet& ws, const GenerationOptions& opt);
void drawPastureConcTable(wb::Worksheet& ws, const GenerationOptions& opt);
void drawEndMarker(wb::Worksheet& ws, const GenerationOptions& opt);

// Header cells that wrap: centred, the given vertical alignment, no rotation, no indent, no
// shrinking, not merged.
void wrapHeader(const wb::Range& r, int vertical);

}  // namespace data_input
