// combra-calc: reads a model input file, computes the combined BMP efficiencies and prints
// one record per outlet (with --all, per node).
// Exit codes: 0 done; 1 the file cannot be read (or a line of it does not parse);
// 2 usage error; 3 the network has a loop (the other results are still printed).
#include <iostream>
#include <map>
#include <string>

#include <CLI/CLI.hpp>

#include "bmp_doc.h"
#include "results_output.h"

namespace {

class StderrSink : public combra::MessageSink {
public:
    void ShowMessage(const std::string& text) override { std::cerr << text << '\n'; }
};

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Combined removal efficiencies of a Combra model input file (.inp)",
                 "combra-calc"};
    std::string file;
    std::string formatName = "text";
    bool all = false;
    app.add_option("--format", formatName, "Output format: text, csv or json")
        ->check(CLI::IsMember({"text", "csv", "json"}));
    app.add_flag("--all", all, "One record per node instead of per outlet");
    app.add_option("FILE", file, "Model input file")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? 0 : 2;
    }

    const std::map<std::string, combra::ResultFormat> formats = {
        {"text", combra::ResultFormat::kText},
        {"csv", combra::ResultFormat::kCsv},
        {"json", combra::ResultFormat::kJson}};

    StderrSink sink;
    combra::CBMPDoc doc(&sink);
    if (!doc.OnOpenDocument(file)) return 1;
    if (doc.LastOpenStatus() == combra::CBMPDoc::OpenStatus::kLineError) return 1;
    const bool noLoop = doc.Calculate();
    combra::WriteResults(std::cout, doc, formats.at(formatName), all);
    std::cout.flush();
    if (!std::cout) return 1;
    return noLoop ? 0 : 3;
}
