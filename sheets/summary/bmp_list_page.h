// The sheet "BMPList": the BMP list file copied in, one record per row (A..I), with a grey
// heading row and a thin outline around A..G. The BMPs sheet groups, sorts and looks up these rows.
#pragma once

#include <string>

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Appended to the reason when the sheet cannot be filled.
inline constexpr const char* kBmpListFailure = " Cannot create the BMPList worksheet !";

// Reads opt.BmpListPath, or support/allBMPkavro.csv under the current working folder when
// that is empty.
void BMPListPage(wb::Workbook& wb, GenerationOptions& opt);
// Reads the list file at `path`. A missing or empty file, or one that ends inside a record,
// throws wb::WorkbookError with the reason followed by kBmpListFailure; the complete records read
// before stay on the sheet.
void BMPListPage(wb::Workbook& wb, GenerationOptions& opt, const std::string& path);
