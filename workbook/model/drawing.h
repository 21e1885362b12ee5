// Objects that float over a worksheet: embedded form controls and charts. Positions are in
// points from the sheet's top-left corner, as the object model gives them.
#pragma once

#include <string>
#include <vector>

#include "workbook/model/style.h"

namespace wb {

// An embedded Microsoft Forms control ("Forms.ListBox.1" or "Forms.OptionButton.1").
struct Control {
    std::string progId;
    std::string name;
    double left = 0, top = 0, width = 0, height = 0;
    std::string linkedCell;     // A1 address text, e.g. "$I$18"
    std::string listFillRange;  // A1 range text, e.g. "AA1:AA4"
    bool autoLoad = false;
    // Properties set through Object.
    std::vector<std::string> list;  // list box items (filled from listFillRange by the builder)
    int listIndex = -1;
    int listStyle = 0;       // 0 plain, 1 option (each item with a selection marker)
    std::string value;       // option button: "TRUE"/"FALSE"; list box: the chosen item
    std::string groupName;   // option buttons of one group exclude one another
    std::string caption;
    Color backColor = Color::fromBgr(0xFFFFFF);
    Color foreColor = Color::fromBgr(0x000000);
    bool fontBold = false;
};

struct ChartSeries {
    std::string name;        // A1 formula text of the series name cell, e.g. "'Total Load'!$C$4"
    std::string categories;  // A1 formula text of the category range
    std::string values;      // A1 formula text of the value range
};

struct Chart {
    std::string name;
    double left = 0, top = 0, width = 0, height = 0;
    int chartType = 51;  // 5 pie, 51 clustered column
    bool hasTitle = false;
    std::string title;
    std::vector<ChartSeries> series;
};

}  // namespace wb
