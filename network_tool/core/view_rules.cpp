#include "view_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace combra::view {

namespace {

constexpr int kHalfWidth = 60;
constexpr int kHalfHeight = 50;

// "%.3f" without the C locale.
std::string Fixed3(double value) {
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
    if (ec != std::errc()) return "0.000";
    return std::string(buf, end);
}

void AppendLine(std::string& out, const char* label, float value) {
    out += label;
    out += Fixed3(static_cast<double>(value));
}

}  // namespace

Rect NodeBox(const BmpNode& n) {
    return {n.x - kHalfWidth, n.y - kHalfHeight, n.x + kHalfWidth, n.y + kHalfHeight};
}

Rect InnerPanel(const BmpNode& n) {
    Rect r = NodeBox(n);
    return {r.left + 5, r.top + 5, r.right - 5, r.bottom - 5};
}

Rect NodeHitBox(const BmpNode& n) { return {n.x - 62, n.y - 52, n.x + 62, n.y + 52}; }

Point ResultTextOrigin(const BmpNode& n) { return {n.x - 60, n.y + 55}; }

Rect ResultHitArea(const BmpNode& n) { return {n.x - 60, n.y + 55, n.x + 62, n.y + 152}; }

Hit HitTest(const CBMPDoc::NodeList& nodes, Point p) {
    for (const auto& node : nodes) {
        if (NodeHitBox(*node).Contains(p)) return {HitKind::kNode, node.get(), 0};
    }
    for (const auto& node : nodes) {
        const Rect area = ResultHitArea(*node);
        if (!area.Contains(p)) continue;
        const int line = (p.y - area.top) / kResultLinePitch + 1;
        return {HitKind::kResultLine, node.get(), line <= kResultLineCount ? line : 0};
    }
    return {};
}

bool IsClick(Point press, Point release) {
    return std::abs(release.x - press.x) < 2 && std::abs(release.y - press.y) < 2;
}

Segment LinkSegment(const BmpNode& from, const BmpNode& to) {
    const int x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
    const int dx = x1 - x2;
    const int dy = y1 - y2;
    if (std::abs(dx) > std::abs(dy)) {
        if (dx >= 0) return {{x1 - kHalfWidth, y1}, {x2 + kHalfWidth, y2}};
        return {{x1 + kHalfWidth, y1}, {x2 - kHalfWidth, y2}};
    }
    if (std::abs(dx) < std::abs(dy)) {
        if (dy >= 0) return {{x1, y1 - kHalfHeight}, {x2, y2 + kHalfHeight}};
        return {{x1, y1 + kHalfHeight}, {x2, y2 - kHalfHeight}};
    }
    if (dx >= 0) return {{x1 - kHalfWidth, y1 - kHalfHeight}, {x2 + kHalfWidth, y2 + kHalfHeight}};
    return {{x1 + kHalfWidth, y1 + kHalfHeight}, {x2 - kHalfWidth, y2 - kHalfHeight}};
}

double DistanceToSegment(Point p, Segment s) {
    const double ax = s.a.x, ay = s.a.y, bx = s.b.x, by = s.b.y;
    const double px = p.x, py = p.y;
    const double vx = bx - ax, vy = by - ay;
    const double len2 = vx * vx + vy * vy;
    if (len2 > 0.0) {
        const double t = ((px - ax) * vx + (py - ay) * vy) / len2;
        if (t >= 0.0 && t <= 1.0) {
            return std::fabs((px - ax) * vy - (py - ay) * vx) / std::sqrt(len2);
        }
    }
    return std::min(std::hypot(px - ax, py - ay), std::hypot(px - bx, py - by));
}

ArrowHead ArrowHeadPoints(Point start, Point end) {
    constexpr double kPi = 3.1416;
    constexpr double kSpread = kPi / 9.0;
    constexpr double kStroke = 13.0;
    double a;
    if (start.x == end.x) {
        a = start.y >= end.y ? 4.7124 : 1.5708;
    } else {
        a = std::atan(static_cast<double>(end.y - start.y) / static_cast<double>(start.x - end.x));
        if (start.x < end.x) a += kPi;
    }
    auto stroke = [&](double angle) {
        return Point{static_cast<int>(end.x + kStroke * std::cos(angle)),
                     static_cast<int>(end.y - kStroke * std::sin(angle))};
    };
    return {stroke(a - kSpread), stroke(a + kSpread)};
}

void ApplyClick(CBMPDoc::NodeList& nodes, Point p, bool shift) {
    for (auto& node : nodes) {
        if (NodeHitBox(*node).Contains(p)) {
            node->selected = true;
        } else if (!shift) {
            node->selected = false;
        }
        if (node->downstream) {
            if (DistanceToSegment(p, LinkSegment(*node, *node->downstream)) < 2.0) {
                node->linkSelected = true;
            } else if (!shift) {
                node->linkSelected = false;
            }
        }
    }
}

DragOutcome ApplyDrag(CBMPDoc::NodeList& nodes, Point press, Point release) {
    BmpNode* source = nullptr;
    for (auto& node : nodes) {
        if (NodeHitBox(*node).Contains(press)) source = node.get();
    }
    if (!source) return DragOutcome::kNothing;

    BmpNode* target = nullptr;
    for (auto& node : nodes) {
        if (NodeHitBox(*node).Contains(release)) {
            target = node.get();
            break;
        }
    }
    if (target && target != source) {
        if (source->downstream == target) return DragOutcome::kSameLink;
        source->downstream = target;
        return DragOutcome::kLinked;
    }
    source->x += release.x - press.x;
    source->y += release.y - press.y;
    return DragOutcome::kMoved;
}

bool DeleteSelection(CBMPDoc& doc) {
    auto& nodes = doc.Nodes();
    bool changed = false;
    for (std::size_t i = nodes.size(); i-- > 0;) {
        BmpNode& node = *nodes[i];
        if (node.selected) {
            doc.RemoveNodeAt(i);  // also clears every link into the node
            changed = true;
        } else if (node.downstream && (node.linkSelected || node.downstream->selected)) {
            node.downstream = nullptr;
            node.linkSelected = false;
            changed = true;
        } else {
            node.linkSelected = false;
        }
    }
    return changed;
}

Point AddPlacement::Take(int clientWidth) {
    const Point here = next_;
    next_.x += 140;
    if (next_.x > clientWidth) next_ = {kStart.x, here.y + 120};
    return here;
}

Extents ComputeExtents(CBMPDoc::NodeList& nodes, int clientWidth, int clientHeight) {
    Rect r{0, 0, clientWidth, clientHeight};
    for (const auto& node : nodes) {
        const Rect box = NodeBox(*node);
        r.left = std::min(r.left, box.left);
        r.top = std::min(r.top, box.top);
        r.right = std::max(r.right, box.right);
        r.bottom = std::max(r.bottom, box.bottom);
    }
    Extents e;
    e.shiftX = r.left < 0 ? -r.left : 0;
    e.shiftY = r.top < 0 ? -r.top : 0;
    if (e.shiftX || e.shiftY) {
        for (auto& node : nodes) {
            node->x += e.shiftX;
            node->y += e.shiftY;
        }
    }
    e.width = r.Width();
    e.height = r.Height();
    return e;
}

std::string NodeText(const BmpNode& n) {
    std::string s;
    AppendLine(s, "Load or Area=", n.load);
    AppendLine(s, "\nN Eff=", n.eff[kN]);
    AppendLine(s, "\nP Eff=", n.eff[kP]);
    AppendLine(s, "\nBOD Eff=", n.eff[kBOD]);
    AppendLine(s, "\nSed Eff=", n.eff[kSediment]);
    AppendLine(s, "\nEColi Eff=", n.eff[kEColi]);
    s += '\n';
    return s;
}

std::vector<std::string> ResultLines(const BmpNode& n) {
    return {
        "Total Load or Area=" + Fixed3(n.total),
        "N Eff=" + Fixed3(n.combined[kN]),
        "P Eff=" + Fixed3(n.combined[kP]),
        "BOD Eff=" + Fixed3(n.combined[kBOD]),
        "Sediment Eff=" + Fixed3(n.combined[kSediment]),
        "EColi Eff=" + Fixed3(n.combined[kEColi]),
    };
}

std::string ResultText(const BmpNode& n) {
    std::string s;
    for (const auto& line : ResultLines(n)) {
        if (!s.empty()) s += '\n';
        s += line;
    }
    return s;
}

std::string FormatCopyValue(double value) {
    std::string s = Fixed3(value);
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.erase(0, 1);
    }
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);  // no integer digits below 1
    if (negative && s.find_first_not_of("0.") != std::string::npos) s.insert(0, "-");
    return s;
}

bool CanEdit(const Hit& hit) { return hit.kind == HitKind::kNode; }

bool CanCopy(const Hit& hit, bool resultsValid) {
    return resultsValid && hit.kind == HitKind::kResultLine && hit.node &&
           !hit.node->downstream && hit.line >= 1 && hit.line <= kResultLineCount;
}

std::optional<std::string> CopyText(const Hit& hit, bool resultsValid) {
    if (!CanCopy(hit, resultsValid)) return std::nullopt;
    const BmpNode& n = *hit.node;
    const float value = hit.line == 1 ? n.total : n.combined[static_cast<std::size_t>(hit.line - 2)];
    return FormatCopyValue(static_cast<double>(value));
}

bool IsCatalogIndex(int index, std::size_t catalogSize) {
    return index >= 0 && static_cast<std::size_t>(index) < catalogSize;
}

std::string ToolTipText(const Hit& hit, const CBMPDoc& doc, bool resultsValid) {
    if (hit.kind == HitKind::kNode) {
        const BmpCatalogEntry* entry = doc.CatalogEntry(hit.node->catalogIndex);
        return entry ? entry->DisplayName() : std::string();
    }
    if (CanCopy(hit, resultsValid)) return "Right click to copy results";
    return {};
}

}  // namespace combra::view
