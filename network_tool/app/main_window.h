// Combra's main window: menus, accelerators, toolbar, status bar, the file commands with
// the recent-file list, printing, About and the help document. Owns the document and
// its one view.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

#include "bmp_doc.h"
#include "message_sink.h"

class QLabel;
class QPrinter;

namespace combra::app {

class CBMPView;

class CMainFrame : public QMainWindow, public MessageSink {
    Q_OBJECT
public:
    // Command ids of the menus and the toolbar.
    enum Command {
        kFileNew = 57600,
        kFileOpen = 57601,
        kFileSave = 57603,
        kFileSaveAs = 57604,
        kFilePrintSetup = 57606,
        kFilePrint = 57607,
        kFilePrintPreview = 57609,
        kFileMruFirst = 57616,
        kAppExit = 57665,
        kEditUndo = 57643,
        kEditCut = 57635,
        kEditCopy = 57634,
        kEditPaste = 57637,
        kViewToolbar = 59392,
        kViewStatusBar = 59393,
        kAppAbout = 57664,
        kHelpDocument = 32774,
        kAddBmp = 32771,
        kCalculate = 32772,
    };

    static constexpr int kMaxRecentFiles = 4;
    // Settings of the recent-file list: organisation and group.
    static constexpr const char* kSettingsKey = "Local AppWizard-Generated Applications";
    static constexpr const char* kRecentGroup = "Recent File List";

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CBMPDoc& Document() { return doc_; }
    CBMPView* View() const { return view_; }
    QAction* Action(int commandId) const;

    // Reads "Support/allCombra.csv" from the program's folder.
    void LoadCatalog();
    // Opens a model input file (Open, the recent-file list, the command line). False when
    // the file could not be opened.
    bool OpenDocumentFile(const QString& path);
    bool SaveDocument();
    bool SaveDocumentAs();
    // Asks whether to save unsaved changes; false when the user cancels.
    bool SaveModified();

    QStringList RecentFiles() const;

    // MessageSink: a modal message box, or the handler set for tests.
    void ShowMessage(const std::string& text) override;
    void SetMessageHandler(std::function<void(const QString&)> handler) {
        messageHandler_ = std::move(handler);
    }
    // The question about unsaved changes; a message box by default.
    using SaveQuestion = std::function<QMessageBox::StandardButton(const QString& text)>;
    void SetSaveQuestion(SaveQuestion question) { saveQuestion_ = std::move(question); }
    // The file dialogs; `save` tells Save As from Open. Empty = cancelled.
    using FileChooser = std::function<QString(bool save, const QString& suggested)>;
    void SetFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

    // Paints the network onto a printer page (print and print preview).
    void PrintNetwork(QPrinter* printer);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* NewAction(int id, const QString& text, const QString& prompt);

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnAppAbout();
    void OnHelpDocument();

    void AddToRecentFiles(const QString& path);
    void RemoveFromRecentFiles(const QString& path);
    void WriteRecentFiles(const QStringList& files);
    void UpdateRecentFileMenu();
    QPrinter& Printer();

    CBMPDoc doc_;
    CBMPView* view_ = nullptr;
    std::map<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    std::vector<QAction*> recentActions_;
    std::unique_ptr<QPrinter> printer_;
    std::function<void(const QString&)> messageHandler_;
    SaveQuestion saveQuestion_;
    FileChooser fileChooser_;
};

}  // namespace combra::app
