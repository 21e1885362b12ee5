// Combra calculation and file reading on large networks: time and heap.
//
//   RandomForest/n     n nodes in random list order, each draining into a random node
//                      ranked above it (or none), so that trees of all shapes appear.
//   ChainOutletFirst/n n nodes in one chain, listed from the outlet upwards: the worst
//                      case of ordering by repeated passes over the list.
//   RepeatedPasses/n   that pass-by-pass ordering on the same chain, for comparison.
//   OpenForest/n       reading a model input file of a random forest.
//   *Baseline/n        one pass over the node list reading each node's downstream node
//                      and upstream list: the memory traffic any calculation needs, to
//                      tell growth of the algorithm from growth of cache and TLB misses.
//
// Counters: heap_MB is the heap held by the network, calc_lists_MB the part of it that the
// first calculation added (upstream, ordered and outlet lists), peak_extra_MB the largest
// extra heap a measured operation needed on top of what it started with.
//
// Run: network_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "bmp_doc.h"

// ---- heap accounting ---------------------------------------------------------------
namespace {
std::atomic<long long> g_current{0};
std::atomic<long long> g_peak{0};

void* Allocate(std::size_t size) {
    void* p = std::malloc(size + 16);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    const long long now = g_current += static_cast<long long>(size);
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(p) + 16;
}

void Release(void* p) noexcept {
    if (!p) return;
    void* base = static_cast<char*>(p) - 16;
    g_current -= static_cast<long long>(*static_cast<std::size_t*>(base));
    std::free(base);
}

struct PeakScope {
    long long start = g_current.load();
    PeakScope() { g_peak = start; }
    double ExtraMB() const { return double(g_peak.load() - start) / (1 << 20); }
};
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

// ---- networks ----------------------------------------------------------------------
namespace {

using combra::BmpNode;
using combra::CBMPDoc;

void RandomForest(CBMPDoc& doc, int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<int> byRank(n);
    for (int i = 0; i < n; ++i) byRank[i] = i;
    std::shuffle(byRank.begin(), byRank.end(), rng);
    doc.Nodes().reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        BmpNode* node = doc.AddNode(i % 1000 * 140, i / 1000 * 120);
        node->load = 100.0f * unit(rng);
        for (float& e : node->eff) e = unit(rng);
    }
    // The node of rank r drains into a random node of rank below r: one in twenty
    // nodes is an outlet.
    for (int r = 1; r < n; ++r) {
        if (unit(rng) < 0.05f) continue;
        const int to = std::uniform_int_distribution<int>(0, r - 1)(rng);
        doc.Nodes()[byRank[r]]->downstream = doc.Nodes()[byRank[to]].get();
    }
}

void ChainOutletFirst(CBMPDoc& doc, int n) {
    doc.Nodes().reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        BmpNode* node = doc.AddNode(0, i * 120);
        node->load = 1.0f;
        node->eff = {0.1f, 0.1f, 0.1f, 0.1f, 0.1f};
        if (i > 0) node->downstream = doc.Nodes()[i - 1].get();
    }
}

double HeapMB(const CBMPDoc& doc) {
    (void)doc;
    return double(g_current.load()) / (1 << 20);
}

void BM_RandomForest(benchmark::State& state) {
    const long long before = g_current.load();
    CBMPDoc doc;
    RandomForest(doc, static_cast<int>(state.range(0)), 42);
    const long long built = g_current.load();
    doc.Calculate();
    const double lists = double(g_current.load() - built) / (1 << 20);
    const double heap = double(g_current.load() - before) / (1 << 20);
    PeakScope peak;
    for (auto _ : state) benchmark::DoNotOptimize(doc.Calculate());
    state.counters["calc_lists_MB"] = lists;
    state.counters["heap_MB"] = heap;
    state.counters["peak_extra_MB"] = peak.ExtraMB();
    state.SetComplexityN(state.range(0));
}

void BM_ChainOutletFirst(benchmark::State& state) {
    const long long before = g_current.load();
    CBMPDoc doc;
    ChainOutletFirst(doc, static_cast<int>(state.range(0)));
    const long long built = g_current.load();
    doc.Calculate();
    const double lists = double(g_current.load() - built) / (1 << 20);
    const double heap = double(g_current.load() - before) / (1 << 20);
    PeakScope peak;
    for (auto _ : state) benchmark::DoNotOptimize(doc.Calculate());
    state.counters["calc_lists_MB"] = lists;
    state.counters["heap_MB"] = heap;
    state.counters["peak_extra_MB"] = peak.ExtraMB();
    state.SetComplexityN(state.range(0));
}

// The data a calculation must touch, touched once.
void TouchNetwork(benchmark::State& state, CBMPDoc& doc) {
    doc.Calculate();
    for (auto _ : state) {
        double sum = 0;
        for (const auto& node : doc.Nodes()) {
            if (const BmpNode* d = node->downstream) sum += d->total;
            for (const BmpNode* u : node->upstream) sum += u->load;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetComplexityN(state.range(0));
}

void BM_RandomForestBaseline(benchmark::State& state) {
    CBMPDoc doc;
    RandomForest(doc, static_cast<int>(state.range(0)), 42);
    TouchNetwork(state, doc);
}

void BM_ChainOutletFirstBaseline(benchmark::State& state) {
    CBMPDoc doc;
    ChainOutletFirst(doc, static_cast<int>(state.range(0)));
    TouchNetwork(state, doc);
}

// Ordering by passes over the node list until nothing is blocked.
void BM_RepeatedPasses(benchmark::State& state) {
    CBMPDoc doc;
    ChainOutletFirst(doc, static_cast<int>(state.range(0)));
    doc.Calculate();  // builds the upstream lists
    std::vector<BmpNode*> ordered;
    for (auto _ : state) {
        ordered.clear();
        for (auto& node : doc.Nodes()) node->processed = false;
        std::size_t lastBlocked = doc.Nodes().size();
        while (true) {
            std::size_t blocked = 0;
            for (auto& node : doc.Nodes()) {
                if (node->processed) continue;
                bool ready = true;
                for (BmpNode* u : node->upstream) ready = ready && u->processed;
                if (ready) {
                    node->processed = true;
                    ordered.push_back(node.get());
                } else {
                    ++blocked;
                }
            }
            if (blocked == 0 || blocked >= lastBlocked) break;
            lastBlocked = blocked;
        }
        benchmark::DoNotOptimize(ordered.data());
    }
    state.SetComplexityN(state.range(0));
}

void BM_OpenForest(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto path =
        std::filesystem::temp_directory_path() / ("combra_bench_" + std::to_string(n) + ".inp");
    {
        CBMPDoc doc;
        RandomForest(doc, n, 7);
        if (!doc.OnSaveDocument(path)) {
            state.SkipWithError("cannot write the benchmark file");
            return;
        }
    }
    CBMPDoc doc;
    double peakExtra = 0;
    for (auto _ : state) {
        PeakScope peak;
        benchmark::DoNotOptimize(doc.OnOpenDocument(path));
        peakExtra = std::max(peakExtra, peak.ExtraMB());
    }
    state.counters["heap_MB"] = HeapMB(doc);
    state.counters["peak_extra_MB"] = peakExtra;
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / (1 << 20);
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_RandomForest)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomForestBaseline)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChainOutletFirst)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChainOutletFirstBaseline)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedPasses)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenForest)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
