// The generation run: opens the template workbook, calls the sheet builders in their fixed order
// while it reports progress, hides the auxiliary sheets, asks for a file name, saves the workbook
// as a macro-enabled workbook, groups the Input sheet's option buttons and saves again.
//
// No window toolkit here: the desktop front end, the command line and the tests drive the same
// run through RunReporter, and reach the file format through WorkbookIO.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generator/generation_options.h"
#include "workbook/model/workbook.h"

// What the run tells its caller and asks of it.
class RunReporter {
public:
    virtual ~RunReporter() = default;
    // The progress bar, 0..100.
    virtual void progress(int value) = 0;
    // The status bar text.
    virtual void status(const std::string& text) = 0;
    // A modal message with an OK button.
    virtual void messageBox(const std::string& caption, const std::string& text) = 0;
    // The save-as question: a path, or "False" when the user cancelled.
    virtual std::string askSaveName(const std::string& initialName, const std::string& filter) = 0;
    // The building is over and the save steps begin: the options form hides.
    virtual void buildFinished() {}
    // The finished workbook, saved under `path`, is handed to the user.
    virtual void openResult(const std::string& path) = 0;
};

// How a workbook is saved: as a macro-enabled workbook (file format 52), or with no format
// given, so that the workbook keeps its own format.
enum class SaveFormat { MacroEnabled, WorkbookOwn };

// The file format, behind a seam that tests can fake.
class WorkbookIO {
public:
    virtual ~WorkbookIO() = default;
    // Opens a workbook for editing; throws on failure with a description of what is wrong.
    virtual std::unique_ptr<wb::Workbook> open(const std::string& path) = 0;
    // Save as: writes the workbook under `path`; throws on failure.
    virtual void saveAs(wb::Workbook& book, const std::string& path, SaveFormat format) = 0;
};

// A sheet builder: fills its own sheet of the open workbook.
using SheetBuilder = std::function<void(wb::Workbook&, GenerationOptions&)>;
struct NamedBuilder {
    std::string name;  // "GeneralInputData", "DataInput", ...
    SheetBuilder build;
    // The builder has a failure handler of its own: what it throws is shown in a message box and
    // the run goes on with the next sheet. Otherwise a failure ends the run.
    bool reportsOwnFailure = false;
};

// One step of the builder sequence, with its progress value and status text.
struct BuildStep {
    int progress;
    const char* status;
    const char* builder;
    const char* sheet;
};
// The fourteen steps in their order.
const std::vector<BuildStep>& buildSteps();

// Sheets hidden after building, in this order.
const std::vector<std::string>& hiddenSheets();

// The run's fixed texts.
namespace runtext {
inline constexpr const char* kCaption = "KAVRO";
inline constexpr const char* kCreating = "Creating the spreadsheet tool, please wait ...";
inline constexpr const char* kCreateFailed = "-Could not create the spreadsheet tool!";
inline constexpr const char* kSaveFailed = "-Please save your file with a different name!";
inline constexpr const char* kGroupFailed = "Could not group the option buttons!";
inline constexpr const char* kGroupedMark = "Opt Groupped";
inline constexpr const char* kSaveFilter = "Excel Macro-Enabled Workbook (*.xlsm),*.xlsm)";
inline constexpr const char* kCancelled = "False";
// The success message: its two lines joined by CR LF (the first with its trailing blank).
std::string success();
}  // namespace runtext

// The extension of a file name: what follows the last dot of its last path component, "" when
// there is none.
std::string ShowExtensionName(std::string_view path);

class GenerationRun {
public:
    enum class Outcome {
        Succeeded,
        BuildFailed,  // opening the template or a builder failed; nothing was saved
        SaveFailed,   // a save step failed; see fileWritten
    };
    struct Result {
        Outcome outcome = Outcome::BuildFailed;
        std::string savedPath;     // the chosen name, once there is one
        bool fileWritten = false;  // the first save wrote savedPath
        std::string message;       // the failure message shown, if any
    };

    // `builders`: the builders written so far, by name; a step whose builder is not among them
    // shows its progress and status and builds nothing.
    GenerationRun(RunReporter& reporter, WorkbookIO& io, std::vector<NamedBuilder> builders);

    // TemplatePath: the current working folder + "/support/NutrTplt.xlsm" unless set.
    void setTemplatePath(std::string path) { templatePath_ = std::move(path); }
    const std::string& templatePath() const { return templatePath_; }
    // The folder the save dialog proposes "KAVRO.xlsm" in: the current working folder unless set.
    void setWorkingFolder(std::string folder) { workingFolder_ = std::move(folder); }

    // The whole run. The caller has filled `opt` from the options form (counts, mode and the
    // check-box flags).
    Result run(GenerationOptions& opt);

    // The workbook of the last run (kept after a failed save, so it can still be saved).
    wb::Workbook* workbook() { return book_.get(); }

    // After a failed save: the save steps again on the kept workbook, from the name question
    // on (a front end that holds the only copy of the workbook offers this).
    Result saveAgain();

    // Groups the four soil-group option buttons of every subwatershed on "Input" into one shape,
    // once: AA10 of "Input" records that it was done. Reports its own failure.
    void GroupOptionBtn(wb::Workbook& book);

private:
    void build(GenerationOptions& opt);
    Result save(Result r);

    RunReporter& reporter_;
    WorkbookIO& io_;
    std::vector<NamedBuilder> builders_;
    std::string templatePath_;
    std::string workingFolder_;
    std::unique_ptr<wb::Workbook> book_;
};
