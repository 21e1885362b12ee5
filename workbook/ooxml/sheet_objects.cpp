#include "workbook/ooxml/sheet_objects.h"

namespace wb::ooxml {

// Controls and charts of the model are written by their own part writers; until those exist a
// sheet writes only what it kept from its file.
void writeSheetObjects(SheetWriteContext&) {}

}  // namespace wb::ooxml
