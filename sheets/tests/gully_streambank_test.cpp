// The Gully&Streambank sheet on the in-memory model: where the three tables land for the counts
// at their edges, the defaults of both initialisation modes, the list boxes, the formula texts
// and what is hidden.
#include "sheets/sources/gully_streambank.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "workbook/model/objects.h"
#include "workbook/model/workbook.h"

using namespace wb;

namespace {

const char* const kSoils[10] = {"Clay",       "Clay Loam",       "Loam",       "Loamy Sand",
                                "Sand",       "Sandy Clay Loam", "Sandy Loam", "Silt Loam",
                                "Silty Clay", "Silty Clay Loam"};
const char* const kRecession[4] = {"1. Slight", "2. Moderate", "3. Severe", "4. Very Severe"};

// The template's sheet with its two lookup tables (key columns only), and the Input sheet the
// load table reads.
struct GullyBook {
    std::unique_ptr<Workbook> book = std::make_unique<Workbook>();
    GenerationOptions opt;
    Worksheet* ws = nullptr;

    GullyBook(int g, int s, int n, bool nonZero = true) {
        book->addSheet("Input");
        ws = &book->addSheet("Gully&Streambank");
        for (int k = 0; k < 10; ++k) ws->cells(2 + k, 28).setValue(kSoils[k]);
        for (int k = 0; k < 4; ++k) ws->cells(2 + k, 32).setValue(kRecession[k]);
        book->sheet("Input").select();
        opt.SubwatershedCount = n;
        opt.GullyCount = g;
        opt.StreambankCount = s;
        opt.applyInitialisationMode(nonZero);
        GullyStreamBank(*book, opt);
    }
    std::string text(const char* a1) const { return ws->range(a1).text(); }
    std::string text(int r, int c) const { return ws->cells(r, c).text(); }
    std::string a1(const char* cell) const { return ws->range(cell).formula(); }
    CellValue value(const char* a1) const { return ws->range(a1).value(); }
    bool hidden(int row) const {
        auto it = ws->rowInfo.find(row);
        return it != ws->rowInfo.end() && it->second.hidden;
    }
    bool columnHidden(int col) const {
        auto it = ws->colInfo.find(col);
        return it != ws->colInfo.end() && it->second.hidden;
    }
    // The list box lying over (row, col), or nullptr.
    const Control* listBoxAt(int row, int col) const {
        Range cell = ws->cells(row, col);
        for (const Control& c : ws->controls)
            if (c.left == cell.left() && c.top == cell.top()) return &c;
        return nullptr;
    }
};

std::string W(int i) { return "W" + std::to_string(i); }

struct Layout {
    int g, s, n;
    int streambankTitle, loadTitle;
};

class GullyLayout : public ::testing::TestWithParam<Layout> {};

// Titles, headers, first and last rows of the three tables and the hidden rows (the load table
// with a row above and below it, nothing else).
TEST_P(GullyLayout, TablePositionsAndHiddenRows) {
    const Layout p = GetParam();
    GullyBook b(p.g, p.s, p.n);
    Worksheet& ws = *b.ws;
    EXPECT_EQ(b.text("B10"), "1. Gully dimensions in the different watersheds");
    EXPECT_EQ(b.text("C11"), "Gully");
    EXPECT_EQ(b.text(p.streambankTitle, 2),
              "2. Impaired streambank dimensions in the different watersheds");
    EXPECT_EQ(b.text(p.streambankTitle + 1, 3), "Strm Bank");
    EXPECT_EQ(b.text(p.loadTitle, 2),
              "3. Load and load reduction (lb/year, GU=Gully; SB=Streambank) in the different "
              "watersheds");
    EXPECT_EQ(b.text(p.loadTitle + 1, 26), "SB-Sed Reduc-ncf");
    if (p.g > 0) {
        EXPECT_EQ(b.text(12, 3), "Gully1");
        EXPECT_EQ(b.text(11 + p.g, 3), "Gully" + std::to_string(p.g));
    }
    EXPECT_EQ(b.text(12 + p.g, 3), "");  // nothing below the last gully
    if (p.s > 0) {
        EXPECT_EQ(b.text(p.streambankTitle + 2, 3), "Bank1");
        EXPECT_EQ(b.text(p.streambankTitle + 1 + p.s, 3), "Bank" + std::to_string(p.s));
    }
    EXPECT_EQ(b.text(p.streambankTitle + 2 + p.s, 3), "");
    EXPECT_EQ(b.text(p.loadTitle + 2, 2), "W1");
    EXPECT_EQ(b.text(p.loadTitle + 1 + p.n, 2), W(p.n));
    EXPECT_TRUE(ws.cells(p.loadTitle + 1 + p.n, 26).hasFormula());
    EXPECT_FALSE(ws.cells(p.loadTitle + 2 + p.n, 26).hasFormula());

    const int lastHidden = p.loadTitle + p.n + 2;
    for (int r = 1; r <= lastHidden + 3; ++r)
        EXPECT_EQ(b.hidden(r), r >= p.loadTitle && r <= lastHidden) << "row " << r;
    for (int c = 1; c <= 34; ++c)
        EXPECT_EQ(b.columnHidden(c), c >= 15 && c <= 22) << "column " << c;

    // The subwatershed list AA1:AA(N), and the list boxes: two for a gully, three for a bank.
    EXPECT_EQ(b.text(1, 27), "W1");
    EXPECT_EQ(b.text(p.n, 27), W(p.n));
    EXPECT_EQ(b.text(p.n + 1, 27), "");
    EXPECT_EQ(ws.controls.size(), static_cast<size_t>(2 * p.g + 3 * p.s));
    EXPECT_EQ(b.book->activeSheetIndex(), ws.index());
    EXPECT_EQ(ws.selection(), (RangeRef{1, 1, 1, 1}));
}

INSTANTIATE_TEST_SUITE_P(Counts, GullyLayout,
                         ::testing::Values(Layout{0, 1, 3, 14, 19}, Layout{1, 1, 1, 15, 20},
                                           Layout{100, 100, 200, 114, 218},
                                           Layout{3, 0, 2, 17, 21}));

TEST(GullyStreamBank, ListBoxes) {
    GullyBook b(2, 1, 4);
    Worksheet& ws = *b.ws;
    struct Expected {
        int row, col;
        const char* list;
        const char* first;
    };
    const Expected boxes[] = {
        {12, 2, "AA1:AA4", "W1"},     {13, 2, "AA1:AA4", "W1"}, {12, 10, "AB2:AB11", "Clay"},
        {13, 10, "AB2:AB11", "Clay"}, {18, 2, "AA1:AA4", "W1"}, {18, 6, "AF2:AF5", "1. Slight"},
        {18, 10, "AB2:AB11", "Clay"},
    };
    for (const Expected& e : boxes) {
        SCOPED_TRACE(std::to_string(e.row) + "," + std::to_string(e.col));
        const Control* c = b.listBoxAt(e.row, e.col);
        ASSERT_NE(c, nullptr);
        Range cell = ws.cells(e.row, e.col);
        EXPECT_EQ(c->progId, kListBoxProgId);
        EXPECT_EQ(c->width, cell.width());
        EXPECT_EQ(c->height, cell.height());
        EXPECT_EQ(c->listFillRange, e.list);
        EXPECT_TRUE(c->autoLoad);
        EXPECT_EQ(c->backColor, Color::fromBgr(0x0000FF));
        EXPECT_EQ(c->foreColor, Color::fromBgr(0));
        EXPECT_FALSE(c->fontBold);
        EXPECT_EQ(c->listStyle, 1);
        EXPECT_EQ(c->listIndex, 0);
        EXPECT_EQ(c->linkedCell, cell.address());
        EXPECT_EQ(cell.text(), e.first);
    }
    EXPECT_EQ(b.listBoxAt(12, 6), nullptr);  // gullies have no recession category
    EXPECT_EQ(b.listBoxAt(18, 2)->list.size(), 4u);
    EXPECT_EQ(b.listBoxAt(18, 6)->list.back(), "4. Very Severe");
}

// The starting values of both modes; H, I stay, the dimensions follow the mode.
TEST(GullyStreamBank, DefaultsByInitialisationMode) {
    for (bool nonZero : {false, true}) {
        SCOPED_TRACE(nonZero ? "non-zero" : "zero");
        GullyBook b(2, 2, 1, nonZero);
        const double dim = nonZero ? 5 : 0, height = nonZero ? 100 : 0;
        for (const char* c : {"D12", "E12", "F12", "G13"})
            EXPECT_EQ(b.value(c), CellValue(dim)) << c;
        for (const char* c : {"H12", "H13"}) EXPECT_EQ(b.value(c), CellValue(1.0)) << c;
        for (const char* c : {"I12", "I13", "I18", "I19"})
            EXPECT_EQ(b.value(c), CellValue(0.95)) << c;
        EXPECT_EQ(b.value("D18"), CellValue(dim));
        EXPECT_EQ(b.value("E19"), CellValue(height));
        EXPECT_EQ(b.text("C13"), "Gully2");
        EXPECT_EQ(b.text("C19"), "Bank2");
    }
}

// G = S = N = 2: gullies 12-13, streambanks 18-19, load table rows 24-25.
TEST(GullyStreamBank, FormulaTexts) {
    GullyBook b(2, 2, 2);
    const std::pair<const char*, const char*> cells[] = {
        {"K12", "=LOOKUP(J12,AB2:AB11,AC2:AC11)"},
        {"L13", "=LOOKUP(J13,AB2:AB11,AD2:AD11)"},
        {"M12", "=IF(H12=0,0,(D12+E12)*F12*G12*K12/H12/2)"},
        {"N13", "=I13*M13"},
        {"O12", "=IF(H12=0,0,(D12+E12)*F12*G12*K12*L12/H12/2)"},
        {"P13", "=I13*O13"},
        {"G18", "=LOOKUP(F18,AF2:AF5,AG2:AG5)"},
        {"H19", "=LOOKUP(F19,AF2:AF5,AH2:AH5)"},
        {"K19", "=LOOKUP(J19,AB2:AB11,AC2:AC11)"},
        {"L18", "=LOOKUP(J18,AB2:AB11,AD2:AD11)"},
        {"M18", "=D18*E18*H18*K18"},
        {"N19", "=I19*M19"},
        {"O18", "=D18*E18*H18*K18*L18"},
        {"P19", "=I19*O19"},
        // Sums per subwatershed: gully rows 12-13, streambank rows 18-19.
        {"F24", "=2000*SUMIF(B12:B13, \"=W1\", M12:M13)"},
        {"K25", "=2000*SUMIF(B12:B13, \"=W2\", N12:N13)"},
        {"W24", "=2000*SUMIF(B12:B13, \"=W1\", O12:O13)"},
        {"X25", "=2000*SUMIF(B12:B13, \"=W2\", P12:P13)"},
        {"P24", "=2000*SUMIF(B18:B19, \"=W1\", M18:M19)"},
        {"U25", "=2000*SUMIF(B18:B19, \"=W2\", N18:N19)"},
        {"Y24", "=2000*SUMIF(B18:B19, \"=W1\", O18:O19)"},
        {"Z25", "=2000*SUMIF(B18:B19, \"=W2\", P18:P19)"},
        // Nutrients from the -ncf sediment and Input table 5 (rows 4N+36+i = 45, 46).
        {"C24", "=W24*Input!H45/100"},
        {"D24", "=W24*Input!I45/100"},
        {"E25", "=W25*Input!J46/100"},
        {"G24", "=W24*Input!K45/100*453592"},
        {"H25", "=X25*Input!H46/100"},
        {"J24", "=X24*Input!J45/100"},
        {"L25", "=X25*Input!K46/100*453592"},
        {"M24", "=Y24*Input!H45/100"},
        {"O25", "=Y25*Input!J46/100"},
        {"Q24", "=Y24*Input!K45/100*453592"},
        {"R25", "=Z25*Input!H46/100"},
        {"T24", "=Z24*Input!J45/100"},
        {"V25", "=Z25*Input!K46/100*453592"},
    };
    for (const auto& [cell, text] : cells) EXPECT_EQ(b.a1(cell), text) << cell;
    EXPECT_EQ(b.ws->range("C24").formulaR1C1(), "=RC[20]*Input!R[21]C[5]/100");
}

// With no gullies the gully sums run over the header row and the empty row below it, and with no
// streambanks likewise, so they find no subwatershed.
TEST(GullyStreamBank, SumsWithoutGulliesOrStreambanks) {
    GullyBook noGully(0, 1, 3);
    EXPECT_EQ(noGully.a1("F21"), "=2000*SUMIF(B11:B12, \"=W1\", M11:M12)");
    EXPECT_EQ(noGully.a1("P23"), "=2000*SUMIF(B16:B16, \"=W3\", M16:M16)");
    EXPECT_FALSE(noGully.ws->cells(12, 11).hasFormula());
    GullyBook noBank(1, 0, 1);
    EXPECT_EQ(noBank.a1("P21"), "=2000*SUMIF(B16:B17, \"=W1\", M16:M17)");
    EXPECT_EQ(noBank.a1("F21"), "=2000*SUMIF(B12:B12, \"=W1\", M12:M12)");
}

TEST(GullyStreamBank, HeadersFormatsAndWidths) {
    GullyBook b(2, 2, 2);
    Worksheet& ws = *b.ws;
    const char* notes[5] = {
        "For adjusting sediment nutrient content: Finer soils have larger aggregated surface area "
        "for nutrients to attach",
        "Annual sediment load without stabilization parctices",
        "Annual sediment reduction with stabilization practices",
        "Annual sediment load adjusted for nutrient calculation. BCF = Nutrient Correction Factor",
        "Annual sediment reduction adjusted for nutrient calculation. BCF = Nutrient Correction "
        "Factor"};
    // L..P of both header rows: same texts, formats and notes.
    for (int k = 0; k < 5; ++k) {
        const int col = 12 + k;
        for (int row : {11, 17}) {
            SCOPED_TRACE(std::to_string(row) + "," + std::to_string(col));
            const Comment* c = ws.cells(row, col).comment();
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->text, notes[k]);
        }
        EXPECT_EQ(ws.cells(17, col).text(), ws.cells(11, col).text());
        EXPECT_EQ(ws.cells(17, col).format(), ws.cells(11, col).format());
    }
    EXPECT_EQ(b.text("J17"), "Soil Textural Class");
    EXPECT_EQ(b.text("F17"), "Lateral Recession");
    EXPECT_EQ(b.text("G17"), "Rate Range (ft/yr)");
    for (const char* c : {"B11", "P11", "B17", "P17", "Z23"}) {
        const CellFormat& f = ws.range(c).format();
        EXPECT_TRUE(f.align.wrap) << c;
        EXPECT_EQ(f.align.horizontal, xl::Center) << c;
        EXPECT_EQ(f.align.vertical, xl::Top) << c;
    }
    for (const char* c : {"N10", "N16", "R22"})
        EXPECT_EQ(ws.range(c).format().fill.color, Color::indexed(43)) << c;
    EXPECT_EQ(ws.range("O10").format().fill.color, Color::automatic());

    const Color red = Color::fromBgr(0x0000FF);
    for (const char* c : {"C12", "G13", "J12", "C18", "F19", "J18"})
        EXPECT_EQ(ws.range(c).format().font.color, red) << c;
    EXPECT_EQ(ws.range("G18").format().font.color, Color::fromBgr(0));
    EXPECT_NE(ws.range("K12").format().font.color, red);
    for (const char* c : {"M12", "P13", "M19", "P18"})
        EXPECT_EQ(ws.range(c).format().numberFormat, "0.0000") << c;
    for (const char* c : {"C24", "V25"}) EXPECT_EQ(ws.range(c).format().numberFormat, ".00") << c;
    EXPECT_EQ(ws.range("W24").format().numberFormat, "General");

    const std::pair<int, double> widths[] = {{1, 1.5}, {2, 18}, {4, 7},   {5, 7},   {6, 18},
                                             {7, 9},   {8, 7},  {9, 9},   {10, 27}, {11, 8},
                                             {12, 10}, {13, 8}, {14, 10}, {26, 10}};
    for (const auto& [col, w] : widths) EXPECT_EQ(ws.columns(col).columnWidth(), w) << col;
}

}  // namespace
