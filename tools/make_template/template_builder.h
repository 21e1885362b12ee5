// Builds the template workbook NutrTplt.xlsm from the readable sources under support/template:
// the sheets in tab order, the county and weather-station tables, the gully and streambank
// lookup tables, and the labels, switches, formulas and in-cell lists of cells.csv and
// validations.csv. The sources are checked as they are read: a table whose keys are out of order,
// a missing sheet, or a formula that does not parse stops the build with the file and line.
#pragma once

#include <array>
#include <filesystem>
#include <string_view>

#include "tools/make_template/csv.h"
#include "workbook/model/workbook.h"

namespace kavro::tpl {

// The sheets the generation run and the builders select, hide or name in formulas.
inline constexpr std::array<std::string_view, 16> kRequiredSheets = {
    "General Input Data", "Input",  "Land&Rain", "Animal", "Urban",   "Feedlots",
    "Septic",             "Sediment", "Gully&Streambank", "Total Load", "Graphs", "Reference",
    "BMPList",            "BMPs",   "CountyData", "WeatherData"};

// Rows the workbook's lookups read: the tables may be shorter, never longer.
inline constexpr int kCountyRows = 3216;         // CountyData rows 2..3217
inline constexpr int kStationRows = 8219;        // WeatherData rows 2..8220
inline constexpr int kSoilClasses = 10;          // Gully&Streambank AB2:AD11
inline constexpr int kRecessionCategories = 4;   // Gully&Streambank AF2:AH5

// Fills an empty workbook from the sources in `dir`. Throws SourceError naming the file and line.
void buildTemplate(wb::Workbook& wb, const std::filesystem::path& dir);

// A text key in the order the spreadsheet's approximate lookups expect: compared without regard
// to case. Keys are limited to letters, digits, blanks and periods, which every spreadsheet
// application sorts alike.
bool lookupKeyIsPortable(std::string_view key);
bool lookupKeyLess(std::string_view a, std::string_view b);

}  // namespace kavro::tpl
