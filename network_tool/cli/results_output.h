// Printing of calculation results for combra-calc: text, csv or json, one record per
// outlet (or per node) in node-list order.
#pragma once

#include <ostream>
#include <string_view>

#include "bmp_doc.h"

namespace combra {

enum class ResultFormat { kText, kCsv, kJson };

// Records of the outlets (allNodes: of every node that has results; nodes on a loop
// have none) in node-list order, values with six decimals.
void WriteResults(std::ostream& out, const CBMPDoc& doc, ResultFormat format, bool allNodes);

}  // namespace combra
