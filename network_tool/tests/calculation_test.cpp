#include <array>
#include <cstring>
#include <map>

#include <gtest/gtest.h>

#include "bmp_doc.h"
#include "test_support.h"

namespace combra {
namespace {

using test::Link;
using test::RecordingSink;

struct NodeSpec {
    float load;
    Efficiencies eff;
    int downstream;  // index, -1 none
};

struct Expected {
    int node;
    float total;
    Efficiencies combined;
};

struct NetworkCase {
    friend void PrintTo(const NetworkCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    std::vector<NodeSpec> nodes;
    std::vector<Expected> expected;
};

class CombinationTest : public ::testing::TestWithParam<NetworkCase> {};

TEST_P(CombinationTest, GivesTheLoadWeightedEfficiencies) {
    const NetworkCase& c = GetParam();
    RecordingSink sink;
    CBMPDoc doc(&sink);
    for (const auto& given : c.nodes) {
        BmpNode* n = doc.AddNode(0, 0);
        n->load = given.load;
        n->eff = given.eff;
    }
    for (std::size_t i = 0; i < c.nodes.size(); ++i) Link(doc, int(i), c.nodes[i].downstream);

    EXPECT_TRUE(doc.Calculate());
    EXPECT_TRUE(sink.messages.empty());
    for (const auto& e : c.expected) {
        const BmpNode& n = *doc.Nodes()[e.node];
        EXPECT_FLOAT_EQ(n.total, e.total) << "node " << e.node;
        for (int k = 0; k < kPollutantCount; ++k)
            EXPECT_FLOAT_EQ(n.combined[k], e.combined[k]) << "node " << e.node << " k " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Networks, CombinationTest,
    ::testing::Values(
        NetworkCase{"SingleNode",
                    {{10, {0.5f, 0.4f, 0.3f, 0.2f, 0.1f}, -1}},
                    {{0, 10, {0.5f, 0.4f, 0.3f, 0.2f, 0.1f}}}},
        // U (load 10, N 0.5) into D (load 0, N 0.5): a quarter of U's N passes D.
        NetworkCase{"Series",
                    {{10, {0.5f, 0, 0, 0, 0}, 1}, {0, {0.5f, 0, 0, 0, 0}, -1}},
                    {{1, 10, {0.75f, 0, 0, 0, 0}}}},
        // Loads 10 (N 1.0) and 30 (N 0.0) into O (load 0, eff 0).
        NetworkCase{"Parallel",
                    {{10, {1.0f, 0, 0, 0, 0}, 2}, {30, {0, 0, 0, 0, 0}, 2}, {0, {}, -1}},
                    {{2, 40, {0.25f, 0, 0, 0, 0}}}},
        NetworkCase{"ZeroLoadLeafKeepsItsEfficiencies",
                    {{0, {0.3f, 0.6f, 0.9f, 0.1f, 1.0f}, -1}},
                    {{0, 0, {0.3f, 0.6f, 0.9f, 0.1f, 1.0f}}}},
        // Nothing reaches the outlet: the passing fraction is 1, combined 0.
        NetworkCase{"ZeroLoadsIntoZeroLoadOutlet",
                    {{0, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f}, 2},
                     {0, {0.2f, 0.2f, 0.2f, 0.2f, 0.2f}, 2},
                     {0, {0.9f, 0.9f, 0.9f, 0.9f, 0.9f}, -1}},
                    {{2, 0, {0, 0, 0, 0, 0}}}},
        // The outlet's own load is treated too: (1-0.5)*((1-0.5)*10 + 10) / 20.
        NetworkCase{"OutletWithOwnLoad",
                    {{10, {0.5f, 0, 0, 0, 0}, 1}, {10, {0.5f, 0, 0, 0, 0}, -1}},
                    {{1, 20, {0.625f, 0, 0, 0, 0}}}},
        // A tree two levels deep, listed outlet first.
        NetworkCase{"ChainListedOutletFirst",
                    {{0, {0.5f, 0, 0, 0, 0}, -1}, {0, {0.5f, 0, 0, 0, 0}, 0},
                     {8, {0.5f, 0, 0, 0, 0}, 1}},
                    {{0, 8, {0.875f, 0, 0, 0, 0}}, {1, 8, {0.75f, 0, 0, 0, 0}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Calculation, LoopIsReportedAndKeepsItsValuesWhileTheRestIsComputed) {
    RecordingSink sink;
    CBMPDoc doc(&sink);
    for (int i = 0; i < 4; ++i) {
        BmpNode* n = doc.AddNode(0, 0);
        n->load = 10.0f * float(i + 1);
        n->eff = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
        n->total = 123.0f;
        n->combined = {0.9f, 0.8f, 0.7f, 0.6f, 0.5f};
    }
    Link(doc, 0, 1);  // 0 and 1 drain into each other
    Link(doc, 1, 0);
    Link(doc, 3, 0);  // 3 drains into the loop; 2 is unrelated

    EXPECT_FALSE(doc.Calculate());
    EXPECT_TRUE(doc.LoopFound());
    EXPECT_EQ(sink.messages, std::vector<std::string>{"CIRCLE!"});
    for (int i : {0, 1}) {
        EXPECT_FALSE(doc.Nodes()[i]->processed);
        EXPECT_EQ(doc.Nodes()[i]->total, 123.0f);
        EXPECT_EQ(doc.Nodes()[i]->combined, (Efficiencies{0.9f, 0.8f, 0.7f, 0.6f, 0.5f}));
    }
    for (int i : {2, 3}) {
        EXPECT_TRUE(doc.Nodes()[i]->processed);
        EXPECT_EQ(doc.Nodes()[i]->total, doc.Nodes()[i]->load);
        EXPECT_EQ(doc.Nodes()[i]->combined, doc.Nodes()[i]->eff);
    }
    EXPECT_EQ(doc.Outlets(), std::vector<BmpNode*>{doc.Nodes()[2].get()});
    EXPECT_EQ(doc.Ordered().size(), 2u);

    // Mending the loop clears the flag on the next run.
    Link(doc, 1, -1);
    EXPECT_TRUE(doc.Calculate());
    EXPECT_FALSE(doc.LoopFound());
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(Calculation, NodeDrainingIntoItselfIsALoop) {
    RecordingSink sink;
    CBMPDoc doc(&sink);
    doc.AddNode(0, 0)->load = 5;
    Link(doc, 0, 0);
    EXPECT_FALSE(doc.Calculate());
    EXPECT_EQ(sink.messages, std::vector<std::string>{"CIRCLE!"});
    EXPECT_EQ(doc.Nodes()[0]->total, 1.0f);  // initial value kept
    EXPECT_TRUE(doc.Outlets().empty());
}

TEST(Calculation, EmptyNetworkIsNoLoop) {
    RecordingSink sink;
    CBMPDoc doc(&sink);
    EXPECT_TRUE(doc.Calculate());
    EXPECT_TRUE(sink.messages.empty());
}

// Sums are taken in double precision: sixteen loads of 1 added to 2^24 all count,
// though each would vanish in a float sum.
TEST(Calculation, SumsInDoublePrecision) {
    CBMPDoc doc;
    BmpNode* outlet = doc.AddNode(0, 0);
    doc.AddNode(0, 0)->load = 16777216.0f;
    for (int i = 0; i < 16; ++i) doc.AddNode(0, 0)->load = 1.0f;
    for (std::size_t i = 1; i < doc.Nodes().size(); ++i) doc.Nodes()[i]->downstream = outlet;
    doc.Calculate();
    EXPECT_EQ(outlet->total, 16777232.0f);
}

// Straightforward repeated-pass ordering and combination, as a reference for the
// linear one. Returns the nodes left unordered (on loops).
std::vector<BmpNode*> ReferenceCalculate(CBMPDoc& doc) {
    std::map<BmpNode*, std::vector<BmpNode*>> up;
    std::vector<BmpNode*> outlets, ordered;
    std::map<BmpNode*, bool> done;
    for (auto& n : doc.Nodes()) {
        if (n->downstream)
            up[n->downstream].push_back(n.get());
        else
            outlets.push_back(n.get());
    }
    std::size_t lastBlocked = doc.Nodes().size();
    while (true) {
        std::size_t blocked = 0;
        for (auto& n : doc.Nodes()) {
            if (done[n.get()]) continue;
            bool ready = true;
            for (BmpNode* u : up[n.get()]) ready = ready && done[u];
            if (ready) {
                done[n.get()] = true;
                ordered.push_back(n.get());
            } else {
                ++blocked;
            }
        }
        if (blocked == 0 || blocked >= lastBlocked) break;
        lastBlocked = blocked;
    }
    auto combine = [&](BmpNode* n) {
        const auto& ups = up[n];
        if (ups.empty()) {
            n->total = n->load;
            n->combined = n->eff;
            return;
        }
        double s = 0;
        double a[5] = {};
        for (BmpNode* u : ups) {
            s += u->total;
            for (int k = 0; k < 5; ++k) a[k] += (1 - double(u->combined[k])) * u->total;
        }
        const double t = s + n->load;
        for (int k = 0; k < 5; ++k) {
            double p = (1 - double(n->eff[k])) * (a[k] + n->load);
            p = t != 0 ? p / t : 1.0;
            n->combined[k] = float(1 - p);
        }
        n->total = float(t);
    };
    for (BmpNode* n : ordered) combine(n);
    for (BmpNode* n : outlets) combine(n);
    std::vector<BmpNode*> left;
    for (auto& n : doc.Nodes())
        if (!done[n.get()]) left.push_back(n.get());
    return left;
}

struct Snapshot {
    std::vector<float> totals;
    std::vector<Efficiencies> combined;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CBMPDoc& doc) {
    Snapshot s;
    for (const auto& n : doc.Nodes()) {
        s.totals.push_back(n->total);
        s.combined.push_back(n->combined);
    }
    return s;
}

TEST(Calculation, AgreesWithRepeatedPassesOnRandomNetworks) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const bool acyclic = seed % 2 == 0;
        CBMPDoc doc;
        test::RandomNetwork(doc, 200, 0.9, acyclic, seed);

        const std::vector<BmpNode*> left = ReferenceCalculate(doc);
        const Snapshot expected = Take(doc);
        for (auto& n : doc.Nodes()) {  // forget the results
            n->total = 1.0f;
            n->combined = {};
        }

        EXPECT_EQ(doc.Calculate(), left.empty()) << "seed " << seed;
        EXPECT_EQ(Take(doc), expected) << "seed " << seed;
        EXPECT_EQ(doc.Ordered().size() + left.size(), doc.Nodes().size());
        for (BmpNode* n : left) EXPECT_FALSE(n->processed);
        if (acyclic) {
            EXPECT_TRUE(left.empty());
        }

        // Every node follows the nodes draining into it.
        std::map<const BmpNode*, std::size_t> at;
        for (std::size_t i = 0; i < doc.Ordered().size(); ++i) at[doc.Ordered()[i]] = i;
        for (const BmpNode* n : doc.Ordered())
            for (const BmpNode* u : n->upstream) EXPECT_LT(at.at(u), at.at(n));
    }
}

TEST(Calculation, RunningTwiceGivesTheSameResults) {
    CBMPDoc doc;
    test::RandomNetwork(doc, 500, 0.8, true, 7);
    doc.Calculate();
    const Snapshot first = Take(doc);
    const auto outlets = doc.Outlets();
    doc.Calculate();
    EXPECT_EQ(Take(doc), first);
    EXPECT_EQ(doc.Outlets(), outlets);
}

TEST(Calculation, RebuildsUpstreamListsAndOutletsInListOrder) {
    CBMPDoc doc;
    for (int i = 0; i < 4; ++i) doc.AddNode(0, 0);
    Link(doc, 3, 1);
    Link(doc, 0, 1);
    Link(doc, 1, -1);
    doc.Calculate();
    const auto& nodes = doc.Nodes();
    EXPECT_EQ(nodes[1]->upstream, (std::vector<BmpNode*>{nodes[0].get(), nodes[3].get()}));
    EXPECT_EQ(doc.Outlets(), (std::vector<BmpNode*>{nodes[1].get(), nodes[2].get()}));

    Link(doc, 3, -1);  // edits between runs are picked up
    doc.Calculate();
    EXPECT_EQ(nodes[1]->upstream, std::vector<BmpNode*>{nodes[0].get()});
    EXPECT_EQ(doc.Outlets().size(), 3u);
}

}  // namespace
}  // namespace combra
