#include "main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "catalog.h"
#include "icons.h"
#include "network_painter.h"
#include "network_view.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace combra::app {

namespace {

const QString kCaption = QStringLiteral("Combra");
const QString kFileFilter = QStringLiteral("Model Input File(*.inp);;All Files (*.*)");

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

QSettings RecentSettings() {
    return QSettings(QString::fromLatin1(CMainFrame::kSettingsKey), QStringLiteral("Combra"));
}

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
}

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdWString(path.wstring());
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(kCaption);
    setWindowIcon(MakeIcon(IconKind::kProgram));

    view_ = new CBMPView(doc_, this);
    setCentralWidget(view_);
    doc_.SetMessageSink(this);
    doc_.SetObserver(view_);

    messageHandler_ = [this](const QString& text) {
        QMessageBox::warning(this, kCaption, text);
    };
    saveQuestion_ = [this](const QString& text) {
        return QMessageBox::question(this, kCaption, text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                     QMessageBox::Yes);
    };
    fileChooser_ = [this](bool save, const QString& suggested) {
        if (save) {
            QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), suggested,
                                                        kFileFilter);
            if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".inp");
            return path;
        }
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open"), suggested, kFileFilter);
    };

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    UpdateRecentFileMenu();
    resize(960, 700);
    view_->setFocus();
}

CMainFrame::~CMainFrame() {
    // The view refers to the document, which is destroyed before the window's children:
    // the view goes first.
    doc_.SetObserver(nullptr);
    doc_.SetMessageSink(nullptr);
    delete view_;
    view_ = nullptr;
}

QAction* CMainFrame::Action(int commandId) const {
    auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::NewAction(int id, const QString& text, const QString& prompt) {
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setStatusTip(prompt);
    actions_[id] = action;
    return action;
}

void CMainFrame::CreateActions() {
    using K = QKeySequence;
    NewAction(kFileNew, QStringLiteral("&New"), QStringLiteral("Create a new document"))
        ->setShortcut(K(Qt::CTRL | Qt::Key_N));
    NewAction(kFileOpen, QStringLiteral("&Open..."), QStringLiteral("Open an existing document"))
        ->setShortcut(K(Qt::CTRL | Qt::Key_O));
    NewAction(kFileSave, QStringLiteral("&Save"), QStringLiteral("Save the active document"))
        ->setShortcut(K(Qt::CTRL | Qt::Key_S));
    NewAction(kFileSaveAs, QStringLiteral("Save &As..."),
              QStringLiteral("Save the active document with a new name"));
    NewAction(kFilePrint, QStringLiteral("&Print..."), QStringLiteral("Print the active document"))
        ->setShortcut(K(Qt::CTRL | Qt::Key_P));
    NewAction(kFilePrintPreview, QStringLiteral("Print Pre&view"), QStringLiteral("Display full pages"));
    NewAction(kFilePrintSetup, QStringLiteral("P&rint Setup..."),
              QStringLiteral("Change the printer and printing options"));
    NewAction(kAppExit, QStringLiteral("E&xit"),
              QStringLiteral("Quit the application; prompts to save documents"));

    QAction* undo = NewAction(kEditUndo, QStringLiteral("&Undo"), QStringLiteral("Undo the last action"));
    undo->setShortcuts({K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)});
    QAction* cut = NewAction(kEditCut, QStringLiteral("Cu&t"),
                             QStringLiteral("Delete the selected BMPs and links"));
    cut->setShortcuts({K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)});
    QAction* copy = NewAction(kEditCopy, QStringLiteral("&Copy"),
                              QStringLiteral("Copy the selection and put it on the Clipboard"));
    copy->setShortcuts({K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)});
    QAction* paste = NewAction(kEditPaste, QStringLiteral("&Paste"),
                               QStringLiteral("Insert Clipboard contents"));
    paste->setShortcuts({K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)});
    // Undo, Copy and Paste have no handler in Combra, so they stay disabled.
    undo->setEnabled(false);
    copy->setEnabled(false);
    paste->setEnabled(false);

    NewAction(kViewToolbar, QStringLiteral("&Toolbar"), QStringLiteral("Show or hide the toolbar"))
        ->setCheckable(true);
    NewAction(kViewStatusBar, QStringLiteral("&Status Bar"),
              QStringLiteral("Show or hide the status bar"))
        ->setCheckable(true);
    NewAction(kAppAbout, QStringLiteral("&About Combra..."),
              QStringLiteral("Display program information, version number and copyright"));
    NewAction(kHelpDocument, QStringLiteral("Help Document"), QStringLiteral("Open the help document"));
    NewAction(kAddBmp, QStringLiteral("Add a new BMP"), QStringLiteral("Add a new BMP"));
    NewAction(kCalculate, QStringLiteral("Calculate the combined coefficient(s)"),
              QStringLiteral("Calculate the combined coefficient(s)"));

    const std::pair<int, IconKind> icons[] = {
        {kFileNew, IconKind::kNew},     {kFileOpen, IconKind::kOpen},   {kFileSave, IconKind::kSave},
        {kEditCut, IconKind::kCut},     {kEditCopy, IconKind::kCopy},   {kEditPaste, IconKind::kPaste},
        {kFilePrint, IconKind::kPrint}, {kAddBmp, IconKind::kAddBmp},   {kCalculate, IconKind::kCalculate},
        {kAppAbout, IconKind::kAbout},
    };
    for (const auto& [id, kind] : icons) Action(id)->setIcon(MakeIcon(kind));

    connect(Action(kFileNew), &QAction::triggered, this, &CMainFrame::OnFileNew);
    connect(Action(kFileOpen), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(Action(kFileSave), &QAction::triggered, this, [this] { SaveDocument(); });
    connect(Action(kFileSaveAs), &QAction::triggered, this, [this] { SaveDocumentAs(); });
    connect(Action(kFilePrint), &QAction::triggered, this, &CMainFrame::OnFilePrint);
    connect(Action(kFilePrintPreview), &QAction::triggered, this, &CMainFrame::OnFilePrintPreview);
    connect(Action(kFilePrintSetup), &QAction::triggered, this, &CMainFrame::OnFilePrintSetup);
    connect(Action(kAppExit), &QAction::triggered, this, &QWidget::close);
    connect(cut, &QAction::triggered, view_, &CBMPView::OnDelete);
    connect(Action(kAppAbout), &QAction::triggered, this, &CMainFrame::OnAppAbout);
    connect(Action(kHelpDocument), &QAction::triggered, this, &CMainFrame::OnHelpDocument);
    connect(Action(kAddBmp), &QAction::triggered, view_, &CBMPView::OnAddNewBmp);
    connect(Action(kCalculate), &QAction::triggered, this, [this] { doc_.OnCalculate(); });
}

void CMainFrame::CreateMenus() {
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    for (int id : {kFileNew, kFileOpen, kFileSave, kFileSaveAs}) fileMenu_->addAction(Action(id));
    fileMenu_->addSeparator();
    for (int id : {kFilePrint, kFilePrintPreview, kFilePrintSetup}) fileMenu_->addAction(Action(id));
    fileMenu_->addSeparator();
    recentSeparator_ = fileMenu_->addSeparator();  // recent files go above this one
    fileMenu_->addAction(Action(kAppExit));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(Action(kEditUndo));
    edit->addSeparator();
    for (int id : {kEditCut, kEditCopy, kEditPaste}) edit->addAction(Action(id));

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    viewMenu->addAction(Action(kViewToolbar));
    viewMenu->addAction(Action(kViewStatusBar));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(Action(kAppAbout));
    help->addAction(Action(kHelpDocument));
}

void CMainFrame::CreateToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Standard"));
    bar->setObjectName(QStringLiteral("AFX_IDW_TOOLBAR"));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setIconSize(QSize(16, 16));
    for (int id : {kFileNew, kFileOpen, kFileSave}) bar->addAction(Action(id));
    bar->addSeparator();
    for (int id : {kEditCut, kEditCopy, kEditPaste}) bar->addAction(Action(id));
    bar->addSeparator();
    bar->addAction(Action(kFilePrint));
    bar->addSeparator();
    bar->addAction(Action(kAddBmp));
    bar->addAction(Action(kCalculate));
    bar->addSeparator();
    bar->addAction(Action(kAppAbout));

    QAction* toggle = Action(kViewToolbar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
    connect(bar, &QToolBar::visibilityChanged, toggle, [toggle, bar](bool) {
        toggle->setChecked(!bar->isHidden());
    });
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->addWidget(new QLabel(QStringLiteral("Ready"), bar), 1);
#ifdef Q_OS_WIN
    // Lock-key indicators: the key states are read from the system twice a second.
    struct Indicator {
        const char* text;
        int key;
    };
    for (const Indicator& ind : {Indicator{"CAP", VK_CAPITAL}, Indicator{"NUM", VK_NUMLOCK},
                                 Indicator{"SCRL", VK_SCROLL}}) {
        auto* label = new QLabel(QString::fromLatin1(ind.text), bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(label);
        auto* timer = new QTimer(label);
        const int key = ind.key;
        connect(timer, &QTimer::timeout, label, [label, key] {
            label->setEnabled((GetKeyState(key) & 1) != 0);
        });
        timer->start(500);
    }
#endif
    QAction* toggle = Action(kViewStatusBar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::LoadCatalog() {
    const std::filesystem::path folder = ToPath(ProgramFolder());
    if (!EnterProgramFolder(folder, this)) return;
    doc_.LoadCatalog(CatalogPath(folder));
}

void CMainFrame::ShowMessage(const std::string& text) {
    if (messageHandler_) messageHandler_(QString::fromStdString(text));
}

bool CMainFrame::SaveModified() {
    if (!doc_.IsModified()) return true;
    const QString name = doc_.PathName().empty() ? QStringLiteral("Untitled")
                                                 : QFileInfo(FromPath(doc_.PathName())).fileName();
    switch (saveQuestion_(QStringLiteral("Save changes to %1?").arg(name))) {
    case QMessageBox::Yes:
        return SaveDocument();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CMainFrame::OnFileNew() {
    if (!SaveModified()) return;
    doc_.OnNewDocument();
}

void CMainFrame::OnFileOpen() {
    if (!SaveModified()) return;
    const QString suggested =
        doc_.PathName().empty() ? QString() : QFileInfo(FromPath(doc_.PathName())).absolutePath();
    const QString path = fileChooser_(false, suggested);
    if (path.isEmpty()) return;
    OpenDocumentFile(path);
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    if (!doc_.OnOpenDocument(ToPath(path))) {
        RemoveFromRecentFiles(path);
        return false;
    }
    if (doc_.LastOpenStatus() == CBMPDoc::OpenStatus::kOpened) AddToRecentFiles(path);
    return true;
}

bool CMainFrame::SaveDocument() {
    if (doc_.PathName().empty()) return SaveDocumentAs();
    const QString path = FromPath(doc_.PathName());
    if (!doc_.OnSaveDocument(doc_.PathName())) return false;
    AddToRecentFiles(path);
    return true;
}

bool CMainFrame::SaveDocumentAs() {
    const QString suggested =
        doc_.PathName().empty() ? QStringLiteral("Untitled.inp") : FromPath(doc_.PathName());
    const QString path = fileChooser_(true, suggested);
    if (path.isEmpty()) return false;
    if (!doc_.OnSaveDocument(ToPath(path))) return false;
    AddToRecentFiles(path);
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (SaveModified()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// ---- recent files -------------------------------------------------------------------------

QStringList CMainFrame::RecentFiles() const {
    QSettings settings = RecentSettings();
    settings.beginGroup(QString::fromLatin1(kRecentGroup));
    QStringList files;
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString file = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty()) files << file;
    }
    return files;
}

void CMainFrame::WriteRecentFiles(const QStringList& files) {
    QSettings settings = RecentSettings();
    settings.beginGroup(QString::fromLatin1(kRecentGroup));
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size()) {
            settings.setValue(key, files[i - 1]);
        } else {
            settings.remove(key);
        }
    }
    settings.sync();
    UpdateRecentFileMenu();
}

void CMainFrame::AddToRecentFiles(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeIf([&](const QString& f) { return QFileInfo(f).absoluteFilePath() == full; });
    files.prepend(full);
    while (files.size() > kMaxRecentFiles) files.removeLast();
    WriteRecentFiles(files);
}

void CMainFrame::RemoveFromRecentFiles(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    if (files.removeIf([&](const QString& f) { return QFileInfo(f).absoluteFilePath() == full; }) > 0) {
        WriteRecentFiles(files);
    }
}

void CMainFrame::UpdateRecentFileMenu() {
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        action->deleteLater();
    }
    recentActions_.clear();
    const QStringList files = RecentFiles();
    if (files.isEmpty()) {
        auto* placeholder = new QAction(QStringLiteral("Recent File"), this);
        placeholder->setEnabled(false);
        placeholder->setData(int(kFileMruFirst));
        fileMenu_->insertAction(recentSeparator_, placeholder);
        recentActions_.push_back(placeholder);
        return;
    }
    int n = 0;
    for (const QString& file : files) {
        ++n;
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(n).arg(QDir::toNativeSeparators(file)), this);
        action->setData(int(kFileMruFirst) + n - 1);
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this, [this, file] {
            if (SaveModified()) OpenDocumentFile(file);
        });
        fileMenu_->insertAction(recentSeparator_, action);
        recentActions_.push_back(action);
    }
}

// ---- printing --------------------------------------------------------------------------------

QPrinter& CMainFrame::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void CMainFrame::PrintNetwork(QPrinter* printer) {
    QPainter painter(printer);
    if (!painter.isActive()) return;
    const bool results = view_->ResultsValid();
    // The drawing keeps its place relative to the document origin, as on the screen.
    const QRect bounds = DrawingBounds(doc_, results) | QRect(0, 0, 1, 1);
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    const double screenScale = printer->resolution() / 96.0;
    const double fit = std::min(page.width() / double(bounds.right() + 1),
                                page.height() / double(bounds.bottom() + 1));
    const double scale = std::min(screenScale, fit);
    painter.scale(scale, scale);
    PaintNetwork(painter, doc_, results);
}

void CMainFrame::OnFilePrint() {
    QPrintDialog dialog(&Printer(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    PrintNetwork(&Printer());
}

void CMainFrame::OnFilePrintPreview() {
    QPrintPreviewDialog preview(&Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, &CMainFrame::PrintNetwork);
    preview.exec();
}

void CMainFrame::OnFilePrintSetup() {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.exec();
}

// ---- About and help --------------------------------------------------------------------------

void CMainFrame::OnAppAbout() {
    QDialog about(this);
    about.setObjectName(QStringLiteral("CAboutDlg"));
    about.setWindowTitle(QStringLiteral("About Combra"));
    auto* layout = new QHBoxLayout(&about);
    auto* icon = new QLabel(&about);
    icon->setPixmap(MakeIcon(IconKind::kProgram).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    layout->addWidget(icon);
    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QStringLiteral("Combra Version 4.4"), &about));
    texts->addWidget(new QLabel(
        QStringLiteral("Written by the KAVRO and Combra developers for watershed planners."), &about));
    layout->addLayout(texts);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Vertical, &about);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    layout->addWidget(buttons);
    about.exec();
}

void CMainFrame::OnHelpDocument() {
    const QString folder = ProgramFolder();
    if (!QDir::setCurrent(folder)) {
        ShowMessage("Cannot set current working directory.");
        return;
    }
    const QString file = QDir(folder).filePath(QStringLiteral("Combra_help.pdf"));
    // The desktop's viewer opens the file; Combra stays usable meanwhile.
    if (!QFileInfo::exists(file) || !QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        ShowMessage("Cannot open help file...");
    }
}

}  // namespace combra::app
