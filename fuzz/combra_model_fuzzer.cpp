// The Combra model input file (".inp"): any bytes are opened as a network, calculated, saved and
// opened again. A line that does not parse is reported with the line; a network that opens is
// saved to a file that opens to the same network, and saving that gives the same bytes.
#include <fstream>
#include <iterator>
#include <vector>

#include "bmp_doc.h"
#include "fuzz_support.h"

using namespace kavro::fuzz;

namespace {

class Messages : public combra::MessageSink {
  public:
    void ShowMessage(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = writeScratch("model.inp", asText(data, size));
    Messages messages;
    combra::CBMPDoc doc(&messages);
    expect(doc.OnOpenDocument(path), "a readable file did not open");
    if (doc.LastOpenStatus() == combra::CBMPDoc::OpenStatus::kLineError) {
        expect(
            !messages.texts.empty() && messages.texts.back().rfind("Line reading error: ", 0) == 0,
            "a bad line without its message");
    }
    doc.Calculate();

    const std::string first = scratchPath("first.inp"), second = scratchPath("second.inp");
    expect(doc.OnSaveDocument(first), "the network could not be saved");
    combra::CBMPDoc again(&messages);
    expect(again.OnOpenDocument(first) &&
               again.LastOpenStatus() == combra::CBMPDoc::OpenStatus::kOpened,
           "a saved network does not open", readAll(first));
    expect(again.Nodes().size() == doc.Nodes().size(), "the saved network lost nodes");
    for (std::size_t k = 0; k < doc.Nodes().size(); ++k) {
        const combra::BmpNode& a = *doc.Nodes()[k];
        const combra::BmpNode& b = *again.Nodes()[k];
        expect(a.x == b.x && a.y == b.y && a.catalogIndex == b.catalogIndex,
               "a saved node moved or lost its catalogue entry");
        const int downA = a.downstream ? doc.IndexOf(a.downstream) : -1;
        const int downB = b.downstream ? again.IndexOf(b.downstream) : -1;
        expect(downA == downB, "a saved link points elsewhere");
    }
    expect(again.OnSaveDocument(second), "the reopened network could not be saved");
    expect(readAll(first) == readAll(second), "saving the reopened network changed the file");
    return 0;
}
