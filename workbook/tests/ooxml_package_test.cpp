// Saving and opening packages: what a saved workbook reads back as, which parts are kept as
// read, errors for broken templates, and saves that fail without damage.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/ooxml/zip.h"

namespace fs = std::filesystem;
using namespace wb;

namespace {

std::string tmpDir(const std::string& name) {
    fs::path p = fs::path(KAVRO_TEST_TMP) / ("ooxml_package_" + name);
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string();
}

std::map<std::string, std::string> entries(const std::string& path) {
    std::map<std::string, std::string> out;
    for (auto& [name, data] : ooxml::readZip(path)) out[name] = std::move(data);
    return out;
}

void writeZip(const std::string& path, const std::map<std::string, std::string>& parts) {
    ooxml::ZipWriter z(path);
    for (const auto& [name, data] : parts) z.add(name, data);
    z.commit();
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool contains(const std::string& hay, const std::string& needle) {
    return hay.find(needle) != std::string::npos;
}

}  // namespace

TEST(PackageRoundTrip, ValuesFormulasNamesAndSheetState) {
    std::string dir = tmpDir("values");
    {
        Workbook wb;
        Worksheet& a = wb.addSheet("Data");
        Worksheet& b = wb.addSheet("Land&Rain");
        Worksheet& c = wb.addSheet("Hidden One");
        a.cells(1, 1).setValue(1.5);
        a.cells(1, 2).setValue(-1e-300);
        a.cells(1, 3).setValue(123456789012345.0);
        a.cells(2, 1).setValue(true);
        a.cells(2, 2).setValue(false);
        a.cells(3, 1).setText("  padded  ");
        a.cells(3, 2).setText("tab\tand\nline, <b>&\"q\"</b>");
        a.cells(3, 3).setText("bell\x07 and _x0041_ literally");
        a.cells(3, 4).setText("Grüße – ∑");
        a.cells(4, 1).setFormulaR1C1("='Land&Rain'!R1C1*2+SUM(R1C1:R1C3)");
        a.cells(4, 2).setFormula("=IF(A2,\"say \"\"hi\"\"\",\"no\")");
        a.cells(4, 3).setFormula("=Total*2");
        b.cells(1, 1).setValue(7);
        c.cells(5, 5).setValue("x");
        c.setVisible(false);
        wb.addName("Total", "='Land&Rain'!R1C1");
        a.rows(7).setHidden(true);
        a.rows(8).setRowHeight(30);
        a.columns(3).setColumnWidth(20);
        a.columns(4).setHidden(true);
        a.range("B9:D10").select();
        a.protect(true, true);
        b.select();
        ooxml::saveWorkbook(wb, dir + "/out.xlsm");
    }
    auto parts = entries(dir + "/out.xlsm");
    EXPECT_TRUE(contains(parts["[Content_Types].xml"],
                         "application/vnd.ms-excel.sheet.macroEnabled.main+xml"));
    EXPECT_TRUE(contains(parts["xl/workbook.xml"], "fullCalcOnLoad=\"1\""));
    // Formulas carry no cached values, so the application computes them.
    const std::string& sheet1 = parts["xl/worksheets/sheet1.xml"];
    EXPECT_TRUE(contains(sheet1, "<c r=\"A4\"><f>'Land&amp;Rain'!$A$1*2+SUM($A$1:$C$1)</f></c>"))
        << sheet1;

    auto wb = ooxml::openWorkbook(dir + "/out.xlsm");
    ASSERT_EQ(wb->sheetCount(), 3);
    Worksheet& a = wb->sheet("data");
    EXPECT_EQ(std::get<double>(a.cells(1, 1).value()), 1.5);
    EXPECT_EQ(std::get<double>(a.cells(1, 2).value()), -1e-300);
    EXPECT_EQ(std::get<double>(a.cells(1, 3).value()), 123456789012345.0);
    EXPECT_EQ(std::get<bool>(a.cells(2, 1).value()), true);
    EXPECT_EQ(std::get<bool>(a.cells(2, 2).value()), false);
    EXPECT_EQ(std::get<std::string>(a.cells(3, 1).value()), "  padded  ");
    EXPECT_EQ(std::get<std::string>(a.cells(3, 2).value()), "tab\tand\nline, <b>&\"q\"</b>");
    EXPECT_EQ(std::get<std::string>(a.cells(3, 3).value()), "bell\x07 and _x0041_ literally");
    EXPECT_EQ(std::get<std::string>(a.cells(3, 4).value()), "Grüße – ∑");
    EXPECT_EQ(a.cells(4, 1).formula(), "='Land&Rain'!$A$1*2+SUM($A$1:$C$1)");
    EXPECT_EQ(a.cells(4, 2).formula(), "=IF(A2,\"say \"\"hi\"\"\",\"no\")");
    EXPECT_EQ(a.cells(4, 3).formula(), "=Total*2");
    const DefinedName* total = wb->findName("Total");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(formula::toA1(total->refersTo, *wb), "'Land&Rain'!$A$1");
    EXPECT_EQ(wb->activeSheetIndex(), 1);
    EXPECT_EQ(wb->sheet(2).visibility(), Worksheet::Visibility::Hidden);
    EXPECT_TRUE(a.rowInfo.at(7).hidden);
    EXPECT_EQ(a.rowInfo.at(8).height, 30);
    EXPECT_DOUBLE_EQ(a.colInfo.at(3).width, 20);
    EXPECT_TRUE(a.colInfo.at(4).hidden);
    EXPECT_EQ(a.selection(), (RangeRef{9, 2, 10, 4}));
    EXPECT_EQ(a.activeRow(), 9);
    EXPECT_EQ(a.activeCol(), 2);
    EXPECT_TRUE(a.protection().sheet);
    EXPECT_TRUE(a.protection().contents);
    EXPECT_TRUE(a.protection().drawingObjects);
    EXPECT_EQ(std::get<std::string>(wb->sheet("Hidden One").cells(5, 5).value()), "x");
}

TEST(PackageRoundTrip, MergesCommentsRichTextAndValidations) {
    std::string dir = tmpDir("merges");
    {
        Workbook wb;
        Worksheet& ws = wb.addSheet("Input");
        ws.cells(2, 3).setValue("Header");
        ws.range("B2:C2").setMergeCells(true);
        ws.range("E5:F9").setMergeCells(true);
        Comment& c = ws.cells(4, 2).addComment("Enter the area\nin acres");
        c.author = "KAVRO";
        c.heightScale = 2.5;
        ws.cells(6, 1).addComment("shown").visible = true;
        ws.cells(10, 1).setValue("Bold part and plain");
        ws.cells(10, 1).characters(1, 4).setBold(true);
        ws.cells(10, 1).characters(6, 4).setColorIndex(3);
        DataValidation dv;
        dv.ranges = {RangeRef{13, 1, 13, 1}, RangeRef{14, 2, 20, 2}};
        dv.formula1 = "$AA$1:$AA$4";
        dv.showDropDown = true;
        dv.prompt = "Pick one";
        ws.validations.push_back(dv);
        ooxml::saveWorkbook(wb, dir + "/out.xlsm");
    }
    auto wb = ooxml::openWorkbook(dir + "/out.xlsm");
    Worksheet& ws = wb->sheet("Input");
    ASSERT_EQ(ws.merges.size(), 2u);
    EXPECT_EQ(ws.merges[0], (RangeRef{2, 2, 2, 3}));
    EXPECT_EQ(ws.merges[1], (RangeRef{5, 5, 9, 6}));
    EXPECT_EQ(std::get<std::string>(ws.cells(2, 2).value()), "Header");

    ASSERT_EQ(ws.comments.size(), 2u);
    const Comment& c = ws.comments.at({4, 2});
    EXPECT_EQ(c.text, "Enter the area\nin acres");
    EXPECT_EQ(c.author, "KAVRO");
    EXPECT_NEAR(c.heightScale, 2.5, 0.01);
    EXPECT_FALSE(c.visible);
    EXPECT_TRUE(ws.comments.at({6, 1}).visible);

    const auto& runs = ws.runs.at({10, 1});
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_TRUE(runs[0].font.bold);
    EXPECT_EQ(runs[0].length, 4);
    EXPECT_FALSE(runs[1].font.bold);
    EXPECT_EQ(runs[2].font.color, Color::indexed(3));
    EXPECT_EQ(std::get<std::string>(ws.cells(10, 1).value()), "Bold part and plain");

    ASSERT_EQ(ws.validations.size(), 1u);
    const DataValidation& dv = ws.validations[0];
    EXPECT_EQ(dv.type, "list");
    EXPECT_EQ(dv.formula1, "$AA$1:$AA$4");
    EXPECT_EQ(dv.ranges, (std::vector<RangeRef>{{13, 1, 13, 1}, {14, 2, 20, 2}}));
    EXPECT_TRUE(dv.showDropDown);
    EXPECT_EQ(dv.prompt, "Pick one");
}
