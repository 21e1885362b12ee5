#include "network_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include "network_painter.h"
#include "param_dialog.h"

namespace combra::app {

CBMPView::CBMPView(CBMPDoc& doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc) {
    setObjectName(QStringLiteral("CBMPView"));
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);

    menuChooser_ = [](QMenu& menu, const QPoint& globalPos) { return menu.exec(globalPos); };
    dialogRunner_ = [](CBMPParamDlg& dialog) { return dialog.exec(); };
}

CBMPView::~CBMPView() = default;

view::AddPlacement& CBMPView::Placement() {
    static view::AddPlacement placement;
    return placement;
}

view::Point CBMPView::ToDocument(const QPoint& viewportPos) const {
    const QPoint scroll = ScrollPosition();
    return {viewportPos.x() + scroll.x(), viewportPos.y() + scroll.y()};
}

QPoint CBMPView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CBMPView::SetScrollSizes(int width, int height) {
    const QSize client = viewport()->size();
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    horizontalScrollBar()->setRange(0, std::max(0, width - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, height - client.height()));
}

void CBMPView::RecomputeExtents() {
    const QSize client = viewport()->size();
    const view::Extents e = view::ComputeExtents(doc_.Nodes(), client.width(), client.height());
    const QPoint scroll = ScrollPosition();
    SetScrollSizes(e.width, e.height);
    horizontalScrollBar()->setValue(scroll.x() + e.shiftX);
    verticalScrollBar()->setValue(scroll.y() + e.shiftY);
}

void CBMPView::Edited(bool extents) {
    resultsValid_ = false;
    doc_.SetModifiedFlag(true);
    if (extents) RecomputeExtents();
    viewport()->update();
    emit NetworkEdited();
}

void CBMPView::AddNodeAt(view::Point p) {
    doc_.AddNode(p.x, p.y);
    Edited(true);
}

void CBMPView::OnAddNewBmp() {
    AddNodeAt(Placement().Take(viewport()->width()));
}

void CBMPView::OnDelete() {
    if (view::DeleteSelection(doc_)) {
        Edited(false);
    } else {
        viewport()->update();
    }
}

bool CBMPView::EditNode(BmpNode& node) {
    CBMPParamDlg dialog(doc_.Catalog(), this);
    CBMPParamDlg::Values values;
    values.load = node.load;
    for (int k = 0; k < kPollutantCount; ++k) values.eff[k] = node.eff[static_cast<std::size_t>(k)];
    values.catalogIndex = node.catalogIndex;
    dialog.SetValues(values);
    if (dialogRunner_(dialog) != QDialog::Accepted) return false;

    const CBMPParamDlg::Values& got = dialog.GetValues();
    node.load = static_cast<float>(got.load);
    for (int k = 0; k < kPollutantCount; ++k) {
        node.eff[static_cast<std::size_t>(k)] = static_cast<float>(got.eff[k]);
    }
    node.catalogIndex = got.catalogIndex;
    Edited(false);
    return true;
}

void CBMPView::NetworkCleared() {
    // A new network: results of the previous one must not be shown for it.
    resultsValid_ = false;
    dragStart_ = {-1, -1};
    pressed_ = false;
    RecomputeExtents();
    viewport()->update();
}

void CBMPView::NetworkLoaded() {
    resultsValid_ = false;
    dragStart_ = {-1, -1};
    pressed_ = false;
    RecomputeExtents();
    viewport()->update();
}

void CBMPView::Calculated() {
    resultsValid_ = true;
    viewport()->update();
}

void CBMPView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPoint scroll = ScrollPosition();
    painter.translate(-scroll.x(), -scroll.y());
    PaintNetwork(painter, doc_, resultsValid_);
}

void CBMPView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        dragStart_ = ToDocument(pos);
        pressed_ = true;
    } else if (event->button() == Qt::RightButton) {
        ContextMenu(pos, event->globalPosition().toPoint());
    }
}

void CBMPView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    const view::Point p = ToDocument(event->position().toPoint());
    const view::Point s = dragStart_;
    if (view::IsClick(s, p)) {
        view::ApplyClick(doc_.Nodes(), p, event->modifiers() & Qt::ShiftModifier);
        viewport()->update();
        return;
    }
    switch (view::ApplyDrag(doc_.Nodes(), s, p)) {
    case view::DragOutcome::kLinked:
        Edited(false);
        break;
    case view::DragOutcome::kMoved:
        // A move keeps the network and its results; only the drawing changes.
        doc_.SetModifiedFlag(true);
        RecomputeExtents();
        viewport()->update();
        emit NetworkEdited();
        break;
    case view::DragOutcome::kSameLink:
    case view::DragOutcome::kNothing:
        viewport()->update();
        break;
    }
}

void CBMPView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const view::Hit hit = view::HitTest(doc_.Nodes(), ToDocument(event->position().toPoint()));
    if (hit.node) EditNode(*hit.node);
}

void CBMPView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const view::Hit hit = view::HitTest(doc_.Nodes(), ToDocument(pos));
    const QString text = QString::fromStdString(view::ToolTipText(hit, doc_, resultsValid_));
    if (text != toolTip_) {
        toolTip_ = text;
        if (QToolTip::isVisible()) {
            if (text.isEmpty()) {
                QToolTip::hideText();
            } else {
                QToolTip::showText(event->globalPosition().toPoint(), text, viewport());
            }
        }
    }
}

bool CBMPView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const view::Hit hit = view::HitTest(doc_.Nodes(), ToDocument(help->pos()));
        toolTip_ = QString::fromStdString(view::ToolTipText(hit, doc_, resultsValid_));
        if (toolTip_.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), toolTip_, viewport());
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CBMPView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        OnDelete();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CBMPView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    RecomputeExtents();
    viewport()->update();
}

void CBMPView::ContextMenu(const QPoint& viewportPos, const QPoint& globalPos) {
    const view::Point p = ToDocument(viewportPos);
    const view::Hit hit = view::HitTest(doc_.Nodes(), p);

    QMenu menu(this);
    menu.setObjectName(QStringLiteral("BMPVIEW_POPUP"));
    QAction* add = menu.addAction(QStringLiteral("Add"));
    QAction* edit = menu.addAction(QStringLiteral("Edit"));
    QAction* copy = menu.addAction(QStringLiteral("Copy"));
    add->setData(int(kAdd));
    edit->setData(int(kEdit));
    copy->setData(int(kCopy));
    edit->setEnabled(view::CanEdit(hit));
    copy->setEnabled(view::CanCopy(hit, resultsValid_));

    QAction* chosen = menuChooser_ ? menuChooser_(menu, globalPos) : nullptr;
    if (!chosen || !chosen->isEnabled()) {
        viewport()->update();
        return;
    }
    if (chosen == add) {
        AddNodeAt(p);
    } else if (chosen == edit) {
        if (hit.node) EditNode(*hit.node);
    } else if (chosen == copy) {
        const auto text = view::CopyText(hit, resultsValid_);
        QApplication::clipboard()->setText(text ? QString::fromStdString(*text) : QString());
    }
    viewport()->update();
}

}  // namespace combra::app
