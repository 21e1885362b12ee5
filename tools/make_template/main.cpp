// kavro-make-template SOURCE_DIR OUTPUT: builds the template workbook from the readable sources
// in SOURCE_DIR (support/template) and saves it as OUTPUT (a macro-enabled workbook package).
// Run at build time; any problem with the sources is reported with its file and line.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/make_template/template_builder.h"
#include "workbook/ooxml/package.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kavro-make-template SOURCE_DIR OUTPUT.xlsm\n");
        return 2;
    }
    try {
        wb::Workbook book;
        kavro::tpl::buildTemplate(book, argv[1]);
        std::filesystem::path out(argv[2]);
        if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path());
        wb::ooxml::saveWorkbook(book, out.string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavro-make-template: %s\n", e.what());
        return 1;
    }
    return 0;
}
