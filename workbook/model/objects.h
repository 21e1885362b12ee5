// The floating objects of a worksheet as the object model reaches them: OLEObjects.Add for the
// embedded Forms controls and their properties, Shapes.Range(names).Group, ChartObjects.Add and a
// chart's SeriesCollection. The objects themselves live in Worksheet::controls and
// Worksheet::charts; the handles here stay valid while further objects are added.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/model/drawing.h"

namespace wb {

class Worksheet;
class Range;

inline constexpr std::string_view kListBoxProgId = "Forms.ListBox.1";
inline constexpr std::string_view kOptionButtonProgId = "Forms.OptionButton.1";

namespace xl {
inline constexpr int Pie = 5;               // ChartType
inline constexpr int ColumnClustered = 51;  // ChartType
inline constexpr int Rows = 1;              // SeriesCollection.Add Rowcol
inline constexpr int Columns = 2;
}  // namespace xl

// OLEObject: one embedded control of a sheet.
class OleObject {
public:
    OleObject(Worksheet* ws, size_t index) : ws_(ws), index_(index) {}
    Worksheet& sheet() const { return *ws_; }
    Control& control() const;
    Control* operator->() const { return &control(); }

    bool isListBox() const;
    bool isOptionButton() const;

    OleObject& setName(std::string_view name);
    // LinkedCell: an A1 address, optionally sheet-qualified ("$I$18", "BMPs!$H$8").
    OleObject& setLinkedCell(std::string_view address);
    // ListFillRange: the range text is kept and List is filled from the cells' displayed text.
    // Throws WorkbookError when the text is not a range or names a sheet that does not exist.
    OleObject& setListFillRange(std::string_view range);
    // Object.ListIndex of a list box: selects the item (-1 none); the list box's value becomes the
    // item, written into the linked cell when there is one. Throws when out of range.
    OleObject& setListIndex(int index);
    // Object.List(index) (0-based); throws WorkbookError when out of range.
    std::string listItem(int index) const;
    // Object.Value. An option button takes TRUE/FALSE (also 1/0, True/False); setting it true
    // clears every other option button of the sheet with the same GroupName. The linked cells of
    // every button or list box whose value changes receive the new value.
    OleObject& setValue(std::string_view value);
    OleObject& setValue(bool value) { return setValue(std::string_view(value ? "TRUE" : "FALSE")); }
    OleObject& setGroupName(std::string_view group);
    OleObject& setListStyle(int style);
    OleObject& setBackColor(uint32_t bgr);
    OleObject& setForeColor(uint32_t bgr);
    OleObject& setFontBold(bool bold);
    OleObject& setAutoLoad(bool autoLoad);

private:
    void writeLinkedCell(const Control& c) const;
    Worksheet* ws_;
    size_t index_;
};

// OLEObjects.Add(ClassType, Link:=False, DisplayAsIcon:=False, Left, Top, Width, Height) for
// "Forms.ListBox.1" and "Forms.OptionButton.1". The object gets the application's next free
// default name ("ListBox1", "OptionButton1", ...); an option button's caption is its name.
// Throws WorkbookError for any other class.
OleObject addOleObject(Worksheet& ws, std::string_view classType, double left, double top,
                       double width, double height);

// OLEObjects(name), matched without regard to case.
std::optional<OleObject> findOleObject(Worksheet& ws, std::string_view name);

// Shapes.Range(names).Group: the named shapes (controls or charts, names matched without regard
// to case) become one group, recorded in Worksheet::shapeGroups under the shapes' own spelling.
// Throws WorkbookError naming the shape when a name matches no top-level shape of the sheet
// (a member of an existing group is not one), when a shape is named twice, or when fewer than
// two shapes are given. Returns the group's name ("Group N").
std::string groupShapes(Worksheet& ws, const std::vector<std::string>& names);

// The shape-level names of the sheet's floating objects (controls and charts), in order.
std::vector<std::string> shapeNames(const Worksheet& ws);

// ChartObject: one embedded chart of a sheet.
class ChartObject {
public:
    ChartObject(Worksheet* ws, size_t index) : ws_(ws), index_(index) {}
    Worksheet& sheet() const { return *ws_; }
    Chart& chart() const;
    Chart* operator->() const { return &chart(); }

    // ChartType: xl::Pie or xl::ColumnClustered; throws WorkbookError for other types.
    ChartObject& setChartType(int type);
    // SeriesCollection.Add(Source, Rowcol, SeriesLabels, CategoryLabels), as the spreadsheet
    // reads a source block: with series in columns (xl::Columns) the first column holds the
    // categories when categoryLabels is set, the first row the series names when seriesLabels is
    // set, and every other column is one series (with xl::Rows the same, rows for columns).
    // The series refer to the source cells by formula. Returns the number of series added.
    int addSeries(const Range& source, int rowcol, bool seriesLabels, bool categoryLabels);
    // SeriesCollection(index).Delete, 1-based; throws WorkbookError when there is no such series.
    ChartObject& deleteSeries(int index);
    int seriesCount() const;
    // HasTitle. Switching it off keeps no text.
    ChartObject& setHasTitle(bool on);
    // ChartTitle.Text; as in the application, the chart must have a title (throws otherwise).
    ChartObject& setTitleText(std::string_view text);

private:
    Worksheet* ws_;
    size_t index_;
};

// ChartObjects.Add(Left, Top, Width, Height): an empty clustered column chart named "Chart N".
ChartObject addChart(Worksheet& ws, double left, double top, double width, double height);

// Name comparison without regard to (ASCII) case, as shape names are compared.
bool sameShapeName(std::string_view a, std::string_view b);

}  // namespace wb
