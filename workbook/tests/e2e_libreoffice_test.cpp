// End to end: a workbook built through the layer from a template (itself made with the layer),
// saved as .xlsm, opened and recalculated in LibreOffice headless, read by openpyxl, then opened
// again by the layer, given new inputs, saved and recalculated.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/testing/libreoffice.h"

namespace fs = std::filesystem;
using namespace wb;
using kavro::testing::SheetValues;

namespace {

std::string workDir() {
    fs::path p = fs::path(KAVRO_TEST_TMP) / "e2e_libreoffice";
    fs::create_directories(p);
    return p.string();
}

// The template: inputs, an empty calculation sheet, a lookup table, and a sheet that no builder
// touches but whose formulas read the inputs.
void makeTemplate(const std::string& path) {
    Workbook t;
    Worksheet& input = t.addSheet("Input");
    t.addSheet("Land&Rain").cells(1, 1).setValue("Calculations");
    Worksheet& lookup = t.addSheet("Lookup");
    Worksheet& notes = t.addSheet("Notes");
    input.cells(1, 1).setValue("Areas");
    input.cells(1, 1).font().setBold(true);
    const char* labels[] = {"Urban", "Cropland", "Forest"};
    for (int i = 0; i < 3; ++i) {
        input.cells(3 + i, 1).setValue(labels[i]);
        input.cells(3 + i, 2).setValue(std::to_string(2 + i * i));  // typed: 2, 3, 6
        input.cells(3 + i, 2).font().setColor(0x0000FF);
    }
    const char* uses[] = {"Cropland", "Forest", "Pasture", "Urban"};
    const double coef[] = {0.3, 0.1, 0.2, 0.55};
    for (int i = 0; i < 4; ++i) {
        lookup.cells(1 + i, 1).setValue(uses[i]);
        lookup.cells(1 + i, 2).setValue(coef[i]);
    }
    notes.cells(1, 1).setFormula("=Input!B3*10");
    notes.cells(2, 1).setFormula("=Input!B5*10");
    ooxml::saveWorkbook(t, path);
}

// The build, as the sheet builders do it.
void build(Workbook& wb) {
    Worksheet& input = wb.sheet("Input");
    input.cells(7, 1).setValue("Total");
    input.cells(7, 2).setFormulaR1C1("=SUM(R[-4]C:R[-2]C)");
    wb.addName("AreaSum", "=Input!R7C2");
    // A header written into the right cell of a pair shows in the merged pair.
    input.cells(2, 5).setValue("Header");
    input.range("D2:E2").setMergeCells(true);
    input.range("A9:B9").setMergeCells(true);
    input.cells(9, 1).setValue("merged pair");
    input.cells(3, 2).addComment("Urban area in acres").heightScale = 1.5;
    input.cells(10, 1).setValue(99);
    input.rows(10).setHidden(true);

    Worksheet& calc = wb.sheet("land&rain");
    calc.cells(2, 1).setValue("Twice the area");
    calc.cells(2, 2).setFormulaR1C1("=AreaSum*2");
    calc.cells(3, 2).setFormulaR1C1("=Input!R3C2+input!R4C2");
    calc.cells(4, 2).setFormulaR1C1("=VLOOKUP(\"Forest\",Lookup!R1C1:R4C2,2,FALSE)*Input!R5C2");
    calc.cells(5, 2).setFormulaR1C1("=IF(R[-2]C>4,\"big \"\"area\"\"\",\"small\")");
    calc.range("A7:B7").setMergeCells(true);
    calc.cells(7, 1).setValue("end");

    // A row inserted into the inputs moves the cells below and every reference to them, on
    // every sheet (Notes was never loaded) and in the name.
    input.rows(4).insert();
    input.cells(4, 1).setValue("Pasture");
    input.cells(4, 2).setValue(4);

    wb.sheet("Lookup").setVisible(false);
    input.select();
}

void expectNear(const SheetValues& s, const char* cell, double v) {
    EXPECT_NEAR(s.number(cell), v, 1e-9) << cell;
}

}  // namespace

TEST(LibreOffice, BuiltWorkbookOpensAndComputes) {
    const std::string dir = workDir();
    const std::string tmpl = dir + "/template.xlsm";
    const std::string out = dir + "/built.xlsm";
    makeTemplate(tmpl);
    {
        auto wb = ooxml::openWorkbook(tmpl);
        build(*wb);
        ooxml::saveWorkbook(*wb, out);
    }

    auto values = kavro::testing::recalculate(out, dir);
    ASSERT_EQ(values.size(), 4u);
    const SheetValues& input = values.at("Input");
    const SheetValues& calc = values.at("Land&Rain");
    const SheetValues& notes = values.at("Notes");
    // Inputs 2, 4 (the inserted row), 3, 6.
    expectNear(input, "B8", 15);
    EXPECT_EQ(input.text("A8"), "Total");
    EXPECT_EQ(input.text("D2"), "Header");
    EXPECT_EQ(input.text("A9"), "");
    EXPECT_EQ(input.text("A10"), "merged pair");
    expectNear(input, "A11", 99);
    expectNear(calc, "B2", 30);     // AreaSum moved with its row
    expectNear(calc, "B3", 5);      // Input!B3 + Input!B5 (was B4)
    expectNear(calc, "B4", 0.6);    // Forest's coefficient times Input!B6 (was B5)
    EXPECT_EQ(calc.text("B5"), "big \"area\"");
    expectNear(notes, "A1", 20);    // Input!B3, above the insert
    expectNear(notes, "A2", 60);    // Input!B6, was B5
    for (const auto& [name, sheet] : values)
        for (const auto& row : sheet.rows)
            for (const auto& cell : row) EXPECT_FALSE(kavro::testing::isErrorValue(cell)) << name << ": " << cell;

    std::string error;
    EXPECT_TRUE(kavro::testing::openpyxlReads(out, &error)) << error;
    const std::string check =
        "import sys, openpyxl\n"
        "wb = openpyxl.load_workbook(sys.argv[1], keep_vba=True)\n"
        "ws = wb['Input']\n"
        "assert wb['Lookup'].sheet_state == 'hidden', wb['Lookup'].sheet_state\n"
        "assert ws.row_dimensions[11].hidden\n"
        "assert 'D2:E2' in [str(r) for r in ws.merged_cells.ranges]\n"
        "assert ws['B3'].comment is not None and 'Urban area' in ws['B3'].comment.text\n"
        "assert ws['B8'].value == '=SUM(B3:B6)', ws['B8'].value\n"
        "assert wb['Land&Rain']['B2'].value == '=AreaSum*2'\n"
        "assert wb.active.title == 'Input'\n";
    const std::string script = dir + "/check.py";
    std::ofstream(script) << check;
    std::string cmd = "/usr/bin/python3 " + script + " " + out + " 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;

    // Open the generated workbook, type new inputs, save and recalculate.
    const std::string edited = dir + "/edited.xlsm";
    {
        auto wb = ooxml::openWorkbook(out);
        Worksheet& ws = wb->sheet("Input");
        ws.cells(3, 2).setValue("12");
        ws.cells(6, 2).setValue("1.5");
        ooxml::saveWorkbook(*wb, edited);
    }
    auto again = kavro::testing::recalculate(edited, dir);
    expectNear(again.at("Input"), "B8", 20.5);
    expectNear(again.at("Land&Rain"), "B2", 41);
    expectNear(again.at("Land&Rain"), "B3", 15);
    expectNear(again.at("Land&Rain"), "B4", 0.15);
    expectNear(again.at("Notes"), "A1", 120);
    expectNear(again.at("Notes"), "A2", 15);
    EXPECT_TRUE(kavro::testing::openpyxlReads(edited, &error)) << error;

    // A picture to look at.
    std::string pdf = kavro::testing::convertToPdf(out, dir);
    EXPECT_TRUE(fs::exists(pdf));
}
