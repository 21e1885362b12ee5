// The Graphs sheet on the in-memory model: the two copy tables (read against the Total Load
// sheet they copy), the eleven charts with the series left after the deletions, the titles and
// the protection.
#include "sheets/summary/graph_page.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sheets/summary/total_load_page.h"
#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

struct Built {
    std::unique_ptr<Workbook> book = std::make_unique<Workbook>();
    GenerationOptions opt;
    Worksheet* ws = nullptr;
    Worksheet* load = nullptr;
};

Built build(int n) {
    Built b;
    for (const char* name : {"Input", "Land&Rain", "Animal", "Urban", "Feedlots", "Septic",
                             "Sediment", "Gully&Streambank", "Total Load", "Graphs"})
        b.book->addSheet(name);
    b.opt.SubwatershedCount = n;
    b.opt.RunoffFirstRow = 4 * n + 27;
    b.opt.PastureAeuFirstRow = 2 * n + 28;
    TotalLoadPage(*b.book, b.opt);
    GraphPage(*b.book, b.opt);
    b.ws = &b.book->sheet("Graphs");
    b.load = &b.book->sheet("Total Load");
    return b;
}

// The Total Load cell that a copy formula "='Total Load'!X9" names.
Range target(Worksheet& load, const Range& copy) {
    const std::string f = copy.formula();
    const std::string prefix = "='Total Load'!";
    EXPECT_EQ(f.substr(0, prefix.size()), prefix) << copy.address();
    return load.range(f.substr(prefix.size()));
}

// A column's block of Graphs as a series names it: "Graphs!$C$17:$C$19", one cell alone.
std::string area(const std::string& col, const std::string& first, const std::string& last) {
    const std::string top = "Graphs!$" + col + "$" + first;
    return first == last ? top : top + ":$" + col + "$" + last;
}

class GraphLayout : public ::testing::TestWithParam<int> {};

// Every copied cell reads the Total Load cell of the same source (or subwatershed) and the same
// quantity: the row labels and the column headers there match the copy's.
TEST_P(GraphLayout, CopyTablesReadTheirTotalLoadCells) {
    const int N = GetParam();
    Built b = build(N);
    Worksheet& ws = *b.ws;
    Worksheet& load = *b.load;

    EXPECT_EQ(ws.range("B2").text(), "1. Copy of total load by land uses (with BMP)");
    EXPECT_EQ(ws.range("B3").text(), "Sources");
    EXPECT_EQ(ws.range("B4").text(), "Urban");
    EXPECT_EQ(ws.range("B13").text(), "Groundwater");
    EXPECT_EQ(ws.range("B14").text(), "");
    const char* sourceUnits[] = {"N Load (lb/yr)", "P Load (lb/yr)", "BOD Load (lb/yr)",
                                 "Sediment Load (t/yr)", "E. coli Load (Billion MPN/yr)"};
    for (int k = 1; k <= 10; ++k)
        for (int j = 1; j <= 5; ++j) {
            Range copy = ws.cells(3 + k, 2 + j);
            Range source = target(load, copy);
            EXPECT_EQ(load.cells(source.row(), 2).text(), ws.cells(3 + k, 2).text())
                << copy.address();
            EXPECT_EQ(load.cells(5 * N + 30, source.column()).text(), sourceUnits[j - 1])
                << copy.address();
            EXPECT_EQ(copy.format().numberFormat, "0.000");
        }
    EXPECT_EQ(ws.range("C4").formulaR1C1(), "='Total Load'!R[" + std::to_string(5 * N + 27) + "]C");

    EXPECT_EQ(ws.range("B15").text(), "2. Copy of total load by subwatersheds");
    EXPECT_EQ(ws.range("B16").text(), "Watershed");
    EXPECT_EQ(ws.range("J16").text(), "BOD Load Reduction (lb/yr) ");
    EXPECT_EQ(ws.range("L16").text(), "E. coli Load Reduction by Watersheds (Billion MPN/yr) ");
    EXPECT_EQ(ws.range("M16").text(), "");
    EXPECT_EQ(ws.cells(N + 16, 2).text(), "W" + std::to_string(N));
    EXPECT_EQ(ws.cells(N + 17, 2).text(), "");
    EXPECT_EQ(ws.cells(N + 17, 3).value(), CellValue());
    const char* quantities[] = {"N Load (with BMP)",
                                "P Load (with BMP)",
                                "BOD (with BMP)",
                                "Sediment Load (with BMP)",
                                "E. coli Load (with BMP)",
                                "N Reduction",
                                "P Reduction",
                                "BOD Reduction",
                                "Sediment Reduction",
                                "E. coli Reduction"};
    for (int i : {1, N}) {
        for (int j = 1; j <= 10; ++j) {
            Range copy = ws.cells(16 + i, 2 + j);
            Range source = target(load, copy);
            EXPECT_EQ(load.cells(source.row(), 2).text(), "W" + std::to_string(i))
                << copy.address();
            EXPECT_EQ(load.cells(2 * N + 15, source.column()).text(), quantities[j - 1])
                << copy.address();
            EXPECT_EQ(copy.format().numberFormat, "0.000");
        }
    }
    EXPECT_EQ(ws.rows(3).rowHeight(), 40);
    EXPECT_EQ(ws.rows(16).rowHeight(), 60);
    EXPECT_EQ(ws.rows(1).rowHeight(), 20);
    for (const char* c : {"E3", "H16"}) {
        EXPECT_TRUE(ws.range(c).format().align.wrap) << c;
        EXPECT_EQ(ws.range(c).format().align.horizontal, xl::Center) << c;
        EXPECT_EQ(ws.range(c).format().align.vertical, xl::Top) << c;
    }
}

// The eleven charts: where they stand, what they show, which carry a title. With N = 1 the
// column charts have the one category W1; with N = 200 their places are the same.
TEST_P(GraphLayout, ElevenCharts) {
    const int N = GetParam();
    Built b = build(N);
    Worksheet& ws = *b.ws;
    const std::string last = std::to_string(N + 16);
    struct Expected {
        double left, top;
        int type;
        std::vector<std::string> columns;  // of the remaining series
        std::string title;
    };
    const Expected charts[] = {
        {10, 410, xl::Pie, {"C"}, ""},
        {360, 410, xl::Pie, {"D"}, ""},
        {10, 610, xl::Pie, {"E"}, ""},
        {360, 610, xl::Pie, {"F"}, ""},
        {710, 410, xl::Pie, {"G"}, ""},
        {10,
         20,
         xl::ColumnClustered,
         {"C", "D", "E"},
         "N, P, and BOD Load by Watersheds with BMP (lb/yr)"},
        {360, 20, xl::ColumnClustered, {"F"}, ""},
        {710, 20, xl::ColumnClustered, {"G"}, ""},
        {10,
         210,
         xl::ColumnClustered,
         {"H", "I", "J"},
         "N, P, and BOD Load Reduction by Watersheds (lb/yr)"},
        {360, 210, xl::ColumnClustered, {"K"}, ""},
        {710, 210, xl::ColumnClustered, {"L"}, ""},
    };
    ASSERT_EQ(ws.charts.size(), 11u);
    for (size_t k = 0; k < 11; ++k) {
        const Chart& c = ws.charts[k];
        const Expected& e = charts[k];
        SCOPED_TRACE("chart " + std::to_string(k + 1));
        EXPECT_EQ(c.left, e.left);
        EXPECT_EQ(c.top, e.top);
        EXPECT_EQ(c.width, 350);
        EXPECT_EQ(c.height, 200);
        EXPECT_EQ(c.chartType, e.type);
        EXPECT_EQ(c.hasTitle, !e.title.empty());
        EXPECT_EQ(c.title, e.title);
        ASSERT_EQ(c.series.size(), e.columns.size());
        const bool pie = e.type == xl::Pie;
        const std::string head = pie ? "3" : "16", first = pie ? "4" : "17",
                          end = pie ? "13" : last;
        for (size_t s = 0; s < e.columns.size(); ++s) {
            const std::string& col = e.columns[s];
            EXPECT_EQ(c.series[s].name, "Graphs!$" + col + "$" + head);
            EXPECT_EQ(c.series[s].values, area(col, first, end));
            EXPECT_EQ(c.series[s].categories, area("B", first, end));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, GraphLayout, ::testing::Values(1, 200));

TEST(GraphPage, SettingsProtectionAndSelection) {
    Built b = build(3);
    Worksheet& ws = *b.ws;
    EXPECT_EQ(ws.range("B1").text(), "Graphs");
    EXPECT_TRUE(ws.range("B1").format().font.bold);
    EXPECT_EQ(ws.range("D1").text(),
              "This sheet is protected. To copy specific objects, remove the protection by "
              "clicking Tools -> "
              "Protection -> Unprotect sheet.");
    const CellFormat& b1 = ws.range("B1").format();
    const CellFormat& f1 = ws.range("F1").format();
    EXPECT_EQ(f1.font.color, Color::fromBgr(0xFF0000));
    EXPECT_EQ(f1.fill.color, Color::indexed(15));
    EXPECT_EQ(b1.left.lineStyle, xl::Continuous);
    EXPECT_EQ(f1.left.lineStyle, xl::None);
    EXPECT_EQ(f1.top.lineStyle, xl::Continuous);
    EXPECT_EQ(ws.range("L1").format().right.lineStyle, xl::Continuous);
    EXPECT_EQ(ws.range("AY100").format().fill.color, Color::indexed(2));
    EXPECT_EQ(ws.columns("A").columnWidth(), 11);
    EXPECT_EQ(ws.columns("AA").columnWidth(), 11);

    EXPECT_TRUE(ws.protection().sheet);
    EXPECT_TRUE(ws.protection().contents);
    EXPECT_TRUE(ws.protection().drawingObjects);
    EXPECT_FALSE(b.load->protection().sheet);
    EXPECT_EQ(b.book->activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

}  // namespace
