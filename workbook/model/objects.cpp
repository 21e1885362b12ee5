#include "workbook/model/objects.h"

#include <algorithm>
#include <cctype>

#include "workbook/formula/formula.h"
#include "workbook/model/range.h"
#include "workbook/model/workbook.h"
#include "workbook/model/worksheet.h"

namespace wb {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

// "Sheet!A1:B2", "'Total Load'!$C$4" or "A1:B2" (on `ws`) as a range of its sheet.
Range resolveRange(Worksheet& ws, std::string_view text, const char* what) {
    std::string_view address = text;
    Worksheet* target = &ws;
    auto bang = text.rfind('!');
    if (bang != std::string_view::npos) {
        std::string sheetName(text.substr(0, bang));
        if (sheetName.size() >= 2 && sheetName.front() == '\'' && sheetName.back() == '\'') {
            std::string unq;
            for (size_t i = 1; i + 1 < sheetName.size(); ++i) {
                unq += sheetName[i];
                if (sheetName[i] == '\'' && i + 2 < sheetName.size() && sheetName[i + 1] == '\'')
                    ++i;
            }
            sheetName = unq;
        }
        target = &ws.workbook().sheet(sheetName);  // throws naming the sheet
        address = text.substr(bang + 1);
    }
    while (!address.empty() && address.front() == ' ') address.remove_prefix(1);
    int r1, c1, r2, c2;
    if (!formula::parseA1Range(address, r1, c1, r2, c2))
        throw WorkbookError(std::string(what) + " \"" + std::string(text) +
                            "\" is not a cell range (sheet \"" + ws.name() + "\")");
    return Range(target, r1, c1, r2, c2);
}

bool truthy(std::string_view v) {
    std::string l = lower(v);
    return l == "true" || l == "1" || l == "-1";
}

// The A1 formula text of a block of `ws`, sheet-qualified as a chart series stores it.
std::string seriesRef(const Worksheet& ws, int r1, int c1, int r2, int c2) {
    formula::Formula f;
    formula::Token t;
    t.kind = (r1 == r2 && c1 == c2) ? formula::TokenKind::Ref : formula::TokenKind::Area;
    t.sheet = ws.index();
    t.a = {r1, c1, true, true};
    t.b = {r2, c2, true, true};
    f.tokens.push_back(t);
    return formula::toA1(f, ws.workbook());
}

bool nameTaken(const Worksheet& ws, std::string_view name) {
    for (const auto& c : ws.controls)
        if (sameShapeName(c.name, name)) return true;
    for (const auto& ch : ws.charts)
        if (sameShapeName(ch.name, name)) return true;
    return false;
}

}  // namespace

bool sameShapeName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // ASCII case folding inline: names are compared against every shape of a sheet, thousands
    // of times on the large sheets.
    auto fold = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
    };
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && fold(a[i]) != fold(b[i])) return false;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Controls

Control& OleObject::control() const { return ws_->controls.at(index_); }

bool OleObject::isListBox() const { return control().progId == kListBoxProgId; }
bool OleObject::isOptionButton() const { return control().progId == kOptionButtonProgId; }

OleObject addOleObject(Worksheet& ws, std::string_view classType, double left, double top,
                       double width, double height) {
    std::string base;
    if (sameShapeName(classType, kListBoxProgId))
        base = "ListBox";
    else if (sameShapeName(classType, kOptionButtonProgId))
        base = "OptionButton";
    else
        throw WorkbookError("Cannot insert an object of class \"" + std::string(classType) +
                            "\" on sheet \"" + ws.name() + "\"");
    Control c;
    c.progId = base == "ListBox" ? std::string(kListBoxProgId) : std::string(kOptionButtonProgId);
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    int n = 1;
    for (const auto& other : ws.controls)
        if (other.progId == c.progId) ++n;
    while (nameTaken(ws, base + std::to_string(n))) ++n;
    c.name = base + std::to_string(n);
    if (base == "OptionButton") {
        c.caption = c.name;
        c.value = "FALSE";
    }
    ws.controls.push_back(std::move(c));
    return OleObject(&ws, ws.controls.size() - 1);
}

std::optional<OleObject> findOleObject(Worksheet& ws, std::string_view name) {
    for (size_t i = 0; i < ws.controls.size(); ++i)
        if (sameShapeName(ws.controls[i].name, name)) return OleObject(&ws, i);
    return std::nullopt;
}

OleObject& OleObject::setName(std::string_view name) {
    for (size_t i = 0; i < ws_->controls.size(); ++i)
        if (i != index_ && sameShapeName(ws_->controls[i].name, name))
            throw WorkbookError("A shape named \"" + std::string(name) +
                                "\" already exists on sheet \"" + ws_->name() + "\"");
    for (const auto& ch : ws_->charts)
        if (sameShapeName(ch.name, name))
            throw WorkbookError("A shape named \"" + std::string(name) +
                                "\" already exists on sheet \"" + ws_->name() + "\"");
    control().name = std::string(name);
    return *this;
}

OleObject& OleObject::setLinkedCell(std::string_view address) {
    if (!address.empty()) resolveRange(*ws_, address, "The linked cell");
    control().linkedCell = std::string(address);
    return *this;
}

OleObject& OleObject::setListFillRange(std::string_view range) {
    Control& c = control();
    if (range.empty()) {
        c.listFillRange.clear();
        c.list.clear();
        return *this;
    }
    Range r = resolveRange(*ws_, range, "The list fill range");
    c.listFillRange = std::string(range);
    c.list.clear();
    for (int row = r.row(); row <= r.lastRow(); ++row)
        c.list.push_back(Range(&r.sheet(), row, r.column(), row, r.column()).text());
    if (c.listIndex >= static_cast<int>(c.list.size())) c.listIndex = -1;
    return *this;
}

std::string OleObject::listItem(int index) const {
    const Control& c = control();
    if (index < 0 || index >= static_cast<int>(c.list.size()))
        throw WorkbookError("List index " + std::to_string(index) + " is out of range for \"" +
                            c.name + "\" (" + std::to_string(c.list.size()) + " items)");
    return c.list[index];
}

OleObject& OleObject::setListIndex(int index) {
    Control& c = control();
    if (index < -1 || index >= static_cast<int>(c.list.size()))
        throw WorkbookError("List index " + std::to_string(index) + " is out of range for \"" +
                            c.name + "\" (" + std::to_string(c.list.size()) + " items)");
    c.listIndex = index;
    c.value = index >= 0 ? c.list[index] : std::string();
    writeLinkedCell(c);
    return *this;
}

void OleObject::writeLinkedCell(const Control& c) const {
    if (c.linkedCell.empty()) return;
    Range cell = resolveRange(*ws_, c.linkedCell, "The linked cell");
    Range target(&cell.sheet(), cell.row(), cell.column(), cell.row(), cell.column());
    if (c.progId == kOptionButtonProgId)
        target.setValue(truthy(c.value));
    else if (c.value.empty())
        target.clearContents();
    else
        target.setValue(std::string_view(c.value));
}

OleObject& OleObject::setValue(std::string_view value) {
    Control& c = control();
    if (c.progId != kOptionButtonProgId) {
        c.value = std::string(value);
        auto it = std::find(c.list.begin(), c.list.end(), c.value);
        c.listIndex = it == c.list.end() ? -1 : static_cast<int>(it - c.list.begin());
        writeLinkedCell(c);
        return *this;
    }
    const bool on = truthy(value);
    c.value = on ? "TRUE" : "FALSE";
    writeLinkedCell(c);
    if (on && !c.groupName.empty()) {
        for (size_t i = 0; i < ws_->controls.size(); ++i) {
            Control& other = ws_->controls[i];
            if (i == index_ || other.progId != kOptionButtonProgId ||
                other.groupName != c.groupName || other.value == "FALSE")
                continue;
            other.value = "FALSE";
            OleObject(ws_, i).writeLinkedCell(other);
        }
    }
    return *this;
}

OleObject& OleObject::setGroupName(std::string_view group) {
    control().groupName = std::string(group);
    return *this;
}
OleObject& OleObject::setListStyle(int style) {
    control().listStyle = style;
    return *this;
}
OleObject& OleObject::setBackColor(uint32_t bgr) {
    control().backColor = Color::fromBgr(bgr);
    return *this;
}
OleObject& OleObject::setForeColor(uint32_t bgr) {
    control().foreColor = Color::fromBgr(bgr);
    return *this;
}
OleObject& OleObject::setFontBold(bool bold) {
    control().fontBold = bold;
    return *this;
}
OleObject& OleObject::setAutoLoad(bool autoLoad) {
    control().autoLoad = autoLoad;
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Shapes

std::vector<std::string> shapeNames(const Worksheet& ws) {
    std::vector<std::string> names;
    for (const auto& c : ws.controls) names.push_back(c.name);
    for (const auto& ch : ws.charts) names.push_back(ch.name);
    return names;
}

std::string groupShapes(Worksheet& ws, const std::vector<std::string>& names) {
    if (names.size() < 2)
        throw WorkbookError("A group needs at least two shapes (sheet \"" + ws.name() + "\")");
    const std::vector<std::string> all = shapeNames(ws);
    std::vector<std::string> members;
    for (const std::string& n : names) {
        auto it = std::find_if(all.begin(), all.end(),
                               [&](const std::string& s) { return sameShapeName(s, n); });
        bool grouped = false;
        if (it != all.end())
            for (const auto& g : ws.shapeGroups)
                for (const auto& m : g)
                    if (sameShapeName(m, n)) grouped = true;
        if (it == all.end() || grouped)
            throw WorkbookError("The item with the specified name \"" + n +
                                "\" wasn't found among the shapes of sheet \"" + ws.name() + "\"");
        for (const auto& m : members)
            if (sameShapeName(m, *it))
                throw WorkbookError("The shape \"" + n + "\" is named twice in one group (sheet \"" +
                                    ws.name() + "\")");
        members.push_back(*it);
    }
    ws.shapeGroups.push_back(std::move(members));
    return "Group " + std::to_string(all.size() + ws.shapeGroups.size());
}

// ---------------------------------------------------------------------------------------------
// Charts

Chart& ChartObject::chart() const { return ws_->charts.at(index_); }

ChartObject addChart(Worksheet& ws, double left, double top, double width, double height) {
    Chart ch;
    ch.left = left;
    ch.top = top;
    ch.width = width;
    ch.height = height;
    ch.chartType = xl::ColumnClustered;
    int n = static_cast<int>(ws.charts.size() + ws.controls.size()) + 1;
    while (nameTaken(ws, "Chart " + std::to_string(n))) ++n;
    ch.name = "Chart " + std::to_string(n);
    ws.charts.push_back(std::move(ch));
    return ChartObject(&ws, ws.charts.size() - 1);
}

ChartObject& ChartObject::setChartType(int type) {
    if (type != xl::Pie && type != xl::ColumnClustered)
        throw WorkbookError("Chart type " + std::to_string(type) + " is not supported (\"" +
                            chart().name + "\" on sheet \"" + ws_->name() + "\")");
    chart().chartType = type;
    return *this;
}

int ChartObject::addSeries(const Range& source, int rowcol, bool seriesLabels,
                           bool categoryLabels) {
    if (rowcol != xl::Rows && rowcol != xl::Columns)
        throw WorkbookError("SeriesCollection.Add: Rowcol must be rows (1) or columns (2)");
    const Worksheet& src = source.sheet();
    const bool byColumns = rowcol == xl::Columns;
    // Work in (line, position) terms: a line is one series' cells.
    const int firstLine = byColumns ? source.column() : source.row();
    const int lastLine = byColumns ? source.lastColumn() : source.lastRow();
    const int firstPos = byColumns ? source.row() : source.column();
    const int lastPos = byColumns ? source.lastRow() : source.lastColumn();
    const int dataFirstPos = firstPos + (seriesLabels ? 1 : 0);
    const int firstSeriesLine = firstLine + (categoryLabels ? 1 : 0);
    auto ref = [&](int line1, int pos1, int line2, int pos2) {
        return byColumns ? seriesRef(src, pos1, line1, pos2, line2)
                         : seriesRef(src, line1, pos1, line2, pos2);
    };
    if (dataFirstPos > lastPos) return 0;
    int added = 0;
    for (int line = firstSeriesLine; line <= lastLine; ++line) {
        ChartSeries s;
        if (seriesLabels) s.name = ref(line, firstPos, line, firstPos);
        if (categoryLabels) s.categories = ref(firstLine, dataFirstPos, firstLine, lastPos);
        s.values = ref(line, dataFirstPos, line, lastPos);
        chart().series.push_back(std::move(s));
        ++added;
    }
    return added;
}

ChartObject& ChartObject::deleteSeries(int index) {
    auto& series = chart().series;
    if (index < 1 || index > static_cast<int>(series.size()))
        throw WorkbookError("Series " + std::to_string(index) + " does not exist in \"" +
                            chart().name + "\" on sheet \"" + ws_->name() + "\" (" +
                            std::to_string(series.size()) + " series)");
    series.erase(series.begin() + (index - 1));
    return *this;
}

int ChartObject::seriesCount() const { return static_cast<int>(chart().series.size()); }

ChartObject& ChartObject::setHasTitle(bool on) {
    chart().hasTitle = on;
    if (!on) chart().title.clear();
    return *this;
}

ChartObject& ChartObject::setTitleText(std::string_view text) {
    if (!chart().hasTitle)
        throw WorkbookError("\"" + chart().name + "\" on sheet \"" + ws_->name() +
                            "\" has no title to set (HasTitle is off)");
    chart().title = std::string(text);
    return *this;
}

}  // namespace wb
