// The generation run with a recording reporter, recording builders and an in-memory file seam.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <set>

#include "generator/builders.h"
#include "generator/data_files.h"
#include "generator/generation_run.h"
#include "workbook/model/objects.h"

using namespace wb;

namespace {

const std::vector<std::string> kTemplateSheets = {
    "General Input Data", "Input",  "Land&Rain", "Animal",  "Urban",      "Feedlots",
    "Septic",             "Sediment", "Gully&Streambank", "Total Load", "Graphs", "Reference",
    "BMPList",            "BMPs",   "CountyData", "WeatherData", "Notes"};

std::unique_ptr<Workbook> makeTemplate() {
    auto book = std::make_unique<Workbook>();
    for (const std::string& name : kTemplateSheets) book->addSheet(name);
    return book;
}

std::vector<std::string> visibleSheets(Workbook& book) {
    std::vector<std::string> v;
    for (int i = 0; i < book.sheetCount(); ++i)
        if (book.sheet(i).visibility() == Worksheet::Visibility::Visible)
            v.push_back(book.sheet(i).name());
    return v;
}

// Opens a fresh template (or fails as a missing file does) and records every save with what
// the workbook looked like at that moment.
struct FakeIO : WorkbookIO {
    struct Save {
        std::string path;
        SaveFormat format;
        size_t groups;
        std::string inputA1, gullyA1;
        std::vector<std::string> visible;
    };
    bool missing = false;
    std::vector<std::string> opened;
    std::vector<Save> saves;
    int failingSave = 0;  // 1-based number of the save that fails

    std::unique_ptr<Workbook> open(const std::string& path) override {
        opened.push_back(path);
        if (missing) throw WorkbookError("The file \"" + path + "\" does not exist");
        return makeTemplate();
    }
    void saveAs(Workbook& book, const std::string& path, SaveFormat format) override {
        if (static_cast<int>(saves.size()) + 1 == failingSave) {
            failingSave = -1;
            throw WorkbookError("Cannot write \"" + path + "\"");
        }
        saves.push_back({path, format, book.sheet("Input").shapeGroups.size(),
                         book.sheet("Input").range("A1").text(),
                         book.sheet("Gully&Streambank").range("A1").text(), visibleSheets(book)});
    }
};

struct Recorder : RunReporter {
    std::vector<std::string> events;
    std::deque<std::string> answers;  // save-name answers; the last one repeats
    GenerationRun* run = nullptr;
    std::string activeAtSuccess;

    void progress(int v) override { events.push_back("progress " + std::to_string(v)); }
    void status(const std::string& t) override { events.push_back("status " + t); }
    void messageBox(const std::string& caption, const std::string& text) override {
        events.push_back("message " + caption + "|" + text);
        if (text == runtext::success() && run && run->workbook())
            activeAtSuccess = run->workbook()->activeSheet().name();
    }
    std::string askSaveName(const std::string& initial, const std::string& filter) override {
        events.push_back("ask " + initial + "|" + filter);
        std::string a = answers.front();
        if (answers.size() > 1) answers.pop_front();
        return a;
    }
    void buildFinished() override { events.push_back("finished"); }
    void openResult(const std::string& path) override { events.push_back("open " + path); }

    std::vector<std::string> starting(const std::string& prefix) const {
        std::vector<std::string> v;
        for (const auto& e : events)
            if (e.rfind(prefix, 0) == 0) v.push_back(e);
        return v;
    }
};

struct Run : ::testing::Test {
    Recorder rec;
    FakeIO io;
    std::vector<std::string> called;
    GenerationOptions opt;

    Run() { rec.answers = {"/out/Model.xlsm"}; }

    // A recording builder for every step. As the real ones do, "GeneralInputData" writes N into
    // C6 and "DataInput" places four option buttons per subwatershed on "Input".
    std::vector<NamedBuilder> recordingBuilders() {
        std::vector<NamedBuilder> list;
        for (const BuildStep& s : buildSteps()) {
            std::string name = s.builder, sheet = s.sheet;
            list.push_back({name, [this, name, sheet](Workbook& b, GenerationOptions& o) {
                                called.push_back(name);
                                b.sheet(sheet).select();
                                if (name == "GeneralInputData")
                                    b.sheet(sheet).range("C6").setValue(o.SubwatershedCount);
                                if (name == "DataInput")
                                    for (int k = 1; k <= 4 * o.SubwatershedCount; ++k)
                                        addOleObject(b.sheet("Input"), kOptionButtonProgId, 10,
                                                     20.0 * k, 50, 15);
                            }});
        }
        return list;
    }
    GenerationRun::Result go(std::vector<NamedBuilder> builders) {
        GenerationRun run(rec, io, std::move(builders));
        run.setWorkingFolder("/work/here");
        rec.run = &run;
        GenerationRun::Result r = run.run(opt);
        rec.run = nullptr;
        return r;
    }
    std::string message(const std::string& text) { return "message KAVRO|" + text; }
};

TEST_F(Run, FullSequence) {
    opt.SubwatershedCount = 3;
    opt.GullyCount = 2;
    GenerationRun::Result r = go(recordingBuilders());
    ASSERT_EQ(r.outcome, GenerationRun::Outcome::Succeeded) << r.message;

    std::vector<std::string> expected = {"status Creating the spreadsheet tool, please wait ..."};
    for (const BuildStep& s : buildSteps()) {
        expected.push_back("progress " + std::to_string(s.progress));
        expected.push_back(std::string("status ") + s.status);
    }
    expected.push_back("progress 100");
    expected.push_back(message(
        "KAVRO model was created successfully. Please save it and set your EXCEL security level "
        "to enable macros. \r\nTo set the security level in EXCEL: Click on File menu > Excel "
        "Options > Trust Center > Trust Center Settings > Macro Settings."));
    expected.push_back("finished");
    expected.push_back("ask /work/here/KAVRO.xlsm|Excel Macro-Enabled Workbook (*.xlsm),*.xlsm)");
    expected.push_back("open /out/Model.xlsm");
    EXPECT_EQ(rec.events, expected);

    std::vector<int> values;
    for (const BuildStep& s : buildSteps()) values.push_back(s.progress);
    EXPECT_EQ(values, (std::vector<int>{10, 16, 24, 32, 40, 48, 56, 64, 68, 72, 80, 88, 96, 98}));
    EXPECT_EQ(called, (std::vector<std::string>{
                          "GeneralInputData", "DataInput", "LandusePage", "AnimalPage",
                          "UrbanPage", "FeedlotsPage", "SepticPage", "SedimentPage",
                          "GullyStreamBank", "TotalLoadPage", "GraphPage", "ReferencePage",
                          "BMPListPage", "BMPPage"}));
    EXPECT_EQ(rec.activeAtSuccess, "Input");
    EXPECT_EQ(io.opened, (std::vector<std::string>{"/work/here/support/NutrTplt.xlsm"}));

    // Saved twice under the chosen name: first as built and hidden, then grouped and touched.
    ASSERT_EQ(io.saves.size(), 2u);
    const std::vector<std::string> visible = {"Input", "Total Load", "Graphs", "BMPs",
                                              "WeatherData", "Notes"};
    EXPECT_EQ(io.saves[0].visible, visible);
    EXPECT_EQ(io.saves[0].groups, 0u);
    EXPECT_EQ(io.saves[0].inputA1, "");
    for (const auto& s : io.saves) {
        EXPECT_EQ(s.path, "/out/Model.xlsm");
        EXPECT_EQ(s.format, SaveFormat::MacroEnabled);
    }
    EXPECT_EQ(io.saves[1].visible, visible);
    EXPECT_EQ(io.saves[1].groups, 3u);
    EXPECT_EQ(io.saves[1].inputA1, " ");
    EXPECT_EQ(io.saves[1].gullyA1, " ");
    EXPECT_TRUE(r.fileWritten);
}

TEST_F(Run, GullyStepIsShownAlwaysAndBuiltOnlyWithGulliesOrStreambanks) {
    struct Case {
        int g, s;
        bool built;
    } cases[] = {{0, 0, false}, {1, 0, true}, {0, 100, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.g) + "/" + std::to_string(c.s));
        rec.events.clear();
        called.clear();
        io.saves.clear();
        opt.GullyCount = c.g;
        opt.StreambankCount = c.s;
        ASSERT_EQ(go(recordingBuilders()).outcome, GenerationRun::Outcome::Succeeded);
        auto p = rec.starting("progress ");
        EXPECT_EQ(std::vector<std::string>(p.begin() + 7, p.begin() + 10),
                  (std::vector<std::string>{"progress 64", "progress 68", "progress 72"}));
        auto st = rec.starting("status ");
        EXPECT_NE(std::find(st.begin(), st.end(),
                            "status Creating the gully and streambank sheet (9/14), please wait ..."),
                  st.end());
        EXPECT_EQ(std::count(called.begin(), called.end(), "GullyStreamBank"), c.built ? 1 : 0);
        EXPECT_EQ(called.size(), c.built ? 14u : 13u);
        // Hidden and touched either way.
        ASSERT_EQ(io.saves.size(), 2u);
        EXPECT_EQ(io.saves[1].gullyA1, " ");
        auto& vis = io.saves[1].visible;
        EXPECT_EQ(std::find(vis.begin(), vis.end(), "Gully&Streambank"), vis.end());
    }
}

TEST_F(Run, CancelledSaveDialogIsAskedAgain) {
    rec.answers = {"False", "False", "False", "/out/third.xlsm"};
    ASSERT_EQ(go(recordingBuilders()).outcome, GenerationRun::Outcome::Succeeded);
    auto asks = rec.starting("ask ");
    ASSERT_EQ(asks.size(), 4u);
    for (const auto& a : asks)
        EXPECT_EQ(a, "ask /work/here/KAVRO.xlsm|Excel Macro-Enabled Workbook (*.xlsm),*.xlsm)");
    ASSERT_EQ(io.saves.size(), 2u);
    EXPECT_EQ(io.saves[0].path, "/out/third.xlsm");
    // "false" in another case is a name, not a cancel.
    rec.answers = {"false"};
    io.saves.clear();
    go(recordingBuilders());
    ASSERT_EQ(io.saves.size(), 2u);
    EXPECT_EQ(io.saves[0].path, "false");
}

TEST_F(Run, OnlyTheExactLowerCaseXlsExtensionSavesWithoutAFormat) {
    struct Case {
        const char* name;
        const char* extension;
        SaveFormat format;
    } cases[] = {
        {"/out/a.xls", "xls", SaveFormat::WorkbookOwn},
        {"/out/a.XLS", "XLS", SaveFormat::MacroEnabled},
        {"/out/a.Xls", "Xls", SaveFormat::MacroEnabled},
        {"/out/a.xlsm", "xlsm", SaveFormat::MacroEnabled},
        {"/out/a.b.xls", "xls", SaveFormat::WorkbookOwn},
        {"/out/d.xls/name", "", SaveFormat::MacroEnabled},
        {"C:\\d.xls\\name", "", SaveFormat::MacroEnabled},
        {"/out/noext", "", SaveFormat::MacroEnabled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ShowExtensionName(c.name), c.extension);
        rec.answers = {c.name};
        io.saves.clear();
        ASSERT_EQ(go(recordingBuilders()).outcome, GenerationRun::Outcome::Succeeded);
        ASSERT_EQ(io.saves.size(), 2u);
        EXPECT_EQ(io.saves[0].format, c.format);
        EXPECT_EQ(io.saves[1].format, c.format);
    }
}

TEST_F(Run, MissingTemplateOrFailingBuilderEndsTheRunUnsaved) {
    io.missing = true;
    GenerationRun::Result r = go(recordingBuilders());
    EXPECT_EQ(r.outcome, GenerationRun::Outcome::BuildFailed);
    EXPECT_EQ(r.message,
              "The file \"/work/here/support/NutrTplt.xlsm\" does not exist-Could not create the "
              "spreadsheet tool!");
    EXPECT_EQ(rec.events, (std::vector<std::string>{
                              "status Creating the spreadsheet tool, please wait ...",
                              message(r.message)}));
    EXPECT_TRUE(called.empty());
    EXPECT_TRUE(io.saves.empty());

    // A builder's failure: its description, the later builders not called, nothing asked.
    io.missing = false;
    rec.events.clear();
    auto builders = recordingBuilders();
    builders[3].build = [](Workbook& b, GenerationOptions&) { b.sheet("No Such Sheet"); };
    r = go(builders);
    EXPECT_EQ(r.outcome, GenerationRun::Outcome::BuildFailed);
    EXPECT_NE(r.message.find("No Such Sheet"), std::string::npos) << r.message;
    EXPECT_EQ(r.message.substr(r.message.size() - 39), "-Could not create the spreadsheet tool!");
    EXPECT_EQ(called, (std::vector<std::string>{"GeneralInputData", "DataInput", "LandusePage"}));
    EXPECT_TRUE(rec.starting("ask ").empty());
    EXPECT_TRUE(io.saves.empty());
    EXPECT_EQ(rec.events.back(), message(r.message));
}

TEST_F(Run, BuilderWithItsOwnHandlerReportsAndTheRunGoesOn) {
    auto builders = recordingBuilders();
    builders[12].build = [](Workbook&, GenerationOptions&) {
        throw WorkbookError("No file. Cannot create the BMPList worksheet !");
    };
    builders[12].reportsOwnFailure = true;
    GenerationRun::Result r = go(builders);
    EXPECT_EQ(r.outcome, GenerationRun::Outcome::Succeeded);
    auto messages = rec.starting("message ");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], message("No file. Cannot create the BMPList worksheet !"));
    EXPECT_EQ(called.back(), "BMPPage");
}

TEST_F(Run, SaveFailures) {
    // The first save fails: nothing was written, the workbook stays for a save by hand.
    io.failingSave = 1;
    GenerationRun::Result r = go(recordingBuilders());
    EXPECT_EQ(r.outcome, GenerationRun::Outcome::SaveFailed);
    EXPECT_FALSE(r.fileWritten);
    EXPECT_EQ(r.message,
              "Cannot write \"/out/Model.xlsm\"-Please save your file with a different name!");
    EXPECT_EQ(rec.events.back(), message(r.message));
    EXPECT_TRUE(rec.starting("open ").empty());

    // The second save fails after the first wrote the file.
    io.saves.clear();
    io.failingSave = 2;
    r = go(recordingBuilders());
    EXPECT_EQ(r.outcome, GenerationRun::Outcome::SaveFailed);
    EXPECT_TRUE(r.fileWritten);
    EXPECT_EQ(io.saves.size(), 1u);
}

TEST_F(Run, OptionButtonsAreGroupedOnce) {
    opt.SubwatershedCount = 2;
    // Already grouped: nothing happens, no message.
    auto builders = recordingBuilders();
    SheetBuilder addButtons = builders[1].build;
    builders[1].build = [addButtons](Workbook& b, GenerationOptions& o) {
        addButtons(b, o);
        b.sheet("Input").range("AA10").setValue("Opt Groupped");
    };
    ASSERT_EQ(go(builders).outcome, GenerationRun::Outcome::Succeeded);
    EXPECT_EQ(io.saves[1].groups, 0u);
    EXPECT_EQ(rec.starting("message ").size(), 1u);

    // Grouped: four buttons per subwatershed, names matched without regard to case.
    io.saves.clear();
    Workbook book;
    Worksheet& input = book.addSheet("Input");
    book.addSheet("General Input Data").range("C6").setValue(2);
    for (int k = 1; k <= 8; ++k) addOleObject(input, kOptionButtonProgId, 0, 20.0 * k, 50, 15);
    GenerationRun run(rec, io, {});
    run.GroupOptionBtn(book);
    ASSERT_EQ(input.shapeGroups.size(), 2u);
    EXPECT_EQ(input.shapeGroups[1], (std::vector<std::string>{"OptionButton5", "OptionButton6",
                                                              "OptionButton7", "OptionButton8"}));
    EXPECT_EQ(input.range("AA10").text(), "Opt Groupped");
    run.GroupOptionBtn(book);
    EXPECT_EQ(input.shapeGroups.size(), 2u);
}

TEST_F(Run, GroupingFailureHasItsOwnMessageAndTheRunGoesOn) {
    // No option buttons at all (the count in C6 asks for them).
    opt.SubwatershedCount = 2;
    auto builders = recordingBuilders();
    builders[1].build = [](Workbook&, GenerationOptions&) {};
    builders[0].build = [](Workbook& b, GenerationOptions&) {
        b.sheet("General Input Data").range("C6").setValue(2);
    };
    GenerationRun::Result r = go(builders);
    EXPECT_EQ(r.outcome, GenerationRun::Outcome::Succeeded);
    auto messages = rec.starting("message ");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], message("Could not group the option buttons!"));
    ASSERT_EQ(io.saves.size(), 2u);
    EXPECT_EQ(io.saves[1].inputA1, " ");
    EXPECT_EQ(rec.events.back(), "open /out/Model.xlsm");
}

TEST_F(Run, RegisteredBuildersAreStepBuildersAndFillTheInfoSheet) {
    std::set<std::string> stepNames, seen;
    for (const BuildStep& s : buildSteps()) stepNames.insert(s.builder);
    for (const NamedBuilder& b : sheetBuilders()) {
        EXPECT_TRUE(stepNames.count(b.name)) << b.name;
        EXPECT_TRUE(seen.insert(b.name).second) << b.name << " registered twice";
    }
    opt.SubwatershedCount = 5;
    opt.applyInitialisationMode(true);
    struct Keeping : FakeIO {
        double c6 = 0;
        void saveAs(Workbook& b, const std::string& p, SaveFormat f) override {
            FakeIO::saveAs(b, p, f);
            c6 = std::get<double>(b.sheet("General Input Data").range("C6").value());
        }
    } io2;
    GenerationRun run(rec, io2, sheetBuilders());
    ASSERT_EQ(run.run(opt).outcome, GenerationRun::Outcome::Succeeded);
    EXPECT_EQ(io2.c6, 5.0);
    EXPECT_EQ(opt.LandUseNames[0], "Watershed");
    EXPECT_EQ(opt.LandUseNames[5], "User Defined");
}

// Support files: under the working folder first, then beside the program, then installed.
TEST(DataFiles, LookupOrder) {
    namespace fs = std::filesystem;
    fs::path root = fs::path(KAVRO_TEST_TMP) / "data_files";
    fs::remove_all(root);
    DataFolders f{(root / "cwd").string(), (root / "build/generator").string(),
                  (root / "share/kavro").string()};
    auto touch = [](const fs::path& p) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "x";
    };
    const std::string name = "NutrTplt.xlsm";
    EXPECT_EQ(findDataFile(name, f), f.workingFolder + "/support/" + name);  // none: expected place
    touch(root / "share/kavro" / name);
    EXPECT_EQ(findDataFile(name, f), (root / "share/kavro" / name).string());
    touch(root / "build/support" / name);
    EXPECT_EQ(findDataFile(name, f), (root / "build/support" / name).string());
    touch(root / "build/generator/support" / name);
    EXPECT_EQ(findDataFile(name, f), (root / "build/generator/support" / name).string());
    touch(root / "cwd/support" / name);
    EXPECT_EQ(findDataFile(name, f), (root / "cwd/support" / name).string());
    // A folder of that name is not the file.
    fs::remove(root / "cwd/support" / name);
    fs::create_directories(root / "cwd/support" / name);
    EXPECT_EQ(findDataFile(name, f), (root / "build/generator/support" / name).string());
}

}  // namespace
