// Formatting and formula-text helpers that every sheet builder uses the same way: the font
// colours, a palette fill, a thin outline, the subwatershed row labels and relative R1C1 texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "workbook/model/range.h"

namespace sheets {

// Font and control colours in the object model's blue-green-red order.
inline constexpr uint32_t kRed = 0x0000FF;
inline constexpr uint32_t kBlue = 0xFF0000;
inline constexpr uint32_t kBlack = 0x000000;

// Solid fill of a palette colour with the automatic pattern colour.
void solidFill(const wb::Range& r, int colorIndex);

// A thin outline in the automatic colour round the block and no lines inside it.
void outline(const wb::Range& r);

// Row labels "W1".."W{n}" for the table procedures; index 0 is empty and not read.
std::vector<std::string> subwatershedLabels(int n);

// Relative R1C1 pieces with an offset of 0 written bare: "R[-3]" / "R" and "C[2]" / "C".
std::string R(int offset);
std::string C(int offset);
inline std::string RC(int dRow, int dCol) { return R(dRow) + C(dCol); }

// A relative reference with both offsets written out, a zero one too: "R[-3]C[0]".
std::string rel(int dRow, int dCol);

}  // namespace sheets
