// The three framed-table procedures, checked cell by cell on the model.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "workbook/formula/formula.h"
#include "workbook/model/workbook.h"
#include "workbook/ooxml/package.h"
#include "workbook/tables.h"

using namespace wb;

namespace {

struct Tables : ::testing::Test {
    Workbook book;
    Worksheet& ws = book.addSheet("Land&Rain");

    std::string text(int r, int c) { return ws.cells(r, c).text(); }
    const CellFormat& fmt(int r, int c) { return ws.cells(r, c).format(); }
    bool merged(int r, int c1, int c2) {
        const RangeRef* m = ws.mergeAt(r, c1);
        return m && *m == RangeRef{r, c1, r, c2};
    }
    bool grey(int r, int c) {
        const Fill& f = fmt(r, c).fill;
        return f.pattern == xl::Solid && f.color == Color::indexed(15);
    }
    bool band(int r, int c) {
        const Fill& f = fmt(r, c).fill;
        return f.pattern == xl::Solid && f.color == Color::indexed(43) && fmt(r, c).font.bold;
    }
    bool fullGrid(int r, int c) {
        const CellFormat& f = fmt(r, c);
        for (const Border* b : {&f.left, &f.right, &f.top, &f.bottom})
            if (b->lineStyle != xl::Continuous || b->weight != xl::Thin ||
                b->color != Color::automatic())
                return false;
        return f.diagonalDown.lineStyle == xl::None && f.diagonalUp.lineStyle == xl::None;
    }
};

std::vector<std::string> headers(int n) {
    std::vector<std::string> h{"Watershed"};
    for (int j = 1; j < n; ++j) h.push_back("H" + std::to_string(j));
    return h;
}

TEST_F(Tables, VeskWithElevenMergedColumns) {
    // Header row 5, label column B (2): block B5:L8, N = 3.
    CreateTableVesk(ws, "Table 2", headers(6), 5, 2, 4, 11, true, false);

    EXPECT_EQ(text(5, 2), "Watershed");
    for (int j = 1; j <= 5; ++j) {
        // Pair j is columns C0 + 2j - 1 and C0 + 2j, one merged cell in every row, showing
        // header j (written into its right cell, kept by the merge).
        int left = 2 + 2 * j - 1;
        EXPECT_TRUE(merged(5, left, left + 1)) << j;
        EXPECT_TRUE(merged(8, left, left + 1)) << j;
        EXPECT_EQ(text(5, left), "H" + std::to_string(j));
    }
    EXPECT_EQ(ws.mergeAt(6, 2), nullptr);  // the label column is never merged
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(text(5 + i, 2), "W" + std::to_string(i));
    EXPECT_EQ(text(9, 2), "");

    // Grid over B5:L8 only; header row grey, bold and wrapped; band B4:I4.
    EXPECT_TRUE(fullGrid(5, 2));
    EXPECT_TRUE(fullGrid(8, 12));
    EXPECT_FALSE(fullGrid(9, 2));
    EXPECT_TRUE(grey(5, 12) && fmt(5, 12).font.bold && fmt(5, 12).align.wrap);
    EXPECT_FALSE(grey(6, 2));
    EXPECT_EQ(text(4, 2), "Table 2");
    EXPECT_TRUE(band(4, 2) && band(4, 9));
    EXPECT_FALSE(band(4, 10));
}

TEST_F(Tables, VeskRowSumSitsWhereTheLastColumnShows) {
    // Label column B, header row 5, N = 3. Unmerged, the sum is in the last column; with the
    // last column merged into a pair it is in the pair's left cell, the one that shows.
    struct Case {
        int c;
        bool merge;
        int sumCol;
        const char* row6;
        const char* row8;
    } cases[] = {
        {11, false, 12, "=SUM(B6:J6)", "=SUM(B8:J8)"},   // B..L, sum in L
        {11, true, 11, "=SUM(A6:I6)", "=SUM(A8:I8)"},    // pairs C:D..K:L, sum in K
        {13, true, 13, "=SUM(C6:K6)", "=SUM(C8:K8)"},    // pairs C:D..M:N, sum in M = C..K
        {12, true, 13, "=SUM(C6:K6)", "=SUM(C8:K8)"},    // even c: last column M is a left cell
    };
    for (const Case& k : cases) {
        Workbook b;
        Worksheet& s = b.addSheet("S");
        CreateTableVesk(s, "T", headers(k.c / 2 + 1), 5, 2, 4, k.c, k.merge, true);
        SCOPED_TRACE(std::to_string(k.c) + (k.merge ? " merged" : ""));
        EXPECT_EQ(s.cells(6, k.sumCol).formula(), k.row6);
        EXPECT_EQ(s.cells(8, k.sumCol).formula(), k.row8);
        EXPECT_EQ(s.cells(8, k.sumCol).formulaR1C1(), "=SUM(RC[-10]:RC[-2])");
        EXPECT_FALSE(s.cells(5, k.sumCol).hasFormula());
        EXPECT_FALSE(s.cells(9, k.sumCol).hasFormula());
        int formulas = 0;
        s.forEachCell([&](int, const Cell& c) { formulas += c.type == CellType::Formula; });
        EXPECT_EQ(formulas, 3);  // nothing in the hidden right cell of a pair
    }
}

TEST_F(Tables, VeskWithOneSubwatershedHasOneRowAndNoSpill) {
    CreateTableVesk(ws, "T", headers(6), 3, 1, 2, 11, false, true);
    EXPECT_EQ(text(4, 1), "W1");
    EXPECT_EQ(ws.range("K4").formula(), "=SUM(A4:I4)");
    EXPECT_EQ(text(5, 1), "");
    EXPECT_EQ(ws.find(5, 11), nullptr);
    EXPECT_TRUE(ws.merges.empty());
}

TEST_F(Tables, VeskWithoutSumFillsTheLastColumnDownEmpty) {
    // Whatever a builder left in the last column's first data cell is carried down by the fill.
    ws.cells(5, 6).setValue(7);
    CreateTableVesk(ws, "T", headers(3), 4, 2, 5, 5, false, false);
    EXPECT_EQ(ws.cells(8, 6).value(), CellValue(7.0));
    EXPECT_FALSE(ws.cells(5, 6).hasFormula());
}

TEST_F(Tables, VeskWithEvenColumnCountPutsLastHeaderRightOfTheBlock) {
    // c = 4: block C2:F4 (columns 3..6), headers at columns 3, 5 and 7.
    CreateTableVesk(ws, "T", {"a", "b", "c"}, 2, 3, 3, 4, false, false);
    EXPECT_EQ(text(2, 3), "a");
    EXPECT_EQ(text(2, 5), "b");
    EXPECT_EQ(text(2, 7), "c");
    EXPECT_TRUE(grey(2, 6));
    EXPECT_FALSE(grey(2, 7));
    EXPECT_FALSE(fullGrid(2, 7));
    EXPECT_TRUE(ws.merges.empty());

    // Merged, the pair (6, 7) reaches out of the block and takes that header in.
    Worksheet& other = book.addSheet("Other");
    CreateTableVesk(other, "T", {"a", "b", "c"}, 2, 3, 3, 4, true, false);
    ASSERT_NE(other.mergeAt(2, 7), nullptr);
    EXPECT_EQ(*other.mergeAt(2, 7), (RangeRef{2, 6, 2, 7}));
    EXPECT_EQ(other.cells(2, 6).text(), "c");
}

TEST_F(Tables, Vesk2WithFourColumnsHasFiveHeadersAndTwoPairs) {
    CreateTableVesk2(ws, "T", {"WS", "p", "q", "r", "s"}, 10, 1, 3, 4, true);
    // Five columns A..E; after the merge the pairs show their left cell's header.
    EXPECT_EQ(text(10, 1), "WS");
    EXPECT_TRUE(merged(10, 2, 3));
    EXPECT_TRUE(merged(12, 4, 5));
    EXPECT_EQ(text(10, 2), "p");
    EXPECT_EQ(text(10, 4), "r");
    EXPECT_EQ(text(11, 1), "W1");
    EXPECT_EQ(text(12, 1), "W2");
    EXPECT_TRUE(fullGrid(12, 5));
    EXPECT_TRUE(grey(10, 5));
    EXPECT_FALSE(grey(10, 6));
    EXPECT_TRUE(band(9, 8));
    EXPECT_FALSE(band(9, 9));
    // No sum column.
    ws.forEachCell([](int, const Cell& c) { EXPECT_NE(c.type, CellType::Formula); });

    Worksheet& plain = book.addSheet("Plain");
    CreateTableVesk2(plain, "T", {"WS", "p", "q", "r", "s"}, 10, 1, 3, 4, false);
    EXPECT_TRUE(plain.merges.empty());
    EXPECT_EQ(plain.cells(10, 3).text(), "q");
}

TEST_F(Tables, DunloTakesRowLabelsFromIndexOneAndDrawsAFourColumnBand) {
    CreateTableDunlo(ws, "Reference", {"never read", "Beef", "Dairy"}, {"Animal", "Mass"}, 6, 2, 3,
                     2);
    EXPECT_EQ(text(7, 2), "Beef");
    EXPECT_EQ(text(8, 2), "Dairy");
    ws.forEachCell([&](int, const Cell& c) {
        if (c.type == CellType::Text) {
            EXPECT_NE(book.strings().get(c.text), "never read");
        }
    });
    EXPECT_EQ(text(6, 2), "Animal");
    EXPECT_EQ(text(6, 3), "Mass");
    EXPECT_TRUE(fullGrid(8, 3));
    EXPECT_FALSE(fullGrid(8, 4));
    EXPECT_TRUE(grey(6, 3) && !fmt(6, 3).align.wrap);
    EXPECT_TRUE(band(5, 5));
    EXPECT_FALSE(band(5, 6));
    EXPECT_TRUE(ws.merges.empty());

    // A label list shorter than the table is an error, not a read past its end.
    EXPECT_THROW(CreateTableDunlo(ws, "T", {"", "only"}, {"a", "b"}, 20, 2, 3, 2), WorkbookError);
}

TEST_F(Tables, TextsAreFormulaTextAndShortHeaderListsFail) {
    // A header beginning with "=" becomes a formula; a number text a number.
    CreateTableVesk2(ws, "=R1C1", {"=R1C1&\"x\"", "12"}, 3, 1, 2, 1, false);
    EXPECT_EQ(ws.range("A3").formula(), "=$A$1&\"x\"");
    EXPECT_EQ(ws.range("A2").formula(), "=$A$1");
    EXPECT_EQ(ws.cells(3, 2).value(), CellValue(12.0));

    EXPECT_THROW(CreateTableVesk(ws, "T", headers(5), 10, 1, 3, 11, true, true), WorkbookError);
    EXPECT_THROW(CreateTableVesk2(ws, "T", headers(4), 10, 1, 3, 4, true), WorkbookError);
}

// The three tables survive the file: written, read back, and the same on the model.
TEST(TablesInAFile, WrittenAndReadBack) {
    std::filesystem::create_directories(KAVRO_TEST_TMP);
    const std::string path = std::string(KAVRO_TEST_TMP) + "/tables.xlsm";
    {
        Workbook book;
        Worksheet& ws = book.addSheet("Land&Rain");
        CreateTableVesk(ws, "Vesk", headers(7), 4, 2, 3, 13, true, true);
        CreateTableVesk2(ws, "Vesk2", {"WS", "p", "q", "r", "s"}, 10, 2, 2, 4, true);
        CreateTableDunlo(ws, "Dunlo", {"", "Beef", "Dairy"}, {"Animal", "Mass"}, 15, 2, 3, 2);
        ooxml::saveWorkbook(book, path);
    }
    auto book = ooxml::openWorkbook(path);
    Worksheet& ws = book->sheet("Land&Rain");
    EXPECT_EQ(ws.range("M5").formula(), "=SUM(C5:K5)");
    EXPECT_EQ(ws.range("M6").formula(), "=SUM(C6:K6)");
    EXPECT_EQ(ws.find(5, 14) ? ws.find(5, 14)->type : CellType::Empty, CellType::Empty);
    ASSERT_NE(ws.mergeAt(6, 14), nullptr);
    EXPECT_EQ(*ws.mergeAt(6, 14), (RangeRef{6, 13, 6, 14}));
    EXPECT_EQ(*ws.mergeAt(10, 5), (RangeRef{10, 5, 10, 6}));
    EXPECT_EQ(ws.range("G4").text(), "H3");
    EXPECT_EQ(ws.range("B6").text(), "W2");
    EXPECT_EQ(ws.range("B3").text(), "Vesk");
    EXPECT_EQ(ws.range("B17").text(), "Dairy");
    EXPECT_EQ(ws.range("C15").text(), "Mass");
    const CellFormat& band = ws.range("I3").format();
    EXPECT_EQ(band.fill.color, Color::indexed(43));
    EXPECT_TRUE(band.font.bold);
    EXPECT_EQ(ws.range("J3").format().fill.pattern, xl::None);
    EXPECT_EQ(ws.range("E14").format().fill.color, Color::indexed(43));
    EXPECT_EQ(ws.range("F14").format().fill.pattern, xl::None);
    const CellFormat& head = ws.range("F10").format();
    EXPECT_EQ(head.fill.color, Color::indexed(15));
    EXPECT_TRUE(head.align.wrap);
    const CellFormat& corner = ws.range("N6").format();
    EXPECT_EQ(corner.right.lineStyle, xl::Continuous);
    EXPECT_EQ(corner.bottom.weight, xl::Thin);
}

}  // namespace
