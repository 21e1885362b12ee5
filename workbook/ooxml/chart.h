// A chart part (xl/charts/chartN.xml): the chart space of one embedded chart, pie or clustered
// column, whose series refer to the sheet's cells by formula. No cached values are written: the
// workbook carries no computed results, and a reader takes the data from the cells. Fonts,
// colours, legend and axes are left at the application's defaults.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "workbook/model/drawing.h"

namespace wb::ooxml {

inline constexpr std::string_view kChartContentType =
    "application/vnd.openxmlformats-officedocument.drawingml.chart+xml";
inline constexpr std::string_view kChartRelType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart";

std::string chartPart(const Chart& chart);

// The chart type, title and series of a chart part (position and name come from the drawing).
// nullopt when the part is not a pie or clustered column chart this layer can hold.
std::optional<Chart> readChartPart(std::string_view xml);

}  // namespace wb::ooxml
