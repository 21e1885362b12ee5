#include "workbook/ooxml/sheet_objects.h"

#include "workbook/ooxml/objects_writer.h"

namespace wb::ooxml {

// The model's controls and charts join what the sheet kept from its file.
void writeSheetObjects(SheetWriteContext& ctx) { writeControlsAndCharts(ctx); }

}  // namespace wb::ooxml
