// Shared by the source files of TotalLoadPage: the rows of the other sheets that the formulas
// read, relative-reference helpers and the two summary tables.
#pragma once

#include <string>

#include "sheets/common/sheet_format.h"
#include "sheets/summary/total_load_page.h"
#include "workbook/model/workbook.h"

namespace totalload {

// Relative R1C1 reference from the cell (row, col) to (targetRow, targetCol): "R[-3]C[2]",
// with an offset of 0 written bare ("RC[2]", "R[-3]C").
std::string ref(int row, int col, int targetRow, int targetCol);

// Unit tails: acre-feet x mg/l to pounds, and acre-feet x MPN/100ml to counts.
inline const std::string kToPounds = "*4047*0.3048/454";
inline const std::string kToCounts = kToPounds + "*10*453592";

using sheets::solidFill;

// Where subwatershed i (and the fixed parameter rows) stand on the sheets the formulas read.
// L is the first row of Land&Rain table 4, A the first row of the Animal sheet's pastureland AEU
// table, gs the number of gully and streambank rows of "Gully&Streambank".
struct Sources {
    int N, L, A, gs;

    // Land&Rain: annual runoff by land use (table 4, E cropland .. K user defined) and the
    // infiltration volumes of GW4 beside it, same rows.
    int runoff(int i) const { return L - 1 + i; }
    // Land&Rain table 5: k = 1 Pastureland, 2 Forest, 3 User Defined; N, P, BOD, E. coli in C..F.
    int concentration(int k) const { return L + N + 3 + k; }
    // Land&Rain table 6: irrigation runoff reduction (cropland in E).
    int runoffReduction(int i) const { return L + N + 10 + i; }
    // Animal: months of manure application (table 1, L cropland, M pastureland), and the
    // agricultural / manured concentration pairs N:O .. T:U of the cropland and pastureland AEU
    // tables.
    static int manureMonths(int i) { return 9 + i; }
    int croplandAeu(int i) const { return A - N - 5 + i; }
    int pastureAeu(int i) const { return A - 1 + i; }
    // Sediment: BMP efficiencies (groups Sediment, N, P, BOD, E. coli of four columns C, P, F, U
    // from C), erosion table (M sediment, O its reduction, tons), sediment nutrients (K, M, O, Q
    // loads, S, U, W, Y reductions) and the land-use table (five columns N, P, BOD, E. coli,
    // sediment for each land use from C).
    int sedimentEfficiency(int i) const { return N + 12 + i; }
    int erosion(int i) const { return 2 * N + 15 + i; }
    int sedimentNutrients(int i) const { return 4 * N + 21 + i; }
    int sedimentByLandUse(int i) const { return 5 * N + 25 + i; }
    // Urban table 4: loads C..G, reductions H..L, loads with BMP M..Q (N, P, BOD, TSS, E. coli).
    int urban(int i) const { return 8 * N + 48 + i; }
    // Feedlots table 3: loads C..F, reductions G..J (N, P, BOD, E. coli).
    int feedlots(int i) const { return 2 * N + 19 + i; }
    // Septic table 2: loads C..F, reductions G..J, loads after reduction K..N.
    int septic(int i) const { return N + 19 + i; }
    // Gully&Streambank load table: gully loads C..G, reductions H..L, streambank loads M..Q,
    // reductions R..V (N, P, BOD, sediment, E. coli). Empty when the sheet was not filled.
    int gully(int i) const { return gs + 19 + i; }
    // Input table 7a, groundwater concentrations I..L: k = 1 Urban, 2 Cropland, 3 Pastureland,
    // 4 Forest, 5 Feedlot, 6 User Defined.
    int inputGroundwater(int k) const { return 5 * N + 52 + k; }
};

void summaryTable1(wb::Worksheet& ws, const Sources& s, const TableRows& t);
void summaryTable2(wb::Worksheet& ws, int N, const TableRows& t);

}  // namespace totalload
