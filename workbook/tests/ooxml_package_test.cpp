// Saving and opening packages: what a saved workbook reads back as, which parts are kept as
// read, errors for broken templates, and saves that fail without damage.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/ooxml/relationships.h"
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

namespace {

// A package as another program writes it: a macro project, custom UI, a drawing, controls and
// a calculation chain, which the model does not hold.
const char* kVbaRel = "http://schemas.microsoft.com/office/2006/relationships/vbaProject";
const char* kUiRel = "http://schemas.microsoft.com/office/2006/relationships/ui/extensibility";

std::map<std::string, std::string> foreignPackage() {
    std::map<std::string, std::string> p;
    p["[Content_Types].xml"] =
        R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
        R"(<Default Extension="xml" ContentType="application/xml"/><Default Extension="bin" ContentType="application/vnd.ms-office.vbaProject"/>)"
        R"(<Default Extension="vml" ContentType="application/vnd.openxmlformats-officedocument.vmlDrawing"/>)"
        R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.ms-excel.sheet.macroEnabled.main+xml"/>)"
        R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
        R"(<Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
        R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
        R"(<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>)"
        R"(<Override PartName="/xl/calcChain.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"/>)"
        R"(<Override PartName="/xl/comments1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.comments+xml"/>)"
        R"(<Override PartName="/xl/drawings/drawing1.xml" ContentType="application/vnd.openxmlformats-officedocument.drawing+xml"/>)"
        R"(<Override PartName="/customUI/customUI.xml" ContentType="application/xml"/></Types>)";
    p["_rels/.rels"] =
        std::string(R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
                    R"(<Relationship Id="rId2" Type=")") + kUiRel + R"(" Target="customUI/customUI.xml"/></Relationships>)";
    p["xl/workbook.xml"] =
        R"(<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<workbookPr codeName="ThisWorkbook"/><bookViews><workbookView xWindow="120" activeTab="1"/></bookViews>)"
        R"(<sheets><sheet name="Input" sheetId="1" r:id="rId1"/><sheet name="CountyData" sheetId="2" r:id="rId2"/></sheets>)"
        R"(<definedNames><definedName name="Ext">[1]Sheet1!$A$1</definedName><definedName name="Keys">CountyData!$A$1:$A$3</definedName></definedNames>)"
        R"(<calcPr calcId="145621"/></workbook>)";
    p["xl/_rels/workbook.xml.rels"] =
        std::string(R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
                    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>)"
                    R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
                    R"(<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
                    R"(<Relationship Id="rId5" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain" Target="calcChain.xml"/>)"
                    R"(<Relationship Id="rId6" Type=")") + kVbaRel + R"(" Target="vbaProject.bin"/></Relationships>)";
    p["xl/styles.xml"] =
        R"(<?xml version="1.0"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
        R"(<fonts count="2"><font><sz val="10"/><name val="Arial"/></font><font><b/><sz val="10"/><name val="Arial"/></font></fonts>)"
        R"(<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>)"
        R"(<borders count="1"><border/></borders><cellXfs count="2"><xf fontId="0"/><xf fontId="1"/></cellXfs></styleSheet>)";
    p["xl/sharedStrings.xml"] =
        R"(<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" uniqueCount="3">)"
        R"(<si><t>Area</t></si><si><r><rPr><b/><sz val="10"/><rFont val="Arial"/></rPr><t>Rich</t></r><r><t xml:space="preserve"> text</t></r></si>)"
        R"(<si><t>Key</t></si></sst>)";
    p["xl/worksheets/sheet1.xml"] =
        R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006" xmlns:x14ac="http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac" mc:Ignorable="x14ac">)"
        R"(<sheetPr codeName="Sheet1"/><dimension ref="A1:C3"/><sheetViews><sheetView showGridLines="0" tabSelected="1" workbookViewId="0"><pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/><selection pane="bottomLeft" activeCell="B2" sqref="B2"/></sheetView></sheetViews>)"
        R"(<sheetFormatPr defaultRowHeight="12.75" x14ac:dyDescent="0.2"/><sheetData>)"
        R"(<row r="1" x14ac:dyDescent="0.2"><c r="A1" t="s"><v>0</v></c><c r="B1" s="1" t="s"><v>1</v></c></row>)"
        R"(<row r="2"><c r="A2"><v>2</v></c><c r="B2"><f t="shared" ref="B2:B4" si="0">A2*2+CountyData!$B$1</f><v>4</v></c></row>)"
        R"(<row r="3"><c r="A3"><v>3</v></c><c r="B3"><f t="shared" si="0"/><v>6</v></c><c r="C3" t="inlineStr"><is><t>inline</t></is></c><c r="D3" t="e"><v>#N/A</v></c></row>)"
        R"(<row r="4"><c r="B4"><f t="shared" si="0"/></c><c r="C4" t="str"><v>cached text</v></c></row>)"
        R"(</sheetData><conditionalFormatting sqref="A2:A3"><cfRule type="cellIs" dxfId="0" priority="1" operator="greaterThan"><formula>2</formula></cfRule></conditionalFormatting>)"
        R"(<hyperlinks><hyperlink ref="A1" r:id="rId9"/></hyperlinks><pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>)"
        R"(<drawing r:id="rId2"/><legacyDrawing r:id="rId3"/><controls><control shapeId="1025" r:id="rId4" name="ListBox1"/></controls></worksheet>)";
    p["xl/worksheets/_rels/sheet1.xml.rels"] =
        R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments" Target="../comments1.xml"/>)"
        R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing" Target="../drawings/drawing1.xml"/>)"
        R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/vmlDrawing" Target="../drawings/vmlDrawing1.vml"/>)"
        R"(<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/control" Target="../activeX/activeX1.xml"/>)"
        R"(<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink" Target="http://example.invalid/" TargetMode="External"/></Relationships>)";
    p["xl/comments1.xml"] =
        R"(<?xml version="1.0"?><comments xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><authors><author>Ann</author></authors>)"
        R"(<commentList><comment ref="A2" authorId="0"><text><r><rPr><b/></rPr><t>Ann:</t></r><r><t xml:space="preserve"> note</t></r></text></comment></commentList></comments>)";
    p["xl/drawings/vmlDrawing1.vml"] =
        R"(<xml xmlns:v="urn:schemas-microsoft-com:vml" xmlns:o="urn:schemas-microsoft-com:office:office" xmlns:x="urn:schemas-microsoft-com:office:excel">)"
        R"(<o:shapelayout v:ext="edit"><o:idmap v:ext="edit" data="1"/></o:shapelayout>)"
        R"(<v:shapetype id="_x0000_t201" coordsize="21600,21600" o:spt="201" path="m,l,21600r21600,l21600,xe"/>)"
        R"(<v:shape id="ListBox1" o:spid="_x0000_s1025" type="#_x0000_t201" style="position:absolute;width:80pt;height:40pt"><v:imagedata o:relid="rId1" o:title=""/><x:ClientData ObjectType="Pict"><x:Anchor>1, 0, 1, 0, 3, 0, 4, 0</x:Anchor><x:CF>Pict</x:CF></x:ClientData></v:shape>)"
        R"(<v:shape id="_x0000_s1026" type="#_x0000_t202" style="position:absolute;width:108pt;height:118.5pt;visibility:hidden"><x:ClientData ObjectType="Note"><x:Row>1</x:Row><x:Column>0</x:Column></x:ClientData></v:shape></xml>)";
    p["xl/drawings/_rels/vmlDrawing1.vml.rels"] =
        R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/image" Target="../media/image1.emf"/></Relationships>)";
    p["xl/media/image1.emf"] = std::string("EMF\0\x01\x02 image", 12);
    p["xl/drawings/drawing1.xml"] = "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\"/>";
    p["xl/activeX/activeX1.xml"] = "<ax:ocx xmlns:ax=\"http://schemas.microsoft.com/office/2006/activeX\" ax:classid=\"{8BD21D40-EC42-11CE-9E0D-00AA006002F3}\"/>";
    p["xl/worksheets/sheet2.xml"] =
        R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetViews><sheetView workbookViewId="0"/></sheetViews>)"
        R"(<sheetData><row r="1"><c r="A1" t="s"><v>2</v></c><c r="B1"><v>10</v></c></row><row r="2"><c r="A2"><f>B1+1</f></c></row></sheetData></worksheet>)";
    p["xl/calcChain.xml"] = R"(<calcChain xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><c r="B2" i="1"/></calcChain>)";
    p["xl/vbaProject.bin"] = std::string("\xD0\xCF\x11\xE0\0\0macros\0\xff", 14);
    p["customUI/customUI.xml"] = "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"><ribbon/></customUI>";
    return p;
}

}  // namespace

TEST(PackageKeeps, PartsItDoesNotModelAndSheetsNeverUsed) {
    std::string dir = tmpDir("keeps");
    auto in = foreignPackage();
    writeZip(dir + "/template.xlsm", in);
    auto wb = ooxml::openWorkbook(dir + "/template.xlsm");
    EXPECT_FALSE(wb->sheet(0).isLoaded());
    EXPECT_FALSE(wb->sheet(1).isLoaded());
    EXPECT_EQ(wb->activeSheetIndex(), 1);
    ASSERT_NE(wb->findName("Keys"), nullptr);

    // What the sheet holds, as other programs write it.
    Worksheet& ws = wb->sheet("Input");
    EXPECT_EQ(ws.cells(2, 2).formula(), "=A2*2+CountyData!$B$1");
    EXPECT_EQ(ws.cells(3, 2).formula(), "=A3*2+CountyData!$B$1");
    EXPECT_EQ(ws.cells(4, 2).formula(), "=A4*2+CountyData!$B$1");
    EXPECT_EQ(std::get<std::string>(ws.cells(3, 3).value()), "inline");
    EXPECT_EQ(ws.cells(3, 4).formula(), "=#N/A");
    EXPECT_EQ(std::get<std::string>(ws.cells(4, 3).value()), "cached text");
    EXPECT_EQ(std::get<std::string>(ws.cells(1, 2).value()), "Rich text");
    ASSERT_EQ(ws.runs.at({1, 2}).size(), 2u);
    EXPECT_TRUE(ws.runs.at({1, 2})[0].font.bold);
    EXPECT_TRUE(ws.runs.at({1, 2})[1].font.bold);  // no run properties: the cell's (bold) font
    EXPECT_EQ(ws.comments.at({2, 1}).text, "Ann: note");
    EXPECT_NEAR(ws.comments.at({2, 1}).heightScale, 2.0, 1e-9);
    EXPECT_EQ(ws.selection(), (RangeRef{2, 2, 2, 2}));

    ws.cells(3, 1).setValue(30);
    ws.cells(5, 1).addComment("new one");
    ws.select();
    ooxml::saveWorkbook(*wb, dir + "/out.xlsm");
    auto out = entries(dir + "/out.xlsm");

    for (const char* name : {"xl/vbaProject.bin", "customUI/customUI.xml", "xl/drawings/drawing1.xml",
                             "xl/activeX/activeX1.xml", "xl/media/image1.emf"})
        EXPECT_EQ(out[name], in[name]) << name;
    // The sheet never used is written as read, only its tab selection follows the active sheet
    // (it was not selected, so not a byte changes).
    EXPECT_EQ(out["xl/worksheets/sheet2.xml"], in["xl/worksheets/sheet2.xml"]);
    EXPECT_TRUE(contains(out["_rels/.rels"], kUiRel));
    EXPECT_TRUE(contains(out["xl/_rels/workbook.xml.rels"], kVbaRel));
    EXPECT_TRUE(contains(out["xl/workbook.xml"], "codeName=\"ThisWorkbook\""));
    EXPECT_TRUE(contains(out["xl/workbook.xml"], "[1]Sheet1!$A$1"));
    // The calculation chain is stale after any change: dropped with its entries.
    EXPECT_EQ(out.count("xl/calcChain.xml"), 0u);
    EXPECT_FALSE(contains(out["[Content_Types].xml"], "calcChain"));
    EXPECT_FALSE(contains(out["xl/_rels/workbook.xml.rels"], "calcChain"));

    // The loaded sheet keeps its unmodelled elements, in the file's order, with their
    // relationships; its notes and kept control shape share one legacy drawing.
    const std::string& s1 = out["xl/worksheets/sheet1.xml"];
    EXPECT_TRUE(contains(s1, "codeName=\"Sheet1\"")) << s1;
    EXPECT_TRUE(contains(s1, "showGridLines=\"0\"")) << s1;
    EXPECT_TRUE(contains(s1, "state=\"frozen\"")) << s1;
    std::vector<size_t> order;
    for (const char* tag : {"<sheetPr", "<sheetViews", "<sheetData", "<conditionalFormatting",
                            "<hyperlinks", "<pageMargins", "<drawing r:id=\"rId2\"", "<legacyDrawing",
                            "<controls><control shapeId=\"1025\" r:id=\"rId4\""}) {
        order.push_back(s1.find(tag));
        EXPECT_NE(order.back(), std::string::npos) << tag << " in " << s1;
    }
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << s1;
    const std::string& rels = out["xl/worksheets/_rels/sheet1.xml.rels"];
    for (const char* r : {"Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing\" Target=\"../drawings/drawing1.xml\"",
                          "Id=\"rId4\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/control\"",
                          "Id=\"rId9\"", "TargetMode=\"External\""})
        EXPECT_TRUE(contains(rels, r)) << r << " in " << rels;
    std::string vml;
    for (const auto& [name, data] : out)
        if (name.ends_with(".vml")) vml += data;
    EXPECT_TRUE(contains(vml, "o:spid=\"_x0000_s1025\"")) << vml;
    EXPECT_TRUE(contains(vml, "<v:imagedata o:relid=\"rId1\"")) << vml;
    size_t notes = 0;
    for (size_t p = 0; (p = vml.find("ObjectType=\"Note\"", p)) != std::string::npos; ++p) ++notes;
    EXPECT_EQ(notes, 2u);
    bool vmlRelsKept = false;
    for (const auto& [name, data] : out)
        if (name.ends_with(".vml.rels")) vmlRelsKept = contains(data, "../media/image1.emf");
    EXPECT_TRUE(vmlRelsKept);

    // And it all reads back.
    auto again = ooxml::openWorkbook(dir + "/out.xlsm");
    Worksheet& ws2 = again->sheet("Input");
    EXPECT_EQ(std::get<double>(ws2.cells(3, 1).value()), 30);
    EXPECT_EQ(ws2.comments.size(), 2u);
    EXPECT_EQ(again->activeSheetIndex(), 0);
    EXPECT_EQ(std::get<double>(again->sheet("CountyData").cells(1, 2).value()), 10);
}

// A styles relationship whose target the package does not hold (here a name the zip cannot hold
// either) is not where the saved styles go: they go to xl/styles.xml, under a new relationship.
TEST(PackageKeeps, StylesRelationshipToAMissingPartIsReplaced) {
    std::string dir = tmpDir("missing_styles");
    auto in = foreignPackage();
    in.erase("xl/styles.xml");
    std::string& wbRels = in["xl/_rels/workbook.xml.rels"];
    wbRels.replace(wbRels.find("Target=\"styles.xml\""), 19, "Target=\"st\xffyles.xml\"");
    writeZip(dir + "/template.xlsm", in);
    auto wb = ooxml::openWorkbook(dir + "/template.xlsm");
    wb->sheet("CountyData").range("B1").font().setBold(true);
    ooxml::saveWorkbook(*wb, dir + "/saved.xlsm");

    auto out = entries(dir + "/saved.xlsm");
    ASSERT_TRUE(out.count("xl/styles.xml"));
    const ooxml::Relationships rels = ooxml::Relationships::parse(out["xl/_rels/workbook.xml.rels"]);
    for (const auto& r : rels.items())
        EXPECT_TRUE(r.external || out.count(ooxml::resolveTarget("xl/", r.target))) << r.target;
    auto back = ooxml::openWorkbook(dir + "/saved.xlsm");
    EXPECT_TRUE(back->sheet("CountyData").range("B1").format().font.bold);
}

TEST(PackageKeeps, UnusedSheetFollowsTheActiveTab) {
    std::string dir = tmpDir("tab");
    auto in = foreignPackage();
    writeZip(dir + "/template.xlsm", in);
    auto wb = ooxml::openWorkbook(dir + "/template.xlsm");
    wb->setActiveSheet(1);  // CountyData, never loaded
    ooxml::saveWorkbook(*wb, dir + "/out.xlsm");
    auto out = entries(dir + "/out.xlsm");
    EXPECT_TRUE(contains(out["xl/worksheets/sheet2.xml"], "<sheetView tabSelected=\"1\" workbookViewId=\"0\"/>"));
    // Input was never loaded either and loses its selected tab.
    std::string s1 = out["xl/worksheets/sheet1.xml"];
    EXPECT_FALSE(contains(s1, "tabSelected"));
    std::string expected = in["xl/worksheets/sheet1.xml"];
    expected.erase(expected.find(" tabSelected=\"1\""), 16);
    EXPECT_EQ(s1, expected);
}

TEST(PackageErrors, BrokenTemplatesNameTheFileAndTheProblem) {
    std::string dir = tmpDir("errors");
    std::ofstream(dir + "/text.xlsm") << "not a zip at all";
    struct Case {
        const char* name;
        std::function<void(std::map<std::string, std::string>&)> damage;
        const char* message;
    };
    const Case cases[] = {
        {"nocontent", [](auto& p) { p.erase("[Content_Types].xml"); }, "[Content_Types].xml"},
        {"noworkbook", [](auto& p) { p.erase("xl/workbook.xml"); }, "xl/workbook.xml is missing"},
        {"norels", [](auto& p) { p.erase("xl/_rels/workbook.xml.rels"); }, "xl/_rels/workbook.xml.rels"},
        {"nosheet", [](auto& p) { p.erase("xl/worksheets/sheet2.xml"); }, "xl/worksheets/sheet2.xml"},
        {"badxml", [](auto& p) { p["xl/workbook.xml"] = "<workbook><sheets>"; }, "xl/workbook.xml cannot be read"},
        {"badstyles", [](auto& p) { p["xl/styles.xml"] = "<styleSheet"; }, "xl/styles.xml"},
    };
    for (const Case& c : cases) {
        auto parts = foreignPackage();
        c.damage(parts);
        std::string path = dir + "/" + c.name + ".xlsm";
        writeZip(path, parts);
        try {
            ooxml::openWorkbook(path);
            ADD_FAILURE() << c.name << " opened";
        } catch (const WorkbookError& e) {
            EXPECT_TRUE(contains(e.what(), path)) << e.what();
            EXPECT_TRUE(contains(e.what(), c.message)) << e.what();
        }
    }
    for (auto [path, message] : {std::pair{dir + "/missing.xlsm", "does not exist"},
                                 std::pair{dir + "/text.xlsm", "not a zip"},
                                 std::pair{dir, "folder"}}) {
        try {
            ooxml::openWorkbook(path);
            ADD_FAILURE() << path << " opened";
        } catch (const WorkbookError& e) {
            EXPECT_TRUE(contains(e.what(), path)) << e.what();
            EXPECT_TRUE(contains(e.what(), message)) << e.what();
        }
    }
}

// An archive's headers may claim any size; the claim alone must not make the reader allocate it.
TEST(PackageErrors, PartsClaimingGigabytesAreRefusedBeforeTheyAreRead) {
    std::string path = tmpDir("claimed") + "/claimed.xlsm";
    writeZip(path, foreignPackage());
    std::string bytes = slurp(path);
    // The uncompressed size of every entry: at 22 in a local header, at 24 in the central one.
    for (auto [signature, offset] : {std::pair{"PK\x03\x04", 22}, std::pair{"PK\x01\x02", 24}})
        for (size_t at = bytes.find(signature); at != std::string::npos;
             at = bytes.find(signature, at + 4))
            bytes.replace(at + offset, 4, std::string("\x00\x00\x00\x50", 4));  // 1.25 GiB
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    try {
        ooxml::openWorkbook(path);
        ADD_FAILURE() << "opened";
    } catch (const WorkbookError& e) {
        EXPECT_TRUE(contains(e.what(), path)) << e.what();
        EXPECT_TRUE(contains(e.what(), "unpack to more than 1024 MiB")) << e.what();
    }
}

TEST(PackageSave, FailureLeavesThePreviousFileAndNoTemporaryFile) {
    std::string dir = tmpDir("nopartial");
    auto parts = foreignPackage();
    // Malformed, but only found out when the sheet is used.
    parts["xl/worksheets/sheet2.xml"] = "<worksheet><sheetData><row>";
    writeZip(dir + "/template.xlsm", parts);
    std::ofstream(dir + "/out.xlsm") << "previous contents";
    auto listing = [&] {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
        return names;
    };
    const auto before = listing();

    auto wb = ooxml::openWorkbook(dir + "/template.xlsm");
    try {
        wb->sheet("CountyData");
        ADD_FAILURE() << "the broken sheet loaded";
    } catch (const WorkbookError& e) {
        EXPECT_TRUE(contains(e.what(), "CountyData")) << e.what();
        EXPECT_TRUE(contains(e.what(), "xl/worksheets/sheet2.xml")) << e.what();
    }
    // The half-read sheet must not be written as if it were whole.
    EXPECT_THROW(ooxml::saveWorkbook(*wb, dir + "/out.xlsm"), WorkbookError);
    EXPECT_EQ(slurp(dir + "/out.xlsm"), "previous contents");
    EXPECT_EQ(listing(), before);

    // A target that cannot be replaced: the error names it, nothing is left behind.
    Workbook fresh;
    fresh.addSheet("A").cells(1, 1).setValue(1);
    fs::create_directory(dir + "/folder.xlsm");
    try {
        ooxml::saveWorkbook(fresh, dir + "/folder.xlsm");
        ADD_FAILURE() << "saved over a folder";
    } catch (const WorkbookError& e) {
        EXPECT_TRUE(contains(e.what(), dir + "/folder.xlsm")) << e.what();
    }
    EXPECT_THROW(ooxml::saveWorkbook(fresh, dir + "/no/such/folder/x.xlsm"), WorkbookError);
    auto after = listing();
    after.erase("folder.xlsm");
    EXPECT_EQ(after, before);

    // A good save replaces the previous file.
    ooxml::saveWorkbook(fresh, dir + "/out.xlsm");
    EXPECT_EQ(entries(dir + "/out.xlsm").count("xl/workbook.xml"), 1u);
}

TEST(PackageSave, ContentIsNeverDroppedBehindASheetKeptAsRead) {
    // However a sheet is reached, what is written into it is saved, or the save fails loudly.
    std::string dir = tmpDir("dropped");
    writeZip(dir + "/template.xlsm", foreignPackage());
    auto wb = ooxml::openWorkbook(dir + "/template.xlsm");
    wb->sheet(1).cells(5, 5).setValue(42);
    bool saved = true;
    try {
        ooxml::saveWorkbook(*wb, dir + "/out.xlsm");
    } catch (const WorkbookError& e) {
        saved = false;
        EXPECT_TRUE(contains(e.what(), "CountyData")) << e.what();
    }
    if (saved) {
        auto again = ooxml::openWorkbook(dir + "/out.xlsm");
        EXPECT_EQ(std::get<double>(again->sheet("CountyData").cells(5, 5).value()), 42);
        EXPECT_EQ(std::get<double>(again->sheet("CountyData").cells(1, 2).value()), 10);
    }
}
