// Lines of the model input file (".inp"): one node a line, eleven fields,
// id, downstream id, catalogue index, x, y, load, then the five efficiencies.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bmp_node.h"

namespace combra {

// "%d\t%d\t%d\t%d\t%d\t%f\t%f\t%f\t%f\t%f\t%f\n" of id, downstreamId, catalogIndex, x, y,
// load and eff, independent of the C locale.
std::string FormatNodeLine(const BmpNode& node);

// Reads the eleven fields separated by any white space (tabs or spaces). Nothing unless
// all eleven are there. Sets id, downstreamId, catalogIndex, x, y, load and eff.
std::optional<BmpNode> ParseNodeLine(std::string_view line);

}  // namespace combra
