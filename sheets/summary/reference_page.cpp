#include "sheets/summary/reference_page.h"

#include <string>
#include <vector>

#include "workbook/model/workbook.h"
#include "workbook/tables.h"

namespace {

namespace xl = wb::xl;

struct AnimalRow {
    const char* animal;
    double mass;           // typical animal mass, lb
    double bodPer1000lb;   // BOD, lb/day/1000 lb animal
    double bodPerDay;      // BOD per animal, lb/day
    double bodPerYear;     // BOD per animal, lb/yr
};

// After ASAE (1998). Row k of this table is sheet row 4 + k.
constexpr AnimalRow kAnimals[] = {
    {"Beef cattle", 1000, 1.6, 1.28, 467.1},
    {"Dairy cow", 1400, 1.6, 2.24, 818},
    {"Hog", 200, 3.1, 0.42, 153},
    {"Sheep", 100, 1.2, 0.07, 26},
    {"Horse", 1000, 1.7, 1.7, 621},
    {"Chicken (Layer)", 4, 3.3, 0.01, 5},
    {"Turkey", 10, 2.1, 0.03, 11},
    {"Duck", 4, 0, 0, 0},
    {"Goose", 6, 0, 0, 0},
    {"Deer", 40, 0, 0, 0},
    {"Beaver", 15, 0, 0, 0},
    {"Raccoon", 7, 0, 0, 0},
    {"Other", 0, 0, 0, 0},
};

constexpr int kHeaderRow = 4;

}  // namespace

void ReferencePage(wb::Workbook& wb, GenerationOptions& /*opt*/) {
    wb::Worksheet& ws = wb.sheet("Reference");
    ws.select();

    ws.range("A1:AY110").interior().setColorIndex(2).setPattern(xl::Solid).setPatternColorIndex(
        xl::Automatic);
    ws.columns("A").setColumnWidth(5);
    ws.columns("B:R").setColumnWidth(16);

    std::vector<std::string> labels{""};  // index 0 is not read
    for (const AnimalRow& a : kAnimals) labels.emplace_back(a.animal);
    const std::vector<std::string> headers{"Animal", "Typical Animal Mass,lb",
                                           "BOD,lb/day/1000lb animal", "BOD per Animal,lb/day",
                                           "BOD per Animal,lb/yr"};
    const int rows = static_cast<int>(labels.size());  // header row + 13 animals
    wb::CreateTableDunlo(ws, "Modified from ASAE, 1998", labels, headers, kHeaderRow, 2, rows,
                         static_cast<int>(headers.size()));

    int row = kHeaderRow + 1;
    for (const AnimalRow& a : kAnimals) {
        ws.cells(row, 3).setValue(a.mass);
        ws.cells(row, 4).setValue(a.bodPer1000lb);
        ws.cells(row, 5).setValue(a.bodPerDay);
        ws.cells(row, 6).setValue(a.bodPerYear);
        ++row;
    }

    ws.columns("D:F").setHidden(true);
    ws.range("A1").select();
}
