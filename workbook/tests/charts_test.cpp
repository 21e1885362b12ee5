// Embedded charts: series built from a source block as the spreadsheet reads it, what remains
// after deletions, titles, and the chart and drawing parts they are stored in.
#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/chart.h"
#include "workbook/ooxml/drawing.h"

using namespace wb;
using namespace wb::ooxml;

class Charts : public ::testing::Test {
protected:
    Workbook book;
    Worksheet& graphs = book.addSheet("Graphs");
    Worksheet& load = book.addSheet("Total Load");
};

// The eleven charts of the graph sheet (N = 3): source block, deletions of the first series, and
// the series that must remain, by column.
TEST_F(Charts, SeriesRemainingAfterDeletions) {
    const int n = 3;
    const std::string last = std::to_string(n + 16);
    struct Case {
        int type;
        std::string source;
        int deletions;
        std::vector<std::string> remaining;  // columns of the remaining series
        bool columnChart;
    };
    const std::vector<Case> cases = {
        {xl::Pie, "B3:C13", 0, {"C"}, false},
        {xl::Pie, "B3:D13", 1, {"D"}, false},
        {xl::Pie, "B3:E13", 2, {"E"}, false},
        {xl::Pie, "B3:F13", 3, {"F"}, false},
        {xl::Pie, "B3:G13", 4, {"G"}, false},
        {xl::ColumnClustered, "B16:E" + last, 0, {"C", "D", "E"}, true},
        {xl::ColumnClustered, "B16:F" + last, 3, {"F"}, true},
        {xl::ColumnClustered, "B16:G" + last, 4, {"G"}, true},
        {xl::ColumnClustered, "B16:J" + last, 5, {"H", "I", "J"}, true},
        {xl::ColumnClustered, "B16:K" + last, 8, {"K"}, true},
        {xl::ColumnClustered, "B16:L" + last, 9, {"L"}, true},
    };
    for (const Case& c : cases) {
        ChartObject ch = addChart(graphs, 10, 410, 350, 200);
        ch.setChartType(c.type);
        int added = ch.addSeries(graphs.range(c.source), xl::Columns, true, true);
        EXPECT_EQ(added, static_cast<int>(c.remaining.size()) + c.deletions) << c.source;
        for (int d = 0; d < c.deletions; ++d) ch.deleteSeries(1);
        ASSERT_EQ(ch.seriesCount(), static_cast<int>(c.remaining.size())) << c.source;
        const std::string head = c.columnChart ? "16" : "3";
        const std::string first = c.columnChart ? "17" : "4";
        const std::string end = c.columnChart ? last : "13";
        for (size_t i = 0; i < c.remaining.size(); ++i) {
            const ChartSeries& s = ch->series[i];
            const std::string& col = c.remaining[i];
            EXPECT_EQ(s.name, "Graphs!$" + col + "$" + head) << c.source;
            EXPECT_EQ(s.values, "Graphs!$" + col + "$" + first + ":$" + col + "$" + end);
            EXPECT_EQ(s.categories, "Graphs!$B$" + first + ":$B$" + end);
        }
    }
    ChartObject ch = addChart(graphs, 0, 0, 10, 10);
    EXPECT_THROW(ch.deleteSeries(1), WorkbookError);
    EXPECT_THROW(ch.setChartType(4), WorkbookError);
}

TEST_F(Charts, SourceReadingWithoutLabelsByRowsAndQuotedSheets) {
    ChartObject ch = addChart(load, 0, 0, 100, 100);
    // Rows, with category labels but no series labels: row 4 holds the categories.
    ch.addSeries(load.range("C4:E6"), xl::Rows, false, true);
    ASSERT_EQ(ch.seriesCount(), 2);
    EXPECT_EQ(ch->series[0].name, "");
    EXPECT_EQ(ch->series[0].categories, "'Total Load'!$C$4:$E$4");
    EXPECT_EQ(ch->series[1].values, "'Total Load'!$C$6:$E$6");
    // No labels at all: every column is a series.
    ChartObject plain = addChart(load, 0, 0, 100, 100);
    EXPECT_EQ(plain.addSeries(load.range("C4:D5"), xl::Columns, false, false), 2);
    EXPECT_EQ(plain->series[1].values, "'Total Load'!$D$4:$D$5");
    EXPECT_EQ(plain->series[1].categories, "");
    EXPECT_NE(ch->name, plain->name);
}

TEST_F(Charts, TitleNeedsHasTitleAndIsStoredAsRichText) {
    ChartObject ch = addChart(graphs, 10, 20, 350, 200);
    EXPECT_THROW(ch.setTitleText("x"), WorkbookError);
    ch.setHasTitle(true).setTitleText("N, P, and BOD Load by Watersheds with BMP (lb/yr)");
    ch.addSeries(graphs.range("B16:E19"), xl::Columns, true, true);

    std::string xml = chartPart(ch.chart());
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str()));
    pugi::xml_node chart = doc.child("c:chartSpace").child("c:chart");
    EXPECT_STREQ(chart.child("c:title").child("c:tx").child("c:rich").child("a:p").child("a:r")
                     .child_value("a:t"),
                 "N, P, and BOD Load by Watersheds with BMP (lb/yr)");
    pugi::xml_node bar = chart.child("c:plotArea").child("c:barChart");
    EXPECT_STREQ(bar.child("c:barDir").attribute("val").value(), "col");
    EXPECT_STREQ(bar.child("c:grouping").attribute("val").value(), "clustered");
    int series = 0;
    for (pugi::xml_node s : bar.children("c:ser")) {
        ++series;
        EXPECT_TRUE(s.child("c:tx").child("c:strRef").child("c:f"));
        EXPECT_TRUE(s.child("c:cat").child("c:strRef").child("c:f"));
        EXPECT_TRUE(s.child("c:val").child("c:numRef").child("c:f"));
        EXPECT_FALSE(s.child("c:val").child("c:numRef").child("c:numCache"));  // no cached values
    }
    EXPECT_EQ(series, 3);
    // Both axes of the column chart, each crossing the other.
    EXPECT_STREQ(chart.child("c:plotArea").child("c:catAx").child("c:crossAx").attribute("val").value(),
                 chart.child("c:plotArea").child("c:valAx").child("c:axId").attribute("val").value());

    auto back = readChartPart(xml);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->chartType, xl::ColumnClustered);
    EXPECT_TRUE(back->hasTitle);
    EXPECT_EQ(back->title, ch->title);
    ASSERT_EQ(back->series.size(), 3u);
    EXPECT_EQ(back->series[2].values, ch->series[2].values);
    EXPECT_EQ(back->series[2].name, ch->series[2].name);

    ch.setHasTitle(false);
    EXPECT_TRUE(ch->title.empty());
    ch.setChartType(xl::Pie);
    back = readChartPart(chartPart(ch.chart()));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->chartType, xl::Pie);
    EXPECT_FALSE(back->hasTitle);
    EXPECT_FALSE(readChartPart("<c:chartSpace xmlns:c=\"x\"><c:chart><c:plotArea><c:lineChart/>"
                               "</c:plotArea></c:chart></c:chartSpace>"));
}

TEST_F(Charts, DrawingPartPlacesEveryChart) {
    graphs.columns(1, 27).setColumnWidth(11);
    addChart(graphs, 10, 410, 350, 200);
    addChart(graphs, 360, 20, 350, 200);
    std::string xml = drawingPart(graphs, {"rId1", "rId2"});
    auto refs = readDrawingPart(xml);
    ASSERT_EQ(refs.size(), 2u);
    EXPECT_EQ(refs[1].relId, "rId2");
    EXPECT_EQ(refs[1].name, graphs.charts[1].name);
    for (size_t i = 0; i < refs.size(); ++i) {
        double l, t, w, h;
        positionOf(graphs, refs[i].anchor, l, t, w, h);
        EXPECT_NEAR(l, graphs.charts[i].left, 1e-3);
        EXPECT_NEAR(t, graphs.charts[i].top, 1e-3);
        EXPECT_NEAR(w, 350, 1e-3);
        EXPECT_NEAR(h, 200, 1e-3);
    }
}
