#include "catalog.h"

#include <gtest/gtest.h>

#include "bmp_doc.h"
#include "test_support.h"

namespace combra {
namespace {

using test::RecordingSink;
using test::TempDir;

struct LineCase {
    friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.line; }
    const char* line;
    bool kept;
    const char* name1;
    const char* name2;
    Efficiencies eff;
};

class CatalogLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CatalogLineTest, Parses) {
    const LineCase& c = GetParam();
    auto entry = ParseCatalogLine(c.line);
    ASSERT_EQ(entry.has_value(), c.kept) << c.line;
    if (!entry) return;
    EXPECT_EQ(entry->name1, c.name1);
    EXPECT_EQ(entry->name2, c.name2);
    EXPECT_EQ(entry->eff, c.eff);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CatalogLineTest,
    ::testing::Values(
        LineCase{"Wetland,Constructed,0.3,0.5,ND,0.75,0.8", true, "Wetland", "Constructed",
                 {0.3f, 0.5f, 0, 0.75f, 0.8f}},
        LineCase{"Buffer,Grass,ND,ND,ND,ND,ND", true, "Buffer", "Grass", {0, 0, 0, 0, 0}},
        // One empty field: the whole line is skipped.
        LineCase{"Buffer,Grass,0.1,,0.3,0.4,0.5", false, "", "", {}},
        // Not a number gives 0; a number followed by text gives its number.
        LineCase{"A,B,abc,0.5x,-,1,0", true, "A", "B", {0, 0.5f, 0, 1, 0}},
        // Missing columns give 0; a trailing comma gives no token.
        LineCase{"A,B,0.1,0.2,", true, "A", "B", {0.1f, 0.2f, 0, 0, 0}},
        // Leading comma: runs of delimiters count as one, so name1 is "A".
        LineCase{",A,B,0.1,0.2,0.3,0.4,0.5", true, "A", "B", {0.1f, 0.2f, 0.3f, 0.4f, 0.5f}},
        // Spaces belong to names; numbers may carry leading spaces.
        LineCase{"Porous Pavement,Infiltration, 0.5, 0.6,ND,0.9,ND", true, "Porous Pavement",
                 "Infiltration", {0.5f, 0.6f, 0, 0.9f, 0}},
        // Infinity and NaN are not numbers here.
        LineCase{"A,B,inf,nan,1e-1,+0.25,0.5", true, "A", "B", {0, 0, 0.1f, 0.25f, 0.5f}},
        // Nor are numbers beyond a float's range: they would be infinite efficiencies.
        LineCase{"A,B,1e39,-1e39,0.1,1e38,0.5", true, "A", "B", {0, 0, 0.1f, 1e38f, 0.5f}}));

TEST(Catalog, SkipsHeadingStopsAtBlankLine) {
    TempDir dir;
    const auto file = dir.File("cat.csv",
                               "Name1,Name2,N,P,BOD,Sediment,EColi\r\n"
                               "  Wetland,Constructed,0.3,0.5,ND,0.75,0.8\r\n"
                               "Buffer,Grass,0.1,,0.3,0.4,0.5\r\n"
                               "Pond,Wet,0.3,0.5,0.4,0.8,0.7\r\n"
                               "   \r\n"
                               "Swale,Grass,0.1,0.2,0.3,0.4,0.5\r\n");
    RecordingSink sink;
    bool opened = false;
    const auto entries = ReadCatalog(file, &sink, &opened);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].DisplayName(), "Wetland - Constructed");
    EXPECT_EQ(entries[0].eff[kEColi], 0.8f);  // no "\r" left on the last field
    EXPECT_EQ(entries[1].DisplayName(), "Pond - Wet");
}

TEST(Catalog, MissingFileIsReportedAndLeavesTheCatalogueEmpty) {
    TempDir dir;
    RecordingSink sink;
    CBMPDoc doc(&sink);
    doc.SetCatalog({BmpCatalogEntry{"old", "entry", {}}});
    const auto path = CatalogPath(dir.path());
    EXPECT_EQ(path, dir.path() / "Support" / "allCombra.csv");
    EXPECT_FALSE(doc.LoadCatalog(path));
    EXPECT_TRUE(doc.Catalog().empty());
    EXPECT_EQ(sink.messages,
              std::vector<std::string>{"Cannot open file " + path.string() + " for reading"});
    EXPECT_EQ(doc.CatalogEntry(0), nullptr);
}

TEST(Catalog, ProgramFolderBecomesCurrentDirectory) {
    TempDir dir;
    RecordingSink sink;
    const auto before = std::filesystem::current_path();
    EXPECT_TRUE(EnterProgramFolder(dir.path(), &sink));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir.path()));
    std::filesystem::current_path(before);
    EXPECT_FALSE(EnterProgramFolder(dir.path() / "missing", &sink));
    EXPECT_EQ(sink.messages, std::vector<std::string>{"Cannot set current working directory."});
}

// The catalogue that ships: every line after the heading is an entry, with efficiencies
// as fractions.
TEST(Catalog, ShippedCatalogueIsComplete) {
    RecordingSink sink;
    CBMPDoc doc(&sink);
    ASSERT_TRUE(doc.LoadCatalog(COMBRA_CATALOG_PATH));
    const std::string text = test::ReadAll(COMBRA_CATALOG_PATH);
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(doc.Catalog().size(), lines - 1);
    EXPECT_GE(doc.Catalog().size(), 20u);
    for (const auto& e : doc.Catalog()) {
        EXPECT_FALSE(e.name1.empty());
        EXPECT_FALSE(e.name2.empty());
        for (float f : e.eff) {
            EXPECT_GE(f, 0.0f) << e.DisplayName();
            EXPECT_LE(f, 1.0f) << e.DisplayName();
        }
    }
}

}  // namespace
}  // namespace combra
