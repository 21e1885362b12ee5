// The options form: the shape of the project (subwatersheds, gullies, impaired streambanks), the
// initialisation mode, and the generation run that OK starts, with its progress bar and status
// bar.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "generator/generation_options.h"
#include "generator/generation_run.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class UserDialogs;

// What the run is given besides the form's choices.
struct RunSetup {
    std::string templatePath;   // empty: the working folder's support/NutrTplt.xlsm
    std::string bmpListPath;    // empty: the working folder's support/allBMPkavro.csv
    std::string workingFolder;  // where the save dialog proposes KAVRO.xlsm; empty: the current one
    WorkbookIO* io = nullptr;   // null: the Open XML package reader and writer
    std::optional<std::vector<NamedBuilder>> builders;  // unset: every sheet builder

    // The data files found as kavro-generate finds them: under the current folder's support/,
    // then beside the program, then in the installed data folder.
    static RunSetup forProcess();
};

class FrmInput : public QDialog {
  public:
    static const char* const kReady;  // the status text at load

    FrmInput(UserDialogs& dialogs, RunSetup setup, QWidget* parent = nullptr);
    ~FrmInput() override;

    // The form's choices as OK hands them to the run: the counts read from the text boxes, the
    // mode and the check boxes' flags.
    GenerationOptions readOptions() const;

    // The run's record and result, once OK has run.
    const GenerationOptions& options() const { return opt_; }
    const GenerationRun::Result& lastResult() const { return result_; }
    bool running() const { return running_; }
    // 0 unless a run ended in failure.
    int exitCode() const { return exitCode_; }

    // Cancel, Escape and the close button end the form, except while the run works.
    void reject() override;

  private:
    friend class FormReporter;

    void btnOK_Click();
    void applyInitialisationRule();
    void showStatus(const QString& text);

    UserDialogs& dialogs_;
    RunSetup setup_;
    GenerationOptions opt_;
    GenerationRun::Result result_;
    bool running_ = false;
    int exitCode_ = 0;

    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QScrollBar* VScroll1;
    QScrollBar* VScroll2;
    QScrollBar* VScroll3;
    QRadioButton* OptZero;
    QRadioButton* OptNonZero;
    QProgressBar* ProgressBar1;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QStatusBar* StatusBar1;
    std::vector<QCheckBox*> cbLU, CkAgAnimal, cbPollutant;
};
