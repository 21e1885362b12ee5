// The drawing part of a worksheet (xl/drawings/drawingN.xml) that places its charts, and the
// cell anchors that both charts and controls are placed by.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/model/drawing.h"

namespace wb {
class Worksheet;
}

namespace wb::ooxml {

inline constexpr std::string_view kDrawingContentType =
    "application/vnd.openxmlformats-officedocument.drawing+xml";
inline constexpr std::string_view kDrawingRelType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";

inline constexpr int64_t kEmuPerPoint = 12700;
inline constexpr int64_t kEmuPerPixel = 9525;

// A corner of an object: the 0-based column and row it lies in and the offset into that cell in
// EMU.
struct AnchorPoint {
    int col = 0;
    int64_t colOff = 0;
    int row = 0;
    int64_t rowOff = 0;
    bool operator==(const AnchorPoint&) const = default;
};

struct CellAnchor {
    AnchorPoint from, to;
    bool operator==(const CellAnchor&) const = default;
};

// The cells an object at (left, top) of the given size (points from the sheet's top-left corner)
// covers, with the sheet's column widths and row heights.
CellAnchor anchorOf(const Worksheet& ws, double left, double top, double width, double height);
// Back: the object's position and size in points.
void positionOf(const Worksheet& ws, const CellAnchor& a, double& left, double& top, double& width,
                double& height);

// The drawing part placing the sheet's charts, one two-cell anchor with a graphic frame each;
// `chartRelIds[i]` is the drawing's relationship to the part of ws.charts[i]. Object ids start at
// 2 (1 is the drawing itself).
std::string drawingPart(const Worksheet& ws, const std::vector<std::string>& chartRelIds);

// One chart frame of a drawing part, as read back.
struct DrawingChartRef {
    CellAnchor anchor;
    std::string name;
    std::string relId;
};
// The chart frames of a drawing part (other anchors are skipped). Throws nothing; an unreadable
// part gives no frames.
std::vector<DrawingChartRef> readDrawingPart(std::string_view xml);

}  // namespace wb::ooxml
