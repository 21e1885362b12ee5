// The Graphs sheet builder.
//
//   table 1, copy of Total Load table 2 (sources)    title B2, header row 3, sources rows 4..13
//   table 2, copy of Total Load table 1 (by W)       title B15, header row 16, W1..WN rows 17..N+16
//   charts, 350 x 200 points each                    pies over table 1, columns over table 2
#include "sheets/summary/graph_page.h"

#include <cstdint>
#include <string>
#include <vector>

#include "sheets/common/sheet_format.h"
#include "sheets/summary/total_load_page.h"
#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace {

namespace xl = wb::xl;

using sheets::kBlue;
using sheets::solidFill;

constexpr int colB = 2, colC = 3;
constexpr int kSourcesTop = 3, kSubwatershedsTop = 16;

void tallHeader(wb::Worksheet& ws, int row, double height) {
    wb::Range r = ws.rows(row);
    r.setRowHeight(height);
    r.setHorizontalAlignment(xl::Center);
    r.setVerticalAlignment(xl::Top);
    r.setWrapText(true);
}

// A chart over the block from B(top) to column `lastCol` of row `lastRow`, series in columns
// with their names in the first row and the categories in column B; the first `deletions`
// series are then removed.
struct ChartSpec {
    double left, top;
    int type;
    int lastCol;
    int deletions;
    const char* title;  // nullptr: none set
};

}  // namespace

void GraphPage(wb::Workbook& wb, GenerationOptions& opt) {
    const int N = opt.SubwatershedCount;
    const totalload::TableRows loads = totalload::tableRows(N);
    wb::Worksheet& ws = wb.sheet("Graphs");
    ws.select();

    solidFill(ws.range("A1:AY100"), 2);
    ws.columns("A:AA").setColumnWidth(11);
    ws.rows(1).setRowHeight(20);
    ws.range("B1").setValue("Graphs");
    ws.range("B1").font().setBold(true);
    ws.range("D1").setValue(
        "This sheet is protected. To copy specific objects, remove the protection by clicking "
        "Tools -> "
        "Protection -> Unprotect sheet.");
    wb::Range band = ws.range("B1:L1");
    band.font().setColor(kBlue);
    solidFill(band, 15);
    for (int side :
         {xl::EdgeLeftOfCell, xl::EdgeRightOfCell, xl::EdgeTopOfCell, xl::EdgeBottomOfCell})
        band.borders(side)
            .setLineStyle(xl::Continuous)
            .setWeight(xl::Thin)
            .setColorIndex(xl::Automatic);
    for (int side : {xl::InsideVertical, xl::InsideHorizontal})
        band.borders(side).setLineStyle(xl::None);

    // Table 1: Total Load table 2 without its total row, source k in row 3 + k.
    wb::CreateTableDunlo(ws, "1. Copy of total load by land uses (with BMP)",
                         {"", "Urban", "Cropland", "Pastureland", "Forest", "Feedlots",
                          "User Defined", "Septic", "Gully", "Streambank", "Groundwater"},
                         {"Sources", "Total N Load by Land Uses (with BMP) (lb/yr)",
                          "Total P Load by Land Uses (with BMP) (lb/yr)",
                          "Total BOD Load by Land Uses (with BMP) (lb/yr)",
                          "Total Sediment Load by Land Uses (with BMP) (t/yr)",
                          "E. coli Load by Land Uses (with BMP) (Billion MPN/yr)"},
                         kSourcesTop, colB, 11, 6);
    tallHeader(ws, kSourcesTop, 40);
    wb::Range sources = ws.range(kSourcesTop + 1, colC, kSourcesTop + 10, 7);
    sources.setFormulaR1C1("='Total Load'!R[" + std::to_string(loads.two - kSourcesTop) + "]C");
    sources.setNumberFormat("0.000");

    // Table 2: of Total Load table 1, the loads with BMP (M..Q) in C..G and the reductions
    // (H..L) in H..L, subwatershed i in row 16 + i.
    std::vector<std::string> labels{""};
    for (int i = 1; i <= N; ++i) labels.push_back("W" + std::to_string(i));
    wb::CreateTableDunlo(
        ws, "2. Copy of total load by subwatersheds", labels,
        {"Watershed", "N Load with BMP (lb/yr)", "P Load with BMP (lb/yr)",
         "BOD Load with BMP (lb/yr)", "Sediment Load by Watersheds with BMP (t/yr)",
         "E. coli Load by Watersheds with BMP (Billion MPN/yr)", "N Load Reduction (lb/yr)",
         "P Load Reduction (lb/yr)", "BOD Load Reduction (lb/yr) ",
         "Sediment Load Reduction by Watersheds (t/yr) ",
         "E. coli Load Reduction by Watersheds (Billion MPN/yr) "},
        kSubwatershedsTop, colB, N + 1, 11);
    tallHeader(ws, kSubwatershedsTop, 60);
    const std::string row = "R[" + std::to_string(loads.one + 1 - kSubwatershedsTop) + "]";
    wb::Range bySubwatershed = ws.range(kSubwatershedsTop + 1, colC, kSubwatershedsTop + N, 12);
    bySubwatershed.setFormulaR1C1("='Total Load'!" + row + "C[10]");
    ws.range(kSubwatershedsTop + 1, 8, kSubwatershedsTop + N, 12)
        .setFormulaR1C1("='Total Load'!" + row + "C");
    bySubwatershed.setNumberFormat("0.000");

    // Pies of the sources (chart k shows column C + k - 1 of table 1), then columns of the
    // subwatersheds: N, P and BOD with BMP, sediment, E. coli, then the same for reductions.
    const ChartSpec charts[] = {
        {10, 410, xl::Pie, 3, 0, nullptr},
        {360, 410, xl::Pie, 4, 1, nullptr},
        {10, 610, xl::Pie, 5, 2, nullptr},
        {360, 610, xl::Pie, 6, 3, nullptr},
        {710, 410, xl::Pie, 7, 4, nullptr},
        {10, 20, xl::ColumnClustered, 5, 0, "N, P, and BOD Load by Watersheds with BMP (lb/yr)"},
        {360, 20, xl::ColumnClustered, 6, 3, nullptr},
        {710, 20, xl::ColumnClustered, 7, 4, nullptr},
        {10, 210, xl::ColumnClustered, 10, 5, "N, P, and BOD Load Reduction by Watersheds (lb/yr)"},
        {360, 210, xl::ColumnClustered, 11, 8, nullptr},
        {710, 210, xl::ColumnClustered, 12, 9, nullptr},
    };
    for (const ChartSpec& c : charts) {
        const bool pie = c.type == xl::Pie;
        const int top = pie ? kSourcesTop : kSubwatershedsTop;
        const int bottom = pie ? kSourcesTop + 10 : kSubwatershedsTop + N;
        wb::ChartObject chart = wb::addChart(ws, c.left, c.top, 350, 200);
        chart.setChartType(c.type);
        chart.addSeries(ws.range(top, colB, bottom, c.lastCol), xl::Columns, true, true);
        for (int d = 0; d < c.deletions; ++d) chart.deleteSeries(1);
        if (c.title) {
            chart.setHasTitle(true);
            chart.setTitleText(c.title);
        }
    }

    ws.protect(true, true);
    ws.range("A100").select();
    ws.range("A1").select();
}
