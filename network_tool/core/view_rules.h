// Editing rules of the network view, without any window code: geometry of a node,
// hit tests, click and drag, selection, delete, the Add placement walk, the scroll
// extents, the texts drawn in and under the boxes, and the clipboard format.
// The Qt view turns its events into calls of these functions and paints what they say.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bmp_doc.h"
#include "bmp_node.h"

namespace combra::view {

// A point in document pixels (window point + scroll position).
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle in document pixels. Like the platform's rectangles, the left and top
// edges are inside, the right and bottom edges are not.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// ---- geometry of a node centred at (x, y) -------------------------------------------
Rect NodeBox(const BmpNode& node);        // (x-60, y-50, x+60, y+50), drawn
Rect InnerPanel(const BmpNode& node);     // the box shrunk by 5
Rect NodeHitBox(const BmpNode& node);     // (x-62, y-52, x+62, y+52)
Point ResultTextOrigin(const BmpNode& node);  // (x-60, y+55)
Rect ResultHitArea(const BmpNode& node);  // (x-60, y+55, x+62, y+152)

// The result text under an outlet is drawn one line every kResultLinePitch pixels from
// the result text origin, and the hit test uses the same pitch, so the line under the
// pointer is the line that is copied. Six lines: total and the five efficiencies.
inline constexpr int kResultLinePitch = 16;
inline constexpr int kResultLineCount = 6;

// ---- hit test ------------------------------------------------------------------------
enum class HitKind { kNone, kNode, kResultLine };

struct Hit {
    HitKind kind = HitKind::kNone;
    BmpNode* node = nullptr;
    // Result line 1..6 (1 total, 2 N, 3 P, 4 BOD, 5 Sediment, 6 E. coli); 0 = unset.
    int line = 0;
};

// First node (list order) whose hit box holds p; otherwise the first node whose result
// area holds p, with the line under p.
Hit HitTest(const CBMPDoc::NodeList& nodes, Point p);

// ---- click and drag --------------------------------------------------------------------
// A release less than 2 pixels away from the press, in both directions, is a click.
bool IsClick(Point press, Point release);

// The arrow drawn from `from` to its downstream node `to`: it leaves and enters the boxes
// on the sides that face each other.
struct Segment {
    Point a;
    Point b;
};
Segment LinkSegment(const BmpNode& from, const BmpNode& to);

// Perpendicular distance when the foot lies on the segment, else distance to the nearer end.
double DistanceToSegment(Point p, Segment s);

// Ends of the two 13-pixel strokes of the arrow head at `end` of a line from `start`.
struct ArrowHead {
    Point left;
    Point right;
};
ArrowHead ArrowHeadPoints(Point start, Point end);

// A click at p: nodes whose hit box holds p become selected, links closer than 2 pixels
// become selected; everything else is deselected unless `shift` is held.
void ApplyClick(CBMPDoc::NodeList& nodes, Point p, bool shift);

enum class DragOutcome {
    kNothing,    // the press was not on a node
    kLinked,     // the source now drains into the target (a new or a replaced link)
    kSameLink,   // dropped on the node it already drains into: nothing changed
    kMoved,      // the source moved by the drag distance
};

// A drag from `press` to `release`. The source is the last node whose hit box holds the
// press point, the target the first node whose hit box holds the release point.
DragOutcome ApplyDrag(CBMPDoc::NodeList& nodes, Point press, Point release);

// ---- delete ------------------------------------------------------------------------------
// Removes the selected nodes and every link to them, and clears selected links and links
// into selected nodes. Returns whether anything was removed or cleared.
bool DeleteSelection(CBMPDoc& doc);

// ---- Add placement -------------------------------------------------------------------
// Where "Add a new BMP" puts the next node: a row every 140 pixels from (70, 60); when the
// next point passes the right edge of the client area, a new row 120 pixels lower.
class AddPlacement {
public:
    static constexpr Point kStart{70, 60};
    // The point for this node; advances the walk.
    Point Take(int clientWidth);
    Point Peek() const { return next_; }
    void Reset() { next_ = kStart; }

private:
    Point next_ = kStart;
};

// ---- extents ----------------------------------------------------------------------------
struct Extents {
    int width = 0;   // scroll sizes
    int height = 0;
    int shiftX = 0;  // how far every node was moved right (and the scroll position grows)
    int shiftY = 0;  // how far every node was moved down
};

// The client rectangle widened to hold every node box. A negative left or top edge moves
// every node right or down so that nothing lies left of or above the origin.
Extents ComputeExtents(CBMPDoc::NodeList& nodes, int clientWidth, int clientHeight);

// ---- texts ---------------------------------------------------------------------------------
// The six lines drawn inside a node box (load and own efficiencies).
std::string NodeText(const BmpNode& node);
// The six result lines drawn under an outlet (total and combined efficiencies).
std::vector<std::string> ResultLines(const BmpNode& node);
std::string ResultText(const BmpNode& node);  // the lines joined by line feeds

// A value as copied to the clipboard: three decimals, no leading zero below 1
// (0.5 -> ".500", 0.05 -> ".050", 12.3456 -> "12.346"); a negative value keeps its sign.
std::string FormatCopyValue(double value);

// The value of result line `hit.line` as copied: only for a result line of an outlet while
// the results are shown. Nothing otherwise.
std::optional<std::string> CopyText(const Hit& hit, bool resultsValid);

// Enabling of the context menu's Edit and Copy.
bool CanEdit(const Hit& hit);
bool CanCopy(const Hit& hit, bool resultsValid);

// Tool tip: the catalogue entry of a node set from the catalogue, "Right click to copy
// results" over a result line that can be copied, else empty.
std::string ToolTipText(const Hit& hit, const CBMPDoc& doc, bool resultsValid);

// Whether `index` names a catalogue entry (used for the tool tip and the dialog's list).
bool IsCatalogIndex(int index, std::size_t catalogSize);

}  // namespace combra::view
