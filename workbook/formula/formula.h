// Formulas of the in-memory workbook.
//
// A formula is parsed once, when it is written into a cell, into a list of tokens. References in
// the tokens hold absolute sheet coordinates (1-based rows and columns) together with their "$"
// flags, so A1 text can be produced for any cell and references can be shifted by copy/paste and
// by row insertion and deletion.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wb::formula {

// Largest row and column of a sheet (the Open XML limits).
inline constexpr int kMaxRow = 1048576;
inline constexpr int kMaxCol = 16384;

// How the formula's sheet references are resolved: a sheet name to its index in the workbook
// (-1 when there is no such sheet, matched without regard to case) and back.
class SheetResolver {
public:
    virtual ~SheetResolver() = default;
    virtual int findSheet(std::string_view name) const = 0;
    virtual std::string sheetName(int index) const = 0;
};

// One end of a reference. For whole-row references (R1C1 "R5", A1 "5:5") the column is 0; for
// whole-column references (R1C1 "C3", A1 "C:C") the row is 0.
struct RefPoint {
    int32_t row = 0;
    int32_t col = 0;
    bool rowAbs = false;
    bool colAbs = false;

    bool operator==(const RefPoint&) const = default;
};

enum class TokenKind : uint8_t {
    Number,    // text holds the number as written
    String,    // text holds the string's content, without the quotes and with quotes undoubled
    Bool,      // text is "TRUE" or "FALSE"
    Error,     // text is the error literal, e.g. "#REF!"
    Ref,       // single cell (or whole row/column) reference: a
    Area,      // range reference: a to b
    Name,      // defined name (text)
    Function,  // function name in upper case (text), followed by an Open token
    Open,      // "("
    Close,     // ")"
    Comma,     // "," argument separator
    Operator,  // text holds the operator: + - * / ^ & = <> < > <= >= % and unary + -
    Space,     // blanks kept as written (text)
};

struct Token {
    TokenKind kind = TokenKind::Number;
    // For Ref and Area: the sheet index named in the reference, or -1 when the reference has no
    // sheet name (it then refers to the formula's own sheet).
    int32_t sheet = -1;
    // A reference whose target was deleted writes as #REF!.
    bool deleted = false;
    RefPoint a, b;
    std::string text;

    bool operator==(const Token&) const = default;
};

class FormulaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Formula {
public:
    std::vector<Token> tokens;

    bool operator==(const Formula&) const = default;
};

// Parses R1C1 formula text ("=SUM(R[-3]C:R[-1]C)"; the leading "=" is optional) written into the
// cell (row, col). R[n]/C[m] are relative to that cell, Rn/Cm absolute; "R"/"C" alone mean the
// cell's own row or column. Throws FormulaError with a short reason when the text does not parse
// or names a sheet that does not exist.
Formula parseR1C1(std::string_view text, int row, int col, const SheetResolver& sheets);

// Parses A1 formula text ("=SUM(B2:B4)", "='Land&Rain'!$C$5"; the leading "=" is optional).
Formula parseA1(std::string_view text, const SheetResolver& sheets);

// A1 text without the leading "=", as the file format stores it. Sheet names are written as the
// workbook spells them, quoted where needed.
std::string toA1(const Formula& f, const SheetResolver& sheets);
// The same text appended to `out`, for writers that reuse one buffer.
void appendA1(std::string& out, const Formula& f, const SheetResolver& sheets);

// R1C1 text with the leading "=", relative to the cell (row, col).
std::string toR1C1(const Formula& f, int row, int col, const SheetResolver& sheets);

// Copy semantics: moves every relative row/column component by (dRow, dCol). A reference moved
// off the sheet becomes #REF!.
void shiftRelative(Formula& f, int dRow, int dCol);

// Row insertion on sheet `sheet`: `count` rows inserted before row `at`. Every reference of the
// formula (which lives on sheet `ownSheet`) into that sheet at row >= at moves down by count; an
// area that straddles `at` grows. Returns true when something changed.
bool adjustForRowInsert(Formula& f, int ownSheet, int sheet, int at, int count);

// Row deletion on sheet `sheet`: rows first .. first+count-1 removed. References below move up;
// a single reference into the removed rows becomes #REF!; an area shrinks, or becomes #REF! when
// it lies wholly inside the removed rows.
bool adjustForRowDelete(Formula& f, int ownSheet, int sheet, int first, int count);

// Column letters of a 1-based column number ("A", "Z", "AA") and back (0 when not letters).
std::string columnLetters(int col);
int columnNumber(std::string_view letters);

// "B7", "$I$18": the A1 address of a cell.
std::string cellAddress(int row, int col, bool rowAbs = false, bool colAbs = false);

// Parses a plain A1 cell or range address ("B8", "$B$8", "B8:G16"); false when it is not one.
// A single cell gives r2 = r1 and c2 = c1; the corners come back ordered (r1 <= r2, c1 <= c2).
// Whole columns ("A:C") give r1 = r2 = 0, whole rows ("3:5") c1 = c2 = 0.
bool parseA1Range(std::string_view text, int& r1, int& c1, int& r2, int& c2);

}  // namespace wb::formula
