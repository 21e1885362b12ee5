// The Sediment sheet on the in-memory model: where the six tables land for 1, 2 and 200
// subwatersheds, which rows are hidden, the formula texts as the cells hold them, and the
// headers and formats that the builder rearranges after drawing its frames.
#include "sheets/sources/sediment_page.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "workbook/model/workbook.h"

using namespace wb;

namespace {

// A workbook with the sheets the Sediment formulas name and the area name of Land&Rain.
struct SedimentBook {
    std::unique_ptr<Workbook> book = std::make_unique<Workbook>();
    GenerationOptions opt;
    Worksheet* ws = nullptr;

    explicit SedimentBook(int n) {
        for (const char* name : {"Input", "Land&Rain", "Sediment", "BMPs"}) book->addSheet(name);
        book->addName("WSAreaSum", "='Land&Rain'!R9C16");
        book->sheet("Input").select();
        opt.SubwatershedCount = n;
        opt.LandUseNames = {"Watershed", "Urban",        "Cropland", "Pastureland",
                            "Forest",    "User Defined", ""};
        SedimentPage(*book, opt);
        ws = &book->sheet("Sediment");
    }
    std::string text(const char* a1) const { return ws->range(a1).text(); }
    std::string text(int r, int c) const { return ws->cells(r, c).text(); }
    std::string a1(const char* cell) const { return ws->range(cell).formula(); }
    std::string a1(int r, int c) const { return ws->cells(r, c).formula(); }
    const CellFormat& fmt(const char* a1) const { return ws->range(a1).format(); }
    std::string note(const char* a1) const {
        const Comment* k = ws->range(a1).comment();
        return k ? k->text : "(none)";
    }
    bool hidden(int row) const {
        auto it = ws->rowInfo.find(row);
        return it != ws->rowInfo.end() && it->second.hidden;
    }
    bool merged(const char* area) const {
        Range r = ws->range(area);
        return r.mergeCells() && r.mergeArea().ref() == r.ref();
    }
};

// Titles, header rows and the first and last labels of every table, and the hidden rows:
// exactly the two working tables and the BMP efficiency table, each with the blank row above.
TEST(SedimentPage, TablePositionsAndHiddenRows) {
    for (int n : {1, 2, 200}) {
        SCOPED_TRACE("N = " + std::to_string(n));
        SedimentBook b(n);
        const std::pair<int, const char*> texts[] = {
            {6, "1. Input USLE parameters"},
            {n + 10, "BMP and efficiency, C=Cropland, P=Pastureland,F=Forest,U=User Defined"},
            {2 * n + 14, "2. Erosion and sediment delivery (ton/year)"},
            {3 * n + 17, "Erosion and sediment delivery after BMP (ton/year)"},
            {4 * n + 20, "3. Nutrient load from sediment (ton/year) and E. coli (MPN/year)"},
            {5 * n + 22, "Go to the \"KAVRO\" menu for soil nutrient concentration map."},
            {5 * n + 23,
             "Sediment and sediment nutrients by land uses with BMP (t/y) and E. coli (MPN/yr)"},
            {7, "Watershed"},
            {n + 11, "BMP on"},
            {2 * n + 15, "Watershed"},
            {3 * n + 18, "Watershed"},
            {4 * n + 21, "Watershed"},
            {5 * n + 24, "Watershed"},
        };
        for (const auto& [r, t] : texts) EXPECT_EQ(b.text(r, 2), t) << "B" << r;
        // First and last labels of each table, and the row under the last one.
        const int firstData[6] = {9, n + 13, 2 * n + 16, 3 * n + 19, 4 * n + 22, 5 * n + 26};
        for (int first : firstData) {
            EXPECT_EQ(b.text(first, 2), "W1") << "B" << first;
            EXPECT_EQ(b.text(first + n - 1, 2), "W" + std::to_string(n)) << "B" << first + n - 1;
        }
        EXPECT_EQ(b.text(n + 9, 2), "");
        EXPECT_EQ(b.text(6 * n + 26, 2), "");

        for (int r = 1; r <= 6 * n + 30; ++r) {
            const bool expected = (r >= n + 10 && r <= 2 * n + 12) ||
                                  (r >= 3 * n + 17 && r <= 4 * n + 18) ||
                                  (r >= 5 * n + 23 && r <= 6 * n + 25);
            EXPECT_EQ(b.hidden(r), expected) << "row " << r;
        }
        EXPECT_EQ(b.book->activeSheetIndex(), b.ws->index());
        EXPECT_EQ(b.ws->selection(), (RangeRef{1, 1, 1, 1}));
    }
}

TEST(SedimentPage, OneSubwatershedRowsAndWhiteArea) {
    SedimentBook b(1);
    // USLE data row 9, BMP efficiency data row 14, erosion 18, after-BMP 22, nutrients 26,
    // land-use nutrients 31.
    EXPECT_EQ(b.a1("C9"), "=Input!C35");
    EXPECT_EQ(b.a1("C14"), "=IF(BMPs!F8=\"ND\",0,BMPs!F8)");
    EXPECT_EQ(b.a1("C18"), "=C9*D9*E9*F9*G9*'Land&Rain'!E8");
    EXPECT_EQ(b.a1("C22"), "=C18*(1-C14)");
    EXPECT_EQ(b.a1("C26"), "=Input!H41");
    EXPECT_EQ(b.a1("G31"), "=C18*W9*(1-C14)");
    EXPECT_EQ(b.text("B27"), "Go to the \"KAVRO\" menu for soil nutrient concentration map.");

    SedimentBook big(200);
    EXPECT_EQ(big.text("B414"), "2. Erosion and sediment delivery (ton/year)");
    EXPECT_EQ(big.text("B615"), "W200");
    EXPECT_EQ(big.text("B617"), "Erosion and sediment delivery after BMP (ton/year)");
    EXPECT_EQ(big.text("B818"), "W200");
    EXPECT_EQ(big.text("B1021"), "W200");
    EXPECT_EQ(big.text("B1022"), "Go to the \"KAVRO\" menu for soil nutrient concentration map.");
    EXPECT_EQ(big.text("B1225"), "W200");
    EXPECT_EQ(big.a1("M615"), "=(K615*W208)");
    EXPECT_EQ(big.a1("C1021"), "=Input!H1036");
    EXPECT_EQ(big.a1("V1225"), "=I615*W208*(1-F412)");
    // Only A1:AY100 is filled white; the row inserted under the USLE header carries the white
    // rows below it one row down (the other inserted rows lie below row 100 for N = 200).
    const Color white = Color::indexed(2);
    EXPECT_EQ(big.fmt("A1").fill.color, white);
    EXPECT_EQ(big.fmt("AY101").fill.color, white);
    EXPECT_NE(big.fmt("AZ100").fill.color, white);
    EXPECT_NE(big.fmt("A102").fill.color, white);
    EXPECT_NE(big.fmt("AY102").fill.color, white);
}

// N = 2, subwatershed 1 and 2: USLE rows 9-10, BMP efficiency 15-16, erosion 20-21, after-BMP
// 25-26, nutrients 30-31, land use 36-37. The expected texts are the cells' A1 formulas.
TEST(SedimentPage, FormulaTexts) {
    SedimentBook b(2);
    const std::pair<const char*, const char*> cells[] = {
        // USLE factors of Input table 4 (rows 3N+31+i), DR and area.
        {"C9", "=Input!C38"},
        {"V10", "=Input!V39"},
        {"W9",
         "=IF(X9=0,0,IF(X9>200,(0.417662*POWER(X9/640,-0.134958)-0.127097),0.42*POWER(X9/"
         "640,-0.125)))"},
        {"X9", "=IF(Input!$F$10=TRUE, WSAreaSum, 'Land&Rain'!O8)"},
        {"X10", "=IF(Input!$F$10=TRUE, WSAreaSum, 'Land&Rain'!O9)"},
        {"X7", "=IF(Input!$F$10=TRUE,\"Total WS \",\"Individual Sub \")"},
        // BMP efficiencies: every land use's sediment, N, P, BOD, E. coli from BMPs F, C, D, E, G.
        {"C15", "=IF(BMPs!F8=\"ND\",0,BMPs!F8)"},
        {"D15", "=IF(BMPs!F14=\"ND\",0,BMPs!F14)"},
        {"E16", "=IF(BMPs!F21=\"ND\",0,BMPs!F21)"},
        {"F15", "=IF(BMPs!F26=\"ND\",0,BMPs!F26)"},
        {"H15", "=IF(BMPs!C14=\"ND\",0,BMPs!C14)"},
        {"K16", "=IF(BMPs!D9=\"ND\",0,BMPs!D9)"},
        {"Q15", "=IF(BMPs!E20=\"ND\",0,BMPs!E20)"},
        {"V16", "=IF(BMPs!G27=\"ND\",0,BMPs!G27)"},
        // Erosion: the five USLE factors of each land use times its area.
        {"C20", "=C9*D9*E9*F9*G9*'Land&Rain'!E8"},
        {"E20", "=H9*I9*J9*K9*L9*'Land&Rain'!G8"},
        {"G21", "=M10*N10*O10*P10*Q10*'Land&Rain'!I9"},
        {"I21", "=R10*S10*T10*U10*V10*'Land&Rain'!K9"},
        {"K20", "=SUM(C20:I20)"},
        {"M21", "=(K21*W10)"},
        {"O20", "=(M20-M25)"},
        {"Q21", "=IF(M21=0,0,(100*O21/M21))"},
        // After BMP.
        {"C25", "=C20*(1-C15)"},
        {"E25", "=E20*(1-D15)"},
        {"G26", "=G21*(1-E16)"},
        {"I26", "=I21*(1-F16)"},
        {"K26", "=SUM(C26:I26)"},
        {"M26", "=(K26*W10)"},
        // Sediment nutrients: soil concentrations of Input table 5 (rows 4N+36+i).
        {"C30", "=Input!H45"},
        {"E30", "=Input!I45"},
        {"G31", "=Input!J46"},
        {"I31", "=Input!K46"},
        {"K30", "=(2*C30*M20/100)"},
        {"M30", "=(2*E30*M20/100)"},
        {"O31", "=(2*G31*M21/100)"},
        {"Q30", "=(I30*M20/100)*2000*453592"},
        {"S30", "=(K30*Q20/100)"},
        {"U31", "=(M31*Q21/100)"},
        {"W30", "=(O30*Q20/100)"},
        {"Y31", "=(Q31*Q21/100)"},
        // Land-use nutrients.
        {"C36", "=G36*C30*2/100"},
        {"D36", "=G36*E30*2/100"},
        {"E36", "=G36*G30*2/100"},
        {"F36", "=G36*I30/100*2000*453592"},
        {"G36", "=C20*W9*(1-C15)"},
        {"H37", "=L37*C31*2/100"},
        {"L37", "=E21*W10*(1-D16)"},
        {"P36", "=Q36*I30/100*2000*453592"},
        {"Q37", "=G21*W10*(1-E16)"},
        {"S36", "=V36*E30*2/100"},
        {"V37", "=I21*W10*(1-F16)"},
    };
    for (const auto& [cell, text] : cells) EXPECT_EQ(b.a1(cell), text) << cell;

    // The same cells in R1C1: the offsets as computed.
    EXPECT_EQ(b.ws->range("W9").formulaR1C1(),
              "=IF(RC[1]=0,0,IF(RC[1]>200,(0.417662*POWER(RC[1]/640,-0.134958)-0.127097),"
              "0.42*POWER(RC[1]/640,-0.125)))");
    EXPECT_EQ(b.ws->range("C9").formulaR1C1(), "=Input!R[29]C");
    EXPECT_EQ(b.ws->range("C30").formulaR1C1(), "=Input!R[15]C[5]");
    EXPECT_EQ(b.ws->range("G37").formulaR1C1(), "=R[-16]C[-4]*R[-27]C[16]*(1-R[-21]C[-4])");
}

// Cells the frames leave behind and the builder must clear or overwrite.
TEST(SedimentPage, NoFrameLeftovers) {
    SedimentBook b(2);
    // Row sums of the frames: overwritten by DR, the % reduction, the sediment columns and the
    // user-defined Sed. cell, or cleared with the BMP table's column W.
    for (const char* c : {"W9", "Q20", "M25", "Y30", "V36"})
        EXPECT_EQ(b.a1(c).find("SUM(RC"), std::string::npos) << c;
    for (int r = 13; r <= 16; ++r) {
        EXPECT_EQ(b.text(r, 23), "") << "W" << r;
        EXPECT_FALSE(b.ws->cells(r, 23).hasFormula()) << "W" << r;
        const CellFormat& f = b.ws->cells(r, 23).format();
        EXPECT_EQ(f.fill.color, Color::indexed(2)) << "W" << r;
        EXPECT_EQ(f.fill.pattern, xl::Solid) << "W" << r;
        EXPECT_EQ(f.left.lineStyle, xl::None) << "W" << r;
        EXPECT_FALSE(f.font.bold) << "W" << r;
    }
    for (int r = 34; r <= 38; ++r) {
        EXPECT_FALSE(b.ws->cells(r, 23).hasFormula()) << "W" << r;
        EXPECT_EQ(b.ws->cells(r, 23).format().fill.color, Color::indexed(2)) << "W" << r;
    }
    EXPECT_EQ(b.text("W7"), "");
    // The pairs of the erosion table keep their values in the left cell only.
    for (const char* c : {"D20", "R20", "N25", "Z30", "R21"}) EXPECT_EQ(b.a1(c), "") << c;
}

TEST(SedimentPage, HeadersAfterTheInsertedRows) {
    SedimentBook b(2);
    // USLE: land-use groups over row 7, factors in row 8, DR and area.
    const std::pair<const char*, const char*> usle[] = {{"C7:G7", "Cropland"},
                                                        {"H7:L7", "Pastureland"},
                                                        {"M7:Q7", "Forest"},
                                                        {"R7:V7", "User Defined"}};
    for (const auto& [area, name] : usle) {
        EXPECT_TRUE(b.merged(area)) << area;
        EXPECT_EQ(b.ws->range(area).text(), name) << area;
    }
    const char* factors[5] = {"R", "K", "LS", "C", "P"};
    for (int u = 0; u < 4; ++u)
        for (int k = 0; k < 5; ++k) EXPECT_EQ(b.text(8, 3 + 5 * u + k), factors[k]) << u << k;
    EXPECT_EQ(b.text("W8"), "DR");
    EXPECT_EQ(b.text("X8"), "Area (ac)");
    // The inserted row looks like the header row.
    EXPECT_TRUE(b.fmt("C8").font.bold);
    EXPECT_EQ(b.fmt("C8").fill.color, Color::indexed(15));

    // BMP efficiency: pollutant groups over four land-use initials with their full names.
    const char* groups[5] = {"Sediment", "N", "P", "BOD", "E. coli"};
    const char* initials[4] = {"C", "P", "F", "U"};
    const char* names[4] = {"Cropland", "Pastureland", "Forest", "User Defined"};
    for (int g = 0; g < 5; ++g) {
        const int first = 3 + 4 * g;
        Range group = b.ws->range(13, first, 13, first + 3);
        EXPECT_TRUE(group.mergeCells() && group.mergeArea().ref() == group.ref()) << g;
        EXPECT_EQ(b.text(13, first), groups[g]);
        for (int u = 0; u < 4; ++u) {
            EXPECT_EQ(b.text(14, first + u), initials[u]);
            const Comment* k = b.ws->cells(14, first + u).comment();
            ASSERT_NE(k, nullptr);
            EXPECT_EQ(k->text, names[u]);
        }
    }
    EXPECT_TRUE(b.fmt("C14").align.wrap);

    // Erosion and nutrient headers in the merged pairs, their notes.
    const std::pair<const char*, const char*> heads[] = {
        {"C19", "Cropland"},
        {"K19", "Erosion"},
        {"M19", "Sediment"},
        {"O19", "Sed. Reduction"},
        {"Q19", "%Reduction"},
        {"M24", "Sediment"},
        {"I29", "E. coli conc (#/100ml)"},
        {"Y29", "E. coli Reduction"},
        {"S28", "4. Nutrient load reduction (ton/year) and E. coli (MPN/year)"},
        {"C34", "Cropland"},
        {"R34", "User Defined"},
        {"C35", "N"},
        {"F35", "E. coli"},
        {"V35", "Sed."},
    };
    for (const auto& [c, t] : heads) EXPECT_EQ(b.text(c), t) << c;
    EXPECT_TRUE(b.merged("R34:V34"));
    const std::pair<const char*, const char*> notes[] = {
        {"K19", "Soil erosion calculated using the USLE equation"},
        {"M19", "Sediment load: = erosion * delivery ratio"},
        {"O19", "Sediment reduction by BMPs"},
        {"Q19", "The % sediment reduction relative to sediment load"},
        {"C29", "Go to the \"KAVRO\" menu for soil N concentration map. Value range: 0-100."},
        {"E29",
         "Go to the \"KAVRO\" menu for soil P2O5 concentration map. P = 0.44 * P2O5. "
         "Value range: 0-100."},
        {"G29", "National average loading ratio BOD/N = 2."},
        {"I29", "E. coli (MPN/100mg)"},
        {"K29", "Nutrient enrichment ratio=2"},
        {"O29", "Nutrient enrichment ratio=2"},
    };
    for (const auto& [c, t] : notes) EXPECT_EQ(b.note(c), t) << c;
}

TEST(SedimentPage, Formats) {
    SedimentBook b(2);
    EXPECT_EQ(b.text("B1"), "Sediment Load");
    EXPECT_TRUE(b.fmt("B1").font.bold);
    EXPECT_EQ(b.fmt("B1").font.color, Color::fromBgr(0xFF0000));
    // The note block B2:W4: grey, blue, outlined without inner lines.
    EXPECT_EQ(b.fmt("W4").fill.color, Color::indexed(15));
    EXPECT_EQ(b.fmt("M3").font.color, Color::fromBgr(0xFF0000));
    EXPECT_EQ(b.fmt("B3").left.lineStyle, xl::Continuous);
    EXPECT_EQ(b.fmt("W3").right.lineStyle, xl::Continuous);
    EXPECT_EQ(b.fmt("M2").top.lineStyle, xl::Continuous);
    EXPECT_EQ(b.fmt("M4").bottom.lineStyle, xl::Continuous);
    EXPECT_EQ(b.fmt("M3").left.lineStyle, xl::None);
    EXPECT_EQ(b.fmt("M3").top.lineStyle, xl::None);

    // USLE values black, DR automatic; X takes every format of W.
    EXPECT_EQ(b.fmt("C9").font.color, Color::fromBgr(0));
    EXPECT_EQ(b.fmt("V10").font.color, Color::fromBgr(0));
    EXPECT_EQ(b.fmt("W9").font.color, Color::automatic());
    for (int r = 7; r <= 10; ++r)
        EXPECT_EQ(b.ws->cells(r, 24).format(), b.ws->cells(r, 23).format()) << "X" << r;

    EXPECT_EQ(b.fmt("C20").numberFormat, "0.000");
    EXPECT_EQ(b.fmt("O21").numberFormat, "0.000");
    EXPECT_EQ(b.fmt("Q21").numberFormat, "0.0");
    EXPECT_EQ(b.fmt("M26").numberFormat, "0.00");
    EXPECT_EQ(b.fmt("Y31").numberFormat, "0.000");
    EXPECT_EQ(b.fmt("C30").font.color, Color::fromBgr(0));
    EXPECT_EQ(b.fmt("X28").fill.color, Color::indexed(43));
    EXPECT_TRUE(b.fmt("X28").font.bold);
    EXPECT_EQ(b.fmt("L32").fill.color, Color::indexed(15));
    EXPECT_EQ(b.fmt("L32").font.color, Color::indexed(29));
    EXPECT_TRUE(b.fmt("B32").font.bold);

    const std::pair<int, double> widths[] = {{1, 5}, {2, 10}, {3, 5}, {23, 5}, {24, 10}, {29, 5}};
    for (const auto& [col, w] : widths) EXPECT_EQ(b.ws->columns(col).columnWidth(), w) << col;
}

}  // namespace
