// Speed of the core: building algorithms and value types, moving a patch through its patch data,
// and reading bank files, clean and damaged. docs/performance.md holds the numbers and the goals.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <tuple>
#include <vector>

#include "library/VF1Bank.h"
#include "midi/VF1MIDI.h"
#include "model/Report.h"
#include "model/SysEx.h"
#include "model/VF1Algorithm.h"
#include "model/VF1Patch.h"
#include "model/VF1ValueType.h"
#include "model/tables/AlgorithmInfo.h"
#include "model/tables/CatalogueTable.h"
#include "tests/support/TestSupport.h"

namespace {

// Damaged banks report what they salvaged; a benchmark has nobody to tell.
const bool kMessagesSwallowed = [] {
    SetMessageHandler([](const std::string&, MessageStyle) { return 1; });
    return true;
}();

using Triple = std::tuple<int, int, int>;

void AddTriples(std::span<const ParamSpec> params, std::vector<Triple>& triples) {
    for (const ParamSpec& p : params)
        if (p.type == TypeCode::kGeneric) triples.emplace_back(p.p1, p.p2, p.p3);
}

// The distinct code-85 ranges of every block table: plain blocks, slots, multi-mode blocks, the
// multi-tap delay's taps and the Master variants (whose levels use the plain catalogue's 0..100).
std::vector<Triple> GenericTriples() {
    std::vector<Triple> triples;
    for (const BlockSpec& block : CatalogueBlocks()) AddTriples(block.params, triples);
    AddTriples(MultiTapParams(), triples);
    for (const SlotSpec& slot : SlotBlocks()) {
        AddTriples(slot.shared, triples);
        AddTriples(slot.trailing, triples);
    }
    for (const MultiModeSpec& block : MultiModeBlocks()) {
        AddTriples(block.shared, triples);
        for (const ModeSpec& mode : block.modes) AddTriples(mode.params, triples);
    }
    std::sort(triples.begin(), triples.end());
    triples.erase(std::unique(triples.begin(), triples.end()), triples.end());
    return triples;
}

// A clean bank as the program writes one: slot i holds a fresh algorithm i mod 37.
std::vector<uint8_t> CleanBank() {
    return MakeBankFile([](int slot) { return FreshPatch{slot % kAlgorithmCount, SlotName(slot)}; });
}

void ParseBank(benchmark::State& state, const std::vector<uint8_t>& bytes, bool expectAllValid) {
    for (auto _ : state) {
        VF1Bank bank(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(bank.GetAt(kPatchCount - 1));
        if (bank.AllValid() != expectAllValid) state.SkipWithError("bank did not parse as expected");
    }
}

void PerAlgorithm(benchmark::State& state) {
    state.counters["per_algorithm"] = benchmark::Counter(
        kAlgorithmCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

// Every algorithm once per iteration, value types already cached (as they are after the first patch).
static void BM_BuildAlgorithm_Cached(benchmark::State& state) {
    for (int n = 0; n < kAlgorithmCount; ++n) VF1Algorithm warm(n);
    for (auto _ : state) {
        for (int n = 0; n < kAlgorithmCount; ++n) {
            VF1Algorithm algorithm(n);
            benchmark::DoNotOptimize(algorithm.GetMaster());
        }
    }
    PerAlgorithm(state);
}
BENCHMARK(BM_BuildAlgorithm_Cached)->Unit(benchmark::kMicrosecond);

// One algorithm per run, to find the slowest.
static void BM_BuildAlgorithm_Each(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    VF1Algorithm warm(n);
    for (auto _ : state) {
        VF1Algorithm algorithm(n);
        benchmark::DoNotOptimize(algorithm.GetMaster());
    }
}
BENCHMARK(BM_BuildAlgorithm_Each)->DenseRange(0, kAlgorithmCount - 1)->Unit(benchmark::kMicrosecond);

// Every value type built from an empty cache: codes 0..152 that have a list, and every code-85 range
// the block tables use.
static void BM_BuildAllValueTypes_First(benchmark::State& state) {
    const std::vector<Triple> triples = GenericTriples();
    for (auto _ : state) {
        state.PauseTiming();
        ReleaseAllValueTypes();
        state.ResumeTiming();
        for (int code = 0; code < kTypeCodeCount; ++code) {
            if (code == 6 || code == 30 || code == 132 || code == TypeCode::kGeneric) continue;
            benchmark::DoNotOptimize(ValueTypeFor(code));
        }
        for (const auto& [p1, p2, p3] : triples)
            benchmark::DoNotOptimize(ValueTypeFor(TypeCode::kGeneric, p1, p2, p3));
    }
    state.counters["types"] = static_cast<double>(kTypeCodeCount - 4 + triples.size());
    state.counters["ranges"] = static_cast<double>(triples.size());
}
BENCHMARK(BM_BuildAllValueTypes_First)->Unit(benchmark::kMicrosecond);

// Patch data out of every algorithm and back in (header half, stream half, target table), as a
// save followed by a load does, without building the blocks again.
static void BM_WriteReadPatchData(benchmark::State& state) {
    std::vector<std::unique_ptr<VF1Algorithm>> algorithms;
    for (int n = 0; n < kAlgorithmCount; ++n) algorithms.push_back(std::make_unique<VF1Algorithm>(n));
    std::array<uint8_t, kPatchDataSize> data{};
    for (auto _ : state) {
        for (auto& algorithm : algorithms) {
            algorithm->WritePatchData(data.data());
            PatchStream stream(data.data() + kHeaderHalfSize, kStreamHalfSize);
            algorithm->ReadStream(stream);
            algorithm->RebuildTargets();
            algorithm->ReadHeader(data.data());
            benchmark::DoNotOptimize(data.data());
        }
    }
    PerAlgorithm(state);
}
BENCHMARK(BM_WriteReadPatchData)->Unit(benchmark::kMicrosecond);

// The same through VF1MIDI's image forms, as a save and an open in the editor do: patch image
// built, parsed and loaded into the patch list as a new patch (this includes building its blocks).
static void BM_ImageRoundTrip_Load(benchmark::State& state) {
    std::vector<std::unique_ptr<VF1Algorithm>> algorithms;
    for (int n = 0; n < kAlgorithmCount; ++n) algorithms.push_back(std::make_unique<VF1Algorithm>(n));
    VF1MIDI& midi = VF1MIDI::Instance();
    VF1AlgorithmList list;
    PatchImage image{};
    for (auto _ : state) {
        for (auto& algorithm : algorithms) {
            midi.BuildPatchImage(*algorithm, image.data());
            const uint8_t* first = nullptr;
            const uint8_t* second = nullptr;
            midi.ParsePatchImage(&first, &second, image.data());
            list.LoadFromPatchData(first, second);
            benchmark::DoNotOptimize(list.GetCurrent());
            list.RemoveAt(1);
        }
    }
    PerAlgorithm(state);
}
BENCHMARK(BM_ImageRoundTrip_Load)->Unit(benchmark::kMicrosecond);

static void BM_ParseBank_Clean(benchmark::State& state) {
    ParseBank(state, CleanBank(), true);
}
BENCHMARK(BM_ParseBank_Clean)->Unit(benchmark::kMicrosecond);

// Every patch's first message one byte short: each slot goes through salvage and is rebuilt.
static void BM_ParseBank_EverySlotSalvaged(benchmark::State& state) {
    const std::vector<uint8_t> clean = CleanBank();
    std::vector<uint8_t> damaged;
    for (int slot = 0; slot < kPatchCount; ++slot) {
        const auto image = clean.begin() + kPatchImageSize * slot;
        damaged.insert(damaged.end(), image, image + 50);
        damaged.insert(damaged.end(), image + 51, image + kPatchImageSize);
    }
    damaged.insert(damaged.end(), clean.begin() + kBankImagesSize, clean.end());
    ParseBank(state, damaged, true);
}
BENCHMARK(BM_ParseBank_EverySlotSalvaged)->Unit(benchmark::kMicrosecond);

// The most work a damaged bank of this size can ask for: every slot's first header found in a row
// at the start, then no end byte anywhere, so each slot's salvage searches the whole rest in vain.
static void BM_ParseBank_EverySlotSearchedToTheEnd(benchmark::State& state) {
    std::vector<uint8_t> bytes(kBankFileSize, 0x00);
    for (int slot = 0; slot < kPatchCount; ++slot) {
        const PatchAddressBytes a = PatchAddress(slot);
        const std::array<uint8_t, 9> header = {
            kSysExStart, kManufacturerId, 0x00, kModelId1, kModelId2, kCommandDT1, a[0], a[1], a[2]};
        std::copy(header.begin(), header.end(), bytes.begin() + 9 * slot);
    }
    ParseBank(state, bytes, false);
}
BENCHMARK(BM_ParseBank_EverySlotSearchedToTheEnd)->Unit(benchmark::kMillisecond);
