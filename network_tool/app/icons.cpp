#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace combra::app {

namespace {

void Page(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(path);
}

// Draws one icon in a 16 x 16 grid.
void Draw(QPainter& p, IconKind kind) {
    const QPen outline(QColor(40, 40, 40), 1.0);
    p.setPen(outline);
    switch (kind) {
    case IconKind::kNew:
        Page(p, QRectF(3.5, 1.5, 9, 13));
        break;
    case IconKind::kOpen:
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.setBrush(QColor(250, 225, 120));
        p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5),
                                 QPointF(1.5, 13.5)}));
        break;
    case IconKind::kSave:
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        break;
    case IconKind::kCut:
        p.drawLine(QPointF(4, 1), QPointF(10, 10));
        p.drawLine(QPointF(12, 1), QPointF(6, 10));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(5, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(11, 12.5), 2.5, 2.5);
        break;
    case IconKind::kCopy:
        Page(p, QRectF(1.5, 1.5, 8, 10));
        Page(p, QRectF(6.5, 4.5, 8, 10));
        break;
    case IconKind::kPaste:
        p.setBrush(QColor(180, 130, 70));
        p.drawRect(QRectF(2.5, 2.5, 10, 12));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(5.5, 1.5, 4, 2));
        Page(p, QRectF(6.5, 6.5, 8, 8));
        break;
    case IconKind::kPrint:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
    case IconKind::kAddBmp:
        p.setBrush(QColor(212, 208, 200));
        p.drawRect(QRectF(0.5, 3.5, 12, 10));
        p.fillRect(QRectF(2, 5, 9, 3.5), Qt::white);
        p.fillRect(QRectF(2, 8.5, 9, 3.5), QColor(0, 255, 255));
        p.setPen(QPen(QColor(0, 130, 0), 2.0));
        p.drawLine(QPointF(12.5, 1), QPointF(12.5, 8));
        p.drawLine(QPointF(9, 4.5), QPointF(16, 4.5));
        break;
    case IconKind::kCalculate:
        p.setBrush(QColor(212, 208, 200));
        p.drawRect(QRectF(0.5, 0.5, 6, 5));
        p.drawRect(QRectF(9.5, 10.5, 6, 5));
        p.drawLine(QPointF(4, 6), QPointF(11, 10));
        p.drawLine(QPointF(11, 10), QPointF(7.5, 10));
        p.drawLine(QPointF(11, 10), QPointF(9.5, 7));
        p.setPen(QPen(QColor(0, 0, 128), 1.6));
        p.drawLine(QPointF(9, 2), QPointF(15, 2));
        p.drawLine(QPointF(9, 5), QPointF(15, 5));
        break;
    case IconKind::kAbout:
        p.setBrush(QColor(60, 110, 200));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(Qt::white, 1.8));
        p.drawLine(QPointF(8, 7), QPointF(8, 12));
        p.drawPoint(QPointF(8, 4.5));
        break;
    case IconKind::kProgram:
        p.setBrush(QColor(212, 208, 200));
        p.drawRect(QRectF(0.5, 0.5, 7, 6));
        p.drawRect(QRectF(8.5, 9.5, 7, 6));
        p.fillRect(QRectF(1.5, 4, 5.5, 2), QColor(0, 255, 255));
        p.fillRect(QRectF(9.5, 13, 5.5, 2), QColor(0, 255, 255));
        p.drawLine(QPointF(5, 7), QPointF(11, 9.5));
        break;
    }
}

}  // namespace

QIcon MakeIcon(IconKind kind) {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        Draw(p, kind);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace combra::app
