#include "generator/ooxml_io.h"

#include "workbook/ooxml/package.h"

std::unique_ptr<wb::Workbook> OoxmlWorkbookIO::open(const std::string& path) {
    return wb::ooxml::openWorkbook(path);
}

void OoxmlWorkbookIO::saveAs(wb::Workbook& book, const std::string& path, SaveFormat) {
    wb::ooxml::saveWorkbook(book, path);
}
