// End to end: a workbook with a list box linked to a cell and filled from a range, a group of
// four option buttons linked to four cells, a pie chart and a clustered column chart on a
// protected sheet, saved as .xlsm; the package holds every part the objects need, reads back
// and saves again with the objects intact, opens in LibreOffice (which takes the controls as
// form controls) and in openpyxl.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <regex>
#include <set>
#include <string>

#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/chart.h"
#include "workbook/ooxml/controls.h"
#include "workbook/ooxml/package.h"
#include "workbook/ooxml/zip.h"
#include "workbook/testing/libreoffice.h"

using namespace wb;
namespace fs = std::filesystem;

namespace {

const std::string kTmp = std::string(KAVRO_TEST_TMP) + "/e2e_controls_charts";

std::map<std::string, std::string> parts(const std::string& path) {
    std::map<std::string, std::string> m;
    for (auto& [name, data] : ooxml::readZip(path)) m[name] = data;
    return m;
}

int count(const std::string& s, const std::string& what) {
    int n = 0;
    for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

// The workbook of the checks: Input with the controls, Graphs with the charts.
void build(Workbook& book) {
    Worksheet& input = book.addSheet("Input");
    Worksheet& graphs = book.addSheet("Graphs");
    input.columns(9).setColumnWidth(18);
    const char* items[] = {"none", "up to a quarter", "up to a half", "more than half"};
    for (int i = 0; i < 4; ++i) input.cells(1 + i, 27).setText(items[i]);  // AA1:AA4

    Range cell = input.range("I18");
    OleObject lb = addOleObject(input, "Forms.ListBox.1", cell.left(), cell.top(), cell.width(),
                                cell.height() * 3);
    lb.setLinkedCell(cell.address()).setListFillRange("AA1:AA4").setAutoLoad(true);
    lb.setBackColor(255).setForeColor(0).setListStyle(1).setName("lstBx11").setListIndex(0);
    cell.setValue(std::string_view(lb.listItem(lb->listIndex)));

    for (int col = 3; col <= 6; ++col) {
        Range c = input.cells(41, col);
        OleObject b = addOleObject(input, "Forms.OptionButton.1", c.left() + c.width() / 2, c.top(),
                                   c.height(), c.height());
        b.setLinkedCell(c.address()).setBackColor(255);
        c.font().setColorIndex(2);
    }
    for (int k = 1; k <= 4; ++k) {
        OleObject b = *findOleObject(input, "OptionButton" + std::to_string(k));
        b.setGroupName("1").setValue(std::string_view("1"));
    }
    findOleObject(input, "optionbutton2")->setValue(true);
    groupShapes(input, {"optionButton1", "optionButton2", "optionButton3", "optionButton4"});

    graphs.columns(1, 27).setColumnWidth(11);
    const char* sources[] = {"Urban", "Cropland", "Pastureland", "Forest", "Feedlots"};
    graphs.range("B3").setValue("Sources");
    graphs.range("C3").setValue("Total N Load (lb/yr)");
    for (int i = 0; i < 5; ++i) {
        graphs.cells(4 + i, 2).setValue(sources[i]);
        graphs.cells(4 + i, 3).setValue(10.0 * (i + 1));
    }
    graphs.range("B16").setValue("Watershed");
    const char* heads[] = {"N Load with BMP (lb/yr)", "P Load with BMP (lb/yr)", "BOD Load with BMP (lb/yr)"};
    for (int j = 0; j < 3; ++j) graphs.cells(16, 3 + j).setValue(heads[j]);
    for (int i = 1; i <= 3; ++i) {
        graphs.cells(16 + i, 2).setValue("W" + std::to_string(i));
        for (int j = 0; j < 3; ++j) graphs.cells(16 + i, 3 + j).setValue(100.0 * i + 30 * j);
    }
    ChartObject pie = addChart(graphs, 10, 410, 350, 200);
    pie.setChartType(xl::Pie);
    pie.addSeries(graphs.range("B3:C8"), xl::Columns, true, true);
    ChartObject col = addChart(graphs, 10, 20, 350, 200);
    col.setChartType(xl::ColumnClustered);
    col.addSeries(graphs.range("B16:E19"), xl::Columns, true, true);
    col.setHasTitle(true).setTitleText("N, P, and BOD Load by Watersheds with BMP (lb/yr)");
    graphs.protect(true, true);
}

void checkPackage(const std::string& path, int controls = 5, int charts = 2) {
    auto p = parts(path);
    const std::string& types = p.at("[Content_Types].xml");
    for (int i = 1; i <= controls; ++i) {
        std::string ax = "xl/activeX/activeX" + std::to_string(i);
        ASSERT_TRUE(p.count(ax + ".xml")) << ax;
        ASSERT_TRUE(p.count(ax + ".bin")) << ax;
        ASSERT_TRUE(p.count("xl/activeX/_rels/activeX" + std::to_string(i) + ".xml.rels"));
        EXPECT_NE(types.find("/" + ax + ".bin\" ContentType=\"application/vnd.ms-office.activeX\""),
                  std::string::npos);
        EXPECT_NE(types.find("/" + ax + ".xml\" ContentType=\"application/vnd.ms-office.activeX+xml\""),
                  std::string::npos);
    }
    EXPECT_FALSE(p.count("xl/activeX/activeX" + std::to_string(controls + 1) + ".xml"));
    ASSERT_TRUE(p.count("xl/drawings/drawing1.xml"));
    EXPECT_FALSE(p.count("xl/drawings/drawing2.xml"));  // one drawing per sheet
    for (int i = 1; i <= charts; ++i) ASSERT_TRUE(p.count("xl/charts/chart" + std::to_string(i) + ".xml")) << i;
    EXPECT_FALSE(p.count("xl/charts/chart" + std::to_string(charts + 1) + ".xml"));
    EXPECT_EQ(count(p.at("xl/drawings/drawing1.xml"), "<c:chart "), charts);
    EXPECT_NE(types.find("drawingml.chart+xml"), std::string::npos);

    // Which sheet is which: the workbook's relationships name the parts.
    std::string input, graphs;
    for (auto& [name, data] : p) {
        if (name.rfind("xl/worksheets/sheet", 0) != 0 || name.find("_rels") != std::string::npos) continue;
        if (data.find("<controls") != std::string::npos) input = data;
        if (data.find("<drawing ") != std::string::npos) graphs = data;
    }
    ASSERT_FALSE(input.empty());
    ASSERT_FALSE(graphs.empty());
    EXPECT_EQ(count(input, "<mc:Choice Requires=\"x14\"><control "), controls);
    EXPECT_EQ(count(input, "<controls"), 1);
    EXPECT_EQ(count(graphs, "<drawing "), 1);
    EXPECT_NE(input.find("name=\"lstBx11\""), std::string::npos);
    EXPECT_NE(input.find("linkedCell=\"$I$18\" listFillRange=\"AA1:AA4\""), std::string::npos);
    EXPECT_NE(input.find("<legacyDrawing "), std::string::npos);
    // Protection of the chart sheet: contents and objects.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(graphs, m, std::regex("<sheetProtection[^>]*/>")));
    EXPECT_NE(m.str().find("sheet=\"1\""), std::string::npos);
    EXPECT_NE(m.str().find("objects=\"1\""), std::string::npos);
    EXPECT_LT(graphs.find("<sheetProtection"), graphs.find("<drawing "));

    // The control properties as persisted.
    int listBoxes = 0, chosen = 0, buttons = 0;
    for (int i = 1; i <= 5; ++i) {  // the first five: those of build()
        std::string progId;
        auto md = ooxml::readActiveXBinaryPart(p.at("xl/activeX/activeX" + std::to_string(i) + ".bin"), &progId);
        ASSERT_TRUE(md.has_value()) << i;
        EXPECT_EQ(md->backColor, 0x000000FFu);
        if (progId == "Forms.ListBox.1") {
            ++listBoxes;
            EXPECT_EQ(md->value, "none");
            EXPECT_EQ(md->listStyle, 1);
            EXPECT_EQ(md->foreColor, 0u);
        } else {
            ++buttons;
            EXPECT_EQ(md->groupName, "1");
            if (md->value == "1") ++chosen;
        }
    }
    EXPECT_EQ(listBoxes, 1);
    EXPECT_EQ(buttons, 4);
    EXPECT_EQ(chosen, 1);

    // The legacy drawing holds one shape per control, each named like its control entry.
    std::string vml;
    for (auto& [name, data] : p)
        if (name.find("vmlDrawing") != std::string::npos && name.find("_rels") == std::string::npos)
            vml += data;
    EXPECT_EQ(count(vml, "<x:ClientData ObjectType=\"Pict\">"), controls);
    EXPECT_NE(vml.find("<x:FmlaLink>$D$41</x:FmlaLink>"), std::string::npos);

    auto pie = ooxml::readChartPart(p.at("xl/charts/chart1.xml"));
    auto col = ooxml::readChartPart(p.at("xl/charts/chart2.xml"));
    ASSERT_TRUE(pie && col);
    EXPECT_EQ(pie->chartType, xl::Pie);
    ASSERT_EQ(pie->series.size(), 1u);
    EXPECT_EQ(pie->series[0].values, "Graphs!$C$4:$C$8");
    EXPECT_EQ(col->chartType, xl::ColumnClustered);
    EXPECT_EQ(col->series.size(), 3u);
}

}  // namespace

// Every test builds its own file in its own folder: ctest runs the tests as parallel processes.
class ObjectsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        dir = kTmp + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir + "/controls_charts.xlsm";
        Workbook book;
        build(book);
        ooxml::saveWorkbook(book, file);
    }
    std::string dir, file;
};

TEST_F(ObjectsEndToEnd, PackageHoldsTheControlAndChartParts) { checkPackage(file); }

TEST_F(ObjectsEndToEnd, ReadBackAndSavedAgainKeepsTheObjects) {
    auto book = ooxml::openWorkbook(file);
    // Typing an input on each sheet loads it, so both are written again rather than copied.
    book->sheet("Input").range("C6").setValue(5);
    book->sheet("Graphs").range("C4").setValue(12);
    const std::string again = dir + "/saved_again.xlsm";
    ooxml::saveWorkbook(*book, again);
    checkPackage(again);

    // Objects added to sheets that kept theirs from the file join the kept control list and
    // drawing, with fresh part names, shape ids and relationship ids.
    auto more = ooxml::openWorkbook(again);
    Worksheet& input = more->sheet("Input");
    addOleObject(input, "Forms.ListBox.1", 300, 300, 60, 40).setLinkedCell("$K$30");
    Worksheet& graphs = more->sheet("Graphs");
    addChart(graphs, 400, 20, 350, 200).addSeries(graphs.range("B3:C8"), xl::Columns, true, true);
    const std::string added = dir + "/objects_added.xlsm";
    ooxml::saveWorkbook(*more, added);
    checkPackage(added, 6, 3);
    auto p = parts(added);
    std::string vml;
    for (auto& [name, data] : p)
        if (name.find("vmlDrawing") != std::string::npos && name.find("_rels") == std::string::npos)
            vml += data;
    std::regex spid("o:spid=\"_x0000_s(\\d+)\"");
    std::set<std::string> ids;
    for (std::sregex_iterator it(vml.begin(), vml.end(), spid), end; it != end; ++it) ids.insert((*it)[1]);
    EXPECT_EQ(ids.size(), 6u);  // no shape id given twice
    auto values = kavro::testing::recalculate(added, dir + "/lo-added");
    EXPECT_EQ(values.at("Input").text("D41"), "TRUE");
}

TEST_F(ObjectsEndToEnd, OpensInLibreOfficeWithFormControls) {
    auto values = kavro::testing::recalculate(file, dir + "/lo");
    ASSERT_TRUE(values.count("Input"));
    EXPECT_EQ(values.at("Input").text("I18"), "none");
    EXPECT_EQ(values.at("Input").text("D41"), "TRUE");
    EXPECT_EQ(values.at("Input").text("C41"), "FALSE");
    std::string pdf = kavro::testing::convertToPdf(file, dir + "/pdf");
    EXPECT_GT(fs::file_size(pdf), 1000u);

    // LibreOffice's own document of the file: the controls became form controls bound to cells.
    const std::string ods = dir + "/ods";
    fs::create_directories(ods);
    std::string cmd = "cd '" + ods + "' && soffice --headless --norestore -env:UserInstallation=file://" +
                      dir + "/lo-ods --convert-to ods --outdir '" + ods + "' '" + file +
                      "' > convert.log 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    auto content = parts(ods + "/controls_charts.ods").at("content.xml");
    EXPECT_EQ(count(content, "<form:listbox "), 1);
    EXPECT_EQ(count(content, "<form:radio "), 4);
    EXPECT_GE(count(content, "<draw:object "), 2);  // the two charts
    std::smatch table;
    ASSERT_TRUE(std::regex_search(content, table, std::regex("<table:table table:name=\"Graphs\"[^>]*>")));
    EXPECT_NE(table.str().find("table:protected=\"true\""), std::string::npos) << table.str();
}

TEST_F(ObjectsEndToEnd, OpenpyxlReadsIt) {
    std::string error;
    EXPECT_TRUE(kavro::testing::openpyxlReads(file, &error)) << error;
}
