// A rectangular block of cells of one worksheet, with the object model's range operations.
// A Range is a cheap handle: it holds the sheet and the corners, and every operation acts on the
// sheet at once.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "workbook/model/style.h"

namespace wb {

class Worksheet;
struct Comment;

// The value of a cell as the object model reads it.
using CellValue = std::variant<std::monostate, double, bool, std::string>;

struct RangeRef {
    int r1 = 1, c1 = 1, r2 = 1, c2 = 1;
    bool contains(int r, int c) const { return r >= r1 && r <= r2 && c >= c1 && c <= c2; }
    bool intersects(const RangeRef& o) const {
        return r1 <= o.r2 && o.r1 <= r2 && c1 <= o.c2 && o.c1 <= c2;
    }
    bool operator==(const RangeRef&) const = default;
};

class Range;

// Range.Font / Characters().Font
class FontRef {
public:
    FontRef& setBold(bool b);
    FontRef& setItalic(bool b);
    FontRef& setUnderline(bool b);
    FontRef& setFontStyle(std::string_view style);  // "Bold", "Italic", "Bold Italic", "Regular"
    FontRef& setSize(double points);
    FontRef& setName(std::string_view name);
    FontRef& setColor(uint32_t bgr);  // blue-green-red, as the object model gives it
    FontRef& setColorIndex(int index);  // 0 or xl::Automatic: automatic

private:
    friend class Range;
    FontRef(const Range* r, int start, int length);
    template <class F> FontRef& apply(F f);
    Worksheet* ws_;
    RangeRef ref_;
    int start_, length_;  // length_ < 0: the whole cells
};

// Range.Interior
class InteriorRef {
public:
    InteriorRef& setColorIndex(int index);
    InteriorRef& setColor(uint32_t bgr);
    InteriorRef& setPattern(int pattern);  // xl::Solid, xl::None
    InteriorRef& setPatternColorIndex(int index);

private:
    friend class Range;
    explicit InteriorRef(const Range* r);
    Worksheet* ws_;
    RangeRef ref_;
};

// Range.Borders(index)
class BorderRef {
public:
    BorderRef& setLineStyle(int style);
    BorderRef& setWeight(int weight);
    BorderRef& setColorIndex(int index);
    BorderRef& setColor(uint32_t bgr);

private:
    friend class Range;
    BorderRef(const Range* r, int index);
    template <class F> BorderRef& apply(F f);
    Worksheet* ws_;
    RangeRef ref_;
    int index_;
};

class Range {
public:
    Range(Worksheet* ws, int r1, int c1, int r2, int c2);
    Range(Worksheet* ws, const RangeRef& ref) : Range(ws, ref.r1, ref.c1, ref.r2, ref.c2) {}

    Worksheet& sheet() const { return *ws_; }
    const RangeRef& ref() const { return ref_; }
    int row() const { return ref_.r1; }
    int column() const { return ref_.c1; }
    int lastRow() const { return ref_.r2; }
    int lastColumn() const { return ref_.c2; }
    int rowCount() const { return ref_.r2 - ref_.r1 + 1; }
    int columnCount() const { return ref_.c2 - ref_.c1 + 1; }
    long long count() const { return 1LL * rowCount() * columnCount(); }

    // Cell (r, c) counted from this range's top-left cell (1, 1).
    Range cells(int r, int c) const;
    Range entireRow() const;
    Range entireColumn() const;
    Range offset(int dRow, int dCol) const;
    Range resize(int rows, int cols) const;
    bool isEntireRows() const;
    bool isEntireColumns() const;

    // Content. Text not beginning with "=" is a constant: a number or TRUE/FALSE when it reads as
    // one, else text. Text beginning with "=" is a formula (A1 for setValue/setFormula, R1C1 for
    // setFormulaR1C1). Every cell of the range receives the same entry, relative references
    // adjusted to each cell as the spreadsheet does.
    Range& setValue(std::string_view text);
    Range& setValue(const char* text) { return setValue(std::string_view(text)); }
    Range& setValue(double number);
    Range& setValue(int number) { return setValue(static_cast<double>(number)); }
    Range& setValue(bool b);
    Range& setText(std::string_view text);  // stored as text even when it reads as a number
    Range& setFormula(std::string_view a1);
    Range& setFormulaR1C1(std::string_view r1c1);

    // Of the top-left cell.
    CellValue value() const;
    bool hasFormula() const;
    std::string formula() const;      // A1 text with "=", or the constant as typed
    std::string formulaR1C1() const;  // R1C1 text with "=", or the constant as typed
    std::string text() const;         // the displayed text of a constant ("" for formulas)

    // Address(RowAbsolute, ColumnAbsolute) in A1 style: "$I$18", "$B$8:$G$16".
    std::string address(bool rowAbs = true, bool colAbs = true) const;

    // Formats.
    FontRef font() const { return FontRef(this, 0, -1); }
    InteriorRef interior() const { return InteriorRef(this); }
    BorderRef borders(int index) const { return BorderRef(this, index); }
    // Characters(start, length) of the top-left cell's text (1-based start).
    FontRef characters(int start, int length) const { return FontRef(this, start, length); }
    Range& setNumberFormat(std::string_view fmt);
    Range& setWrapText(bool b);
    Range& setShrinkToFit(bool b);
    Range& setHorizontalAlignment(int a);
    Range& setVerticalAlignment(int a);
    Range& setOrientation(int degrees);
    Range& setIndentLevel(int level);
    Range& setAddIndent(bool b);
    Range& setLocked(bool b);
    const CellFormat& format() const;  // of the top-left cell
    Range& setFormat(const CellFormat& f);

    // MergeCells: true merges the range into one cell, keeping the only non-empty value in the
    // top-left cell (the top-left value when several are non-empty); false unmerges every merged
    // area the range touches.
    Range& setMergeCells(bool merge);
    bool mergeCells() const;  // true when the top-left cell is part of a merged area
    Range mergeArea() const;  // the merged area of the top-left cell, or that cell

    // Rows and columns of the range.
    Range& setColumnWidth(double chars);
    double columnWidth() const;
    Range& setRowHeight(double points);
    double rowHeight() const;
    Range& setHidden(bool hidden);  // for entire rows or entire columns

    // Geometry in points, as the spreadsheet computes it for the workbook's default font.
    double left() const;
    double top() const;
    double width() const;
    double height() const;

    // Insert(Shift down) and Delete(Shift up) of whole rows.
    void insert();
    void deleteRows();

    // Clipboard: Copy puts this range (widened to whole merged areas) on the workbook's
    // clipboard; Paste writes it with its top-left cell here.
    void copy() const;
    void paste() const;
    void pasteSpecialFormats() const;
    // FillDown: the first row copied into every row below, formulas shifted.
    void fillDown() const;
    void clearContents() const;
    void clear() const;  // contents, formats and comments
    // Sort the rows of this range by the column `keyColumn` (a sheet column number), ascending,
    // text compared without regard to case, no header row. Columns outside the range stay.
    void sort(int keyColumn, bool ascending = true) const;

    // Comments of the top-left cell.
    Comment& addComment(std::string_view text);
    Comment* comment() const;

    void select() const;
    void activate() const;

private:
    friend class FontRef;
    friend class InteriorRef;
    friend class BorderRef;
    template <class F> void modifyFormats(F f) const;
    void clearContentsOnly() const;
    Worksheet* ws_;
    RangeRef ref_;
};

}  // namespace wb
