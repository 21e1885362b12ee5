// Reading and writing workbooks as Open XML packages.
#pragma once

#include <memory>
#include <string>

#include "workbook/model/workbook.h"

namespace wb::ooxml {

// Reads a workbook package (.xlsx or .xlsm). Sheets are read lazily: a sheet is parsed into the
// model when it is first asked for, and written back unchanged when it never was. Parts the model
// does not hold (macros, custom UI, drawings, other parts) are kept and written back unchanged.
// Throws WorkbookError naming the file and what is wrong (missing, not a zip package, a required
// part missing or unreadable).
std::unique_ptr<Workbook> openWorkbook(const std::string& path);

// Writes the workbook as a macro-enabled workbook package (.xlsm content type), formulas in A1
// form without cached values and with full calculation on load. Writes a temporary file beside
// `path` and renames it over `path`, so a failure never leaves a damaged file or destroys the
// previous one. Throws WorkbookError naming the file and the reason.
void saveWorkbook(Workbook& wb, const std::string& path);

}  // namespace wb::ooxml
