// The BMP list file: any bytes are read as the list, and when they read, the sheets "BMPList"
// and "BMPs" are built from them as the run builds them, saved and read back. A bad list must
// end in a WorkbookError with its reason; nothing else may escape, and what the sheet holds
// must come back from the saved file as it was written.
#include <cstring>
#include <sstream>

#include "fuzz_support.h"
#include "generator/generation_options.h"
#include "sheets/summary/bmp_list_file.h"
#include "sheets/summary/bmp_list_page.h"
#include "sheets/summary/bmp_page.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"

using namespace kavro::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = asText(data, size);
    std::istringstream in{std::string(bytes)};
    const kavro::BmpListContents list = kavro::readBmpList(in, "allBMPkavro.csv");

    const std::string path = writeScratch("allBMPkavro.csv", bytes);
    wb::Workbook book;
    book.addSheet("BMPList");
    book.addSheet("BMPs");
    GenerationOptions opt;
    opt.SubwatershedCount = 1;
    try {
        BMPListPage(book, opt, path);
        expect(list.ok() && !list.records.empty(), "a list that does not read filled the sheet",
               list.error);
        BMPPage(book, opt, path);
    } catch (const wb::WorkbookError& e) {
        expect(std::strlen(e.what()) > std::strlen(kBmpListFailure), "a failure without reason",
               e.what());
        return 0;
    }

    // The built sheets are saved and read back; the list's cells come back unchanged (bytes that
    // are not UTF-8 cannot be written as they are).
    const std::string saved = scratchPath("bmp.xlsm");
    wb::ooxml::saveWorkbook(book, saved);
    std::unique_ptr<wb::Workbook> back = wb::ooxml::openWorkbook(saved);
    wb::Worksheet& before = book.sheet("BMPList");
    wb::Worksheet& after = back->sheet("BMPList");
    back->sheet("BMPs");
    for (int r = 1; r <= before.maxRow(); ++r)
        for (int c = 1; c <= kavro::kBmpFieldsPerRecord; ++c)
            expect(!isUtf8(before.cells(r, c).text()) ||
                       before.cells(r, c).value() == after.cells(r, c).value(),
                   "a BMPList cell changed on the way through the file",
                   before.cells(r, c).address() + " \"" + before.cells(r, c).text() + "\" / \"" +
                       after.cells(r, c).text() + "\"");
    return 0;
}
