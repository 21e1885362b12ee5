#include "view_rules.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

namespace combra::view {
namespace {

// A document with nodes centred at the given points.
struct Net {
    CBMPDoc doc;
    explicit Net(std::initializer_list<Point> centres) {
        for (Point c : centres) doc.AddNode(c.x, c.y);
    }
    BmpNode& operator[](std::size_t i) { return *doc.Nodes()[i]; }
    CBMPDoc::NodeList& nodes() { return doc.Nodes(); }
};

TEST(ViewGeometry, RectanglesOfANode) {
    Net net{{200, 300}};
    EXPECT_EQ(NodeBox(net[0]), (Rect{140, 250, 260, 350}));
    EXPECT_EQ(InnerPanel(net[0]), (Rect{145, 255, 255, 345}));
    EXPECT_EQ(NodeHitBox(net[0]), (Rect{138, 248, 262, 352}));
    EXPECT_EQ(ResultTextOrigin(net[0]), (Point{140, 355}));
    EXPECT_EQ(ResultHitArea(net[0]), (Rect{140, 355, 262, 452}));
}

TEST(ViewHitTest, NodeBoxResultLinesAndMisses) {
    Net net{{200, 300}};
    struct Case {
        Point p;
        HitKind kind;
        int line;
    };
    const std::vector<Case> cases = {
        {{138, 248}, HitKind::kNode, 0},        // hit box corner is inside
        {{261, 351}, HitKind::kNode, 0},        // last pixel inside
        {{262, 300}, HitKind::kNone, 0},        // right edge is outside
        {{137, 300}, HitKind::kNone, 0},
        {{140, 351}, HitKind::kNode, 0},
        {{140, 353}, HitKind::kNone, 0},        // gap between the box and the result text
        {{140, 355}, HitKind::kResultLine, 1},  // first pixel of the first line
        {{200, 370}, HitKind::kResultLine, 1},
        {{200, 371}, HitKind::kResultLine, 2},
        {{200, 403}, HitKind::kResultLine, 4},
        {{200, 435}, HitKind::kResultLine, 6},  // E. coli line
        {{200, 450}, HitKind::kResultLine, 6},
        {{200, 451}, HitKind::kResultLine, 0},  // below the sixth line: line unset
        {{200, 452}, HitKind::kNone, 0},
        {{261, 360}, HitKind::kResultLine, 1},
        {{139, 360}, HitKind::kNone, 0},
    };
    for (const auto& c : cases) {
        const Hit hit = HitTest(net.nodes(), c.p);
        EXPECT_EQ(hit.kind, c.kind) << c.p.x << "," << c.p.y;
        EXPECT_EQ(hit.line, c.line) << c.p.x << "," << c.p.y;
        if (c.kind != HitKind::kNone) {
            EXPECT_EQ(hit.node, &net[0]);
        }
    }
}

TEST(ViewHitTest, NodeBoxesAreTestedBeforeAnyResultArea) {
    // A's result area overlaps B's box, B is later in the list: the box still wins.
    Net net{{200, 200}, {200, 330}};
    const Hit hit = HitTest(net.nodes(), {200, 290});
    EXPECT_EQ(hit.kind, HitKind::kNode);
    EXPECT_EQ(hit.node, &net[1]);
    // Two overlapping boxes: the first in list order.
    Net overlap{{100, 100}, {120, 100}};
    EXPECT_EQ(HitTest(overlap.nodes(), {110, 100}).node, &overlap[0]);
}

TEST(ViewClick, TwoPixelRule) {
    struct Case {
        Point press, release;
        bool click;
    };
    const std::vector<Case> cases = {
        {{10, 10}, {10, 10}, true},  {{10, 10}, {11, 11}, true}, {{10, 10}, {9, 9}, true},
        {{10, 10}, {12, 10}, false}, {{10, 10}, {10, 8}, false}, {{-1, -1}, {0, 0}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsClick(c.press, c.release), c.click)
            << c.press.x << "," << c.press.y << " -> " << c.release.x << "," << c.release.y;
    }
}

TEST(ViewClick, ShiftKeepsSelectionsAndPlainClickOnEmptySpaceClearsAll) {
    Net net{{100, 100}, {400, 100}};
    net[0].downstream = &net[1];

    ApplyClick(net.nodes(), {100, 100}, false);
    EXPECT_TRUE(net[0].selected);
    EXPECT_FALSE(net[1].selected);

    ApplyClick(net.nodes(), {400, 100}, true);
    EXPECT_TRUE(net[0].selected);
    EXPECT_TRUE(net[1].selected);

    // The link runs from (160,100) to (340,100): a shift-click on it adds it.
    ApplyClick(net.nodes(), {250, 101}, true);
    EXPECT_TRUE(net[0].selected && net[1].selected && net[0].linkSelected);

    ApplyClick(net.nodes(), {400, 100}, false);  // plain click: only B
    EXPECT_FALSE(net[0].selected);
    EXPECT_TRUE(net[1].selected);
    EXPECT_FALSE(net[0].linkSelected);

    ApplyClick(net.nodes(), {250, 101}, false);
    EXPECT_TRUE(net[0].linkSelected);
    EXPECT_FALSE(net[1].selected);

    ApplyClick(net.nodes(), {250, 400}, false);  // empty space
    EXPECT_FALSE(net[0].selected || net[1].selected || net[0].linkSelected);
}

TEST(ViewClick, LinkIsSelectedBelowTwoPixels) {
    Net net{{100, 100}, {400, 100}};
    net[0].downstream = &net[1];
    struct Case {
        Point p;
        bool selected;
    };
    // Segment (160,100)-(340,100).
    const std::vector<Case> cases = {
        {{250, 100}, true}, {{250, 101}, true},  {{250, 102}, false}, {{250, 98}, false},
        {{341, 100}, true}, {{342, 100}, false}, {{159, 101}, true},  {{158, 101}, false},
    };
    for (const auto& c : cases) {
        ApplyClick(net.nodes(), c.p, false);
        EXPECT_EQ(net[0].linkSelected, c.selected) << c.p.x << "," << c.p.y;
    }
}

TEST(ViewGeometry, DistanceToSegment) {
    const Segment s{{0, 0}, {10, 0}};
    EXPECT_DOUBLE_EQ(DistanceToSegment({5, 3}, s), 3.0);     // foot on the segment
    EXPECT_DOUBLE_EQ(DistanceToSegment({13, 4}, s), 5.0);    // beyond the far end
    EXPECT_DOUBLE_EQ(DistanceToSegment({-3, -4}, s), 5.0);   // before the near end
    EXPECT_NEAR(DistanceToSegment({0, 10}, {{0, 0}, {10, 10}}), std::sqrt(50.0), 1e-12);
    EXPECT_DOUBLE_EQ(DistanceToSegment({3, 4}, {{0, 0}, {0, 0}}), 5.0);  // a point segment
}

TEST(ViewGeometry, LinkSegmentLeavesAndEntersTheFacingSides) {
    struct Case {
        Point from, to;
        Segment expect;
    };
    const std::vector<Case> cases = {
        {{500, 100}, {100, 150}, {{440, 100}, {160, 150}}},  // downstream to the left
        {{100, 100}, {500, 150}, {{160, 100}, {440, 150}}},  // to the right
        {{100, 500}, {150, 100}, {{100, 450}, {150, 150}}},  // above
        {{100, 100}, {150, 500}, {{100, 150}, {150, 450}}},  // below
        {{300, 300}, {100, 100}, {{240, 250}, {160, 150}}},  // diagonal, up-left
        {{100, 100}, {300, 300}, {{160, 150}, {240, 250}}},  // diagonal, down-right
    };
    for (const auto& c : cases) {
        Net net{c.from, c.to};
        const Segment s = LinkSegment(net[0], net[1]);
        EXPECT_EQ(s.a, c.expect.a) << c.from.x << "," << c.from.y;
        EXPECT_EQ(s.b, c.expect.b) << c.from.x << "," << c.from.y;
    }
}

TEST(ViewGeometry, ArrowHeadPointsBackAlongTheLine) {
    struct Case {
        Point start, end;
        Point left, right;
    };
    const std::vector<Case> cases = {
        {{0, 0}, {100, 0}, {87, -4}, {87, 4}},       // pointing right
        {{100, 0}, {0, 0}, {12, 4}, {12, -4}},       // pointing left
        {{0, 0}, {0, 100}, {4, 87}, {-4, 87}},       // pointing down
        {{0, 100}, {0, 0}, {-4, 12}, {4, 12}},       // pointing up
    };
    for (const auto& c : cases) {
        const ArrowHead h = ArrowHeadPoints(c.start, c.end);
        EXPECT_EQ(h.left, c.left) << c.end.x << "," << c.end.y;
        EXPECT_EQ(h.right, c.right) << c.end.x << "," << c.end.y;
    }
}

TEST(ViewDrag, LinkRelinkAndSameLink) {
    Net net{{100, 100}, {400, 100}, {100, 400}};
    BmpNode &a = net[0], &b = net[1], &c = net[2];

    EXPECT_EQ(ApplyDrag(net.nodes(), {100, 100}, {400, 100}), DragOutcome::kLinked);
    EXPECT_EQ(a.downstream, &b);
    EXPECT_EQ(ApplyDrag(net.nodes(), {110, 90}, {390, 120}), DragOutcome::kSameLink);
    EXPECT_EQ(a.downstream, &b);
    EXPECT_EQ(ApplyDrag(net.nodes(), {100, 100}, {100, 400}), DragOutcome::kLinked);
    EXPECT_EQ(a.downstream, &c);
    // Nothing moved while linking.
    EXPECT_EQ(a.x, 100);
    EXPECT_EQ(a.y, 100);
    // Loops are not prevented here; the calculation reports them.
    EXPECT_EQ(ApplyDrag(net.nodes(), {100, 400}, {100, 100}), DragOutcome::kLinked);
    EXPECT_EQ(c.downstream, &a);
}

TEST(ViewDrag, MoveToEmptySpaceOrWithinItselfAndNothingFromEmptySpace) {
    Net net{{100, 100}, {400, 100}};
    EXPECT_EQ(ApplyDrag(net.nodes(), {100, 100}, {130, 250}), DragOutcome::kMoved);
    EXPECT_EQ(net[0].x, 130);
    EXPECT_EQ(net[0].y, 250);
    EXPECT_EQ(net[0].downstream, nullptr);
    // Released on its own box: a small move.
    EXPECT_EQ(ApplyDrag(net.nodes(), {130, 250}, {135, 250}), DragOutcome::kMoved);
    EXPECT_EQ(net[0].x, 135);
    // Press on empty space: nothing changes even when released on a node.
    EXPECT_EQ(ApplyDrag(net.nodes(), {700, 700}, {400, 100}), DragOutcome::kNothing);
    EXPECT_EQ(net[1].x, 400);
    EXPECT_EQ(net[0].downstream, nullptr);
}

TEST(ViewDrag, SourceIsTheLastNodeUnderThePressTargetTheFirstUnderTheRelease) {
    // A and B overlap at the press point; C and D overlap at the release point.
    Net net{{100, 100}, {150, 100}, {500, 100}, {550, 100}};
    EXPECT_EQ(ApplyDrag(net.nodes(), {125, 100}, {525, 100}), DragOutcome::kLinked);
    EXPECT_EQ(net[0].downstream, nullptr);
    EXPECT_EQ(net[1].downstream, &net[2]);
}

TEST(ViewDelete, DownstreamNodeTakesItsLinksAndUpstreamBecomesOutlet) {
    Net net{{100, 100}, {400, 100}, {700, 100}};
    net[0].downstream = &net[1];
    net[1].downstream = &net[2];
    net[1].selected = true;
    net.doc.Calculate();  // fills the upstream and outlet lists that delete must not leave dangling

    EXPECT_TRUE(DeleteSelection(net.doc));
    ASSERT_EQ(net.nodes().size(), 2u);
    EXPECT_EQ(net[0].downstream, nullptr);
    EXPECT_EQ(net[0].x, 100);
    EXPECT_EQ(net[1].x, 700);
    net.doc.Calculate();
    EXPECT_EQ(net.doc.Outlets().size(), 2u);
}

TEST(ViewDelete, SelectedLinksGoNodesStay) {
    Net net{{100, 100}, {400, 100}, {700, 100}};
    net[0].downstream = &net[1];
    net[2].downstream = &net[1];
    net[2].linkSelected = true;
    EXPECT_TRUE(DeleteSelection(net.doc));
    EXPECT_EQ(net.nodes().size(), 3u);
    EXPECT_EQ(net[0].downstream, &net[1]);
    EXPECT_EQ(net[2].downstream, nullptr);
    EXPECT_FALSE(net[2].linkSelected);

    EXPECT_FALSE(DeleteSelection(net.doc));  // nothing selected: nothing changes
    EXPECT_EQ(net[0].downstream, &net[1]);
}

TEST(ViewDelete, EverySelectedNodeAndEveryLinkIntoThem) {
    Net net{{100, 100}, {400, 100}, {700, 100}, {1000, 100}};
    for (int i = 0; i < 3; ++i) net[i].downstream = &net[i + 1];
    net[0].selected = true;
    net[2].selected = true;
    EXPECT_TRUE(DeleteSelection(net.doc));
    ASSERT_EQ(net.nodes().size(), 2u);
    EXPECT_EQ(net[0].x, 400);
    EXPECT_EQ(net[0].downstream, nullptr);
    EXPECT_EQ(net[1].x, 1000);
}

TEST(ViewAddPlacement, RowsOf140PixelsThen120Lower) {
    AddPlacement walk;
    std::vector<Point> got;
    for (int i = 0; i < 8; ++i) got.push_back(walk.Take(500));
    const std::vector<Point> expect = {{70, 60},  {210, 60},  {350, 60},  {490, 60},
                                       {70, 180}, {210, 180}, {350, 180}, {490, 180}};
    EXPECT_EQ(got, expect);
    // A point exactly on the right edge does not pass it.
    AddPlacement edge;
    edge.Take(210);
    EXPECT_EQ(edge.Take(210), (Point{210, 60}));
    EXPECT_EQ(edge.Peek(), (Point{70, 180}));
    // A client area narrower than one step starts a new row every time.
    AddPlacement narrow;
    narrow.Take(100);
    EXPECT_EQ(narrow.Take(100), (Point{70, 180}));
}

TEST(ViewExtents, NegativeCoordinatesShiftTheWholeDrawing) {
    Net net{{-20, 30}, {300, 500}};
    const Extents e = ComputeExtents(net.nodes(), 400, 300);
    EXPECT_EQ(e.shiftX, 80);
    EXPECT_EQ(e.shiftY, 20);
    EXPECT_EQ(e.width, 480);   // -80 .. 400
    EXPECT_EQ(e.height, 570);  // -20 .. 550
    EXPECT_EQ(net[0].x, 60);
    EXPECT_EQ(net[0].y, 50);
    EXPECT_EQ(net[1].x, 380);
    EXPECT_EQ(net[1].y, 520);
    // Afterwards nothing lies left of or above the origin, and a second pass shifts nothing.
    EXPECT_EQ(NodeBox(net[0]).left, 0);
    EXPECT_EQ(NodeBox(net[0]).top, 0);
    const Extents again = ComputeExtents(net.nodes(), 400, 300);
    EXPECT_EQ(again.shiftX, 0);
    EXPECT_EQ(again.shiftY, 0);
    EXPECT_EQ(again.width, 440);  // 0 .. 440 (the box of the node at 380)
    EXPECT_EQ(again.height, 570);
}

TEST(ViewExtents, SmallNetworkKeepsTheClientSize) {
    Net net{{100, 100}};
    const Extents e = ComputeExtents(net.nodes(), 640, 480);
    EXPECT_EQ(e.width, 640);
    EXPECT_EQ(e.height, 480);
    EXPECT_EQ(e.shiftX, 0);
    EXPECT_EQ(e.shiftY, 0);
}

TEST(ViewTexts, NodeAndResultTexts) {
    Net net{{0, 0}};
    BmpNode& n = net[0];
    n.load = 12.3456f;
    n.eff = {0.5f, 0.4f, 0.3f, 0.2f, 0.1f};
    EXPECT_EQ(NodeText(n),
              "Load or Area=12.346\nN Eff=0.500\nP Eff=0.400\nBOD Eff=0.300\nSed Eff=0.200\n"
              "EColi Eff=0.100\n");
    n.total = 40.0f;
    n.combined = {0.25f, 0.0f, 1.0f, 0.125f, 0.0625f};
    EXPECT_EQ(ResultText(n),
              "Total Load or Area=40.000\nN Eff=0.250\nP Eff=0.000\nBOD Eff=1.000\n"
              "Sediment Eff=0.125\nEColi Eff=0.062");
    EXPECT_EQ(ResultLines(n).size(), static_cast<std::size_t>(kResultLineCount));
}

TEST(ViewCopy, ValueFormat) {
    struct Case {
        double value;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0.5, ".500"},      {0.05, ".050"},       {12.3456, "12.346"}, {0.0, ".000"},
        {1.0, "1.000"},     {0.9996, "1.000"},    {0.0004, ".000"},    {40.0, "40.000"},
        {0.75f, ".750"},    {1e16, "10000000000000000.000"},
        {-0.25, "-.250"},   {-0.0001, ".000"},    {-3.5, "-3.500"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatCopyValue(c.value), c.text) << c.value;
}

TEST(ViewCopy, OnlyAResultLineOfAnOutletWhileResultsAreShown) {
    // Series: U (load 10, N 0.5) drains into D (load 0, N 0.5): D has total 10, N 0.75.
    Net net{{100, 100}, {400, 100}};
    net[0].load = 10.0f;
    net[0].eff[kN] = 0.5f;
    net[1].eff[kN] = 0.5f;
    net[1].eff[kEColi] = 0.2f;
    net[0].downstream = &net[1];
    ASSERT_TRUE(net.doc.Calculate());

    const Point under = ResultTextOrigin(net[1]);
    auto copyAt = [&](int line, bool valid) {
        return CopyText(HitTest(net.nodes(), {under.x + 5, under.y + (line - 1) * kResultLinePitch + 3}),
                        valid);
    };
    EXPECT_EQ(copyAt(1, true), "10.000");
    EXPECT_EQ(copyAt(2, true), ".750");
    EXPECT_EQ(copyAt(3, true), ".000");
    EXPECT_EQ(copyAt(6, true), ".200");
    EXPECT_EQ(copyAt(2, false), std::nullopt);  // results not shown

    // Under the upstream node nothing is shown, so nothing is copied.
    const Point upstream = ResultTextOrigin(net[0]);
    const Hit hit = HitTest(net.nodes(), {upstream.x + 5, upstream.y + 3});
    EXPECT_EQ(hit.kind, HitKind::kResultLine);
    EXPECT_FALSE(CanCopy(hit, true));
    EXPECT_EQ(CopyText(hit, true), std::nullopt);
    // The unset line at the bottom of the area copies nothing.
    EXPECT_EQ(CopyText(HitTest(net.nodes(), {under.x + 5, under.y + 96}), true), std::nullopt);
}

TEST(ViewMenuAndToolTip, EnablingAndTexts) {
    Net net{{100, 100}, {400, 100}};
    net.doc.SetCatalog({{"Buffer", "Riparian forest buffer", {}}, {"Pond", "Wet pond", {}}});
    net[0].catalogIndex = 0;
    net[1].catalogIndex = 1;
    net[0].downstream = &net[1];

    const Hit onA = HitTest(net.nodes(), {100, 100});
    const Hit onB = HitTest(net.nodes(), {400, 100});
    const Hit underB = HitTest(net.nodes(), {400, 170});
    const Hit nowhere = HitTest(net.nodes(), {800, 800});

    EXPECT_TRUE(CanEdit(onA));
    EXPECT_FALSE(CanEdit(underB));
    EXPECT_FALSE(CanEdit(nowhere));
    EXPECT_TRUE(CanCopy(underB, true));
    EXPECT_FALSE(CanCopy(underB, false));
    EXPECT_FALSE(CanCopy(onB, true));

    EXPECT_EQ(ToolTipText(onA, net.doc, true), "Buffer - Riparian forest buffer");  // first entry
    EXPECT_EQ(ToolTipText(onB, net.doc, true), "Pond - Wet pond");
    EXPECT_EQ(ToolTipText(underB, net.doc, true), "Right click to copy results");
    EXPECT_EQ(ToolTipText(underB, net.doc, false), "");
    EXPECT_EQ(ToolTipText(nowhere, net.doc, true), "");
    net[1].catalogIndex = 2;  // out of range
    EXPECT_EQ(ToolTipText(onB, net.doc, true), "");
    net[1].catalogIndex = -1;
    EXPECT_EQ(ToolTipText(onB, net.doc, true), "");
}

}  // namespace
}  // namespace combra::view
