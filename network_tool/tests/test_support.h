// Helpers shared by the Combra core tests.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bmp_doc.h"
#include "message_sink.h"

namespace combra::test {

class RecordingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// A fresh folder under the test temp dir, removed at the end of the test.
class TempDir {
public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::temp_directory_path() / ("combra_" + name);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::filesystem::path File(const std::string& name, const std::string& content) const {
        auto p = path_ / name;
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Node `i` of `doc` drains into node `d` (-1: none).
inline void Link(CBMPDoc& doc, int i, int d) {
    doc.Nodes()[i]->downstream = d < 0 ? nullptr : doc.Nodes()[d].get();
}

// A random network of n nodes: each node drains into a random other node with
// probability pLink. With acyclic, a node only drains into a node of lower rank in a
// random permutation, giving a forest; otherwise loops appear.
inline void RandomNetwork(CBMPDoc& doc, int n, double pLink, bool acyclic, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<int> rank(n);
    for (int i = 0; i < n; ++i) rank[i] = i;
    std::shuffle(rank.begin(), rank.end(), rng);
    std::vector<int> byRank(n);
    for (int i = 0; i < n; ++i) byRank[rank[i]] = i;
    for (int i = 0; i < n; ++i) {
        BmpNode* node = doc.AddNode(i, i);
        node->load = unit(rng) < 0.1f ? 0.0f : 100.0f * unit(rng);
        for (float& e : node->eff) e = unit(rng);
    }
    for (int i = 0; i < n; ++i) {
        if (unit(rng) >= pLink) continue;
        if (acyclic) {
            if (rank[i] == 0) continue;
            const int r = std::uniform_int_distribution<int>(0, rank[i] - 1)(rng);
            Link(doc, i, byRank[r]);
        } else {
            Link(doc, i, std::uniform_int_distribution<int>(0, n - 1)(rng));
        }
    }
}

}  // namespace combra::test
