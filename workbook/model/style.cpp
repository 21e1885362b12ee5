#include "workbook/model/style.h"

#include <functional>

namespace wb {

// The spreadsheet's default palette, colour indexes 1..56.
const uint32_t kDefaultPalette[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

Color Color::indexed(int index) {
    if (index <= 0 || index == -4105 || index == -4142) return automatic();
    return {Kind::Indexed, static_cast<uint32_t>(index), 0};
}

Color Color::fromBgr(uint32_t bgr) {
    uint32_t b = (bgr >> 16) & 0xFF, g = (bgr >> 8) & 0xFF, r = bgr & 0xFF;
    return {Kind::Rgb, (r << 16) | (g << 8) | b, 0};
}

uint32_t Color::toRgb() const {
    switch (kind) {
        case Kind::Rgb:
            return value;
        case Kind::Indexed:
            if (value >= 1 && value <= 56) return kDefaultPalette[value - 1];
            return value == 65 ? 0xFFFFFF : 0x000000;
        default:
            return 0x000000;
    }
}

namespace {
inline void mix(size_t& h, size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }
inline void mix(size_t& h, const Color& c) {
    mix(h, static_cast<size_t>(c.kind));
    mix(h, c.value);
    mix(h, std::hash<double>()(c.tint));
}
inline void mix(size_t& h, const Border& b) {
    mix(h, static_cast<size_t>(b.lineStyle + 5000));
    mix(h, static_cast<size_t>(b.weight + 5000));
    mix(h, b.color);
}
}  // namespace

size_t hashValue(const CellFormat& f) {
    size_t h = std::hash<std::string>()(f.font.name);
    mix(h, std::hash<double>()(f.font.size));
    mix(h, (f.font.bold ? 1u : 0u) | (f.font.italic ? 2u : 0u) | (f.font.underline ? 4u : 0u) |
               (f.font.strike ? 8u : 0u) | (f.locked ? 16u : 0u) | (f.formulaHidden ? 32u : 0u) |
               (f.align.wrap ? 64u : 0u) | (f.align.shrink ? 128u : 0u));
    mix(h, f.font.color);
    mix(h, static_cast<size_t>(f.fill.pattern + 5000));
    mix(h, f.fill.color);
    mix(h, f.fill.patternColor);
    for (const Border* b : {&f.left, &f.right, &f.top, &f.bottom, &f.diagonalDown, &f.diagonalUp})
        mix(h, *b);
    mix(h, static_cast<size_t>(f.align.horizontal + 5000));
    mix(h, static_cast<size_t>(f.align.vertical + 5000));
    mix(h, static_cast<size_t>(f.align.indent));
    mix(h, static_cast<size_t>(f.align.orientation + 500));
    mix(h, std::hash<std::string>()(f.numberFormat));
    return h;
}

StyleTable::StyleTable() { intern(CellFormat{}); }

uint32_t StyleTable::intern(const CellFormat& f) {
    auto it = index_.find(f);
    if (it != index_.end()) return it->second;
    return append(f);
}

uint32_t StyleTable::append(const CellFormat& f) {
    uint32_t id = static_cast<uint32_t>(formats_.size());
    formats_.push_back(f);
    index_.emplace(f, id);  // keeps the first index of equal formats
    return id;
}

void StyleTable::reset(std::vector<CellFormat> formats) {
    formats_.clear();
    index_.clear();
    if (formats.empty()) formats.emplace_back();
    for (auto& f : formats) append(f);
}

}  // namespace wb
