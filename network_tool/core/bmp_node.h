// Records of a Combra network: one BMP node, one catalogue entry.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace combra {

// Pollutants, always in this order: file columns, node fields, dialog fields, texts.
enum Pollutant : int { kN = 0, kP = 1, kBOD = 2, kSediment = 3, kEColi = 4 };
inline constexpr int kPollutantCount = 5;

using Efficiencies = std::array<float, kPollutantCount>;

// One BMP of the network. The document's node list owns every node; `downstream` and
// `upstream` point at nodes of that same list.
struct BmpNode {
    std::int32_t x = 0;  // centre of the node's box, document pixels
    std::int32_t y = 0;
    bool selected = false;
    bool linkSelected = false;  // the arrow to the downstream node is selected
    bool processed = false;     // scratch of the calculation: node has its results

    float load = 0.0f;    // "Load or Area" of the node itself
    Efficiencies eff{};   // own removal efficiencies, fractions 0..1
    float total = 1.0f;   // result: load or area reaching the node's outlet side
    Efficiencies combined{};  // result: combined efficiencies

    BmpNode* downstream = nullptr;    // node this one drains into, or none
    std::vector<BmpNode*> upstream;   // nodes draining into this one; rebuilt by the calculation

    std::int32_t id = -1;            // number used in the file
    std::int32_t downstreamId = -1;  // file number of the downstream node, -1 = none
    std::int32_t catalogIndex = -1;  // catalogue entry the node was set from, -1 = none

    // Scratch of the calculation: upstream nodes not yet ordered.
    std::uint32_t pendingUpstream = 0;
};

// One known BMP from the catalogue file.
struct BmpCatalogEntry {
    std::string name1;  // first column
    std::string name2;  // second column
    Efficiencies eff{};

    // How the entry is shown to the user: name1 + " - " + name2.
    std::string DisplayName() const { return name1 + " - " + name2; }
};

}  // namespace combra
