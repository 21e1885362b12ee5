#include "workbook/model/workbook.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace wb {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// StringPool

uint32_t StringPool::intern(std::string_view s) {
    auto it = index_.find(std::string(s));
    if (it != index_.end()) return it->second;
    return append(std::string(s));
}

uint32_t StringPool::append(std::string s) {
    uint32_t id = static_cast<uint32_t>(strings_.size());
    index_.emplace(s, id);
    strings_.push_back(std::move(s));
    return id;
}

// ---------------------------------------------------------------------------------------------
// Workbook

Workbook::Workbook() = default;
Workbook::~Workbook() = default;

Worksheet& Workbook::addSheet(std::string name) {
    if (findSheet(std::string_view(name)) != nullptr)
        throw WorkbookError("A sheet named \"" + name + "\" already exists");
    sheets_.push_back(std::make_unique<Worksheet>(this, std::move(name)));
    return *sheets_.back();
}

Worksheet& Workbook::sheet(int index) {
    if (index < 0 || index >= sheetCount())
        throw WorkbookError("No sheet number " + std::to_string(index + 1) + " in the workbook");
    return *sheets_[index];
}

const Worksheet& Workbook::sheet(int index) const {
    if (index < 0 || index >= sheetCount())
        throw WorkbookError("No sheet number " + std::to_string(index + 1) + " in the workbook");
    return *sheets_[index];
}

Worksheet& Workbook::sheet(std::string_view name) {
    Worksheet* ws = findSheet(name);
    if (!ws) throw WorkbookError("The workbook has no sheet named \"" + std::string(name) + "\"");
    ws->ensureLoaded();
    return *ws;
}

Worksheet* Workbook::findSheet(std::string_view name) {
    int i = static_cast<const Workbook*>(this)->findSheet(name);
    return i < 0 ? nullptr : sheets_[i].get();
}

int Workbook::findSheet(std::string_view name) const {
    for (size_t i = 0; i < sheets_.size(); ++i)
        if (equalsNoCase(sheets_[i]->name(), name)) return static_cast<int>(i);
    return -1;
}

std::string Workbook::sheetName(int index) const {
    if (index < 0 || index >= sheetCount()) return {};
    return sheets_[index]->name();
}

namespace {

// A name's references always carry their sheet: an unqualified one means the given sheet.
void qualify(formula::Formula& f, int sheet) {
    for (auto& t : f.tokens)
        if ((t.kind == formula::TokenKind::Ref || t.kind == formula::TokenKind::Area) &&
            t.sheet < 0)
            t.sheet = sheet;
}

}  // namespace

void Workbook::defineName(std::string_view name, std::string_view text, bool r1c1) {
    formula::Formula f;
    try {
        Worksheet& ws = activeSheet();
        f = r1c1 ? formula::parseR1C1(text, ws.activeRow(), ws.activeCol(), *this)
                 : formula::parseA1(text, *this);
    } catch (const formula::FormulaError& e) {
        throw WorkbookError("The name \"" + std::string(name) + "\" refers to \"" +
                            std::string(text) + "\", which is not a valid reference (" +
                            e.what() + ")");
    }
    qualify(f, active_);
    for (auto& n : names_)
        if (equalsNoCase(n.name, name) && n.localSheet < 0) {
            n.refersTo = std::move(f);
            return;
        }
    names_.push_back(DefinedName{std::string(name), std::move(f), -1, false});
}

void Workbook::addName(std::string_view name, std::string_view refersToR1C1) {
    defineName(name, refersToR1C1, true);
}

void Workbook::addNameA1(std::string_view name, std::string_view refersToA1) {
    defineName(name, refersToA1, false);
}

const DefinedName* Workbook::findName(std::string_view name) const {
    for (const auto& n : names_)
        if (equalsNoCase(n.name, name)) return &n;
    return nullptr;
}

int Workbook::maxDigitWidthPixels() const {
    // Widest digit of the default font at 96 dpi, as the spreadsheet measures it for column
    // widths: 7 px for Arial/Liberation Sans 10 and Calibri 11, scaled for other sizes.
    const Font& f = defaultFont();
    double size = f.size > 0 ? f.size : 10;
    bool calibri = equalsNoCase(f.name, "Calibri");
    double base = calibri ? 11.0 : 10.0;
    int px = static_cast<int>(std::lround(7.0 * size / base));
    return std::max(px, 1);
}

template <class Adjust>
void Workbook::adjustAllReferences(Adjust adjust) {
    for (int s = 0; s < sheetCount(); ++s) {
        Worksheet& ws = *sheets_[s];
        if (!ws.isLoaded()) {
            if (!ws.mayHaveFormulas()) continue;
            ws.ensureLoaded();
        }
        for (auto& f : ws.formulas_) adjust(f, s);
        for (auto& dv : ws.validations) {
            for (std::string* text : {&dv.formula1, &dv.formula2}) {
                if (text->empty()) continue;
                try {
                    formula::Formula f = formula::parseA1(*text, *this);
                    if (adjust(f, s)) *text = formula::toA1(f, *this);
                } catch (const formula::FormulaError&) {
                    // A list of literal items ("a,b,c") is not a reference: nothing to move.
                }
            }
        }
    }
    for (auto& n : names_) adjust(n.refersTo, -1);
}

void Workbook::adjustReferencesForRowInsert(int sheetIndex, int at, int count) {
    adjustAllReferences([&](formula::Formula& f, int own) {
        return formula::adjustForRowInsert(f, own, sheetIndex, at, count);
    });
}

void Workbook::adjustReferencesForRowDelete(int sheetIndex, int first, int count) {
    adjustAllReferences([&](formula::Formula& f, int own) {
        return formula::adjustForRowDelete(f, own, sheetIndex, first, count);
    });
}

// ---------------------------------------------------------------------------------------------
// Typed entry

std::optional<CellValue> readTypedEntry(std::string_view text) {
    std::string_view s = trimBlanks(text);
    if (s.empty()) return std::nullopt;
    if (equalsNoCase(s, "TRUE")) return CellValue(true);
    if (equalsNoCase(s, "FALSE")) return CellValue(false);
    bool percent = false;
    if (s.back() == '%') {
        percent = true;
        s.remove_suffix(1);
        s = trimBlanks(s);
    }
    std::string_view digits = s;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    // Only plain decimal numbers: digits, one point, an optional exponent.
    size_t i = 0, n = digits.size();
    bool anyDigit = false;
    while (i < n && std::isdigit(static_cast<unsigned char>(digits[i]))) ++i, anyDigit = true;
    if (i < n && digits[i] == '.') {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(digits[i]))) ++i, anyDigit = true;
    }
    if (!anyDigit) return std::nullopt;
    if (i < n && (digits[i] == 'e' || digits[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (digits[j] == '+' || digits[j] == '-')) ++j;
        size_t k = j;
        while (k < n && std::isdigit(static_cast<unsigned char>(digits[k]))) ++k;
        if (k == j) return std::nullopt;
        i = k;
    }
    if (i != n) return std::nullopt;
    double v = 0;
    std::string buf(digits);
    auto [p, ec] = std::from_chars(buf.data(), buf.data() + buf.size(), v);
    if (ec != std::errc() || p != buf.data() + buf.size() || !std::isfinite(v))
        return std::nullopt;
    if (negative) v = -v;
    if (percent) v /= 100;
    return CellValue(v);
}

}  // namespace wb
