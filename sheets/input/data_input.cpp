// The Input sheet builder: sheet-wide settings, the header area and table 1 (land use and
// precipitation, with the rain correction factors and the paved-percentage lists). The other
// tables are drawn by the functions of data_input_required.cpp and data_input_optional.cpp.
#include "sheets/input/data_input.h"

#include <string>
#include <string_view>
#include <vector>

#include "sheets/input/data_input_parts.h"
#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace data_input {

namespace xl = wb::xl;

void wrapHeader(const wb::Range& r, int vertical) {
    wb::Range cells = r;
    cells.setHorizontalAlignment(xl::Center)
        .setVerticalAlignment(vertical)
        .setWrapText(true)
        .setOrientation(0)
        .setIndentLevel(0)
        .setShrinkToFit(false)
        .setMergeCells(false);
}

namespace {

// The value of the chosen weather station (WeatherData!M5) in one column of the station table.
std::string weatherLookup(std::string_view column) {
    const std::string c(column);
    return "=INDEX(WeatherData!" + c + "$2:" + c + "$8220,MATCH(WeatherData!$M$5," +
           "WeatherData!$V$2:$V$8220,0))";
}

// The paved-percentage list of subwatershed i, laid exactly over its cell in column I. Choosing an
// item writes it into that cell, which the feedlot sheet reads.
void addPavedList(wb::Worksheet& ws, int i, int row) {
    wb::Range cell = ws.cells(row, 9);
    wb::OleObject list = wb::addOleObject(ws, wb::kListBoxProgId, cell.left(), cell.top(),
                                          cell.width(), cell.height());
    list.setLinkedCell(cell.address());
    list.setListFillRange("AA1:AA4");
    list.setAutoLoad(true);
    list.setBackColor(kRed);
    list.setForeColor(kBlack);
    list.setListStyle(1);
    list.setName("lstBx1" + std::to_string(i));
    list.setListIndex(0);
    cell.setValue(list.listItem(list->listIndex));
}

}  // namespace

void drawHeaderArea(wb::Worksheet& ws) {
    solidFill(ws.range("A1:AY300"), kWhiteIndex);
    ws.columns("B:Z").setColumnWidth(11);
    ws.range("A1:Z200").setMergeCells(false);
    ws.columns("A").setColumnWidth(5);
    ws.columns("I").setColumnWidth(18);

    // A grey band across B1:P1 with an outline only.
    ws.range("B1").font().setBold(true);
    wb::Range band = ws.range("B1:P1");
    band.font().setColor(kBlue);
    solidFill(band, kHeaderGrey);
    for (int side = xl::EdgeLeftOfCell; side <= xl::EdgeBottomOfCell; ++side)
        band.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(xl::Automatic);
    band.borders(xl::InsideVertical).setLineStyle(xl::None);
    band.borders(xl::InsideHorizontal).setLineStyle(xl::None);

    ws.range("B1").setValue("KAVRO Input Sheet:");
    ws.range("D1").setValue(
        "Values in RED are required input. Change worksheets by clicking on tabs at the bottom.");
    ws.range("D1").characters(11, 3).setColorIndex(kRedIndex);
    ws.range("J1").setValue("You entered");
    ws.range("K1").setFormulaR1C1("='General Input Data'!R6C3").setHorizontalAlignment(xl::Center);
    ws.range("L1").setValue("subwatershed(s).");

    for (const char* cell : {"B12", "D12", "F12"}) ws.range(cell).font().setColor(kBlack).setBold(true);
    ws.range("B12").setValue("State");
    ws.range("D12").setValue("County");
    ws.range("F12").setValue("Weather Station");
}

void drawLandUseTable(wb::Worksheet& ws, const GenerationOptions& opt) {
    const int n = opt.SubwatershedCount;
    const int header = InputSheetRows::landUseHeader();

    std::vector<std::string> headers(opt.LandUseNames.begin(), opt.LandUseNames.begin() + 6);
    for (const char* h : {"Feedlots", "Feedlot Percent Paved", "Total", "Annual Rainfall",
                          "Rain Days", "Avg. Rain/Event"})
        headers.emplace_back(h);
    wb::CreateTableVesk2(ws, "1. Input watershed land use area (ac) and precipitation (in)",
                         headers, header, 2, n + 1, 11, false);

    ws.range(header + 1, 3, header + n, 13).font().setColor(kRed);
    for (int i = 1; i <= n; ++i) {
        const int r = header + i;
        for (int k = 1; k <= 5; ++k) ws.cells(r, 2 + k).setValue(opt.LandUseSelected[k] ? 200 : 0);
        addPavedList(ws, i, r);
        ws.cells(r, 8).setValue(opt.NonZeroStart ? 10 : 0);
        ws.cells(r, 10).setFormulaR1C1("=SUM(RC[-7]:RC[-2])").font().setColor(kBlack);
        ws.cells(r, 11).setValue(weatherLookup("Y")).setNumberFormat("0").font().setColor(kBlack);
        ws.cells(r, 12).setValue(weatherLookup("AA")).setNumberFormat("0").font().setColor(kBlack);
        // Average rain per event: (rainfall x its correction) / (rain days x their correction),
        // the corrections being K16 and L16.
        const std::string up = std::to_string(-(i + 1));
        ws.cells(r, 13)
            .setFormulaR1C1("=(RC[-2]*R[" + up + "]C[-2])/(RC[-1]*R[" + up + "]C[-1])")
            .setNumberFormat("0.000")
            .font()
            .setColor(kBlack);
    }

    // Rain correction factors of the chosen station, above the rainfall columns.
    wb::Range factors = ws.range("K16:M16");
    for (int side = xl::EdgeLeftOfCell; side <= xl::EdgeBottomOfCell; ++side)
        factors.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(xl::Automatic);
    factors.interior().setColorIndex(kHeaderGrey);
    factors.font().setColor(kBlack);
    wrapHeader(factors, xl::Bottom);
    ws.range("K16").setValue(weatherLookup("W")).setNumberFormat("0.000");
    ws.range("K16").addComment(
        "Rainfall Correction Factor:  The percentage of rainfall events that exceeds 5 mm per event.");
    ws.range("L16").setValue(weatherLookup("X")).setNumberFormat("0.000");
    ws.range("L16").addComment(
        "Rain Days Correction Factor:  The percentage of rain day (event) that generates runoff.");

    wb::Range label = ws.range("K15:M15");
    label.font().setColorIndex(29).setBold(true);
    label.interior().setColorIndex(kHeaderGrey);
    ws.range("K15").setValue("Rain correction factors");

    ws.range("B16:J16").interior().setColorIndex(kTitleBand);
}

}  // namespace data_input

void DataInput(wb::Workbook& wb, GenerationOptions& opt) {
    using namespace data_input;
    wb::Worksheet& ws = wb.sheet("Input");
    ws.select();

    drawHeaderArea(ws);
    drawLandUseTable(ws, opt);
    drawAnimalTable(ws, opt);
    drawSepticTable(ws, opt);
    drawSoilLossTable(ws, opt);

    drawOptionalMarker(ws, opt);
    drawSoilGroupTable(ws, opt);
    drawCurveNumberTables(ws, opt);
    drawConcentrationTables(ws, opt);
    drawUrbanMixTable(ws, opt);
    drawIrrigationTable(ws, opt);
    drawPastureConcTable(ws, opt);
    drawEndMarker(ws, opt);

    ws.range("A1").select();
}
