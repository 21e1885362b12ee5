// The sheet "BMPs": for every subwatershed, the BMP chosen on cropland, pastureland, forest, the
// user-defined land use and the feedlots (tables 1..5), the share of the area it covers, and the
// removal efficiencies looked up in the sheet "BMPList" and scaled by that share. Table 7 takes
// combined efficiencies worked out elsewhere; table 6 points to the urban BMP tool.
#pragma once

#include <string>

#include "generator/generation_options.h"

namespace wb {
class Workbook;
}

// Appended to the reason when the sheet cannot be built.
inline constexpr const char* kBmpPageFailure = " Could not create the BMPs worksheet!";

// The name a planner picks to use table 7's combined efficiencies instead of the list's.
inline constexpr const char* kCombinedBmp = "Combined BMPs-Calculated";

// Where the tables sit for n subwatersheds. The Sediment sheet reads the efficiencies of tables
// 1..4 and the Feedlots sheet those of table 5 at these rows.
struct BmpSheetRows {
    int n;
    constexpr explicit BmpSheetRows(int subwatersheds) : n(subwatersheds) {}

    // Header row of table k = 1..5 (its title one row above); for k = 6 the urban note row.
    constexpr int header(int k) const { return 6 + (k - 1) * (n + 4); }
    // Row of subwatershed i in table k = 1..5.
    constexpr int row(int k, int i) const { return header(k) + 1 + i; }
    // Table 7: header row, and the row of subwatershed i in block b = 0..3 (cropland,
    // pastureland, forest, user defined).
    constexpr int combinedHeader() const { return 5 * n + 30; }
    constexpr int combinedRow(int b, int i) const { return 5 * n + 31 + b * n + i; }
};

// Rows of one group's block on BMPList: `first` holds the group-level entry, first + 1 .. last
// the BMPs offered in the list boxes (none when last <= first).
struct BmpGroupRows {
    int first = 0;
    int last = 0;
    int bmpCount() const { return last - first; }
};

// The A1 formula of efficiency column `col` (C..G) in sheet row `row` of a table whose group
// occupies `group` on BMPList. `combinedRow` is the table-7 row used for "Combined
// BMPs-Calculated", or 0 when that choice counts as 0 (the feedlots).
std::string bmpEfficiencyFormula(int row, int col, BmpGroupRows group, int combinedRow);

// Reads opt.BmpListPath (or, when empty, support/allBMPkavro.csv under the current working
// folder) to count the list's records.
void BMPPage(wb::Workbook& wb, GenerationOptions& opt);
// Builds the sheet from "BMPList" (filled from the same file earlier in the run); sorts each
// group's BMP rows there by name. Any failure throws wb::WorkbookError with the reason followed
// by kBmpPageFailure.
void BMPPage(wb::Workbook& wb, GenerationOptions& opt, const std::string& path);
