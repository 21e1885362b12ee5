// The BMP catalogue file: "Support/allCombra.csv" in the program's folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "bmp_node.h"
#include "message_sink.h"

namespace combra {

// folder / "Support" / "allCombra.csv".
std::filesystem::path CatalogPath(const std::filesystem::path& programFolder);

// Makes `folder` the current directory; on failure shows
// "Cannot set current working directory." and returns false.
bool EnterProgramFolder(const std::filesystem::path& folder, MessageSink* sink);

// Reads the catalogue: first line skipped (headings), an empty line ends the catalogue,
// a line with an empty field (",,") is skipped. Efficiencies "ND" or not numeric give 0.
// If the file cannot be opened, shows "Cannot open file <path> for reading" and returns
// an empty catalogue. `opened`, when given, tells whether the file could be opened.
std::vector<BmpCatalogEntry> ReadCatalog(const std::filesystem::path& file, MessageSink* sink,
                                         bool* opened = nullptr);

// One catalogue line (leading white space already removed); nothing for a skipped line.
std::optional<BmpCatalogEntry> ParseCatalogLine(std::string_view line);

}  // namespace combra
