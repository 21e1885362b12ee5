// A worksheet of the in-memory workbook: a sparse, row-major cell store with row and column
// settings, merged areas, comments, data validations, controls and charts.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/formula/formula.h"
#include "workbook/model/drawing.h"
#include "workbook/model/range.h"
#include "workbook/model/style.h"

namespace wb {

class Workbook;

enum class CellType : uint8_t { Empty, Number, Boolean, Text, Formula };

// One stored cell. An Empty cell carries only a format.
struct Cell {
    int32_t col = 0;
    CellType type = CellType::Empty;
    uint32_t style = 0;
    union {
        double number;
        bool boolean;
        uint32_t text;     // index into the workbook's string pool
        uint32_t formula;  // index into the sheet's formula store
    };
    Cell() : number(0) {}
};

// Characters(start, length) formatting of a text cell: runs cover the text in order; a run's font
// replaces the cell's font for its characters.
struct TextRun {
    int start = 0;   // 0-based
    int length = 0;
    Font font;
    bool operator==(const TextRun&) const = default;
};

struct Comment {
    std::string text;
    std::string author;
    double heightScale = 1.0;  // Shape.ScaleHeight factor applied to the default box
    bool visible = false;
    // Comment.Text(Text, Start): with start >= 1 the text from that character on is replaced.
    void setText(std::string_view t, int start = 0);
};

struct DataValidation {
    std::vector<RangeRef> ranges;
    std::string type = "list";  // the file's type name
    std::string formula1;       // A1 text without "=", as the file stores it
    std::string formula2;
    std::string op;
    bool allowBlank = true;
    bool showDropDown = true;   // the in-cell arrow (stored inverted in the file)
    bool showErrorMessage = true;
    bool showInputMessage = true;
    std::string promptTitle, prompt, errorTitle, error;
};

struct RowInfo {
    double height = -1;  // points, set by the user; < 0: automatic
    // The automatic height the spreadsheet gives a row for its wrapped texts and large fonts
    // (< 0: the sheet's default). Kept up to date as texts and formats change.
    double autoHeight = -1;
    bool hidden = false;
    bool hasStyle = false;
    uint32_t style = 0;  // whole-row format
    int outlineLevel = 0;
};

struct ColInfo {
    double width = -1;  // characters; < 0: the sheet's default
    bool hidden = false;
    bool hasStyle = false;
    uint32_t style = 0;
    int outlineLevel = 0;
};

struct Protection {
    bool sheet = false;           // protection is on
    bool contents = false;
    bool drawingObjects = false;  // objects cannot be edited
};

class Worksheet {
public:
    enum class Visibility { Visible, Hidden, VeryHidden };

    Worksheet(Workbook* wb, std::string name);
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    Workbook& workbook() const { return *wb_; }
    const std::string& name() const { return name_; }
    int index() const;

    // Ranges. Rows and columns are 1-based.
    Range cells(int row, int col) { return Range(this, row, col, row, col); }
    Range range(int r1, int c1, int r2, int c2) { return Range(this, r1, c1, r2, c2); }
    Range range(std::string_view a1);  // "B8", "B8:G16", "A:C", "3:5"
    Range range(const Range& a, const Range& b);
    Range rows(int r1, int r2);
    Range rows(int r) { return rows(r, r); }
    Range columns(int c1, int c2);
    Range columns(int c) { return columns(c, c); }
    Range columns(std::string_view letters);  // "A:C" or "B"

    // Sheet state.
    Visibility visibility() const { return visibility_; }
    void setVisible(bool visible) { visibility_ = visible ? Visibility::Visible : Visibility::Hidden; }
    void setVisibility(Visibility v) { visibility_ = v; }
    void protect(bool drawingObjects, bool contents);
    const Protection& protection() const { return protection_; }
    void select();  // makes this the active sheet
    void activate() { select(); }
    const RangeRef& selection() const { return selection_; }
    int activeRow() const { return activeRow_; }
    int activeCol() const { return activeCol_; }
    void setSelection(const RangeRef& sel, int activeRow, int activeCol);

    // Geometry in points for the workbook's default font.
    double columnWidthPoints(int col) const;
    double rowHeightPoints(int row) const;
    double columnLeft(int col) const;  // left edge of the column
    double rowTop(int row) const;      // top edge of the row
    double defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(double pt) { defaultRowHeight_ = pt; }
    double defaultColumnWidth() const { return defaultColWidth_; }
    void setDefaultColumnWidth(double chars) { defaultColWidth_ = chars; }

    // Whole-row operations with the spreadsheet's semantics: cells, formats, merges, comments,
    // validations, row settings, controls and charts below move, and every reference into the
    // moved area, on every sheet and in every defined name, is adjusted.
    void insertRows(int at, int count);
    // Recomputes the automatic height of a row without a set height, as the spreadsheet does
    // when wrapped text or a larger font goes into it (merged cells do not count).
    void autoFitRow(int row);
    void deleteRows(int first, int count);

    // Cell store access (for the file format, the table procedures and tests).
    const Cell* find(int row, int col) const;
    Cell& at(int row, int col);  // created empty when absent
    void erase(int row, int col);
    int maxRow() const { return static_cast<int>(rows_.size()); }
    // Calls f(row, cell) for every stored cell, row by row, left to right.
    template <class F> void forEachCell(F&& f) const {
        for (size_t r = 0; r < rows_.size(); ++r)
            for (const Cell& c : rows_[r]) f(static_cast<int>(r + 1), c);
    }
    const std::vector<Cell>& rowCells(int row) const;

    // Formula store: cells of type Formula hold an index here.
    uint32_t addFormula(formula::Formula f);
    formula::Formula& formulaAt(uint32_t index) { return formulas_[index]; }
    const formula::Formula& formulaAt(uint32_t index) const { return formulas_[index]; }

    // Sheet parts.
    std::map<int, RowInfo> rowInfo;  // by row
    std::map<int, ColInfo> colInfo;  // by column
    std::vector<RangeRef> merges;
    std::map<std::pair<int, int>, Comment> comments;            // by (row, col)
    std::map<std::pair<int, int>, std::vector<TextRun>> runs;  // rich text of text cells
    std::vector<DataValidation> validations;
    std::vector<Control> controls;
    std::vector<Chart> charts;
    // Shapes grouped with Shapes.Range(names).Group: the names of each group's members.
    std::vector<std::vector<std::string>> shapeGroups;
    std::string tabColor;  // ARGB hex, empty for none

    // Lazy loading of sheets read from a file: a sheet that no builder touches is never parsed
    // and is written back as it was read.
    bool isLoaded() const { return !loader_; }
    void setLoader(std::function<void(Worksheet&)> loader, bool mayHaveFormulas);
    void ensureLoaded();
    bool mayHaveFormulas() const { return loaderMayHaveFormulas_; }

    // The merged area containing (row, col), or nullptr.
    const RangeRef* mergeAt(int row, int col) const;

private:
    friend class Workbook;
    friend class Range;
    Workbook* wb_;
    std::string name_;
    Visibility visibility_ = Visibility::Visible;
    Protection protection_;
    RangeRef selection_{1, 1, 1, 1};
    int activeRow_ = 1, activeCol_ = 1;
    double defaultRowHeight_ = 12.75;
    double defaultColWidth_ = 8.43;
    std::vector<std::vector<Cell>> rows_;  // rows_[r - 1]: the row's cells sorted by column
    std::vector<formula::Formula> formulas_;
    std::function<void(Worksheet&)> loader_;
    bool loaderMayHaveFormulas_ = false;
};

}  // namespace wb
