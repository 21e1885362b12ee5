// The groundwater-infiltration tables GW1 to GW4 of "Land&Rain", in the band AJ..AX. Each is a
// copy of a finished table of the sheet (title row, header row and body, with formats and merged
// pairs) pasted into the same rows at column AJ, with its own title and the infiltration
// formulas over the copied body. Input!K10 switches the whole computation: unless it is TRUE
// every fraction, and so every value, is 0.
//
// Land-use columns of the copies: AK Urban, AM Cropland, AO Pastureland, AQ Forest,
// AS User Defined.
#include <array>
#include <string>

#include "sheets/land/landuse_page_parts.h"

using namespace wb;

namespace landuse {

namespace {

constexpr int kAJ = 36;

// Copies rows r1..r2, columns c1..c2 (widened to whole merged pairs) to column AJ of the same
// rows and gives the copy its title.
void copyToGroundwaterBand(Worksheet& ws, int r1, int c1, int r2, int c2, const char* title) {
    ws.range(r1, c1, r2, c2).copy();
    ws.cells(r1, kAJ).paste();
    ws.cells(r1, kAJ).setValue(title);
}

// Reference infiltration fractions by soil group A..D: urban, then the other land uses.
constexpr std::array<const char*, 4> kUrbanFraction{"0.36", "0.24", "0.12", "0.06"};
constexpr std::array<const char*, 4> kOtherFraction{"0.45", "0.3", "0.15", "0.075"};

}  // namespace

// GW1: a copy of table 3 holding the reference fractions by land use (rows N+12..N+16) and
// group (AK, AM, AO, AQ).
void groundwater1(Worksheet& ws, int N) {
    copyToGroundwaterBand(ws, N + 10, 14, N + 16, 22,
                          "GW1. Reference soil infiltration fraction for precipitation");
    for (int k = 1; k <= 5; ++k) {
        const auto& fractions = k == 1 ? kUrbanFraction : kOtherFraction;
        for (int g = 0; g < 4; ++g)
            ws.cells(N + 11 + k, 37 + 2 * g)
                .setFormulaR1C1(std::string("=IF('Input'!R10C11=TRUE,") + fractions[g] + ",0)");
    }
}

// GW2: a copy of table 2.1; each land use's fraction for the subwatershed's selected group,
// LOOKUP(K(N+11+i), AK(N+11):AR(N+11), AK(N+11+t):AR(N+11+t)).
void groundwater2(Worksheet& ws, int N) {
    copyToGroundwaterBand(ws, 2 * N + 17, 2, 3 * N + 18, 11,
                          "GW2. Infiltration fraction based on SHG");
    for (int i = 1; i <= N; ++i)
        for (int t = 1; t <= 5; ++t) {
            const int head = -N - 7 - i;
            const int first = 2 - 2 * t, last = 9 - 2 * t;  // AK and AR from this column
            ws.cells(2 * N + 18 + i, 35 + 2 * t)
                .setFormulaR1C1("=LOOKUP(" + RC(-N - 7, -24 - 2 * t) + "," + RC(head, first) + ":" +
                                RC(head, last) + "," + RC(head + t, first) + ":" +
                                RC(head + t, last) + ")");
        }
}

// GW3: a copy of table 2.2; infiltration depth = GW2's fraction x rain per event U(7+i). The
// columns inside merged pairs compute on empty cells and stay out of sight.
void groundwater3(Worksheet& ws, int N) {
    copyToGroundwaterBand(ws, 3 * N + 21, 2, 4 * N + 22, 13, "GW3. Calculated infiltration (in)");
    for (int t = 1; t <= 9; ++t)
        ws.range(3 * N + 23, 36 + t, 4 * N + 22, 36 + t)
            .setFormulaR1C1("=" + RC(-N - 4, 0) + "*" + RC(-3 * N - 15, -t - 15));
}

// GW4: a copy of table 4 and the two columns beside it; infiltration volume = depth (ft) x rain
// days S(7+i) x "RainDayCor" x area. Urban infiltrates through its pervious area (table 1a's
// AI); the feedlot column uses the urban depth over the Feedlots sheet's pervious area J(11+i).
void groundwater4(Worksheet& ws, int N) {
    copyToGroundwaterBand(ws, 4 * N + 25, 2, 5 * N + 26, 16,
                          "GW4. Calculated infiltration volume (ac-ft)");
    const int firstRow = 4 * N + 27, lastRow = 5 * N + 26;
    const std::string depth = "=(" + RC(-N - 4, 0) + "/12)*";
    const std::string table1Row = R(-4 * N - 19);  // row 7+i: rain days S and the areas
    ws.range(firstRow, 37, lastRow, 37)
        .setFormulaR1C1(depth + table1Row + C(-18) + "*RainDayCor*" + table1Row + C(-2));
    for (int t = 2; t <= 10; ++t)
        ws.range(firstRow, 36 + t, lastRow, 36 + t)
            .setFormulaR1C1(depth + table1Row + C(-t - 17) + "*RainDayCor*" + table1Row + C(-34));
    ws.range(firstRow, 47, lastRow, 47)
        .setFormulaR1C1("=(" + RC(-N - 4, -10) + "/12)*" + table1Row + C(-28) +
                        "*RainDayCor*'Feedlots'!" + RC(-4 * N - 15, -37));
    ws.cells(4 * N + 26, 46).setValue("User Defined");
    ws.cells(4 * N + 26, 47).setValue("Feedlots");
}

}  // namespace landuse
