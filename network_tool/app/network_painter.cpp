#include "network_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>

#include "view_rules.h"

namespace combra::app {

namespace {

QRect ToQRect(const view::Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
QPoint ToQPoint(const view::Point& p) { return QPoint(p.x, p.y); }

// Colours of a classic push button, fixed so that screen and paper look the same.
const QPalette& ButtonPalette() {
    static const QPalette palette = [] {
        QPalette p(QColor(212, 208, 200));
        p.setColor(QPalette::Light, Qt::white);
        p.setColor(QPalette::Midlight, QColor(212, 208, 200));
        p.setColor(QPalette::Dark, QColor(128, 128, 128));
        p.setColor(QPalette::Shadow, QColor(64, 64, 64));
        return p;
    }();
    return palette;
}

int ResultTextWidth(const QFontMetrics& fm, const BmpNode& node) {
    int width = 0;
    for (const auto& line : view::ResultLines(node)) {
        width = std::max(width, fm.horizontalAdvance(QString::fromStdString(line)));
    }
    return width;
}

}  // namespace

QFont NetworkFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // 14 pixels from the top of the tallest letter to the bottom of the lowest.
    font.setPixelSize(12);
    font.setWeight(QFont::Medium);
    return font;
}

void PaintNetwork(QPainter& painter, const CBMPDoc& doc, bool resultsValid) {
    const QPen blackPen(Qt::black, 1, Qt::SolidLine);
    const QPen redPen(QColor(220, 0, 0), 1, Qt::SolidLine);
    const QFont font = NetworkFont();
    const QFontMetrics fm(font, painter.device());

    painter.save();
    painter.setFont(font);
    painter.setBackgroundMode(Qt::TransparentMode);

    for (const auto& owned : doc.Nodes()) {
        const BmpNode& node = *owned;

        // Push-button frame, drawn pushed when selected.
        const QRect box = ToQRect(view::NodeBox(node));
        qDrawWinButton(&painter, box, ButtonPalette(), node.selected,
                       &ButtonPalette().brush(QPalette::Button));

        // Inner panel: outline, then white upper half and cyan lower half.
        const QRect panel = ToQRect(view::InnerPanel(node));
        painter.setPen(blackPen);
        painter.setBrush(Qt::white);
        painter.drawRect(panel.adjusted(0, 0, -1, -1));
        const QRect inside = panel.adjusted(1, 1, -1, -1);
        const int split = inside.top() + inside.height() / 2;
        painter.fillRect(QRect(inside.left(), inside.top(), inside.width(), split - inside.top()),
                         Qt::white);
        painter.fillRect(QRect(inside.left(), split, inside.width(), inside.bottom() + 1 - split),
                         QColor(0, 255, 255));

        // The node's own values. The text is not clipped to the panel: a long load runs
        // over the frame rather than losing digits.
        painter.setPen(node.selected ? QColor(255, 0, 0) : QColor(0, 0, 0));
        painter.drawText(panel.translated(6, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::fromStdString(view::NodeText(node)).trimmed());

        // The arrow to the downstream node.
        if (node.downstream) {
            painter.setPen(node.linkSelected ? redPen : blackPen);
            const view::Segment s = view::LinkSegment(node, *node.downstream);
            const view::ArrowHead head = view::ArrowHeadPoints(s.a, s.b);
            painter.drawLine(ToQPoint(s.a), ToQPoint(s.b));
            painter.drawLine(ToQPoint(s.b), ToQPoint(head.left));
            painter.drawLine(ToQPoint(s.b), ToQPoint(head.right));
        }

        // Results under an outlet, one line every kResultLinePitch pixels (the pitch of
        // the result-line hit test).
        if (!node.downstream && resultsValid) {
            painter.setPen(QColor(0, 0, 128));
            const view::Point origin = view::ResultTextOrigin(node);
            const int width = ResultTextWidth(fm, node);
            int k = 0;
            for (const auto& line : view::ResultLines(node)) {
                const QRect row(origin.x, origin.y + k * view::kResultLinePitch, width + 1,
                                view::kResultLinePitch);
                painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                                 QString::fromStdString(line));
                ++k;
            }
        }
    }
    painter.restore();
}

QRect DrawingBounds(const CBMPDoc& doc, bool resultsValid) {
    const QFontMetrics fm(NetworkFont());
    QRect bounds;
    for (const auto& owned : doc.Nodes()) {
        const BmpNode& node = *owned;
        bounds |= ToQRect(view::NodeBox(node));
        if (!node.downstream && resultsValid) {
            const view::Point origin = view::ResultTextOrigin(node);
            bounds |= QRect(origin.x, origin.y, ResultTextWidth(fm, node) + 1,
                            view::kResultLineCount * view::kResultLinePitch);
        }
    }
    return bounds;
}

}  // namespace combra::app
