// The runoff tables of "Land&Rain": runoff depth per event of every land use and urban type
// (2.2a, 2.2), irrigation runoff of cropland (2.3), annual runoff volumes (4, 4a), runoff
// concentrations (5) and the runoff reduction by irrigation practices (6).
//
// Symbols of the formulas, per subwatershed i: rain per event U(7+i), rain days S(7+i), areas
// C..K(7+i) (table 1); the initial-abstraction factor U6 and the rain-days correction S6; curve
// numbers C..K(2N+18+i) (table 2.1) and Y..AG(N+11+i) (table 2.1a); the Input sheet's
// irrigation row 6N+66+i (D acres, E and F depth before and after, G frequency).
#include <string>

#include "sheets/land/landuse_page_parts.h"
#include "workbook/tables.h"

using namespace wb;

namespace landuse {

void table22a(Worksheet& ws, int N) {
    CreateTableDunlo(ws, "2.2a. Runoff by urban land use (in)", subwatershedLabels(N),
                     urbanTypeHeaders(), 2 * N + 18, 24, N + 1, 10);
    ws.range(2 * N + 19, 25, 3 * N + 18, 34).font().setColorIndex(0);
    for (int i = 1; i <= N; ++i)
        for (int u = 1; u <= 9; ++u)
            ws.cells(2 * N + 18 + i, 24 + u)
                .setFormulaR1C1("=" + curveNumberRunoff(RC(-2 * N - 11, -u - 3),
                                                        RC(-i - 2 * N - 12, -u - 3),
                                                        RC(-N - 7, 0)));
    tallHeaderRow(ws, 2 * N + 18, 24);
}

void table22(Worksheet& ws, const GenerationOptions& opt, int N) {
    CreateTableVesk(ws, "2.2. Calculated runoff (in)", landUseHeaders(opt), 3 * N + 22, 2, N + 1,
                    11, true, true);
    Range body = ws.range(3 * N + 23, 3, 4 * N + 22, 12);
    body.setNumberFormat("0.000");
    body.setHorizontalAlignment(xl::Center);
    body.setVerticalAlignment(xl::Center);
    for (int i = 1; i <= N; ++i)
        for (int t = 1; t <= 5; ++t) {
            const int d = 20 - 2 * t;  // from the land-use column to U
            ws.cells(3 * N + 22 + i, 2 * t + 1)
                .setFormulaR1C1("=" + curveNumberRunoff(RC(-3 * N - 15, d),
                                                        RC(-3 * N - i - 16, d), RC(-N - 4, 0)));
        }
    // Tables 2.1 to 2.3 and the groundwater tables beside them are working tables. For small N
    // the hiding starts at table 2.1's title, so that table 3 (always five rows) stays visible.
    const int first = N < 3 ? 2 * N + 17 : 2 * N + 14;
    ws.rows(first, 4 * N + 23).setHidden(true);
}

void table23(Worksheet& ws, int N) {
    CreateTableVesk(ws, "2.3. Irrigation runoff (in)",
                    {"Watershed", "", "Irr. before BMP", "Irr. after BMP", "", "", "Irr. Reduction"},
                    3 * N + 22, 14, N + 1, 13, true, true);
    Range body = ws.range(3 * N + 23, 14, 4 * N + 22, 26);
    solidFill(body, 34);
    body.setNumberFormat("0.000");
    body.setHorizontalAlignment(xl::Center);
    body.setVerticalAlignment(xl::Center);

    const std::string input = "'Input'!" + R(3 * N + 44);
    for (int i = 1; i <= N; ++i)  // depth before the practice, Input E
        ws.cells(3 * N + 22 + i, 17)
            .setFormulaR1C1("=" + curveNumberRunoff(input + C(-12), RC(-3 * N - i - 16, 4),
                                                    RC(-N - 4, -12)));
    for (int i = 1; i <= N; ++i) {  // depth after, Input F; then the reduction
        ws.cells(3 * N + 22 + i, 19)
            .setFormulaR1C1("=" + curveNumberRunoff(input + C(-13), RC(-3 * N - i - 16, 2),
                                                    RC(-N - 4, -14)));
        ws.cells(3 * N + 22 + i, 25).setFormulaR1C1("=RC[-8]-RC[-6]");
    }
}

void table4(Worksheet& ws, GenerationOptions& opt, int N) {
    CreateTableVesk(ws, "4. Annual runoff by land uses (ac-ft)",
                    landUseHeaders(opt, "Tot Runoff Vol"), 4 * N + 26, 2, N + 1, 13, true, true);
    opt.RunoffFirstRow = 4 * N + 27;
    Range body = ws.range(4 * N + 27, 3, 5 * N + 26, 14);
    body.setNumberFormat("0.0");
    body.setHorizontalAlignment(xl::Center);
    body.setVerticalAlignment(xl::Center);

    // Runoff per event (ft) x area x rain days x rain-days correction; cropland adds the
    // irrigation runoff (table 2.3 before the practice) x irrigated acres x frequency.
    for (int i = 1; i <= N; ++i)
        for (int t = 1; t <= 5; ++t) {
            const int d = 18 - 2 * t;  // from the land-use column to S
            std::string f = "=(" + RC(-N - 4, 0) + "/12) * " + RC(-4 * N - 19, 0) + " * " +
                            RC(-4 * N - 19, d) + "* " + RC(-4 * N - i - 20, d);
            if (t == 2)
                f += "+ (" + RC(-N - 4, 12) + "/12) * Input!" + RC(2 * N + 40, -1) + "*Input!" +
                     RC(2 * N + 40, 2);
            ws.cells(4 * N + 26 + i, 2 * t + 1).setFormulaR1C1(f);
        }
}

void table4a(Worksheet& ws, int N) {
    CreateTableDunlo(ws, "4a. Urban annual runoff (ac-ft)", subwatershedLabels(N),
                     urbanTypeHeaders(), 4 * N + 26, 24, N + 1, 10);
    ws.range(4 * N + 27, 25, 5 * N + 26, 34).font().setColorIndex(0);
    // S6 x rain days x area of the type x its runoff per event (table 2.2a) / 12
    for (int i = 1; i <= N; ++i)
        for (int u = 1; u <= 9; ++u)
            ws.cells(4 * N + 26 + i, 24 + u)
                .setFormulaR1C1("=" + RC(-4 * N - i - 20, -u - 5) + "*" + RC(-4 * N - 19, -u - 5) +
                                "*" + RC(-4 * N - 19, 0) + "*" + RC(-2 * N - 8, 0) + "/12");
    tallHeaderRow(ws, 4 * N + 26, 24);
}

void table5(Worksheet& ws, int N) {
    CreateTableDunlo(ws, "5. Nutrient concentration in runoff (mg/l)",
                     {"", "Pastureland", "Forest", "User Defined"},
                     {"", "N", "P", "BOD", "E. coli"}, 5 * N + 30, 2, 4, 5);
    // Pastureland concentrations come from the Animal sheet; forest and user defined from the
    // Input sheet's runoff concentrations (rows 5N+57 and 5N+58, the same columns).
    ws.range(5 * N + 31, 3, 5 * N + 31, 6).setValue(0);
    ws.range(5 * N + 32, 3, 5 * N + 33, 6).setFormulaR1C1("='Input'!R[25]C");
    ws.range(5 * N + 33, 3, 5 * N + 33, 6).font().setColor(0x0000FF);
}

void table6(Worksheet& ws, const GenerationOptions& opt, int N) {
    CreateTableVesk(ws, "6. Runoff reduction by land uses (ac-ft)(for irrigation reduction in cropland)",
                    landUseHeaders(opt, "Tot Runoff Reduction"), 5 * N + 37, 2, N + 1, 13, true,
                    true);
    Range body = ws.range(5 * N + 38, 3, 6 * N + 37, 14);
    solidFill(body, 34);
    body.setNumberFormat("0.0");
    body.setHorizontalAlignment(xl::Center);
    body.setVerticalAlignment(xl::Center);
    // Only cropland: the irrigation runoff reduction (table 2.3's Y) x irrigated acres x frequency.
    ws.range(5 * N + 38, 5, 6 * N + 37, 5)
        .setFormulaR1C1("=(" + RC(-2 * N - 15, 20) + "/12) * Input!" + RC(N + 29, -1) + "*Input!" +
                        RC(N + 29, 2));
    ws.rows(5 * N + 36, 6 * N + 37).setHidden(true);
}

}  // namespace landuse
