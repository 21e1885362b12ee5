// Writes the seed inputs of the package targets: a small workbook with one of each thing the
// template and the run's sheets hold (values, texts, formulas across sheets, formats, merges,
// comments, rich text, names, validations, row and column settings, a hidden sheet, a list box,
// option buttons and a chart), as a zipped package and as the parts text of
// package_parts_fuzzer.
//
//   make_seeds CORPUS_DIR [TEMPLATE]
//
// writes CORPUS_DIR/package/small.zip and CORPUS_DIR/package_parts/small.txt; with TEMPLATE (the
// build's support/NutrTplt.xlsm), also package/template.zip and package_parts/template.txt.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/ooxml/zip.h"

namespace {

void buildSmallWorkbook(wb::Workbook& book) {
    wb::Worksheet& input = book.addSheet("Input");
    wb::Worksheet& load = book.addSheet("Total Load");
    wb::Worksheet& hidden = book.addSheet("Land&Rain");
    hidden.setVisible(false);

    input.cells(1, 1).setValue("Watershed <data> & \"notes\" _x0041_");
    input.range("B2:D2").setValue(12.5);
    input.cells(3, 2).setValue("TRUE");
    input.cells(3, 3).setText("007");
    input.cells(4, 2).setFormulaR1C1("=SUM(R[-2]C:R[-2]C[2])*0.227");
    input.range("B5:D5").setFormula("=IF(B2>0,B2/$C$2,\"ND\")");
    input.range("B2:D2").interior().setColorIndex(34);
    input.range("B2:D2").font().setBold(true).setColor(0x0000FF);
    input.cells(4, 2).setNumberFormat("0.0");
    input.range("B8:G9").borders(wb::xl::EdgeBottom).setLineStyle(wb::xl::Continuous);
    input.range("B7:D7").setMergeCells(true);
    input.cells(7, 2).setValue("Rich text");
    input.cells(7, 2).characters(1, 4).setColorIndex(3);
    input.cells(2, 2).addComment("Typed by the planner");
    input.columns("A:C").setColumnWidth(14);
    input.rows(6).setRowHeight(30);
    input.rows(10, 11).setHidden(true);

    wb::OleObject box = wb::addOleObject(input, wb::kListBoxProgId, 200, 20, 80, 30);
    box.setLinkedCell("$F$2");
    box.setListFillRange("Input!$B$2:$D$2");
    wb::addOleObject(input, wb::kOptionButtonProgId, 200, 60, 60, 15);
    wb::addOleObject(input, wb::kOptionButtonProgId, 200, 80, 60, 15);
    wb::groupShapes(input, {"OptionButton1", "OptionButton2"});

    load.cells(1, 2).setValue("N");
    load.cells(1, 3).setValue("P");
    load.cells(2, 1).setValue("W1");
    load.cells(2, 2).setFormula("=Input!B2*2");
    load.cells(2, 3).setFormula("='Land&Rain'!A1+Input!C2");
    wb::ChartObject chart = wb::addChart(load, 100, 100, 300, 200);
    chart.addSeries(load.range("A1:C2"), wb::xl::Rows, true, true);
    chart.setHasTitle(true).setTitleText("Loads");

    hidden.cells(1, 1).setValue(3.25);
    book.addName("WSAreaSum", "='Land&Rain'!R1C1");
    book.addName("RainDayCor", "=Input!R2C2:R2C4");
    input.select();
}

}  // namespace

// The parts text of package_parts_fuzzer: "@@ name", then the part, for every part.
bool writeParts(const std::string& xlsm, const std::filesystem::path& out) {
    std::ofstream text(out, std::ios::binary);
    for (const auto& [name, data] : wb::ooxml::readZip(xlsm))
        text << "@@ " << name << '\n' << data << '\n';
    return static_cast<bool>(text);
}

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_seeds CORPUS_DIR [TEMPLATE]\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path corpus = argv[1];
    fs::create_directories(corpus / "package");
    fs::create_directories(corpus / "package_parts");
    const std::string xlsm = (corpus / "package" / "small.zip").string();

    wb::Workbook book;
    buildSmallWorkbook(book);
    wb::ooxml::saveWorkbook(book, xlsm);

    bool ok = writeParts(xlsm, corpus / "package_parts" / "small.txt");
    if (argc == 3) {
        const fs::path tpl = corpus / "package" / "template.zip";
        fs::copy_file(argv[2], tpl, fs::copy_options::overwrite_existing);
        ok = writeParts(tpl.string(), corpus / "package_parts" / "template.txt") && ok;
    }
    return ok ? 0 : 1;
}
