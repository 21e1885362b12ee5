// The Combra catalogue (Support/allCombra.csv): any bytes are read as the catalogue file. The
// reader must not fail on any of them, and every entry it keeps must be one the line rules allow.
#include <cmath>
#include <vector>

#include "catalog.h"
#include "fuzz_support.h"

using namespace kavro::fuzz;

namespace {

class Messages : public combra::MessageSink {
  public:
    void ShowMessage(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = writeScratch("allCombra.csv", asText(data, size));
    Messages messages;
    bool opened = false;
    const std::vector<combra::BmpCatalogEntry> entries =
        combra::ReadCatalog(path, &messages, &opened);
    expect(opened && messages.texts.empty(), "a readable catalogue was reported",
           messages.texts.empty() ? "not opened" : messages.texts.front());
    for (const combra::BmpCatalogEntry& e : entries) {
        // Names are tokens between commas; a line of commas only gives two empty names.
        expect(e.name1.find(',') == std::string::npos, "a first name holds a comma", e.name1);
        expect(e.name2.find(',') == std::string::npos, "a second name holds a comma", e.name2);
        expect(!e.name1.empty() || e.name2.empty(), "a second name without a first", e.name2);
        for (float f : e.eff) expect(std::isfinite(f), "an efficiency that is not a number");
    }
    return 0;
}
