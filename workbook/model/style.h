// Cell formats of the in-memory workbook: a format is a plain value, interned in the workbook's
// style table; cells hold the table index.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace wb {

// A colour keeps its kind: the spreadsheet's automatic colour, an index into the default
// 56-colour palette (1..56; 64 is the system foreground, 65 the system background), an explicit
// colour (kept as 0xRRGGBB, the file's order) or a theme colour with tint (from files written by
// other programs). Note the file's numbering: palette colour index k (1..56) is the file's
// indexed="k+7" (the file's entries 0..7 are the legacy fixed colours; 64 and 65 stay as they are).
struct Color {
    enum class Kind : uint8_t { Automatic, Indexed, Rgb, Theme };
    Kind kind = Kind::Automatic;
    uint32_t value = 0;
    double tint = 0;

    static Color automatic() { return {}; }
    // Colour index 0 (and the "automatic" codes -4105 and -4142) mean automatic.
    static Color indexed(int index);
    // The object model gives explicit colours in blue-green-red order (0xBBGGRR).
    static Color fromBgr(uint32_t bgr);
    static Color fromRgb(uint32_t rgb) { return {Kind::Rgb, rgb & 0xFFFFFFu, 0}; }
    // The colour as 0xRRGGBB (palette colours through the default palette; automatic is black).
    uint32_t toRgb() const;

    bool operator==(const Color&) const = default;
};

// The default 56-colour palette, 0xRRGGBB, entry i for colour index i + 1.
extern const uint32_t kDefaultPalette[56];

struct Font {
    std::string name = "Arial";
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    Color color;
    bool operator==(const Font&) const = default;
};

// Object-model codes used by the builders.
namespace xl {
inline constexpr int None = -4142;          // line style none, pattern none
inline constexpr int Continuous = 1;
inline constexpr int Dash = -4115;
inline constexpr int Dot = -4118;
inline constexpr int Double = -4119;
inline constexpr int Hairline = 1;          // border weights
inline constexpr int Thin = 2;
inline constexpr int Medium = -4138;
inline constexpr int Thick = 4;
inline constexpr int Automatic = -4105;
inline constexpr int Solid = 1;             // interior pattern
inline constexpr int HAlignGeneral = 1;
inline constexpr int Left = -4131;
inline constexpr int Center = -4108;
inline constexpr int Right = -4152;
inline constexpr int Top = -4160;
inline constexpr int Bottom = -4107;
inline constexpr int Justify = -4130;
inline constexpr int CenterAcrossSelection = 7;
// Borders(i)
inline constexpr int EdgeLeftOfCell = 1, EdgeRightOfCell = 2, EdgeTopOfCell = 3,
                     EdgeBottomOfCell = 4, DiagonalDown = 5, DiagonalUp = 6, EdgeLeft = 7,
                     EdgeTop = 8, EdgeBottom = 9, EdgeRight = 10, InsideVertical = 11,
                     InsideHorizontal = 12;
}  // namespace xl

struct Border {
    int lineStyle = xl::None;
    int weight = xl::Thin;
    Color color;
    bool operator==(const Border&) const = default;
};

struct Fill {
    int pattern = xl::None;  // xl::None or xl::Solid (other patterns kept as their file names' order)
    Color color;             // Interior.ColorIndex / Color
    Color patternColor;      // Interior.PatternColorIndex
    bool operator==(const Fill&) const = default;
};

struct Alignment {
    int horizontal = xl::HAlignGeneral;
    int vertical = xl::Bottom;
    bool wrap = false;
    bool shrink = false;
    int indent = 0;
    int orientation = 0;  // degrees, -90..90
    bool operator==(const Alignment&) const = default;
};

struct CellFormat {
    Font font;
    Fill fill;
    Border left, right, top, bottom, diagonalDown, diagonalUp;
    Alignment align;
    std::string numberFormat = "General";
    bool locked = true;
    bool formulaHidden = false;
    bool operator==(const CellFormat&) const = default;
};

size_t hashValue(const CellFormat& f);

// Interned formats. Index 0 is the workbook's default format. A file's formats are appended in
// its order with `append`, so that their indices stay those of the file.
class StyleTable {
public:
    StyleTable();
    uint32_t intern(const CellFormat& f);
    // Adds f at the next index even when an equal format exists (keeps a file's own indices).
    uint32_t append(const CellFormat& f);
    const CellFormat& get(uint32_t id) const { return formats_[id]; }
    size_t size() const { return formats_.size(); }
    // Replaces the whole table (used by the reader); index 0 becomes the default format.
    void reset(std::vector<CellFormat> formats);

private:
    struct Hash {
        size_t operator()(const CellFormat& f) const { return hashValue(f); }
    };
    std::vector<CellFormat> formats_;
    std::unordered_map<CellFormat, uint32_t, Hash> index_;
};

}  // namespace wb
