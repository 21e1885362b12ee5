// Combined efficiencies: every node treats its own load plus everything that drains into
// it; at an outlet the result is the load-weighted efficiency of its whole tree.
#include <array>

#include "bmp_doc.h"

namespace combra {

namespace {

// total and combined[] of one node from its upstream nodes' results. Double precision,
// stored in the node's floats.
void Combine(BmpNode& node) {
    if (node.upstream.empty()) {
        node.total = node.load;
        node.combined = node.eff;
        return;
    }
    double sum = 0.0;
    std::array<double, kPollutantCount> passing{};
    for (const BmpNode* u : node.upstream) {
        const double t = u->total;
        sum += t;
        for (int k = 0; k < kPollutantCount; ++k) passing[k] += (1.0 - u->combined[k]) * t;
    }
    const double load = node.load;
    const double total = sum + load;
    for (int k = 0; k < kPollutantCount; ++k) {
        double p = (1.0 - static_cast<double>(node.eff[k])) * (passing[k] + load);
        p = total != 0.0 ? p / total : 1.0;
        node.combined[k] = static_cast<float>(1.0 - p);
    }
    node.total = static_cast<float>(total);
}

}  // namespace

bool CBMPDoc::Calculate() {
    ordered_.clear();
    outlets_.clear();
    for (auto& node : nodes_) {
        node->processed = false;
        node->upstream.clear();
        node->pendingUpstream = 0;
    }
    for (auto& node : nodes_) {
        if (BmpNode* down = node->downstream) {
            down->upstream.push_back(node.get());
            ++down->pendingUpstream;
        } else {
            outlets_.push_back(node.get());
        }
    }

    // Order: a node is ready once all its upstream nodes are ordered. Starting from every
    // node without upstream nodes, in list order, follow the downstream chain while each
    // next node becomes ready. Every node and link is visited once; nodes left over lie
    // on a loop (each node has at most one downstream node, so nothing else can wait on
    // a loop). A node is combined as soon as it is ordered, while it is at hand: its
    // upstream nodes are all done by then.
    ordered_.reserve(nodes_.size());
    for (auto& start : nodes_) {
        if (start->processed || start->pendingUpstream != 0) continue;
        BmpNode* cur = start.get();
        while (true) {
            cur->processed = true;
            ordered_.push_back(cur);
            Combine(*cur);
            BmpNode* next = cur->downstream;
            if (!next || --next->pendingUpstream != 0) break;
            cur = next;
        }
    }
    loopFound_ = ordered_.size() != nodes_.size();
    if (loopFound_) Message("CIRCLE!");

    // The outlets once more, as the calculation always did; this gives the same values.
    for (BmpNode* node : outlets_) Combine(*node);

    if (observer_) observer_->Calculated();
    return !loopFound_;
}

}  // namespace combra
