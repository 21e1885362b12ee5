// Combra's window driven like a user would: toolbar commands, mouse and keys on the
// network view, the context menu, the parameter dialog and the file commands.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <fstream>
#include <memory>

#include "main_window.h"
#include "network_view.h"
#include "param_dialog.h"
#include "view_rules.h"

using namespace combra;
using combra::app::CBMPParamDlg;
using combra::app::CBMPView;
using combra::app::CMainFrame;

namespace {

constexpr QRgb kNavy = qRgb(0, 0, 128);

// Pixels of the result colour inside a document rectangle of the view's current drawing.
int NavyPixels(CBMPView* view, const view::Rect& docRect) {
    const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint scroll = view->ScrollPosition();
    int count = 0;
    for (int y = docRect.top; y < docRect.bottom; ++y) {
        for (int x = docRect.left; x < docRect.right; ++x) {
            const QPoint p(x - scroll.x(), y - scroll.y());
            if (image.rect().contains(p) && image.pixel(p) == kNavy) ++count;
        }
    }
    return count;
}

QPoint ToViewport(CBMPView* view, view::Point doc) {
    const QPoint scroll = view->ScrollPosition();
    return {doc.x - scroll.x(), doc.y - scroll.y()};
}

// Centre of result line `line` (1..6) under `node`, in document pixels.
view::Point ResultLinePoint(const BmpNode& node, int line) {
    const view::Point o = view::ResultTextOrigin(node);
    return {o.x + 20, o.y + (line - 1) * view::kResultLinePitch + view::kResultLinePitch / 2};
}

struct MenuState {
    bool edit = false;
    bool copy = false;
    bool seen = false;
};

}  // namespace

class CombraAppTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CMainFrame> frame;
    QStringList messages;
    QTemporaryDir files;

    CBMPView* view() { return frame->View(); }
    CBMPDoc& doc() { return frame->Document(); }
    QWidget* vp() { return frame->View()->viewport(); }

    // Chooses the context-menu entry `text` and records the enabling of Edit and Copy.
    void ChooseFromMenu(const QString& text, MenuState* state) {
        view()->SetMenuChooser([text, state](QMenu& menu, const QPoint&) -> QAction* {
            QAction* chosen = nullptr;
            for (QAction* a : menu.actions()) {
                if (a->text() == QLatin1String("Edit")) state->edit = a->isEnabled();
                if (a->text() == QLatin1String("Copy")) state->copy = a->isEnabled();
                if (a->text() == text) chosen = a;
            }
            state->seen = true;
            return chosen;
        });
    }

    void RightClick(view::Point docPoint) {
        QTest::mousePress(vp(), Qt::RightButton, {}, ToViewport(view(), docPoint));
        QTest::mouseRelease(vp(), Qt::RightButton, {}, ToViewport(view(), docPoint));
    }

    void Drag(view::Point from, view::Point to) {
        QTest::mousePress(vp(), Qt::LeftButton, {}, ToViewport(view(), from));
        QTest::mouseRelease(vp(), Qt::LeftButton, {}, ToViewport(view(), to));
    }

    void Click(view::Point at, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(vp(), Qt::LeftButton, mods, ToViewport(view(), at));
    }

    QString WriteFile(const QString& name, const std::string& text) {
        const QString path = files.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << text;
        return path;
    }

private slots:
    void init() {
        QSettings(QString::fromLatin1(CMainFrame::kSettingsKey), QStringLiteral("Combra")).clear();
        CBMPView::Placement().Reset();
        messages.clear();
        frame = std::make_unique<CMainFrame>();
        frame->SetMessageHandler([this](const QString& text) { messages << text; });
        frame->SetSaveQuestion([](const QString&) { return QMessageBox::No; });
        frame->resize(900, 650);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }

    void cleanup() {
        doc().SetModifiedFlag(false);
        frame.reset();
    }

    void windowCaptionMenusAndToolbar() {
        QCOMPARE(frame->windowTitle(), QStringLiteral("Combra"));

        QStringList menus;
        for (QAction* a : frame->menuBar()->actions()) menus << a->text();
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "&View", "&Help"}));

        struct Item {
            int id;
            const char* text;
            QList<QKeySequence> keys;
            bool enabled;
        };
        const Item items[] = {
            {CMainFrame::kFileNew, "&New", {QKeySequence("Ctrl+N")}, true},
            {CMainFrame::kFileOpen, "&Open...", {QKeySequence("Ctrl+O")}, true},
            {CMainFrame::kFileSave, "&Save", {QKeySequence("Ctrl+S")}, true},
            {CMainFrame::kFileSaveAs, "Save &As...", {}, true},
            {CMainFrame::kFilePrint, "&Print...", {QKeySequence("Ctrl+P")}, true},
            {CMainFrame::kFilePrintPreview, "Print Pre&view", {}, true},
            {CMainFrame::kFilePrintSetup, "P&rint Setup...", {}, true},
            {CMainFrame::kAppExit, "E&xit", {}, true},
            {CMainFrame::kEditUndo, "&Undo", {QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")}, false},
            {CMainFrame::kEditCut, "Cu&t", {QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")}, true},
            {CMainFrame::kEditCopy, "&Copy", {QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}, false},
            {CMainFrame::kEditPaste, "&Paste", {QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")}, false},
            {CMainFrame::kViewToolbar, "&Toolbar", {}, true},
            {CMainFrame::kViewStatusBar, "&Status Bar", {}, true},
            {CMainFrame::kAppAbout, "&About Combra...", {}, true},
            {CMainFrame::kHelpDocument, "Help Document", {}, true},
        };
        for (const Item& item : items) {
            QAction* a = frame->Action(item.id);
            QVERIFY2(a, item.text);
            QCOMPARE(a->text(), QString::fromLatin1(item.text));
            QCOMPARE(a->shortcuts(), item.keys);
            QCOMPARE(a->isEnabled(), item.enabled);
        }

        // The recent-file list starts as a greyed "Recent File".
        QMenu* file = frame->menuBar()->actions().at(0)->menu();
        QStringList fileItems;
        for (QAction* a : file->actions()) {
            if (a->text() == QLatin1String("Recent File")) QVERIFY(!a->isEnabled());
            fileItems << (a->isSeparator() ? QStringLiteral("-") : a->text());
        }
        QCOMPARE(fileItems, (QStringList{"&New", "&Open...", "&Save", "Save &As...", "-", "&Print...",
                                         "Print Pre&view", "P&rint Setup...", "-", "Recent File", "-",
                                         "E&xit"}));

        auto* bar = frame->findChild<QToolBar*>();
        QVERIFY(bar);
        QStringList buttons;
        for (QAction* a : bar->actions()) buttons << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(buttons, (QStringList{"&New", "&Open...", "&Save", "-", "Cu&t", "&Copy", "&Paste", "-",
                                       "&Print...", "-", "Add a new BMP",
                                       "Calculate the combined coefficient(s)", "-",
                                       "&About Combra..."}));
        for (int id : {CMainFrame::kAddBmp, CMainFrame::kCalculate}) {
            QAction* a = frame->Action(id);
            QCOMPARE(a->toolTip(), a->text());
            QCOMPARE(a->statusTip(), a->text());
        }
        QVERIFY(frame->statusBar()->isVisible());
    }

    void addLinkCalculateShowAndCopyResults() {
        frame->Action(CMainFrame::kAddBmp)->trigger();
        frame->Action(CMainFrame::kAddBmp)->trigger();
        QCOMPARE(doc().Nodes().size(), std::size_t(2));
        BmpNode& up = *doc().Nodes()[0];
        BmpNode& down = *doc().Nodes()[1];
        QCOMPARE(up.x, 70);
        QCOMPARE(down.x, 210);
        QCOMPARE(down.y, 60);
        up.load = 10.0f;
        up.eff[kN] = 0.5f;
        down.eff[kN] = 0.5f;
        down.eff[kEColi] = 0.25f;

        // Drag the first box onto the second: a link, nothing moved.
        Drag({70, 60}, {215, 70});
        QCOMPARE(up.downstream, &down);
        QCOMPARE(up.x, 70);

        QCOMPARE(NavyPixels(view(), view::ResultHitArea(down)), 0);
        frame->Action(CMainFrame::kCalculate)->trigger();
        QVERIFY(view()->ResultsValid());
        QVERIFY(messages.isEmpty());
        QVERIFY(NavyPixels(view(), view::ResultHitArea(down)) > 50);  // results under the outlet
        QCOMPARE(NavyPixels(view(), view::ResultHitArea(up)), 0);     // none under the other

        // Right-click Copy on the result lines.
        struct Line {
            int line;
            const char* text;
        };
        for (const Line& l : {Line{1, "10.000"}, Line{2, ".750"}, Line{3, ".000"}, Line{6, ".250"}}) {
            MenuState state;
            ChooseFromMenu(QStringLiteral("Copy"), &state);
            QApplication::clipboard()->setText(QStringLiteral("before"));
            RightClick(ResultLinePoint(down, l.line));
            QVERIFY(state.seen);
            QVERIFY(state.copy);
            QVERIFY(!state.edit);
            QCOMPARE(QApplication::clipboard()->text(), QString::fromLatin1(l.text));
        }
        // Under the upstream node nothing is shown, so Copy is disabled.
        MenuState under;
        ChooseFromMenu(QStringLiteral("Copy"), &under);
        RightClick(ResultLinePoint(up, 2));
        QVERIFY(under.seen && !under.copy);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral(".250"));

        // Hovering a result line tells how to copy it.
        QTest::mouseMove(vp(), ToViewport(view(), ResultLinePoint(down, 2)));
        QCOMPARE(view()->ToolTipText(), QStringLiteral("Right click to copy results"));

        // An edit removes the results until the next calculation.
        MenuState add;
        ChooseFromMenu(QStringLiteral("Add"), &add);
        RightClick({600, 300});
        QCOMPARE(doc().Nodes().size(), std::size_t(3));
        QCOMPARE(doc().Nodes()[2]->x, 600);
        QVERIFY(!view()->ResultsValid());
        QCOMPARE(NavyPixels(view(), view::ResultHitArea(down)), 0);
        QVERIFY(doc().IsModified());
    }

    void clickMoveAndShiftSelection() {
        frame->Action(CMainFrame::kAddBmp)->trigger();
        frame->Action(CMainFrame::kAddBmp)->trigger();
        BmpNode& a = *doc().Nodes()[0];
        BmpNode& b = *doc().Nodes()[1];
        doc().SetModifiedFlag(false);

        // One pixel of movement is a click.
        Drag({70, 60}, {71, 61});
        QCOMPARE(a.x, 70);
        QVERIFY(a.selected);
        QVERIFY(!doc().IsModified());
        Click({210, 60}, Qt::ShiftModifier);
        QVERIFY(a.selected && b.selected);
        Click({500, 400});
        QVERIFY(!a.selected && !b.selected);

        // A drag to empty space moves the box and keeps the results.
        frame->Action(CMainFrame::kCalculate)->trigger();
        Drag({210, 60}, {310, 200});
        QCOMPARE(b.x, 310);
        QCOMPARE(b.y, 200);
        QVERIFY(view()->ResultsValid());
        QVERIFY(doc().IsModified());
    }

    void deleteRemovesSelectedNodeAndItsLinks() {
        for (int i = 0; i < 3; ++i) frame->Action(CMainFrame::kAddBmp)->trigger();
        BmpNode* a = doc().Nodes()[0].get();
        BmpNode* b = doc().Nodes()[1].get();
        BmpNode* c = doc().Nodes()[2].get();
        Drag({70, 60}, {210, 60});
        Drag({350, 60}, {210, 60});
        QCOMPARE(a->downstream, b);
        QCOMPARE(c->downstream, b);
        frame->Action(CMainFrame::kCalculate)->trigger();

        Click({210, 60});
        QVERIFY(b->selected);
        view()->setFocus();
        QTest::keyClick(view(), Qt::Key_Delete);
        QCOMPARE(doc().Nodes().size(), std::size_t(2));
        QCOMPARE(doc().Nodes()[0].get(), a);
        QCOMPARE(doc().Nodes()[1].get(), c);
        QVERIFY(!a->downstream && !c->downstream);
        QVERIFY(!view()->ResultsValid());

        // Edit > Cut deletes too: a selected link this time.
        Drag({70, 60}, {350, 60});
        const view::Segment link = view::LinkSegment(*a, *c);
        Click({(link.a.x + link.b.x) / 2, (link.a.y + link.b.y) / 2});
        QVERIFY(a->linkSelected);
        frame->Action(CMainFrame::kEditCut)->trigger();
        QCOMPARE(doc().Nodes().size(), std::size_t(2));
        QVERIFY(!a->downstream);
    }

    void scrolledViewActsOnTheNodeUnderThePointer() {
        frame->resize(420, 360);
        QTest::qWait(20);
        doc().SetCatalog({{"Pond", "Wet pond", {0.3f, 0.5f, 0.2f, 0.8f, 0.7f}},
                          {"Buffer", "Riparian buffer", {}}});
        doc().AddNode(70, 60)->catalogIndex = 1;
        BmpNode& far = *doc().AddNode(900, 700);
        far.catalogIndex = 0;
        far.load = 7.0f;
        view()->RecomputeExtents();
        view()->horizontalScrollBar()->setValue(view()->horizontalScrollBar()->maximum());
        view()->verticalScrollBar()->setValue(view()->verticalScrollBar()->maximum());
        const QPoint scroll = view()->ScrollPosition();
        QVERIFY(scroll.x() > 400 && scroll.y() > 300);
        const QPoint onFar(900 - scroll.x(), 700 - scroll.y());
        QVERIFY(vp()->rect().contains(onFar));
        QCOMPARE(view()->ToDocument(onFar), (view::Point{900, 700}));

        QTest::mouseMove(vp(), onFar);
        QCOMPARE(view()->ToolTipText(), QStringLiteral("Pond - Wet pond"));
        // Over the first node's place in the window, but scrolled away from it.
        QTest::mouseMove(vp(), QPoint(70, 60));
        QCOMPARE(view()->ToolTipText(), QString());

        MenuState state;
        ChooseFromMenu(QString(), &state);
        RightClick({900, 700});
        QVERIFY(state.seen && state.edit && !state.copy);

        double shownLoad = -1;
        int shownIndex = -2;
        view()->SetDialogRunner([&](CBMPParamDlg& dlg) {
            shownLoad = dlg.Edit(CBMPParamDlg::kLoad)->text().toDouble();
            shownIndex = dlg.CatalogList()->currentIndex();
            dlg.Edit(CBMPParamDlg::kLoad)->setText(QStringLiteral("8.5"));
            dlg.accept();
            return dlg.result();
        });
        QTest::mouseDClick(vp(), Qt::LeftButton, {}, onFar);
        QCOMPARE(shownLoad, 7.0);
        QCOMPARE(shownIndex, 0);
        QCOMPARE(far.load, 8.5f);
        QCOMPARE(doc().Nodes()[0]->load, 0.0f);

        // A drag in the scrolled view moves the node by the pointer's distance.
        Drag({900, 700}, {880, 690});
        QCOMPARE(far.x, 880);
        QCOMPARE(far.y, 690);
    }

    void movingLeftOfTheOriginShiftsTheDrawing() {
        frame->Action(CMainFrame::kAddBmp)->trigger();
        frame->Action(CMainFrame::kAddBmp)->trigger();
        BmpNode& a = *doc().Nodes()[0];
        BmpNode& b = *doc().Nodes()[1];
        // Pressed on A at (70, 60), released 100 left and 50 up (outside the window).
        QTest::mousePress(vp(), Qt::LeftButton, {}, QPoint(70, 60));
        QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(-30, 10));
        // A's box would start at x = -90, y = -40: everything moves by (90, 40).
        QCOMPARE(view::NodeBox(a).left, 0);
        QCOMPARE(view::NodeBox(a).top, 0);
        QCOMPARE(b.x, 300);
        QCOMPARE(b.y, 100);
        QCOMPARE(view()->ScrollPosition(), QPoint(90, 40));
        QCOMPARE(view()->horizontalScrollBar()->maximum(), 90);
    }

    void parameterDialogRangesAndCatalogue() {
        std::vector<BmpCatalogEntry> catalog = {
            {"Buffer", "Riparian buffer", {0.4f, 0.5f, 0.0f, 0.6f, 0.3f}},
            {"Pond", "Wet pond", {0.3f, 0.5f, 0.2f, 0.8f, 0.7f}},
        };
        CBMPParamDlg dlg(catalog);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Set BMP Parameter Values"));
        QStringList shown;
        for (int i = 0; i < dlg.CatalogList()->count(); ++i) shown << dlg.CatalogList()->itemText(i);
        QCOMPARE(shown, (QStringList{"Buffer - Riparian buffer", "Pond - Wet pond"}));
        // Defaults of a fresh dialog.
        QCOMPARE(dlg.Edit(CBMPParamDlg::kLoad)->text(), QStringLiteral("1"));
        QCOMPARE(dlg.Edit(CBMPParamDlg::kEffN)->text(), QStringLiteral("0.1"));
        QCOMPARE(dlg.Edit(CBMPParamDlg::kEffEColi)->text(), QStringLiteral("0"));
        QCOMPARE(dlg.CatalogList()->currentIndex(), -1);

        QStringList errors;
        dlg.SetMessageHandler([&](const QString& text) { errors << text; });

        CBMPParamDlg::Values values;
        values.load = 25.0;
        values.eff = {0.1, 0.2, 0.3, 0.4, 0.5};
        dlg.SetValues(values);
        dlg.ChooseCatalogEntry(1);
        QCOMPARE(dlg.Edit(CBMPParamDlg::kLoad)->text(), QStringLiteral("25"));  // load unchanged
        QCOMPARE(dlg.Edit(CBMPParamDlg::kEffSediment)->text(), QStringLiteral("0.8"));
        QCOMPARE(dlg.Edit(CBMPParamDlg::kEffEColi)->text(), QStringLiteral("0.7"));

        struct Bad {
            CBMPParamDlg::Control field;
            const char* text;
            const char* message;
        };
        const Bad bad[] = {
            {CBMPParamDlg::kLoad, "-1", "Enter a number between 0 and 1e+16."},
            {CBMPParamDlg::kLoad, "2e16", "Enter a number between 0 and 1e+16."},
            {CBMPParamDlg::kEffN, "1.5", "Enter a number between 0 and 1."},
            {CBMPParamDlg::kEffEColi, "-0.1", "Enter a number between 0 and 1."},
            {CBMPParamDlg::kEffBOD, "abc", "Enter a number."},
            {CBMPParamDlg::kEffP, "", "Enter a number."},
        };
        for (const Bad& b : bad) {
            QLineEdit* edit = dlg.Edit(b.field);
            const QString good = edit->text();
            edit->setText(QString::fromLatin1(b.text));
            errors.clear();
            dlg.accept();
            QCOMPARE(errors, QStringList{QString::fromLatin1(b.message)});
            QCOMPARE(dlg.result(), int(QDialog::Rejected));  // still open
            edit->setText(good);
        }

        errors.clear();
        dlg.Edit(CBMPParamDlg::kLoad)->setText(QStringLiteral("1e16"));
        dlg.Edit(CBMPParamDlg::kEffN)->setText(QStringLiteral("1"));
        dlg.accept();
        QVERIFY(errors.isEmpty());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const auto& got = dlg.GetValues();
        QCOMPARE(got.load, 1e16);
        QCOMPARE(got.eff[kN], 1.0);
        QCOMPARE(got.eff[kSediment], 0.8);
        QCOMPARE(got.catalogIndex, 1);

        // The first catalogue entry is shown selected when a node was set from it.
        values.catalogIndex = 0;
        dlg.SetValues(values);
        QCOMPARE(dlg.CatalogList()->currentIndex(), 0);
        values.catalogIndex = 5;
        dlg.SetValues(values);
        QCOMPARE(dlg.CatalogList()->currentIndex(), -1);
    }

    void cancelledDialogChangesNothing() {
        frame->Action(CMainFrame::kAddBmp)->trigger();
        frame->Action(CMainFrame::kCalculate)->trigger();
        BmpNode& n = *doc().Nodes()[0];
        doc().SetModifiedFlag(false);
        view()->SetDialogRunner([](CBMPParamDlg& dlg) {
            dlg.Edit(CBMPParamDlg::kLoad)->setText(QStringLiteral("99"));
            dlg.reject();
            return dlg.result();
        });
        QTest::mouseDClick(vp(), Qt::LeftButton, {}, QPoint(70, 60));
        QCOMPARE(n.load, 0.0f);
        QVERIFY(view()->ResultsValid());
        QVERIFY(!doc().IsModified());
    }

    void loopIsReported() {
        frame->Action(CMainFrame::kAddBmp)->trigger();
        frame->Action(CMainFrame::kAddBmp)->trigger();
        Drag({70, 60}, {210, 60});
        Drag({210, 60}, {70, 60});
        frame->Action(CMainFrame::kCalculate)->trigger();
        QCOMPARE(messages, QStringList{"CIRCLE!"});
    }

    void saveOpenRecentFilesAndUnsavedChanges() {
        frame->Action(CMainFrame::kAddBmp)->trigger();
        frame->Action(CMainFrame::kAddBmp)->trigger();
        Drag({210, 60}, {70, 60});

        const QString saved = files.filePath(QStringLiteral("net.inp"));
        frame->SetFileChooser([&](bool save, const QString&) { return save ? saved : QString(); });
        frame->Action(CMainFrame::kFileSave)->trigger();  // untitled: Save As
        QVERIFY(!doc().IsModified());
        std::ifstream in(saved.toStdString());
        std::string line1, line2;
        std::getline(in, line1);
        std::getline(in, line2);
        QCOMPARE(QString::fromStdString(line2).section('\t', 0, 1), QStringLiteral("1\t0"));
        QCOMPARE(frame->RecentFiles(), QStringList{saved});

        // New with unsaved changes asks; Cancel keeps the network.
        frame->Action(CMainFrame::kAddBmp)->trigger();
        QStringList asked;
        frame->SetSaveQuestion([&](const QString& text) {
            asked << text;
            return QMessageBox::Cancel;
        });
        frame->Action(CMainFrame::kFileNew)->trigger();
        QCOMPARE(asked, QStringList{"Save changes to net.inp?"});
        QCOMPARE(doc().Nodes().size(), std::size_t(3));
        // Closing asks too, and Cancel keeps the window.
        QVERIFY(!frame->close());
        QVERIFY(frame->isVisible());

        frame->SetSaveQuestion([](const QString&) { return QMessageBox::No; });
        frame->Action(CMainFrame::kFileNew)->trigger();
        QVERIFY(doc().Nodes().empty());

        // Open restores the saved network; results of an earlier calculation are gone.
        frame->Action(CMainFrame::kAddBmp)->trigger();
        frame->Action(CMainFrame::kCalculate)->trigger();
        QVERIFY(frame->OpenDocumentFile(saved));
        QCOMPARE(doc().Nodes().size(), std::size_t(2));
        QCOMPARE(doc().Nodes()[1]->downstream, doc().Nodes()[0].get());
        QVERIFY(!view()->ResultsValid());

        // A file that cannot be opened keeps the network and leaves the recent list.
        const QString missing = files.filePath(QStringLiteral("missing.inp"));
        frame->SetFileChooser([&](bool, const QString&) { return missing; });
        frame->Action(CMainFrame::kFileOpen)->trigger();
        QCOMPARE(messages, QStringList{"Cannot open file " + QDir::toNativeSeparators(missing) +
                                       " for reading"});
        QCOMPARE(doc().Nodes().size(), std::size_t(2));

        // The list keeps the 4 most recent files, newest first, in the File menu.
        QStringList opened;
        for (int i = 0; i < 5; ++i) {
            opened.prepend(WriteFile(QStringLiteral("f%1.inp").arg(i), "0\t-1\t-1\t70\t60\t1\t0\t0\t0\t0\t0\n"));
            QVERIFY(frame->OpenDocumentFile(opened.front()));
        }
        QCOMPARE(frame->RecentFiles(), opened.mid(0, 4));
        QSettings settings(QString::fromLatin1(CMainFrame::kSettingsKey), QStringLiteral("Combra"));
        QCOMPARE(settings.value(QStringLiteral("Recent File List/File1")).toString(), opened.front());
        QMenu* file = frame->menuBar()->actions().at(0)->menu();
        QStringList entries;
        for (QAction* a : file->actions()) {
            if (a->text().startsWith('&') && a->text().at(1).isDigit()) entries << a->text();
        }
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries.front(), "&1 " + QDir::toNativeSeparators(opened.front()));

        QVERIFY(QFile::remove(opened.at(1)));
        frame->OpenDocumentFile(opened.at(1));
        QCOMPARE(frame->RecentFiles(), (QStringList{opened.at(0), opened.at(2), opened.at(3)}));
    }

    void helpDocument() {
        // The test program's folder holds no help file: the failure is reported.
        frame->Action(CMainFrame::kHelpDocument)->trigger();
        QCOMPARE(messages, QStringList{"Cannot open help file..."});

        // The built help document is a PDF beside the program.
        QFile pdf(QStringLiteral(COMBRA_HELP_PDF));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        QVERIFY(pdf.size() > 10000);
    }
};

int main(int argc, char** argv) {
    // Settings (the recent-file list) go to a folder of their own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    CombraAppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "app_test.moc"
