// workbook-demo OUT.xlsm: writes a small demonstration workbook through the workbook layer: an
// input sheet, a calculation sheet reading it with R1C1 formulas, a defined name, merged
// headers, comments, borders and fills, and a hidden lookup sheet.
#include <cstdio>
#include <exception>
#include <string>

#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"

using namespace wb;

namespace {

void header(Worksheet& ws, const char* range, const char* text) {
    Range r = ws.range(range);
    r.cells(1, 1).setValue(text);
    r.setMergeCells(true);
    r.font().setBold(true);
    r.setHorizontalAlignment(xl::Center);
    r.interior().setColorIndex(15);
    for (int b : {xl::EdgeLeft, xl::EdgeTop, xl::EdgeBottom, xl::EdgeRight})
        r.borders(b).setLineStyle(xl::Continuous).setWeight(xl::Thin);
}

void build(Workbook& wb) {
    Worksheet& input = wb.addSheet("Input");
    Worksheet& calc = wb.addSheet("Land&Rain");
    Worksheet& lookup = wb.addSheet("Coefficients");

    lookup.cells(1, 1).setValue("Land use");
    lookup.cells(1, 2).setValue("Runoff coefficient");
    const char* uses[] = {"Urban", "Cropland", "Pastureland", "Forest"};
    const double coef[] = {0.55, 0.3, 0.2, 0.1};
    for (int i = 0; i < 4; ++i) {
        lookup.cells(2 + i, 1).setValue(uses[i]);
        lookup.cells(2 + i, 2).setValue(coef[i]);
    }
    lookup.setVisible(false);

    input.range("A1:F1").interior().setColorIndex(2);
    input.cells(1, 1).setValue("KAVRO workbook layer demonstration");
    input.cells(1, 1).font().setBold(true).setSize(14);
    input.cells(2, 1).setValue("Red values are inputs; black values are computed.");
    input.cells(2, 1).characters(1, 3).setColor(0x0000FF);
    header(input, "A4:B4", "Land use");
    header(input, "C4:D4", "Area (ac)");
    input.columns(1).setColumnWidth(14);
    for (int i = 0; i < 4; ++i) {
        int row = 5 + i;
        input.cells(row, 1).setValue(uses[i]);
        input.range(input.cells(row, 1), input.cells(row, 2)).setMergeCells(true);
        input.cells(row, 3).setValue(100.0 * (i + 1));
        input.range(input.cells(row, 3), input.cells(row, 4)).setMergeCells(true);
        input.cells(row, 3).font().setColor(0x0000FF);
        input.cells(row, 3).setNumberFormat("#,##0.0");
    }
    input.cells(9, 1).setValue("Total");
    input.cells(9, 1).font().setBold(true);
    input.cells(9, 3).setFormulaR1C1("=SUM(R[-4]C:R[-1]C)");
    input.cells(9, 3).setNumberFormat("#,##0.0");
    input.range("C9:D9").setMergeCells(true);
    input.range("C9:D9").borders(xl::EdgeTop).setLineStyle(xl::Double);
    wb.addName("TotalArea", "=Input!R9C3");
    input.cells(5, 3).addComment("Type the watershed's urban area in acres.").author = "KAVRO";

    header(calc, "A1:C1", "Runoff by land use");
    calc.cells(2, 1).setValue("Land use");
    calc.cells(2, 2).setValue("Share of area");
    calc.cells(2, 3).setValue("Weighted coefficient");
    calc.rows(2).font().setBold(true);
    calc.columns(1, 3).setColumnWidth(20);
    for (int i = 0; i < 4; ++i) {
        int row = 3 + i;
        calc.cells(row, 1).setFormulaR1C1("=Input!R" + std::to_string(5 + i) + "C1");
        calc.cells(row, 2).setFormulaR1C1("=Input!R" + std::to_string(5 + i) + "C3/TotalArea");
        calc.cells(row, 2).setNumberFormat("0.0%");
        calc.cells(row, 3).setFormulaR1C1("=RC[-1]*Coefficients!R" + std::to_string(2 + i) + "C2");
        calc.cells(row, 3).setNumberFormat("0.000");
    }
    calc.cells(7, 1).setValue("Watershed");
    calc.cells(7, 3).setFormulaR1C1("=SUM(R[-4]C:R[-1]C)");
    calc.cells(7, 3).interior().setColorIndex(43);
    calc.cells(7, 3).font().setBold(true);
    input.select();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: workbook-demo OUT.xlsm\n");
        return 2;
    }
    try {
        Workbook wb;
        build(wb);
        ooxml::saveWorkbook(wb, argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workbook-demo: %s\n", e.what());
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
