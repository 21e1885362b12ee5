// The network view: a scrolling area that paints the network and turns mouse and key
// events into the editing rules of view_rules.h.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <functional>

#include "bmp_doc.h"
#include "message_sink.h"
#include "view_rules.h"

class QAction;
class QMenu;

namespace combra::app {

class CBMPParamDlg;

class CBMPView : public QAbstractScrollArea, public DocumentObserver {
    Q_OBJECT
public:
    // Context menu commands.
    enum Command { kAdd = 32774, kEdit = 32775, kCopy = 32777 };

    explicit CBMPView(CBMPDoc& doc, QWidget* parent = nullptr);
    ~CBMPView() override;

    // "Add a new BMP": a node at the automatic placement point.
    void OnAddNewBmp();
    // Delete key and Edit > Cut.
    void OnDelete();
    // A node with default values centred at a document point.
    void AddNodeAt(view::Point p);
    // Opens the parameter dialog for `node`; true when OK changed it.
    bool EditNode(BmpNode& node);

    bool ResultsValid() const { return resultsValid_; }
    // The tool tip text for the last mouse position.
    const QString& ToolTipText() const { return toolTip_; }
    // Window (viewport) point to document point.
    view::Point ToDocument(const QPoint& viewportPos) const;
    QPoint ScrollPosition() const;
    // Widens the scroll area to hold every node; shifts nodes out of negative coordinates.
    void RecomputeExtents();

    // The placement point of "Add a new BMP", shared by every view.
    static view::AddPlacement& Placement();

    // How the context menu is shown; by default it is tracked at the pointer. Tests
    // choose an action instead. Returns the chosen action or null.
    using MenuChooser = std::function<QAction*(QMenu& menu, const QPoint& globalPos)>;
    void SetMenuChooser(MenuChooser chooser) { menuChooser_ = std::move(chooser); }
    // How the parameter dialog is run; by default modally.
    using DialogRunner = std::function<int(CBMPParamDlg& dialog)>;
    void SetDialogRunner(DialogRunner runner) { dialogRunner_ = std::move(runner); }

    // DocumentObserver
    void NetworkCleared() override;
    void NetworkLoaded() override;
    void Calculated() override;

signals:
    // The network or a node's values changed by an edit in this view.
    void NetworkEdited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void ContextMenu(const QPoint& viewportPos, const QPoint& globalPos);
    void Edited(bool extents);
    void SetScrollSizes(int width, int height);

    CBMPDoc& doc_;
    view::Point dragStart_{-1, -1};
    bool pressed_ = false;
    bool resultsValid_ = false;
    QString toolTip_;
    MenuChooser menuChooser_;
    DialogRunner dialogRunner_;
};

}  // namespace combra::app
