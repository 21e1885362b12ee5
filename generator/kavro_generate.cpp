// kavro-generate: the generation run from the command line. Status texts with their progress
// values and the run's messages go to standard error, the path written to standard output.
// Exit codes: 0 done, 1 the generation failed, 2 the command line is wrong.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "generator/builders.h"
#include "generator/data_files.h"
#include "generator/generation_run.h"
#include "generator/ooxml_io.h"

namespace {

class ConsoleReporter : public RunReporter {
public:
    explicit ConsoleReporter(std::string output) : output_(std::move(output)) {}

    void progress(int value) override {
        progress_ = value;
        if (value == 100) std::fprintf(stderr, "[100%%]\n");
    }
    void status(const std::string& text) override {
        std::fprintf(stderr, "[%3d%%] %s\n", progress_, text.c_str());
    }
    void messageBox(const std::string& caption, const std::string& text) override {
        std::string s;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            s += text[i];
        }
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), s.c_str());
    }
    // The name was given on the command line.
    std::string askSaveName(const std::string&, const std::string&) override { return output_; }
    void openResult(const std::string& path) override { std::printf("%s\n", path.c_str()); }

private:
    std::string output_;
    int progress_ = 0;
};

int usageError(const std::string& what) {
    std::fprintf(stderr, "kavro-generate: %s (see --help)\n", what.c_str());
    return 2;
}

bool readable(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Generates the KAVRO watershed workbook (a macro-enabled workbook)."};
    int subwatersheds = 1, gullies = 0, streambanks = 0;
    bool nonZero = false;
    std::string templatePath, bmpListPath, output;
    app.add_option("-n,--subwatersheds", subwatersheds, "Number of subwatersheds (1..200)")
        ->check(CLI::Range(1, 200));
    app.add_option("-g,--gullies", gullies, "Number of gully formations (0..100)")
        ->check(CLI::Range(0, 100));
    app.add_option("-s,--streambanks", streambanks, "Number of impaired streambanks (0..100)")
        ->check(CLI::Range(0, 100));
    app.add_flag("--nonzero", nonZero, "Start from non-zero test numbers instead of zeros");
    app.add_option("--template", templatePath, "Template workbook (default: support/NutrTplt.xlsm)");
    app.add_option("--bmp-list", bmpListPath, "BMP list file (default: support/allBMPkavro.csv)");
    app.add_option("-o,--output", output, "The workbook to write (.xlsm)")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help
        return usageError(e.what());
    }
    if (output.empty()) return usageError("--output: the file name is empty");

    const DataFolders folders = processDataFolders();
    if (!templatePath.empty()) {
        if (!readable(templatePath)) return usageError("--template: cannot read " + templatePath);
    } else {
        templatePath = findDataFile(kTemplateFile, folders);
    }
    if (!bmpListPath.empty()) {
        if (!readable(bmpListPath)) return usageError("--bmp-list: cannot read " + bmpListPath);
    } else {
        bmpListPath = findDataFile(kBmpListFile, folders);
        if (!readable(bmpListPath)) {
            std::fprintf(stderr, "kavro-generate: the BMP list %s was not found\n", kBmpListFile);
            return 1;
        }
    }

    GenerationOptions opt;
    opt.SubwatershedCount = subwatersheds;
    opt.GullyCount = gullies;
    opt.StreambankCount = streambanks;
    opt.applyInitialisationMode(nonZero);
    opt.BmpListPath = bmpListPath;

    ConsoleReporter reporter(output);
    OoxmlWorkbookIO io;
    GenerationRun run(reporter, io, sheetBuilders());
    run.setTemplatePath(templatePath);
    run.setWorkingFolder(folders.workingFolder);
    GenerationRun::Result result = run.run(opt);
    if (result.outcome == GenerationRun::Outcome::Succeeded) return 0;

    // A half-finished workbook is not left behind. A file that the run never wrote over (the
    // save writes beside it and renames) stays as it was.
    if (result.fileWritten) {
        std::error_code ec;
        std::filesystem::remove(result.savedPath, ec);
    }
    return 1;
}
