// Writes a sheet's embedded controls and charts into the package being saved: for each control
// its ActiveX part, binary part, legacy drawing shape and <controls> entry; for the charts one
// drawing part with a frame per chart and one chart part each. Elements and parts the sheet kept
// from its file stay: new control entries join a kept <controls>, new chart frames join a kept
// drawing.
#pragma once

#include "workbook/ooxml/sheet_objects.h"

namespace wb::ooxml {

void writeControlsAndCharts(SheetWriteContext& ctx);

}  // namespace wb::ooxml
