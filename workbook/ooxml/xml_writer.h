// A small streaming XML writer: appends markup to a string buffer, escaping text and attribute
// values. Parts are written front to back with it; no document tree is built for output.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace wb::ooxml {

// Appends `s` escaped for element content (escapeQuotes false) or for a double-quoted attribute
// value. Characters that XML 1.0 does not allow (control characters other than tab, line feed
// and carriage return, U+FFFE, U+FFFF) are written in the spreadsheet's "_xHHHH_" form when
// `excelEscapes` is set and dropped otherwise; malformed UTF-8 becomes U+FFFD. A literal text
// that looks like such an escape gets its "_" escaped ("_x005F_") so that it reads back as typed.
void appendEscaped(std::string& out, std::string_view s, bool escapeQuotes, bool excelEscapes);

// Reverses the "_xHHHH_" escapes of a text read from a part.
std::string decodeExcelEscapes(std::string_view s);

// True when the text needs xml:space="preserve" to keep its blanks (leading or trailing white
// space, or line breaks, which XML readers may otherwise normalise).
bool needsSpacePreserve(std::string_view s);

// The shortest text that reads back as the same double ("1.5", "1E+20" style for big numbers is
// not needed: the file accepts the C form "1e+20").
void appendNumber(std::string& out, double v);

inline void appendInt(std::string& out, long long v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

class XmlWriter {
public:
    explicit XmlWriter(std::string& out) : out_(out) {}

    void declaration() {
        out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    }
    // <name
    void open(std::string_view name) {
        closeStartTag();
        out_ += '<';
        out_ += name;
        startOpen_ = true;
    }
    void attr(std::string_view name, std::string_view value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        appendEscaped(out_, value, true, false);
        out_ += '"';
    }
    void attr(std::string_view name, const char* value) { attr(name, std::string_view(value)); }
    void attr(std::string_view name, const std::string& value) {
        attr(name, std::string_view(value));
    }
    void attr(std::string_view name, long long value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        appendInt(out_, value);
        out_ += '"';
    }
    void attr(std::string_view name, int value) { attr(name, static_cast<long long>(value)); }
    void attr(std::string_view name, unsigned value) { attr(name, static_cast<long long>(value)); }
    void attr(std::string_view name, size_t value) { attr(name, static_cast<long long>(value)); }
    void attrNum(std::string_view name, double value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        appendNumber(out_, value);
        out_ += '"';
    }
    // Attribute value already safe for XML (no escaping).
    void attrRaw(std::string_view name, std::string_view value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += value;
        out_ += '"';
    }
    // Ends the start tag: "/>" when nothing follows before close().
    void close(std::string_view name) {
        if (startOpen_) {
            out_ += "/>";
            startOpen_ = false;
        } else {
            out_ += "</";
            out_ += name;
            out_ += '>';
        }
    }
    void text(std::string_view s, bool excelEscapes = false) {
        closeStartTag();
        appendEscaped(out_, s, false, excelEscapes);
    }
    // Markup that is already well-formed XML.
    void raw(std::string_view s) {
        closeStartTag();
        out_ += s;
    }
    // <name>text</name>
    void element(std::string_view name, std::string_view s, bool excelEscapes = false) {
        open(name);
        text(s, excelEscapes);
        close(name);
    }
    // <t>text</t> with xml:space="preserve" when the text needs it.
    void textElement(std::string_view name, std::string_view s) {
        open(name);
        if (needsSpacePreserve(s)) attrRaw("xml:space", "preserve");
        text(s, true);
        close(name);
    }
    std::string& buffer() { return out_; }

private:
    void closeStartTag() {
        if (startOpen_) {
            out_ += '>';
            startOpen_ = false;
        }
    }
    std::string& out_;
    bool startOpen_ = false;
};

}  // namespace wb::ooxml
