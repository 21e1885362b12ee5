// What the sheet tests share: the in-memory workbook a builder runs on, and the two ways the
// end-to-end tests make a workbook (the run with the built template, or the kavro-generate
// command). Header only, as every *_test.cpp is a program of its own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "generator/builders.h"
#include "generator/generation_options.h"
#include "generator/generation_run.h"
#include "generator/ooxml_io.h"
#include "workbook/model/workbook.h"

namespace sheet_test {

// A workbook on the heap, the options of its run and the sheet under test.
struct Built {
    std::unique_ptr<wb::Workbook> book = std::make_unique<wb::Workbook>();
    GenerationOptions opt;
    wb::Worksheet* ws = nullptr;
};

inline bool hidden(const wb::Worksheet& ws, int row) {
    auto it = ws.rowInfo.find(row);
    return it != ws.rowInfo.end() && it->second.hidden;
}

// A reporter that answers the save question with `savePath` and keeps the messages shown.
struct Reporter : RunReporter {
    std::string savePath;
    std::vector<std::string> messages;
    void progress(int) override {}
    void status(const std::string&) override {}
    void messageBox(const std::string&, const std::string& text) override {
        messages.push_back(text);
    }
    std::string askSaveName(const std::string&, const std::string&) override { return savePath; }
    void openResult(const std::string&) override {}
};

// The run in zero mode for n subwatersheds with the template the build makes, working in
// `folder` and saving to folder/generated.xlsm; returns that path.
inline std::string generateInRun(const std::filesystem::path& folder, int n) {
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    const fs::path tpl = fs::path(KAVRO_BINARY_DIR) / "support" / "NutrTplt.xlsm";
    if (!fs::is_regular_file(tpl)) throw std::runtime_error("no template at " + tpl.string());
    Reporter reporter;
    reporter.savePath = (folder / "generated.xlsm").string();
    OoxmlWorkbookIO io;
    GenerationRun run(reporter, io, sheetBuilders());
    run.setTemplatePath(tpl.string());
    run.setWorkingFolder(folder.string());
    GenerationOptions opt;
    opt.SubwatershedCount = n;
    opt.applyInitialisationMode(false);
    const GenerationRun::Result result = run.run(opt);
    if (result.outcome != GenerationRun::Outcome::Succeeded)
        throw std::runtime_error("generation failed: " + result.message);
    return reporter.savePath;
}

// Runs kavro-generate with `options` (counts and mode), the built template and the BMP list of
// the source tree, writing folder/name.xlsm (its output in folder/name.log); returns the path.
inline std::string generateWithCommand(const std::string& folder, const std::string& name,
                                       const std::string& options) {
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    const std::string out = folder + "/" + name + ".xlsm";
    const std::string log = folder + "/" + name + ".log";
    fs::remove(out);
    const std::string cmd = std::string("'") + KAVRO_BINARY_DIR + "/generator/kavro-generate' " +
                            options + " --template '" + KAVRO_BINARY_DIR +
                            "/support/NutrTplt.xlsm' --bmp-list '" + KAVRO_SOURCE_DIR +
                            "/support/allBMPkavro.csv' -o '" + out + "' >'" + log + "' 2>&1";
    if (std::system(cmd.c_str()) != 0) {
        std::ifstream in(log);
        std::stringstream ss;
        ss << in.rdbuf();
        throw std::runtime_error("kavro-generate failed: " + ss.str());
    }
    return out;
}

}  // namespace sheet_test
