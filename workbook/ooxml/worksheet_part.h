// The worksheet part (xl/worksheets/sheetN.xml): read into the model when a sheet is first used,
// and streamed out of the model on save.
#pragma once

#include <string>

#include "workbook/model/worksheet.h"
#include "workbook/ooxml/package_state.h"
#include "workbook/ooxml/shared_strings.h"
#include "workbook/ooxml/sheet_objects.h"

namespace wb::ooxml {

// Parses the sheet's part into `ws`, with its comments, and records what the model does not hold
// in src.kept. Marks the parts it rebuilds (comments, legacy drawing) as consumed in `st`.
// Throws WorkbookError naming the file, the sheet and what is wrong.
void loadWorksheet(Worksheet& ws, PackageState& st, SheetSource& src);

// Writes the sheet; adds its comments and legacy drawing parts through ctx.parts and their
// relationships to ctx.rels. `kept` is what the sheet kept from its file, or null for a new sheet.
std::string writeWorksheet(SheetWriteContext& ctx, const SheetKept* kept, SharedStringsWriter& sst,
                           const PackageState* st, bool tabSelected);

// A sheet written back as read, with its tab selection set: the one attribute that must follow
// the workbook's active sheet. Returns `xml` itself when nothing changes.
PartData withTabSelected(const PartData& xml, bool selected);

// Column widths: the model counts characters of the widest digit; the file adds 5 pixels of
// padding.
double fileWidthFromChars(double chars, int maxDigitWidthPx);
double charsFromFileWidth(double width, int maxDigitWidthPx);

}  // namespace wb::ooxml
