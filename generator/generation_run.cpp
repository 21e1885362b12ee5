#include "generator/generation_run.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

#include "workbook/model/objects.h"

namespace {

const char* const kInput = "Input";
const char* const kGully = "Gully&Streambank";
const char* const kInfo = "General Input Data";

// The error's description as one line of a message.
std::string describe(const std::exception& e) {
    std::string s = e.what();
    for (char& ch : s)
        if (ch == '\r' || ch == '\n') ch = ' ';
    return s;
}

std::string currentFolder() {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string(".") : p.string();
}

// "General Input Data"!C6 read back as a loop bound: a number, or a text that reads as one;
// an empty cell counts as 0.
int countFromCell(const wb::CellValue& v) {
    if (std::holds_alternative<std::monostate>(v)) return 0;
    if (const double* d = std::get_if<double>(&v)) return static_cast<int>(std::floor(*d));
    if (const std::string* s = std::get_if<std::string>(&v)) {
        auto typed = wb::readTypedEntry(*s);
        if (typed && std::holds_alternative<double>(*typed))
            return static_cast<int>(std::floor(std::get<double>(*typed)));
    }
    throw wb::WorkbookError("Type mismatch: the number of subwatersheds in \"General Input "
                            "Data\"!C6 is not a number");
}

}  // namespace

const std::vector<BuildStep>& buildSteps() {
    static const std::vector<BuildStep> steps = {
        {10, "Creating the info sheet (1/14), please wait ...", "GeneralInputData", kInfo},
        {16, "Creating the input sheet (2/14), please wait ...", "DataInput", kInput},
        {24, "Creating the landuse sheet (3/14), please wait ...", "LandusePage", "Land&Rain"},
        {32, "Creating the livestock sheet (4/14), please wait ...", "AnimalPage", "Animal"},
        {40, "Creating the urban sheet (5/14), please wait ...", "UrbanPage", "Urban"},
        {48, "Creating the feedlot sheet (6/14), please wait ...", "FeedlotsPage", "Feedlots"},
        {56, "Creating the septic sheet (7/14), please wait ...", "SepticPage", "Septic"},
        {64, "Creating the sediment sheet (8/14), please wait ...", "SedimentPage", "Sediment"},
        {68, "Creating the gully and streambank sheet (9/14), please wait ...", "GullyStreamBank",
         kGully},
        {72, "Creating the load sheet (10/14), please wait ...", "TotalLoadPage", "Total Load"},
        {80, "Creating the graph sheet (11/14), please wait ...", "GraphPage", "Graphs"},
        {88, "Creating the reference sheet (12/14), please wait ...", "ReferencePage", "Reference"},
        {96, "Creating the BMP list sheet (13/14), please wait ...", "BMPListPage", "BMPList"},
        {98, "Creating the BMP selection sheet (14/14), please wait ...", "BMPPage", "BMPs"},
    };
    return steps;
}

const std::vector<std::string>& hiddenSheets() {
    static const std::vector<std::string> names = {
        "CountyData", kInfo,       "Land&Rain", "Animal", "Urban",   "Feedlots",
        "Septic",     "Reference", "Sediment",  kGully,   "BMPList",
    };
    return names;
}

std::string runtext::success() {
    return "KAVRO model was created successfully. Please save it and set your EXCEL security "
           "level to enable macros. \r\n"
           "To set the security level in EXCEL: Click on File menu > Excel Options > Trust Center "
           "> Trust Center Settings > Macro Settings.";
}

std::string ShowExtensionName(std::string_view path) {
    size_t slash = path.find_last_of("/\\");
    std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = last.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(last.substr(dot + 1));
}

GenerationRun::GenerationRun(RunReporter& reporter, WorkbookIO& io,
                             std::vector<NamedBuilder> builders)
    : reporter_(reporter), io_(io), builders_(std::move(builders)) {}

GenerationRun::Result GenerationRun::run(GenerationOptions& opt) {
    if (workingFolder_.empty()) workingFolder_ = currentFolder();
    if (templatePath_.empty()) templatePath_ = workingFolder_ + "/support/NutrTplt.xlsm";
    book_.reset();

    Result r;
    try {
        build(opt);
    } catch (const std::exception& e) {
        r.outcome = Outcome::BuildFailed;
        r.message = describe(e) + runtext::kCreateFailed;
        reporter_.messageBox(runtext::kCaption, r.message);
        return r;
    }
    return save(std::move(r));
}

void GenerationRun::build(GenerationOptions& opt) {
    reporter_.status(runtext::kCreating);
    book_ = io_.open(templatePath_);
    if (!book_) throw wb::WorkbookError("The template \"" + templatePath_ + "\" could not be opened");
    wb::Workbook& book = *book_;

    const bool gullies = opt.GullyCount + opt.StreambankCount > 0;
    for (const BuildStep& step : buildSteps()) {
        reporter_.progress(step.progress);
        reporter_.status(step.status);
        if (std::string_view(step.builder) == "GullyStreamBank" && !gullies) continue;
        auto b = std::find_if(builders_.begin(), builders_.end(),
                              [&](const NamedBuilder& nb) { return nb.name == step.builder; });
        if (b == builders_.end()) continue;  // not written yet
        if (!b->reportsOwnFailure) {
            b->build(book, opt);
            continue;
        }
        try {
            b->build(book, opt);
        } catch (const std::exception& e) {
            reporter_.messageBox(runtext::kCaption, e.what());
        }
    }
    reporter_.progress(100);
    book.sheet(kInput).activate();
    reporter_.messageBox(runtext::kCaption, runtext::success());

    reporter_.buildFinished();
    for (const std::string& name : hiddenSheets()) book.sheet(name).setVisible(false);
}

GenerationRun::Result GenerationRun::save(Result r) {
    wb::Workbook& book = *book_;
    try {
        std::string name;
        do {
            name = reporter_.askSaveName(workingFolder_ + "/KAVRO.xlsm", runtext::kSaveFilter);
        } while (name == runtext::kCancelled);
        r.savedPath = name;

        // Only the exact lower-case "xls" is saved without a format.
        const SaveFormat format =
            ShowExtensionName(name) == "xls" ? SaveFormat::WorkbookOwn : SaveFormat::MacroEnabled;
        io_.saveAs(book, name, format);
        r.fileWritten = true;

        GroupOptionBtn(book);

        wb::Worksheet& gully = book.sheet(kGully);
        gully.setVisible(true);
        gully.range("A1").setValue(" ");
        gully.setVisible(false);
        book.sheet(kInput).range("A1").setValue(" ");

        io_.saveAs(book, name, format);
    } catch (const std::exception& e) {
        r.outcome = Outcome::SaveFailed;
        r.message = describe(e) + runtext::kSaveFailed;
        reporter_.messageBox(runtext::kCaption, r.message);
        return r;
    }
    r.outcome = Outcome::Succeeded;
    reporter_.openResult(r.savedPath);
    return r;
}

GenerationRun::Result GenerationRun::saveAgain() {
    if (!book_) return Result{};
    return save(Result{});
}

void GenerationRun::GroupOptionBtn(wb::Workbook& book) {
    try {
        wb::Worksheet& input = book.sheet(kInput);
        if (input.range("AA10").text() == runtext::kGroupedMark) return;
        const int n = countFromCell(book.sheet(kInfo).range("C6").value());
        for (int g = 1; g <= n; ++g) {
            std::vector<std::string> names;
            for (int k = 4 * g - 3; k <= 4 * g; ++k) names.push_back("optionButton" + std::to_string(k));
            wb::groupShapes(input, names);
        }
        input.range("AA10").setValue(runtext::kGroupedMark);
    } catch (const std::exception&) {
        reporter_.messageBox(runtext::kCaption, runtext::kGroupFailed);
    }
}
