#include "workbook/ooxml/controls.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <pugixml.hpp>
#include <vector>

#include "workbook/model/objects.h"
#include "workbook/ooxml/objects_util.h"

namespace wb::ooxml {

namespace {

// ---------------------------------------------------------------------------------------------
// Strings of the Forms format: a CountOfBytesWithCompressionFlag in the DataBlock (byte count in
// the low 31 bits, bit 31 set when every character is stored in one byte) and the characters in
// the ExtraDataBlock, padded to a multiple of four bytes.

constexpr uint32_t kCompressedFlag = 0x80000000u;

std::u16string utf16Of(std::string_view s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6 && i + 1 < s.size()) {
            cp = ((c & 0x1F) << 6) | (s[i + 1] & 0x3F);
            len = 2;
        } else if ((c >> 4) == 0xE && i + 2 < s.size()) {
            cp = ((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            len = 3;
        } else if ((c >> 3) == 0x1E && i + 3 < s.size()) {
            cp = ((c & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) |
                 (s[i + 3] & 0x3F);
            len = 4;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The stored bytes of a string and its count-with-flag.
std::pair<std::string, uint32_t> formsString(std::string_view utf8) {
    std::u16string u = utf16Of(utf8);
    bool compressed = true;
    for (char16_t ch : u)
        if (ch > 0xFF) compressed = false;
    std::string bytes;
    if (compressed) {
        for (char16_t ch : u) bytes += static_cast<char>(ch);
        return {bytes, static_cast<uint32_t>(bytes.size()) | kCompressedFlag};
    }
    for (char16_t ch : u) {
        bytes += static_cast<char>(ch & 0xFF);
        bytes += static_cast<char>(ch >> 8);
    }
    return {bytes, static_cast<uint32_t>(bytes.size())};
}

std::string stringOfForms(std::string_view bytes, bool compressed) {
    std::string out;
    if (compressed) {
        for (unsigned char ch : bytes) appendUtf8(out, ch);
        return out;
    }
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t u = static_cast<unsigned char>(bytes[i]) |
                     (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            uint32_t lo = static_cast<unsigned char>(bytes[i + 2]) |
                          (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (lo >= 0xDC00 && lo < 0xE000) {
                u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, u);
    }
    return out;
}

void putLE(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint64_t getLE(std::string_view in, size_t pos, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<uint64_t>(static_cast<unsigned char>(in[pos + i])) << (8 * i);
    return v;
}

// ---------------------------------------------------------------------------------------------
// The property blocks of a Forms control structure: a property mask, the DataBlock of the
// properties of four bytes or less (each aligned to its own size, counted from the start of the
// structure) and the ExtraDataBlock of the larger ones (sizes and string characters, in the
// order of their mask bits, each padded to four bytes).

class BlockWriter {
public:
    explicit BlockWriter(size_t offsetOfDataBlock) : base_(offsetOfDataBlock) {}
    void flag(int bit) { mask_ |= uint64_t{1} << bit; }
    void integer(int bit, uint32_t v, int bytes) {
        align(bytes);
        putLE(data_, v, bytes);
        flag(bit);
    }
    void string(int bit, std::string_view utf8) {
        auto [bytes, count] = formsString(utf8);
        integer(bit, count, 4);
        extra_ += bytes;
        padExtra();
    }
    void size(int bit, uint32_t w, uint32_t h) {
        putLE(extra_, w, 4);
        putLE(extra_, h, 4);
        flag(bit);
    }
    uint64_t mask() const { return mask_; }
    // DataBlock (padded to four bytes) followed by the ExtraDataBlock.
    std::string blocks() {
        align(4);
        return data_ + extra_;
    }

private:
    void align(int n) {
        while ((base_ + data_.size()) % n) data_ += '\0';
    }
    void padExtra() {
        while (extra_.size() % 4) extra_ += '\0';
    }
    size_t base_;
    uint64_t mask_ = 0;
    std::string data_, extra_;
};

class BlockReader {
public:
    // `structStart`: where the structure (its version bytes) begins; alignment counts from there.
    BlockReader(std::string_view in, size_t structStart, size_t dataStart, size_t blockEnd,
                uint64_t mask)
        : in_(in), base_(structStart), pos_(dataStart), end_(blockEnd), mask_(mask) {}
    bool has(int bit) const { return (mask_ >> bit) & 1; }
    bool ok() const { return ok_; }
    uint32_t integer(int bit, int bytes, uint32_t fallback) {
        if (!has(bit)) return fallback;
        while ((pos_ - base_) % bytes) ++pos_;
        if (pos_ + bytes > end_) {
            ok_ = false;
            return fallback;
        }
        uint32_t v = static_cast<uint32_t>(getLE(in_, pos_, bytes));
        pos_ += bytes;
        return v;
    }
    // Reads a string's count in the DataBlock; its characters follow in the ExtraDataBlock.
    void stringCount(int bit, int slot) { counts_[slot] = integer(bit, 4, 0); }
    // Ends the DataBlock; the ExtraDataBlock starts at the next four-byte boundary.
    void endData() {
        while ((pos_ - base_) % 4) ++pos_;
    }
    std::pair<uint32_t, uint32_t> size(int bit) {
        if (!has(bit)) return {0, 0};
        if (pos_ + 8 > end_) {
            ok_ = false;
            return {0, 0};
        }
        auto w = static_cast<uint32_t>(getLE(in_, pos_, 4));
        auto h = static_cast<uint32_t>(getLE(in_, pos_ + 4, 4));
        pos_ += 8;
        return {w, h};
    }
    std::string string(int bit, int slot) {
        if (!has(bit)) return {};
        uint32_t count = counts_[slot];
        size_t n = count & ~kCompressedFlag;
        if (pos_ + n > end_) {
            ok_ = false;
            return {};
        }
        std::string s = stringOfForms(in_.substr(pos_, n), (count & kCompressedFlag) != 0);
        pos_ += n;
        while ((pos_ - base_) % 4 && pos_ < end_) ++pos_;
        return s;
    }

private:
    std::string_view in_;
    size_t base_, pos_, end_;
    uint64_t mask_;
    bool ok_ = true;
    std::array<uint32_t, 4> counts_{};
};

// MorphDataPropMask bits (MS-OFORMS 2.2.5.2).
enum MorphBit {
    kVariousPropertyBits = 0,
    kBackColor = 1,
    kForeColor = 2,
    kMaxLength = 3,
    kBorderStyle = 4,
    kScrollBars = 5,
    kDisplayStyle = 6,
    kMousePointer = 7,
    kSize = 8,
    kPasswordChar = 9,
    kListWidth = 10,
    kBoundColumn = 11,
    kTextColumn = 12,
    kColumnCount = 13,
    kListRows = 14,
    kColumnInfoCount = 15,
    kMatchEntry = 16,
    kListStyle = 17,
    kShowDropButtonWhen = 18,
    kDropButtonStyle = 20,
    kMultiSelect = 21,
    kValue = 22,
    kCaption = 23,
    kPicturePosition = 24,
    kBorderColor = 25,
    kSpecialEffect = 26,
    kMouseIcon = 27,
    kPicture = 28,
    kAccelerator = 29,
    kReserved = 31,  // MUST be set
    kGroupName = 32,
};

// TextPropsPropMask bits (MS-OFORMS 2.3.2).
enum TextBit {
    kFontName = 0,
    kFontEffects = 1,
    kFontHeight = 2,
    kFontCharSet = 4,
    kFontPitchAndFamily = 5,
    kParagraphAlign = 6,
    kFontWeight = 7,
};

std::string encodeTextProps(const MorphData& m) {
    BlockWriter w(8);  // version (2), cbTextProps (2), PropMask (4)
    if (!m.fontName.empty()) w.string(kFontName, m.fontName);
    if (m.fontEffects != 0) w.integer(kFontEffects, m.fontEffects, 4);
    if (m.fontHeight != MorphData::kDefaultFontHeight)
        w.integer(kFontHeight, static_cast<uint32_t>(m.fontHeight), 4);
    std::string blocks = w.blocks();
    std::string out;
    out += '\x00';  // MinorVersion
    out += '\x02';  // MajorVersion
    putLE(out, 4 + blocks.size(), 2);
    putLE(out, w.mask(), 4);
    out += blocks;
    return out;
}

// Reads TextProps at `pos`; false when malformed.
bool decodeTextProps(std::string_view in, size_t pos, MorphData& m) {
    if (pos + 8 > in.size() || in[pos] != 0 || in[pos + 1] != 2) return false;
    size_t cb = getLE(in, pos + 2, 2);
    size_t end = pos + 4 + cb;
    if (end > in.size() || cb < 4) return false;
    uint64_t mask = getLE(in, pos + 4, 4);
    BlockReader r(in, pos, pos + 8, end, mask);
    r.stringCount(kFontName, 0);
    m.fontEffects = r.integer(kFontEffects, 4, 0);
    m.fontHeight = static_cast<int32_t>(r.integer(kFontHeight, 4, MorphData::kDefaultFontHeight));
    r.integer(kFontCharSet, 1, 0);
    r.integer(kFontPitchAndFamily, 1, 0);
    r.integer(kParagraphAlign, 1, 0);
    r.integer(kFontWeight, 2, 0);
    r.endData();
    m.fontName = r.string(kFontName, 0);
    return r.ok();
}

// Skips a GuidAndPicture of the StreamData (GUID, then a StdPicture: preamble, size, data).
bool skipPicture(std::string_view in, size_t& pos) {
    if (pos + 24 > in.size()) return false;
    size_t size = getLE(in, pos + 20, 4);
    pos += 24 + size;
    return pos <= in.size();
}

std::array<uint8_t, 16> guidBytes(std::string_view clsid) {
    // "{8BD21D40-EC42-11CE-9E0D-00AA006002F3}": Data1..Data3 little-endian, Data4 as written.
    std::string hex;
    for (char ch : clsid)
        if (std::isxdigit(static_cast<unsigned char>(ch))) hex += ch;
    std::array<uint8_t, 16> raw{};
    for (size_t i = 0; i < 16 && 2 * i + 1 < hex.size(); ++i)
        raw[i] = static_cast<uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    return {raw[3], raw[2], raw[1], raw[0], raw[5], raw[4], raw[7], raw[6],
            raw[8], raw[9], raw[10], raw[11], raw[12], raw[13], raw[14], raw[15]};
}

std::string formatPoints(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

bool truthyValue(std::string_view v) {
    return v == "TRUE" || v == "True" || v == "true" || v == "1" || v == "-1";
}

uint32_t himetric(double points) {
    return static_cast<uint32_t>(std::llround(std::max(0.0, points) * 2540.0 / 72.0));
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::string_view classIdOfProgId(std::string_view progId) {
    if (sameShapeName(progId, kListBoxProgId)) return kListBoxClassId;
    if (sameShapeName(progId, kOptionButtonProgId)) return kOptionButtonClassId;
    return {};
}

std::string_view progIdOfClassId(std::string_view classId) {
    if (sameShapeName(classId, kListBoxClassId)) return kListBoxProgId;
    if (sameShapeName(classId, kOptionButtonClassId)) return kOptionButtonProgId;
    return {};
}

std::string encodeMorphData(const MorphData& m) {
    BlockWriter w(12);  // version (2), cbMorphData (2), PropMask (8)
    if (m.variousPropertyBits != MorphData::kDefaultVariousPropertyBits)
        w.integer(kVariousPropertyBits, m.variousPropertyBits, 4);
    if (m.backColor != MorphData::kDefaultBackColor) w.integer(kBackColor, m.backColor, 4);
    if (m.foreColor != MorphData::kDefaultForeColor) w.integer(kForeColor, m.foreColor, 4);
    if (m.displayStyle != 1) w.integer(kDisplayStyle, m.displayStyle, 1);
    w.size(kSize, m.width, m.height);
    if (m.listStyle != 0) w.integer(kListStyle, m.listStyle, 1);
    if (m.multiSelect != 0) w.integer(kMultiSelect, m.multiSelect, 1);
    if (!m.value.empty()) w.string(kValue, m.value);
    if (!m.caption.empty()) w.string(kCaption, m.caption);
    w.flag(kReserved);
    if (!m.groupName.empty()) w.string(kGroupName, m.groupName);
    // The size goes first in the ExtraDataBlock, then the strings in mask order: the writer
    // appends them in call order, which is mask order here.
    std::string blocks = w.blocks();
    std::string out;
    out += '\x00';  // MinorVersion
    out += '\x02';  // MajorVersion
    putLE(out, 8 + blocks.size(), 2);
    putLE(out, w.mask(), 8);
    out += blocks;
    // StreamData: no mouse icon, no picture. Then TextProps; no column info.
    out += encodeTextProps(m);
    return out;
}

std::optional<MorphData> decodeMorphData(std::string_view in) {
    if (in.size() < 12 || in[0] != 0 || in[1] != 2) return std::nullopt;
    size_t cb = getLE(in, 2, 2);
    size_t end = 4 + cb;
    if (end > in.size() || cb < 8) return std::nullopt;
    uint64_t mask = getLE(in, 4, 8);
    MorphData m;
    BlockReader r(in, 0, 12, end, mask);
    m.variousPropertyBits =
        r.integer(kVariousPropertyBits, 4, MorphData::kDefaultVariousPropertyBits);
    m.backColor = r.integer(kBackColor, 4, MorphData::kDefaultBackColor);
    m.foreColor = r.integer(kForeColor, 4, MorphData::kDefaultForeColor);
    r.integer(kMaxLength, 4, 0);
    r.integer(kBorderStyle, 1, 0);
    r.integer(kScrollBars, 1, 0);
    m.displayStyle = static_cast<uint8_t>(r.integer(kDisplayStyle, 1, 1));
    r.integer(kMousePointer, 1, 0);
    r.integer(kPasswordChar, 2, 0);
    r.integer(kListWidth, 4, 0);
    r.integer(kBoundColumn, 2, 0);
    r.integer(kTextColumn, 2, 0);
    r.integer(kColumnCount, 2, 0);
    r.integer(kListRows, 2, 0);
    uint32_t columnInfoCount = r.integer(kColumnInfoCount, 2, 0);
    r.integer(kMatchEntry, 1, 0);
    m.listStyle = static_cast<uint8_t>(r.integer(kListStyle, 1, 0));
    r.integer(kShowDropButtonWhen, 1, 0);
    r.integer(kDropButtonStyle, 1, 0);
    m.multiSelect = static_cast<uint8_t>(r.integer(kMultiSelect, 1, 0));
    r.stringCount(kValue, 0);
    r.stringCount(kCaption, 1);
    r.integer(kPicturePosition, 4, 0);
    r.integer(kBorderColor, 4, 0);
    r.integer(kSpecialEffect, 4, 0);
    r.integer(kMouseIcon, 2, 0);
    r.integer(kPicture, 2, 0);
    r.integer(kAccelerator, 2, 0);
    r.stringCount(kGroupName, 2);
    r.endData();
    auto [wHi, hHi] = r.size(kSize);
    m.width = wHi;
    m.height = hHi;
    m.value = r.string(kValue, 0);
    m.caption = r.string(kCaption, 1);
    m.groupName = r.string(kGroupName, 2);
    if (!r.ok()) return std::nullopt;
    size_t pos = end;
    if ((mask >> kMouseIcon) & 1)
        if (!skipPicture(in, pos)) return std::nullopt;
    if ((mask >> kPicture) & 1)
        if (!skipPicture(in, pos)) return std::nullopt;
    (void)columnInfoCount;  // column widths follow the TextProps; not modelled
    if (pos < in.size() && !decodeTextProps(in, pos, m)) return std::nullopt;
    return m;
}

uint32_t oleColor(const Color& c) {
    switch (c.kind) {
        case Color::Kind::Indexed:
            if (c.value == 64) return 0x80000008u;  // window text
            if (c.value == 65) return 0x80000005u;  // window background
            break;
        case Color::Kind::Automatic:
            return 0x80000008u;
        default:
            break;
    }
    uint32_t rgb = c.toRgb();
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

Color colorOfOle(uint32_t ole) {
    if (ole == 0x80000008u) return Color{Color::Kind::Indexed, 64, 0};
    if (ole == 0x80000005u) return Color{Color::Kind::Indexed, 65, 0};
    return Color::fromBgr(ole & 0xFFFFFFu);
}

MorphData morphDataOf(const Control& c, const Font& defaultFont) {
    MorphData m;
    const bool option = sameShapeName(c.progId, kOptionButtonProgId);
    m.displayStyle = option ? kDisplayStyleOptionButton : kDisplayStyleList;
    m.backColor = oleColor(c.backColor);
    m.foreColor = oleColor(c.foreColor);
    m.width = himetric(c.width);
    m.height = himetric(c.height);
    if (option) {
        m.value = truthyValue(c.value) ? "1" : "0";
        m.caption = c.caption;
        m.groupName = c.groupName;
    } else {
        m.listStyle = static_cast<uint8_t>(c.listStyle == 1 ? 1 : 0);
        if (!c.value.empty())
            m.value = c.value;
        else if (c.listIndex >= 0 && c.listIndex < static_cast<int>(c.list.size()))
            m.value = c.list[c.listIndex];
    }
    m.fontName = defaultFont.name;
    m.fontHeight = static_cast<int32_t>(std::lround(defaultFont.size * 20));
    m.fontEffects = c.fontBold ? 1u : 0u;
    return m;
}

void applyMorphData(const MorphData& m, Control& c) {
    c.backColor = colorOfOle(m.backColor);
    c.foreColor = colorOfOle(m.foreColor);
    c.fontBold = (m.fontEffects & 1u) != 0;
    if (m.displayStyle == kDisplayStyleOptionButton) {
        c.value = m.value == "1" || m.value == "-1" ? "TRUE" : "FALSE";
        c.caption = m.caption;
        c.groupName = m.groupName;
    } else {
        c.listStyle = m.listStyle;
        c.value = m.value;
    }
}

std::string activeXBinaryPart(const Control& c, const Font& defaultFont) {
    std::string out;
    for (uint8_t b : guidBytes(classIdOfProgId(c.progId))) out += static_cast<char>(b);
    out += encodeMorphData(morphDataOf(c, defaultFont));
    return out;
}

std::optional<MorphData> readActiveXBinaryPart(std::string_view bin, std::string* progId) {
    if (bin.size() < 16) return std::nullopt;
    for (std::string_view id : {kListBoxClassId, kOptionButtonClassId}) {
        auto g = guidBytes(id);
        if (std::memcmp(bin.data(), g.data(), 16) != 0) continue;
        auto m = decodeMorphData(bin.substr(16));
        if (m && progId) *progId = std::string(progIdOfClassId(id));
        return m;
    }
    return std::nullopt;
}

std::string activeXXmlPart(const Control& c, std::string_view binaryRelId) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
    out += "<ax:ocx ax:classid=\"";
    out += classIdOfProgId(c.progId);
    out += "\" ax:persistence=\"persistStreamInit\" r:id=\"";
    appendXmlEscaped(out, binaryRelId, true);
    out += "\" xmlns:ax=\"http://schemas.microsoft.com/office/2006/activeX\""
           " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>";
    return out;
}

bool readActiveXXmlPart(std::string_view xml, std::string& classId, std::string& binaryRelId,
                        std::string& persistence) {
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size())) return false;
    pugi::xml_node ocx = doc.document_element();
    if (localName(ocx) != "ocx") return false;
    classId = attributeLocal(ocx, "classid");
    persistence = attributeLocal(ocx, "persistence");
    binaryRelId = attributeLocal(ocx, "id");
    return true;
}

std::string vmlControlShapeType() {
    return "<v:shapetype id=\"_x0000_t201\" coordsize=\"21600,21600\" o:spt=\"201\""
           " path=\"m,l,21600r21600,l21600,xe\"><v:stroke joinstyle=\"miter\"/>"
           "<v:path shadowok=\"f\" o:extrusionok=\"f\" strokeok=\"f\" fillok=\"f\""
           " o:connecttype=\"rect\"/><o:lock v:ext=\"edit\" shapetype=\"t\"/></v:shapetype>";
}

std::string vmlControlShape(const Control& c, int shapeId, const CellAnchor& a) {
    auto px = [](int64_t emu) { return std::to_string((emu + kEmuPerPixel / 2) / kEmuPerPixel); };
    std::string out = "<v:shape id=\"";
    appendXmlEscaped(out, c.name, true);
    out += "\" o:spid=\"_x0000_s" + std::to_string(shapeId) +
           "\" type=\"#_x0000_t201\" style=\"position:absolute;margin-left:" +
           formatPoints(c.left) + "pt;margin-top:" + formatPoints(c.top) +
           "pt;width:" + formatPoints(c.width) + "pt;height:" + formatPoints(c.height) +
           "pt;z-index:1\" stroked=\"f\" strokecolor=\"windowText [64]\" o:insetmode=\"auto\">"
           "<o:lock v:ext=\"edit\" rotation=\"t\" text=\"t\"/>"
           "<x:ClientData ObjectType=\"Pict\"><x:Anchor>" +
           std::to_string(a.from.col) + ", " + px(a.from.colOff) + ", " +
           std::to_string(a.from.row) + ", " + px(a.from.rowOff) + ", " +
           std::to_string(a.to.col) + ", " + px(a.to.colOff) + ", " + std::to_string(a.to.row) +
           ", " + px(a.to.rowOff) + "</x:Anchor>";
    if (c.autoLoad) out += "<x:AutoLoad/>";
    if (!c.linkedCell.empty()) {
        out += "<x:FmlaLink>";
        appendXmlEscaped(out, c.linkedCell, false);
        out += "</x:FmlaLink>";
    }
    if (!c.listFillRange.empty()) {
        out += "<x:FmlaRange>";
        appendXmlEscaped(out, c.listFillRange, false);
        out += "</x:FmlaRange>";
    }
    out += "<x:CF>Pict</x:CF><x:AutoPict/></x:ClientData></v:shape>";
    return out;
}

std::string controlElement(const Control& c, int shapeId, std::string_view relId,
                           const CellAnchor& a) {
    auto point = [](const char* tag, const AnchorPoint& p) {
        return std::string("<") + tag + "><xdr:col>" + std::to_string(p.col) +
               "</xdr:col><xdr:colOff>" + std::to_string(p.colOff) + "</xdr:colOff><xdr:row>" +
               std::to_string(p.row) + "</xdr:row><xdr:rowOff>" + std::to_string(p.rowOff) +
               "</xdr:rowOff></" + tag + ">";
    };
    std::string head = "<control shapeId=\"" + std::to_string(shapeId) + "\" r:id=\"" +
                       xmlEscaped(relId) + "\" name=\"" + xmlEscaped(c.name) + "\"";
    // The prefixes the entry uses are declared on it, so that it can join any <controls>.
    std::string out = "<mc:AlternateContent xmlns:mc=\"";
    out += kMarkupCompatibilityNs;
    out += "\" xmlns:x14=\"";
    out += kX14Ns;
    out += "\" xmlns:xdr=\"";
    out += kSpreadsheetDrawingNs;
    out += "\"><mc:Choice Requires=\"x14\">" + head +
           "><controlPr defaultSize=\"0\" autoLine=\"0\"";
    if (!c.linkedCell.empty()) out += " linkedCell=\"" + xmlEscaped(c.linkedCell) + "\"";
    if (!c.listFillRange.empty()) out += " listFillRange=\"" + xmlEscaped(c.listFillRange) + "\"";
    out += "><anchor moveWithCells=\"1\">" + point("from", a.from) + point("to", a.to) +
           "</anchor></controlPr></control></mc:Choice><mc:Fallback>" + head +
           "/></mc:Fallback></mc:AlternateContent>";
    return out;
}

}  // namespace wb::ooxml
