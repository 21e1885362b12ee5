#include "sheets/input/general_input_data.h"

#include <ctime>
#include <string>

#include "sheets/common/sheet_format.h"

using namespace wb;

namespace {

using sheets::solidFill;

// Local date and time in the general date-time form, "3/14/2018 2:05:07 PM".
std::string generalDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    int hour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%d/%d %d:%02d:%02d %s", t.tm_mon + 1, t.tm_mday,
                  t.tm_year + 1900, hour12, t.tm_min, t.tm_sec, t.tm_hour < 12 ? "AM" : "PM");
    return buf;
}

}  // namespace

void GeneralInputData(Workbook& wb, GenerationOptions& opt) {
    const int NWS = opt.SubwatershedCount;
    Worksheet& ws = wb.sheet("General Input Data");
    ws.select();

    solidFill(ws.range("A1:AY100"), 2);
    ws.range("B1").setValue("This Excel file was created dynamically by KAVRO Tolvo interface on/at " +
                            generalDateTime());
    ws.range("B2").setValue(
        "BLUE text found throughout the spreadsheet presents relevant information and assumptions.");
    ws.range("B3").setValue("RED text designates values that should be specified by the user.");
    ws.range("B4").setValue(
        "BLACK text generally presents information that is calculated by the spreadsheet or that "
        "should not be changed.");
    ws.range("B1").font().setColor(0xFF0000);
    ws.range("B3").font().setColor(255);

    // The legend band: grey, and without lines (cell borders drawn, then every edge removed).
    Range legend = ws.range("B1:K4");
    solidFill(legend, 15);
    for (int side : {xl::EdgeLeftOfCell, xl::EdgeRightOfCell, xl::EdgeTopOfCell, xl::EdgeBottomOfCell})
        legend.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin);
    for (int side : {xl::DiagonalDown, xl::DiagonalUp, xl::EdgeLeft, xl::EdgeTop, xl::EdgeBottom,
                     xl::EdgeRight, xl::InsideVertical, xl::InsideHorizontal})
        legend.borders(side).setLineStyle(xl::None);

    // The selection table: medium lines round every cell, thin lines inside.
    Range table = ws.range("B8:G16");
    for (int side : {xl::EdgeLeftOfCell, xl::EdgeRightOfCell, xl::EdgeTopOfCell, xl::EdgeBottomOfCell})
        table.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Medium).setColorIndex(xl::Automatic);
    for (int side : {xl::InsideVertical, xl::InsideHorizontal})
        table.borders(side).setLineStyle(xl::Continuous).setWeight(xl::Thin).setColorIndex(xl::Automatic);
    solidFill(ws.range("B8:C16"), 34);
    solidFill(ws.range("F8:G16"), 24);

    ws.range("B7").setValue("Land Uses");
    ws.range("D7").setValue("Animals");
    ws.range("F7").setValue("Pollutants");
    ws.range("B16").setValue("Total");

    for (int k = 1; k <= 5; ++k) {
        ws.cells(7 + k, 2).setValue(kLandUseCaptions[k]);
        ws.cells(7 + k, 3).setValue(opt.LandUseSelected[k]);
        opt.LandUseNames[k] = kLandUseCaptions[k];
    }
    opt.LandUseNames[0] = "Watershed";
    opt.LandUseNames[6].clear();
    for (int k = 1; k <= 8; ++k) {
        ws.cells(7 + k, 4).setValue(kAnimalCaptions[k]);
        ws.cells(7 + k, 5).setValue(opt.AnimalSelected[k]);
    }
    for (int k = 1; k <= 4; ++k) {
        ws.cells(7 + k, 6).setValue(kPollutantCaptions[k]);
        ws.cells(7 + k, 7).setValue(opt.PollutantSelected[k]);
    }
    ws.range("F12").setValue("E. coli");
    ws.range("G12").setValue("0");

    ws.range("C16").setFormula("=sum(c8:c15)");
    ws.range("E16").setFormula("=sum(e8:e15)");
    ws.range("G16").setFormula("=sum(g8:g15)");
    ws.columns("B:F").setColumnWidth(11);
    Range heads = ws.range("B7:G7");
    heads.font().setBold(true).setColorIndex(xl::Automatic);
    solidFill(heads, 15);

    ws.range("B6").setValue("There are");
    ws.range("C6").setValue(NWS);
    ws.range("D6").setValue("subwatersheds in this study.");
    ws.range("A1").select();
}
