#include "model_file.h"

#include <clocale>

#include <gtest/gtest.h>

#include "bmp_doc.h"
#include "test_support.h"

namespace combra {
namespace {

using test::ReadAll;
using test::RecordingSink;
using test::TempDir;

class CountingObserver : public DocumentObserver {
public:
    void NetworkCleared() override { ++cleared; }
    void NetworkLoaded() override { ++loaded; }
    void Calculated() override { ++calculated; }
    int cleared = 0, loaded = 0, calculated = 0;
};

TEST(ModelFileLine, FormatsTabSeparatedWithSixDecimals) {
    BmpNode n;
    n.id = 3;
    n.downstreamId = -1;
    n.catalogIndex = 12;
    n.x = -70;
    n.y = 60;
    n.load = 1e16f;
    n.eff = {0.1f, 0.25f, 1.0f, 0.0f, 0.3333333f};
    EXPECT_EQ(FormatNodeLine(n),
              "3\t-1\t12\t-70\t60\t10000000272564224.000000\t0.100000\t0.250000\t1.000000\t"
              "0.000000\t0.333333\n");
}

struct ParseCase {
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.line; }
    const char* line;
    bool ok;
};

class ModelFileParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ModelFileParseTest, NeedsElevenNumbers) {
    EXPECT_EQ(ParseNodeLine(GetParam().line).has_value(), GetParam().ok) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ModelFileParseTest,
    ::testing::Values(ParseCase{"0\t1\t-1\t70\t60\t1.0\t0.1\t0.1\t0.1\t0.1\t0", true},
                      ParseCase{"0 1 -1 70 60 1.0 0.1 0.1 0.1 0.1 0", true},
                      ParseCase{"  +0 1 -1 70 60 1e1 .1 0.1 0.1 0.1 0 trailing", true},
                      ParseCase{"0 1 -1 70 60 1.0 0.1 0.1 0.1 0.1", false},     // ten
                      ParseCase{"0 1 -1 70.5 60 1.0 0.1 0.1 0.1 0.1 0", false},  // x not whole
                      ParseCase{"0 1 -1 70 60 nan 0.1 0.1 0.1 0.1 0", false},
                      ParseCase{"0 1 -1 99999999999 60 1 0.1 0.1 0.1 0.1 0", false},
                      ParseCase{"0,1,-1,70,60,1,0.1,0.1,0.1,0.1,0", false}));

TEST(ModelFileLine, ReadsTheFields) {
    auto n = ParseNodeLine("4 2 7 -10 20 30.5 0.1 0.2 0.3 0.4 0.5");
    ASSERT_TRUE(n);
    EXPECT_EQ(n->id, 4);
    EXPECT_EQ(n->downstreamId, 2);
    EXPECT_EQ(n->catalogIndex, 7);
    EXPECT_EQ(n->x, -10);
    EXPECT_EQ(n->y, 20);
    EXPECT_EQ(n->load, 30.5f);
    EXPECT_EQ(n->eff, (Efficiencies{0.1f, 0.2f, 0.3f, 0.4f, 0.5f}));
    EXPECT_EQ(n->downstream, nullptr);
    EXPECT_EQ(n->total, 1.0f);
}

// Nodes created A, B, C with C draining into A are written as 0, 1, 2 and C's downstream
// id 0, whatever ids they carried.
TEST(ModelFile, SaveRenumbersIdsToListPositions) {
    TempDir dir;
    RecordingSink sink;
    CBMPDoc doc(&sink);
    BmpNode* a = doc.AddNode(70, 60);
    BmpNode* b = doc.AddNode(210, 60);
    BmpNode* c = doc.AddNode(350, 60);
    a->id = 17;
    b->id = 5;
    c->id = 9;
    c->downstreamId = 17;
    b->downstreamId = 3;  // stale: b has no downstream node
    c->downstream = a;
    c->load = 2.5f;
    c->catalogIndex = 4;
    const auto path = dir.path() / "net.inp";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(ReadAll(path),
              "0\t-1\t-1\t70\t60\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\n"
              "1\t-1\t-1\t210\t60\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\n"
              "2\t0\t4\t350\t60\t2.500000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\n");
    EXPECT_EQ(c->id, 2);
    EXPECT_EQ(c->downstreamId, 0);
    EXPECT_EQ(doc.PathName(), path);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "net.inp.tmp"));
}

TEST(ModelFile, SaveAndOpenRoundTrip) {
    TempDir dir;
    CBMPDoc doc;
    test::RandomNetwork(doc, 300, 0.8, false, 3);
    for (auto& n : doc.Nodes()) n->catalogIndex = n->x % 5 - 1;
    const auto path = dir.path() / "round.inp";
    ASSERT_TRUE(doc.OnSaveDocument(path));

    CBMPDoc back;
    ASSERT_TRUE(back.OnOpenDocument(path));
    ASSERT_EQ(back.Nodes().size(), doc.Nodes().size());
    for (std::size_t i = 0; i < doc.Nodes().size(); ++i) {
        const BmpNode& s = *doc.Nodes()[i];
        const BmpNode& r = *back.Nodes()[i];
        EXPECT_EQ(r.id, int(i));
        EXPECT_EQ(r.x, s.x);
        EXPECT_EQ(r.catalogIndex, s.catalogIndex);
        EXPECT_EQ(back.IndexOf(r.downstream), doc.IndexOf(s.downstream));
        EXPECT_NEAR(r.load, s.load, 1e-5);
        for (int k = 0; k < kPollutantCount; ++k) EXPECT_NEAR(r.eff[k], s.eff[k], 1e-6);
    }
    // Saving what was read gives the same file.
    const auto again = dir.path() / "again.inp";
    ASSERT_TRUE(back.OnSaveDocument(again));
    EXPECT_EQ(ReadAll(again), ReadAll(path));
}

TEST(ModelFile, SpaceSeparatedOpensLikeTabSeparated) {
    TempDir dir;
    const auto tabs = dir.File("tabs.inp",
                               "0\t2\t-1\t70\t60\t10.0\t1.0\t0\t0\t0\t0\n"
                               "1\t2\t-1\t210\t60\t30.0\t0\t0\t0\t0\t0\n"
                               "2\t-1\t-1\t140\t180\t0\t0\t0\t0\t0\t0\n");
    const auto spaces = dir.File("spaces.inp",
                                 "0 2 -1 70 60 10.0 1.0 0 0 0 0\r\n"
                                 "  1   2 -1 210 60 30.0 0 0 0 0 0\r\n"
                                 "2 -1 -1 140 180 0 0 0 0 0 0\r\n");
    CBMPDoc a, b;
    ASSERT_TRUE(a.OnOpenDocument(tabs));
    ASSERT_TRUE(b.OnOpenDocument(spaces));
    ASSERT_EQ(b.Nodes().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(FormatNodeLine(*a.Nodes()[i]), FormatNodeLine(*b.Nodes()[i]));
        EXPECT_EQ(a.IndexOf(a.Nodes()[i]->downstream), b.IndexOf(b.Nodes()[i]->downstream));
    }
    EXPECT_EQ(b.Nodes()[0]->downstream, b.Nodes()[2].get());
    b.Calculate();
    EXPECT_FLOAT_EQ(b.Nodes()[2]->combined[kN], 0.25f);
    EXPECT_FLOAT_EQ(b.Nodes()[2]->total, 40.0f);
}

TEST(ModelFile, LinksGoToTheFirstNodeWithTheIdAndUnmatchedIdsLeaveOutlets) {
    TempDir dir;
    const auto path = dir.File("ids.inp",
                               "10 30 -1 0 0 1 0 0 0 0 0\n"
                               "30 99 -1 0 0 1 0 0 0 0 0\n"  // no node 99
                               "30 -1 -1 0 0 1 0 0 0 0 0\n"
                               "40 40 -1 0 0 1 0 0 0 0 0\n"  // drains into itself
                               "\n"
                               "50 10 -1 0 0 1 0 0 0 0 0\n");  // after the blank line
    CBMPDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    const auto& n = doc.Nodes();
    ASSERT_EQ(n.size(), 4u);
    EXPECT_EQ(n[0]->downstream, n[1].get());
    EXPECT_EQ(n[1]->downstream, nullptr);
    EXPECT_EQ(n[1]->downstreamId, 99);
    EXPECT_EQ(n[3]->downstream, n[3].get());
    RecordingSink sink;
    doc.SetMessageSink(&sink);
    EXPECT_FALSE(doc.Calculate());
    EXPECT_EQ(doc.Outlets(), (std::vector<BmpNode*>{n[1].get(), n[2].get()}));
}

TEST(ModelFile, OpenReplacesTheNetworkAndTakesThePath) {
    TempDir dir;
    const auto path = dir.File("two.inp", "0 1 -1 0 0 1 0 0 0 0 0\n1 -1 -1 0 0 1 0 0 0 0 0\n");
    CountingObserver observer;
    CBMPDoc doc(nullptr, &observer);
    for (int i = 0; i < 5; ++i) doc.AddNode(i, i);
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(doc.Nodes().size(), 2u);
    EXPECT_EQ(doc.PathName(), path);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.LastOpenStatus(), CBMPDoc::OpenStatus::kOpened);
    EXPECT_EQ(observer.loaded, 1);
    doc.Calculate();
    EXPECT_EQ(observer.calculated, 1);
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.Nodes().empty());
    EXPECT_TRUE(doc.Outlets().empty());
    EXPECT_TRUE(doc.PathName().empty());
    EXPECT_EQ(observer.cleared, 1);
}

// A file that cannot be opened leaves the network that was there.
TEST(ModelFile, FailedOpenKeepsThePreviousNetwork) {
    TempDir dir;
    RecordingSink sink;
    CBMPDoc doc(&sink);
    const auto mine = dir.File("mine.inp", "0 1 -1 0 0 4 0.5 0 0 0 0\n1 -1 -1 0 0 0 0.5 0 0 0 0\n");
    ASSERT_TRUE(doc.OnOpenDocument(mine));
    doc.Calculate();
    const BmpNode* first = doc.Nodes()[0].get();

    for (const auto& bad : {dir.path() / "missing.inp", dir.path()}) {
        sink.messages.clear();
        EXPECT_FALSE(doc.OnOpenDocument(bad));
        EXPECT_EQ(sink.messages,
                  std::vector<std::string>{"Cannot open file " + bad.string() + " for reading"});
        EXPECT_EQ(doc.LastOpenStatus(), CBMPDoc::OpenStatus::kCannotOpen);
        ASSERT_EQ(doc.Nodes().size(), 2u);
        EXPECT_EQ(doc.Nodes()[0].get(), first);
        EXPECT_EQ(first->downstream, doc.Nodes()[1].get());
        EXPECT_EQ(doc.Outlets().size(), 1u);
        EXPECT_EQ(doc.PathName(), mine);
    }
}

// A line with ten numbers ends reading: the nodes before it stay, without links, and the
// document no longer belongs to the file, so that saving cannot shorten it unnoticed.
TEST(ModelFile, LineReadingErrorKeepsEarlierNodesAndDetachesFromTheFile) {
    TempDir dir;
    const std::string content =
        "0\t1\t-1\t70\t60\t1.0\t0.1\t0.1\t0.1\t0.1\t0\n"
        "1\t-1\t-1\t210\t60\t1.0\t0.1\t0.1\t0.1\t0.1\t0\n"
        "2\t1\t-1\t350\t60\t1.0\t0.1\t0.1\t0.1\t0.1\n"
        "3\t1\t-1\t490\t60\t1.0\t0.1\t0.1\t0.1\t0.1\t0\n";
    const auto path = dir.File("short.inp", content);
    RecordingSink sink;
    CountingObserver observer;
    CBMPDoc doc(&sink, &observer);
    doc.SetPathName(dir.path() / "earlier.inp");

    EXPECT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(sink.messages, std::vector<std::string>{
                                 "Line reading error: 2\t1\t-1\t350\t60\t1.0\t0.1\t0.1\t0.1\t0.1"});
    EXPECT_EQ(doc.LastOpenStatus(), CBMPDoc::OpenStatus::kLineError);
    ASSERT_EQ(doc.Nodes().size(), 2u);
    EXPECT_EQ(doc.Nodes()[0]->downstreamId, 1);
    EXPECT_EQ(doc.Nodes()[0]->downstream, nullptr);
    EXPECT_TRUE(doc.PathName().empty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(observer.loaded, 1);  // the view must drop the old nodes
    EXPECT_EQ(ReadAll(path), content);
}

TEST(ModelFile, SaveFailureIsReportedAndKeepsTheDocumentState) {
    TempDir dir;
    RecordingSink sink;
    CBMPDoc doc(&sink);
    doc.AddNode(0, 0);
    doc.SetModifiedFlag();
    const auto path = dir.path() / "no" / "such" / "folder.inp";
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(sink.messages,
              std::vector<std::string>{"Cannot open file " + path.string() + " for writing"});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.PathName().empty());
}

TEST(ModelFile, SaveReplacesAnExistingFileThroughItsLink) {
    TempDir dir;
    const auto real = dir.File("real.inp", "old contents\n");
    const auto link = dir.path() / "link.inp";
    std::filesystem::create_symlink(real, link);
    CBMPDoc doc;
    doc.AddNode(1, 2);
    ASSERT_TRUE(doc.OnSaveDocument(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadAll(real),
              "0\t-1\t-1\t1\t2\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\n");
}

// The file format does not follow the C locale (the Qt program sets it from the user's
// environment, where the decimal mark may be a comma).
TEST(ModelFile, FormatIgnoresTheCLocale) {
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"})
        if ((found = std::setlocale(LC_NUMERIC, name))) break;
    if (!found) GTEST_SKIP() << "no locale with a decimal comma installed";
    BmpNode n;
    n.load = 2.5f;
    const std::string line = FormatNodeLine(n);
    auto back = ParseNodeLine(line);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_NE(line.find("2.500000"), std::string::npos);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->load, 2.5f);
}

TEST(Document, RemoveNodeClearsLinksToIt) {
    CBMPDoc doc;
    for (int i = 0; i < 3; ++i) doc.AddNode(i, 0);
    test::Link(doc, 0, 1);
    test::Link(doc, 2, 1);
    doc.Nodes()[2]->linkSelected = true;
    doc.Calculate();
    BmpNode* a = doc.Nodes()[0].get();
    BmpNode* c = doc.Nodes()[2].get();
    doc.RemoveNodeAt(1);
    ASSERT_EQ(doc.Nodes().size(), 2u);
    EXPECT_EQ(a->downstream, nullptr);
    EXPECT_EQ(c->downstream, nullptr);
    EXPECT_FALSE(c->linkSelected);
    EXPECT_EQ(doc.IndexOf(c), 1);
    EXPECT_EQ(doc.IndexOf(nullptr), -1);
    EXPECT_TRUE(doc.Outlets().empty());
}

}  // namespace
}  // namespace combra
