// Formula parsing (R1C1 and A1), writing, and reference adjustment.
//
// The parser is a single left-to-right scan with a small state machine (operand expected or
// operator expected) and a stack of open parentheses, enough to reject malformed text without
// building a syntax tree. Tokens are collected in a per-thread scratch vector and copied into an
// exactly sized vector at the end, so a parse costs one allocation for the common formula whose
// texts fit the strings' small buffer.
#include "workbook/formula/formula.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace wb::formula {
namespace {

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr char toUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
constexpr bool isHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }
// Characters that may start a name, a function or an unquoted sheet name (bytes of UTF-8
// sequences count as letters).
constexpr bool isIdentStart(char c) { return isLetter(c) || c == '_' || c == '\\' || isHigh(c); }
constexpr bool isIdentChar(char c) {
    return isIdentStart(c) || isDigit(c) || c == '.' || c == '?';
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (toUpper(a[i]) != toUpper(b[i])) return false;
    return true;
}

// Reads up to 7 digits at s[p]; false when there is no digit or the value is too large for a
// sheet coordinate.
bool readUInt(std::string_view s, size_t& p, int& value) {
    size_t start = p;
    long v = 0;
    while (p < s.size() && isDigit(s[p])) {
        v = v * 10 + (s[p] - '0');
        if (v > 100000000) return false;
        ++p;
    }
    if (p == start) return false;
    value = static_cast<int>(v);
    return true;
}

// Letters of a column at s[p] (at most three); the column number or 0.
int readColumnLetters(std::string_view s, size_t& p) {
    size_t start = p;
    int v = 0;
    while (p < s.size() && isLetter(s[p])) {
        if (p - start == 3) return 0;
        v = v * 26 + (toUpper(s[p]) - 'A' + 1);
        ++p;
    }
    if (p == start || v > kMaxCol) return 0;
    return v;
}

// True when the text reads as an A1 cell address ("B2", "xfd1048576").
bool looksLikeA1Cell(std::string_view s) {
    size_t p = 0;
    if (readColumnLetters(s, p) == 0) return false;
    int row = 0;
    if (!readUInt(s, p, row) || p != s.size()) return false;
    return row >= 1 && row <= kMaxRow;
}

// True when the text reads as an R1C1 reference without brackets: "R", "C", "RC", "R2",
// "C3", "R2C3" (any case).
bool looksLikeR1C1(std::string_view s) {
    size_t p = 0;
    int v = 0;
    bool any = false;
    if (p < s.size() && toUpper(s[p]) == 'R') {
        ++p;
        any = true;
        if (p < s.size() && isDigit(s[p]) && !readUInt(s, p, v)) return false;
    }
    if (p < s.size() && toUpper(s[p]) == 'C') {
        ++p;
        any = true;
        if (p < s.size() && isDigit(s[p]) && !readUInt(s, p, v)) return false;
    }
    return any && p == s.size();
}

bool needsQuotes(std::string_view name) {
    if (name.empty() || isDigit(name[0])) return true;
    for (char c : name)
        if (!(isLetter(c) || isDigit(c) || c == '_' || c == '.')) return true;
    // Letters followed by digits read as a cell address (quoted even beyond the sheet's limits,
    // which costs nothing and stays safe if the limits grow).
    size_t p = 0;
    while (p < name.size() && isLetter(name[p])) ++p;
    if (p > 0 && p <= 3 && p < name.size()) {
        size_t q = p;
        while (q < name.size() && isDigit(name[q])) ++q;
        if (q == name.size()) return true;
    }
    return looksLikeR1C1(name) || equalsNoCase(name, "TRUE") || equalsNoCase(name, "FALSE");
}

void appendSheetName(std::string& out, std::string_view name) {
    if (!needsQuotes(name)) {
        out += name;
        return;
    }
    out += '\'';
    for (char c : name) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
}

void appendInt(std::string& out, int v) {
    char buf[12];
    char* e = buf + sizeof buf;
    char* p = e;
    bool neg = v < 0;
    unsigned u = neg ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    do {
        *--p = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (neg) *--p = '-';
    out.append(p, e);
}

void appendColumn(std::string& out, int col) {
    char buf[4];
    char* e = buf + sizeof buf;
    char* p = e;
    while (col > 0 && p > buf) {
        int rem = (col - 1) % 26;
        *--p = static_cast<char>('A' + rem);
        col = (col - 1) / 26;
    }
    out.append(p, e);
}

// A1 text of a cell point ("$B$2").
void appendA1Point(std::string& out, const RefPoint& pt) {
    if (pt.colAbs) out += '$';
    appendColumn(out, pt.col);
    if (pt.rowAbs) out += '$';
    appendInt(out, pt.row);
}

void appendA1Row(std::string& out, const RefPoint& pt) {
    if (pt.rowAbs) out += '$';
    appendInt(out, pt.row);
}

void appendA1Col(std::string& out, const RefPoint& pt) {
    if (pt.colAbs) out += '$';
    appendColumn(out, pt.col);
}

void appendA1Ref(std::string& out, const Token& t) {
    const RefPoint& a = t.a;
    const RefPoint& b = t.kind == TokenKind::Area ? t.b : t.a;
    if (a.col == 0) {  // whole rows
        appendA1Row(out, a);
        out += ':';
        appendA1Row(out, b);
    } else if (a.row == 0) {  // whole columns
        appendA1Col(out, a);
        out += ':';
        appendA1Col(out, b);
    } else {
        appendA1Point(out, a);
        if (t.kind == TokenKind::Area) {
            out += ':';
            appendA1Point(out, b);
        }
    }
}

void appendR1C1Part(std::string& out, char letter, int value, bool abs, int base) {
    out += letter;
    if (abs) {
        appendInt(out, value);
    } else if (value != base) {
        out += '[';
        appendInt(out, value - base);
        out += ']';
    }
}

void appendR1C1Point(std::string& out, const RefPoint& pt, int row, int col) {
    if (pt.row != 0) appendR1C1Part(out, 'R', pt.row, pt.rowAbs, row);
    if (pt.col != 0) appendR1C1Part(out, 'C', pt.col, pt.colAbs, col);
}

void appendQuotedString(std::string& out, std::string_view s) {
    out += '"';
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void appendNumber(std::string& out, std::string_view s) {
    // Written as the file wants it: "0.5" for ".5", an upper-case exponent.
    if (!s.empty() && s[0] == '.') out += '0';
    for (char c : s) out += (c == 'e') ? 'E' : c;
}

// Sorts an area's ends so that a is the top-left and b the bottom-right corner, as the
// spreadsheet does when a range is entered with its corners the other way round. A span of one
// whole row or column ("5:5", "R5:R5") is the single reference "R5".
void normalizeArea(Token& t) {
    if (t.kind != TokenKind::Area) return;
    if ((t.a.row == 0 || t.a.col == 0) && t.a == t.b) {
        t.kind = TokenKind::Ref;
        t.b = RefPoint{};
        return;
    }
    if (t.a.row > t.b.row) {
        std::swap(t.a.row, t.b.row);
        std::swap(t.a.rowAbs, t.b.rowAbs);
    }
    if (t.a.col > t.b.col) {
        std::swap(t.a.col, t.b.col);
        std::swap(t.a.colAbs, t.b.colAbs);
    }
}

constexpr std::array<std::string_view, 8> kErrorLiterals = {
    "#DIV/0!", "#GETTING_DATA", "#NAME?", "#NULL!", "#NUM!", "#N/A", "#REF!", "#VALUE!"};

enum class Notation { A1, R1C1 };

class Parser {
public:
    Parser(std::string_view text, Notation notation, int row, int col, const SheetResolver& sheets,
           std::vector<Token>& out)
        : s_(text), notation_(notation), row_(row), col_(col), sheets_(sheets), out_(out) {}

    void run();

private:
    [[noreturn]] void fail(std::string_view what) const;
    [[noreturn]] void failAt(std::string_view what, size_t pos) const;

    Token& add(TokenKind kind) {
        Token& t = out_.emplace_back();
        t.kind = kind;
        return t;
    }
    // The last token that is not a blank.
    const Token* lastSignificant() const {
        for (auto it = out_.rbegin(); it != out_.rend(); ++it)
            if (it->kind != TokenKind::Space) return &*it;
        return nullptr;
    }

    void operand();
    void operatorOrEnd();
    bool tryReference(size_t& p, Token& t) const;
    bool tryR1C1Reference(size_t& p, Token& t) const;
    bool tryA1Reference(size_t& p, Token& t) const;
    bool r1c1Point(size_t& p, RefPoint& pt, bool& hasRow, bool& hasCol, bool& inSheet) const;
    bool endsReference(size_t p) const;
    void sheetReference(int sheet, size_t nameStart);
    void identifier();
    void number();
    void stringLiteral();
    void errorLiteral();
    void quotedSheet();

    std::string_view s_;
    Notation notation_;
    int row_, col_;
    const SheetResolver& sheets_;
    std::vector<Token>& out_;
    size_t p_ = 0;
    bool expectOperand_ = true;
    // Open parentheses, innermost last: whether each opened a function's argument list.
    static constexpr int kMaxDepth = 255;
    std::array<bool, kMaxDepth> parenIsFunction_;
    int depth_ = 0;

    void openParen(bool function) {
        if (depth_ == kMaxDepth) failAt("parentheses nested too deeply", p_);
        parenIsFunction_[depth_++] = function;
    }
    bool inFunction() const { return depth_ > 0 && parenIsFunction_[depth_ - 1]; }
};

void Parser::fail(std::string_view what) const { throw FormulaError(std::string(what)); }

void Parser::failAt(std::string_view what, size_t pos) const {
    std::string msg(what);
    msg += " at position ";
    msg += std::to_string(pos + 1);
    throw FormulaError(msg);
}

// A reference ends where no name character, "(" or "!" follows: "R1C1x", "LOG10(" and
// "A1!" are something else.
bool Parser::endsReference(size_t p) const {
    if (p >= s_.size()) return true;
    char c = s_[p];
    return !(isIdentChar(c) || c == '(' || c == '!' || c == '[' || c == '$');
}

// One end of an R1C1 reference: R, Rn, R[n] then C, Cm, C[m] (each part optional, not both).
// Coordinates are turned absolute; false when the text is not such a reference. `inSheet` tells
// whether the coordinates lie on the sheet (a relative part may point above row 1).
bool Parser::r1c1Point(size_t& p, RefPoint& pt, bool& hasRow, bool& hasCol, bool& inSheet) const {
    size_t q = p;
    hasRow = hasCol = false;
    inSheet = true;
    for (int part = 0; part < 2; ++part) {
        char letter = part == 0 ? 'R' : 'C';
        if (q >= s_.size() || toUpper(s_[q]) != letter) continue;
        ++q;
        int value = 0;
        bool abs = false;
        int base = part == 0 ? row_ : col_;
        if (q < s_.size() && s_[q] == '[') {
            ++q;
            bool neg = false;
            if (q < s_.size() && (s_[q] == '-' || s_[q] == '+')) neg = s_[q++] == '-';
            int off = 0;
            if (!readUInt(s_, q, off) || q >= s_.size() || s_[q] != ']') return false;
            ++q;
            value = base + (neg ? -off : off);
        } else if (q < s_.size() && isDigit(s_[q])) {
            if (!readUInt(s_, q, value)) return false;
            abs = true;
        } else {
            value = base;
        }
        if (value < 1 || value > (part == 0 ? kMaxRow : kMaxCol)) inSheet = false;
        if (part == 0) {
            pt.row = value;
            pt.rowAbs = abs;
            hasRow = true;
        } else {
            pt.col = value;
            pt.colAbs = abs;
            hasCol = true;
        }
    }
    if (!hasRow && !hasCol) return false;
    p = q;
    return true;
}

bool Parser::tryR1C1Reference(size_t& p, Token& t) const {
    size_t q = p;
    RefPoint a;
    bool aRow, aCol, aIn;
    if (!r1c1Point(q, a, aRow, aCol, aIn) || !endsReference(q)) return false;
    if (!aIn) failAt("reference outside the sheet", p);
    t.kind = TokenKind::Ref;
    t.a = a;
    if (q < s_.size() && s_[q] == ':') {
        size_t r = q + 1;
        RefPoint b;
        bool bRow, bCol, bIn;
        if (r1c1Point(r, b, bRow, bCol, bIn) && endsReference(r)) {
            if (aRow != bRow || aCol != bCol) failAt("range ends of different kinds", p);
            if (!bIn) failAt("reference outside the sheet", q + 1);
            t.kind = TokenKind::Area;
            t.b = b;
            q = r;
        }
    }
    p = q;
    return true;
}

// A1 references: B2, $B$2, B2:C5, A:A, $C:$C, 3:5.
bool Parser::tryA1Reference(size_t& p, Token& t) const {
    auto cell = [&](size_t& q, RefPoint& pt) {
        size_t r = q;
        bool colAbs = r < s_.size() && s_[r] == '$';
        if (colAbs) ++r;
        int col = readColumnLetters(s_, r);
        if (col == 0) return false;
        bool rowAbs = r < s_.size() && s_[r] == '$';
        if (rowAbs) ++r;
        int row = 0;
        if (!readUInt(s_, r, row) || row < 1 || row > kMaxRow) return false;
        pt = RefPoint{row, col, rowAbs, colAbs};
        q = r;
        return true;
    };
    auto column = [&](size_t& q, RefPoint& pt) {
        size_t r = q;
        bool abs = r < s_.size() && s_[r] == '$';
        if (abs) ++r;
        int col = readColumnLetters(s_, r);
        if (col == 0) return false;
        pt = RefPoint{0, col, false, abs};
        q = r;
        return true;
    };
    auto row = [&](size_t& q, RefPoint& pt) {
        size_t r = q;
        bool abs = r < s_.size() && s_[r] == '$';
        if (abs) ++r;
        int v = 0;
        if (!readUInt(s_, r, v) || v < 1 || v > kMaxRow) return false;
        pt = RefPoint{v, 0, abs, false};
        q = r;
        return true;
    };

    size_t q = p;
    RefPoint a, b;
    if (cell(q, a)) {
        if (q < s_.size() && s_[q] == ':') {
            size_t r = q + 1;
            if (cell(r, b) && endsReference(r)) {
                t.kind = TokenKind::Area;
                t.a = a;
                t.b = b;
                p = r;
                return true;
            }
        }
        if (!endsReference(q)) return false;
        t.kind = TokenKind::Ref;
        t.a = a;
        p = q;
        return true;
    }
    q = p;
    if (column(q, a) && q < s_.size() && s_[q] == ':') {
        size_t r = q + 1;
        if (column(r, b) && endsReference(r)) {
            t.kind = TokenKind::Area;
            t.a = a;
            t.b = b;
            p = r;
            return true;
        }
    }
    q = p;
    if (row(q, a) && q < s_.size() && s_[q] == ':') {
        size_t r = q + 1;
        if (row(r, b) && endsReference(r)) {
            t.kind = TokenKind::Area;
            t.a = a;
            t.b = b;
            p = r;
            return true;
        }
    }
    return false;
}

bool Parser::tryReference(size_t& p, Token& t) const {
    return notation_ == Notation::R1C1 ? tryR1C1Reference(p, t) : tryA1Reference(p, t);
}

// After "Sheet!": blanks, then a reference (or #REF!, a reference whose target was deleted).
void Parser::sheetReference(int sheet, size_t nameStart) {
    while (p_ < s_.size() && isBlank(s_[p_])) ++p_;
    Token t;
    if (tryReference(p_, t)) {
        t.sheet = sheet;
        normalizeArea(t);
        out_.push_back(t);
        return;
    }
    if (s_.size() - p_ >= 5 && equalsNoCase(s_.substr(p_, 5), "#REF!")) {
        p_ += 5;
        Token& d = add(TokenKind::Ref);
        d.sheet = sheet;
        d.deleted = true;
        return;
    }
    failAt("reference expected after sheet name", nameStart);
}

void Parser::quotedSheet() {
    size_t start = p_;
    size_t q = p_ + 1;
    bool doubled = false;
    for (;;) {
        q = s_.find('\'', q);
        if (q == std::string_view::npos) failAt("unterminated sheet name", start);
        if (q + 1 < s_.size() && s_[q + 1] == '\'') {
            doubled = true;
            q += 2;
            continue;
        }
        break;
    }
    std::string_view quoted = s_.substr(start + 1, q - start - 1);
    std::string unescaped;
    if (doubled) {
        for (size_t i = 0; i < quoted.size(); ++i) {
            unescaped += quoted[i];
            if (quoted[i] == '\'') ++i;
        }
        quoted = unescaped;
    }
    p_ = q + 1;
    if (p_ >= s_.size() || s_[p_] != '!') failAt("\"!\" expected after quoted sheet name", start);
    ++p_;
    int sheet = sheets_.findSheet(quoted);
    if (sheet < 0) fail("unknown sheet '" + std::string(quoted) + "'");
    sheetReference(sheet, start);
}

void Parser::identifier() {
    size_t start = p_;
    size_t q = p_;
    while (q < s_.size() && isIdentChar(s_[q])) ++q;
    std::string_view word = s_.substr(start, q - start);
    if (q < s_.size() && s_[q] == '(') {
        Token& t = add(TokenKind::Function);
        t.text.assign(word);
        for (char& c : t.text) c = toUpper(c);
        add(TokenKind::Open);
        openParen(true);
        p_ = q + 1;
        expectOperand_ = true;
        return;
    }
    if (q < s_.size() && s_[q] == '!') {
        int sheet = sheets_.findSheet(word);
        if (sheet < 0) fail("unknown sheet '" + std::string(word) + "'");
        p_ = q + 1;
        sheetReference(sheet, start);
        expectOperand_ = false;
        return;
    }
    p_ = q;
    expectOperand_ = false;
    if (equalsNoCase(word, "TRUE") || equalsNoCase(word, "FALSE")) {
        add(TokenKind::Bool).text = toUpper(word[0]) == 'T' ? "TRUE" : "FALSE";
        return;
    }
    // A name can never look like a reference in either notation: such text is a reference the
    // other notation would read, or a typing error.
    if (looksLikeA1Cell(word) || looksLikeR1C1(word))
        failAt("reference in the wrong notation or invalid name \"" + std::string(word) + "\"",
               start);
    add(TokenKind::Name).text.assign(word);
}

void Parser::number() {
    size_t start = p_;
    size_t q = p_;
    while (q < s_.size() && isDigit(s_[q])) ++q;
    if (q < s_.size() && s_[q] == '.') {
        ++q;
        while (q < s_.size() && isDigit(s_[q])) ++q;
    }
    if (q < s_.size() && (s_[q] == 'E' || s_[q] == 'e')) {
        size_t r = q + 1;
        if (r < s_.size() && (s_[r] == '+' || s_[r] == '-')) ++r;
        if (r < s_.size() && isDigit(s_[r])) {
            while (r < s_.size() && isDigit(s_[r])) ++r;
            q = r;
        }
    }
    if (q < s_.size() && (isIdentChar(s_[q]) || s_[q] == '.'))
        failAt("malformed number", start);
    add(TokenKind::Number).text.assign(s_.substr(start, q - start));
    p_ = q;
    expectOperand_ = false;
}

void Parser::stringLiteral() {
    size_t start = p_;
    ++p_;
    Token& t = add(TokenKind::String);
    for (;;) {
        if (p_ >= s_.size()) failAt("unterminated string", start);
        size_t q = s_.find('"', p_);
        if (q == std::string_view::npos) failAt("unterminated string", start);
        t.text.append(s_.substr(p_, q - p_));
        p_ = q + 1;
        if (p_ < s_.size() && s_[p_] == '"') {
            t.text += '"';
            ++p_;
            continue;
        }
        break;
    }
    expectOperand_ = false;
}

void Parser::errorLiteral() {
    for (std::string_view e : kErrorLiterals) {
        if (s_.size() - p_ >= e.size() && equalsNoCase(s_.substr(p_, e.size()), e)) {
            p_ += e.size();
            if (e == "#REF!") {
                // A reference whose target was deleted.
                add(TokenKind::Ref).deleted = true;
            } else {
                add(TokenKind::Error).text.assign(e);
            }
            expectOperand_ = false;
            return;
        }
    }
    failAt("unknown error value", p_);
}

void Parser::operand() {
    char c = s_[p_];
    if (c == '"') return stringLiteral();
    if (c == '#') return errorLiteral();
    if (c == '\'') {
        quotedSheet();
        expectOperand_ = false;
        return;
    }
    if (c == '+' || c == '-') {
        add(TokenKind::Operator).text.assign(1, c);
        ++p_;
        return;
    }
    if (c == '(') {
        add(TokenKind::Open);
        openParen(false);
        ++p_;
        return;
    }
    if (c == ')' || c == ',') {
        // Empty arguments: "PI()", "IF(A1,,2)", "IF(A1,2,)".
        const Token* last = lastSignificant();
        bool afterSeparator =
            last && (last->kind == TokenKind::Comma || last->kind == TokenKind::Open);
        if (!inFunction() || !afterSeparator)
            failAt(c == ')' ? "unexpected \")\"" : "unexpected \",\"", p_);
        ++p_;
        if (c == ')') {
            --depth_;
            add(TokenKind::Close);
            expectOperand_ = false;
        } else {
            add(TokenKind::Comma);
        }
        return;
    }
    Token t;
    size_t q = p_;
    bool refStart = notation_ == Notation::R1C1
                        ? (toUpper(c) == 'R' || toUpper(c) == 'C')
                        : (c == '$' || isLetter(c) || isDigit(c));
    if (refStart && tryReference(q, t)) {
        normalizeArea(t);
        out_.push_back(t);
        p_ = q;
        expectOperand_ = false;
        return;
    }
    if (isDigit(c) || (c == '.' && p_ + 1 < s_.size() && isDigit(s_[p_ + 1]))) return number();
    if (isIdentStart(c)) return identifier();
    failAt(std::string("unexpected \"") + c + "\"", p_);
}

void Parser::operatorOrEnd() {
    char c = s_[p_];
    char n = p_ + 1 < s_.size() ? s_[p_ + 1] : '\0';
    switch (c) {
        case '+': case '-': case '*': case '/': case '^': case '&': case '=': case ':':
            add(TokenKind::Operator).text.assign(1, c);
            ++p_;
            expectOperand_ = true;
            return;
        case '<':
            if (n == '>' || n == '=') {
                add(TokenKind::Operator).text.assign(s_.substr(p_, 2));
                p_ += 2;
            } else {
                add(TokenKind::Operator).text = "<";
                ++p_;
            }
            expectOperand_ = true;
            return;
        case '>':
            if (n == '=') {
                add(TokenKind::Operator).text = ">=";
                p_ += 2;
            } else {
                add(TokenKind::Operator).text = ">";
                ++p_;
            }
            expectOperand_ = true;
            return;
        case '%':
            add(TokenKind::Operator).text = "%";
            ++p_;
            return;
        case ')':
            if (depth_ == 0) failAt("unbalanced \")\"", p_);
            --depth_;
            add(TokenKind::Close);
            ++p_;
            return;
        case ',':
            if (depth_ == 0) failAt("\",\" outside parentheses", p_);
            add(TokenKind::Comma);
            ++p_;
            expectOperand_ = true;
            return;
        default:
            break;
    }
    // Two references separated by blanks: the blank is the intersection operator.
    if (!out_.empty() && out_.back().kind == TokenKind::Space) {
        const Token* last = lastSignificant();
        bool refLike = last && (last->kind == TokenKind::Ref || last->kind == TokenKind::Area ||
                                last->kind == TokenKind::Name || last->kind == TokenKind::Close);
        if (refLike && (c == '(' || c == '\'' || c == '$' || isIdentStart(c) || isDigit(c))) {
            expectOperand_ = true;
            return;
        }
    }
    failAt(std::string("unexpected \"") + c + "\"", p_);
}

void Parser::run() {
    if (!s_.empty() && s_[0] == '=') p_ = 1;
    while (p_ < s_.size()) {
        if (isBlank(s_[p_])) {
            size_t q = p_;
            while (q < s_.size() && isBlank(s_[q])) ++q;
            add(TokenKind::Space).text.assign(s_.substr(p_, q - p_));
            p_ = q;
            continue;
        }
        if (expectOperand_)
            operand();
        else
            operatorOrEnd();
    }
    if (!lastSignificant()) fail("empty formula");
    if (expectOperand_) fail("formula ends where a value is expected");
    if (depth_ != 0) fail("missing \")\"");
}

Formula parse(std::string_view text, Notation notation, int row, int col,
              const SheetResolver& sheets) {
    thread_local std::vector<Token> scratch;
    scratch.clear();
    Parser parser(text, notation, row, col, sheets, scratch);
    parser.run();
    Formula f;
    f.tokens.assign(std::make_move_iterator(scratch.begin()),
                    std::make_move_iterator(scratch.end()));
    scratch.clear();
    return f;
}

bool isReference(const Token& t) {
    return (t.kind == TokenKind::Ref || t.kind == TokenKind::Area) && !t.deleted;
}

bool refersTo(const Token& t, int ownSheet, int sheet) {
    return isReference(t) && (t.sheet == sheet || (t.sheet < 0 && ownSheet == sheet));
}

// Writes the sheet prefix of a reference; the last sheet's text is kept so that a formula with
// many references into one sheet asks the resolver once.
struct SheetPrefixCache {
    int sheet = -1;
    std::string text;

    void append(std::string& out, int index, const SheetResolver& sheets) {
        if (index != sheet) {
            sheet = index;
            text.clear();
            appendSheetName(text, sheets.sheetName(index));
            text += '!';
        }
        out += text;
    }
};

}  // namespace

Formula parseR1C1(std::string_view text, int row, int col, const SheetResolver& sheets) {
    return parse(text, Notation::R1C1, row, col, sheets);
}

Formula parseA1(std::string_view text, const SheetResolver& sheets) {
    return parse(text, Notation::A1, 1, 1, sheets);
}

void appendA1(std::string& out, const Formula& f, const SheetResolver& sheets) {
    SheetPrefixCache prefix;
    for (const Token& t : f.tokens) {
        switch (t.kind) {
            case TokenKind::Number:
                appendNumber(out, t.text);
                break;
            case TokenKind::String:
                appendQuotedString(out, t.text);
                break;
            case TokenKind::Ref:
            case TokenKind::Area:
                if (t.deleted) {
                    out += "#REF!";
                    break;
                }
                if (t.sheet >= 0) prefix.append(out, t.sheet, sheets);
                appendA1Ref(out, t);
                break;
            case TokenKind::Open:
                out += '(';
                break;
            case TokenKind::Close:
                out += ')';
                break;
            case TokenKind::Comma:
                out += ',';
                break;
            case TokenKind::Function:
            case TokenKind::Bool:
            case TokenKind::Error:
            case TokenKind::Name:
            case TokenKind::Operator:
            case TokenKind::Space:
                out += t.text;
                break;
        }
    }
}

std::string toA1(const Formula& f, const SheetResolver& sheets) {
    std::string out;
    out.reserve(f.tokens.size() * 6);
    appendA1(out, f, sheets);
    return out;
}

std::string toR1C1(const Formula& f, int row, int col, const SheetResolver& sheets) {
    std::string out = "=";
    SheetPrefixCache prefix;
    for (const Token& t : f.tokens) {
        switch (t.kind) {
            case TokenKind::Number:
                appendNumber(out, t.text);
                break;
            case TokenKind::String:
                appendQuotedString(out, t.text);
                break;
            case TokenKind::Ref:
            case TokenKind::Area:
                if (t.deleted) {
                    out += "#REF!";
                    break;
                }
                if (t.sheet >= 0) prefix.append(out, t.sheet, sheets);
                appendR1C1Point(out, t.a, row, col);
                if (t.kind == TokenKind::Area) {
                    out += ':';
                    appendR1C1Point(out, t.b, row, col);
                }
                break;
            case TokenKind::Open:
                out += '(';
                break;
            case TokenKind::Close:
                out += ')';
                break;
            case TokenKind::Comma:
                out += ',';
                break;
            default:
                out += t.text;
                break;
        }
    }
    return out;
}

void shiftRelative(Formula& f, int dRow, int dCol) {
    for (Token& t : f.tokens) {
        if (!isReference(t)) continue;
        // A part that is 0 is absent (whole rows or columns) and stays so.
        auto shift = [&](RefPoint& p) {
            bool ok = true;
            if (p.row != 0 && !p.rowAbs) {
                p.row += dRow;
                ok = p.row >= 1 && p.row <= kMaxRow;
            }
            if (p.col != 0 && !p.colAbs) {
                p.col += dCol;
                ok = ok && p.col >= 1 && p.col <= kMaxCol;
            }
            return ok;
        };
        bool ok = shift(t.a);
        if (t.kind == TokenKind::Area) ok = shift(t.b) && ok;
        if (!ok)
            t.deleted = true;
        else
            normalizeArea(t);
    }
}

bool adjustForRowInsert(Formula& f, int ownSheet, int sheet, int at, int count) {
    if (count <= 0) return false;
    bool changed = false;
    for (Token& t : f.tokens) {
        if (!refersTo(t, ownSheet, sheet)) continue;
        RefPoint& a = t.a;
        if (a.row == 0) continue;  // whole columns
        if (t.kind == TokenKind::Ref) {
            if (a.row < at) continue;
            a.row += count;
            if (a.row > kMaxRow) t.deleted = true;
            changed = true;
            continue;
        }
        RefPoint& b = t.b;
        if (b.row < at) continue;
        int top = a.row >= at ? a.row + count : a.row;
        // An area pushed past the last row ends there.
        int bottom = std::min(b.row + count, kMaxRow);
        if (top > kMaxRow) {
            t.deleted = true;
        } else if (top != a.row || bottom != b.row) {
            a.row = top;
            b.row = bottom;
        } else {
            continue;
        }
        changed = true;
    }
    return changed;
}

bool adjustForRowDelete(Formula& f, int ownSheet, int sheet, int first, int count) {
    if (count <= 0) return false;
    int last = first + count - 1;
    bool changed = false;
    for (Token& t : f.tokens) {
        if (!refersTo(t, ownSheet, sheet)) continue;
        RefPoint& a = t.a;
        if (a.row == 0) continue;  // whole columns
        if (t.kind == TokenKind::Ref) {
            if (a.row < first) continue;
            if (a.row <= last)
                t.deleted = true;
            else
                a.row -= count;
            changed = true;
            continue;
        }
        RefPoint& b = t.b;
        if (b.row < first) continue;
        int top = a.row < first ? a.row : (a.row <= last ? first : a.row - count);
        int bottom = b.row > last ? b.row - count : first - 1;
        if (bottom < top)
            t.deleted = true;
        else {
            a.row = top;
            b.row = bottom;
        }
        changed = true;
    }
    return changed;
}

std::string columnLetters(int col) {
    std::string out;
    if (col >= 1 && col <= kMaxCol) appendColumn(out, col);
    return out;
}

int columnNumber(std::string_view letters) {
    size_t p = 0;
    int col = readColumnLetters(letters, p);
    return p == letters.size() ? col : 0;
}

std::string cellAddress(int row, int col, bool rowAbs, bool colAbs) {
    std::string out;
    appendA1Point(out, RefPoint{row, col, rowAbs, colAbs});
    return out;
}

bool parseA1Range(std::string_view text, int& r1, int& c1, int& r2, int& c2) {
    // One end: a cell (row and column), a column (row 0) or a row (column 0).
    auto end = [&](size_t& p, int& row, int& col) {
        if (p < text.size() && text[p] == '$') ++p;
        col = readColumnLetters(text, p);
        if (col != 0 && p < text.size() && text[p] == '$') ++p;
        row = 0;
        if (p < text.size() && isDigit(text[p]))
            return readUInt(text, p, row) && row >= 1 && row <= kMaxRow;
        return col != 0;
    };
    size_t p = 0;
    int ra, ca, rb, cb;
    if (!end(p, ra, ca)) return false;
    rb = ra;
    cb = ca;
    if (p < text.size() && text[p] == ':') {
        ++p;
        if (!end(p, rb, cb)) return false;
    }
    if (p != text.size()) return false;
    bool cells = ra != 0 && ca != 0 && rb != 0 && cb != 0;
    bool columns = ra == 0 && rb == 0 && text.find(':') != std::string_view::npos;
    bool rows = ca == 0 && cb == 0 && text.find(':') != std::string_view::npos;
    if (!cells && !columns && !rows) return false;
    r1 = std::min(ra, rb);
    r2 = std::max(ra, rb);
    c1 = std::min(ca, cb);
    c2 = std::max(ca, cb);
    return true;
}

}  // namespace wb::formula
