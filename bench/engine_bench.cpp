// Timings of each engine step, the whole calculation run on both routes with
// both interpolations, and the reader and writer, at N = 61, 251, 1000 input
// points and NI = 51, 501, 999 new points. Each benchmark also reports the
// heap allocations one iteration makes (allocs).
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "bench/allocation_counter.h"
#include "bench/bench_contours.h"
#include "benchmark/benchmark.h"
#include "engine/camber_line.h"
#include "engine/distribute_along_x.h"
#include "engine/lagrange_interpolation.h"
#include "engine/map_airfoil_to_circle.h"
#include "engine/map_circle_to_airfoil.h"
#include "engine/pw_cubic_interpolation.h"
#include "engine/quality_report.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/result_file_writer.h"

namespace quilane::bench {
namespace {

constexpr int kPointCounts[] = {61, 251, 1000};
constexpr int kNewPointCounts[] = {51, 501, 999};

ScratchFolder& Scratch() {
  static ScratchFolder folder;
  return folder;
}

// The loaded section of `points` points, read once.
const Section& Loaded(int points) {
  static std::map<int, Section> cache;
  if (const auto found = cache.find(points); found != cache.end()) return found->second;
  std::optional<Section> section = LoadedSection(Scratch().path(), points);
  if (!section) {
    std::fprintf(stderr, "the NACA %s section of %d points cannot be loaded\n", kSectionDigits,
                 points);
    std::exit(1);
  }
  return cache.emplace(points, std::move(*section)).first->second;
}

// The workspace of the loaded section after a full run with these settings,
// so that every item a step reads is as the run leaves it before that step.
std::unique_ptr<AirfoilWorkspace> AfterRun(benchmark::State& state, int points, int ni,
                                           bool mapping, bool lagrange, int npoly) {
  auto ws = WorkspaceOf(Loaded(points));
  const std::string refused = CalculateOnWorkspace(*ws, ni, mapping, lagrange, npoly);
  if (!refused.empty()) {
    state.SkipWithError(("run refused: " + refused).c_str());
    return nullptr;
  }
  return ws;
}

// Reports the allocations per iteration made since `start`.
void CountAllocations(benchmark::State& state, long start) {
  state.counters["allocs"] = benchmark::Counter(
      static_cast<double>(AllocationCount() - start), benchmark::Counter::kAvgIterations);
}

void BM_MapAirfoilToCircle(benchmark::State& state) {
  auto ws = AfterRun(state, state.range(0), state.range(1), true, true, 1);
  if (!ws) return;
  const long start = AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(MapAirfoilToCircle(*ws));
    benchmark::ClobberMemory();
  }
  CountAllocations(state, start);
}

void BM_DistributeAlongX(benchmark::State& state) {
  auto ws = AfterRun(state, state.range(0), state.range(1), false, true, 1);
  if (!ws) return;
  const long start = AllocationCount();
  for (auto _ : state) {
    DistributeAlongX(*ws);
    benchmark::ClobberMemory();
  }
  CountAllocations(state, start);
}

// Lagrange interpolation of the along-chord curve; range(2) is nPoly.
void BM_LagrangeInterpolate(benchmark::State& state) {
  const int npoly = static_cast<int>(state.range(2));
  auto ws = AfterRun(state, state.range(0), state.range(1), false, true, npoly);
  if (!ws) return;
  const long start = AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        LagrangeInterpolate(ws->N, ws->U, ws->V, ws->NI, ws->UI, ws->VI, npoly));
    benchmark::ClobberMemory();
  }
  CountAllocations(state, start);
}

// Coefficients and evaluation, on the along-chord curve.
void BM_PwCubicInterpolate(benchmark::State& state) {
  auto ws = AfterRun(state, state.range(0), state.range(1), false, false, 0);
  if (!ws) return;
  const long start = AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(PwCubicInterpolate(*ws));
    benchmark::ClobberMemory();
  }
  CountAllocations(state, start);
}

void BM_MapCircleToAirfoil(benchmark::State& state) {
  auto ws = AfterRun(state, state.range(0), state.range(1), true, true, 1);
  if (!ws) return;
  const long start = AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(MapCircleToAirfoil(*ws));
    benchmark::ClobberMemory();
  }
  CountAllocations(state, start);
}

void BM_ComputeCamber(benchmark::State& state) {
  auto ws = AfterRun(state, state.range(0), state.range(1), false, true, 1);
  if (!ws) return;
  const long start = AllocationCount();
  for (auto _ : state) {
    ComputeCamber(*ws);
    benchmark::ClobberMemory();
  }
  CountAllocations(state, start);
}

// The whole calculation as the command-line tool makes it: range(2) is 1
// for the mapping route, range(3) the Lagrange degree or -1 for the piecewise
// cubic, range(4) 1 to measure the quality report as well.
void BM_Redistribute(benchmark::State& state) {
  const bool mapping = state.range(2) == 1;
  const bool lagrange = state.range(3) >= 0;
  const int npoly = lagrange ? static_cast<int>(state.range(3)) : 0;
  const bool report = state.range(4) == 1;
  const Section& section = Loaded(state.range(0));
  const RedistributeSettings settings =
      SettingsOf(static_cast<int>(state.range(1)), mapping, lagrange, npoly, report);
  if (const auto first = Redistribute(section, settings); !first) {
    state.SkipWithError(("run refused: " + first.error().message).c_str());
    return;
  }
  const long start = AllocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(Redistribute(section, settings));
  CountAllocations(state, start);
  state.SetLabel(std::string(mapping ? "mapping" : "along-chord") + ", " +
                 (lagrange ? "Lagrange nPoly=" + std::to_string(npoly) : "PW cubic") +
                 (report ? ", report" : ""));
}

// The quality report alone, of the new points of a run.
void BM_MeasureQuality(benchmark::State& state) {
  auto ws = AfterRun(state, state.range(0), state.range(1), true, false, 0);
  if (!ws) return;
  const std::span<const double> x(ws->X.data() + 1, ws->N), y(ws->Y.data() + 1, ws->N);
  const std::span<const double> xi(ws->XI.data() + 1, ws->NI), yi(ws->YI.data() + 1, ws->NI);
  for (auto _ : state) benchmark::DoNotOptimize(MeasureQuality(x, y, xi, yi));
}

// The library calls the along-chord route prescribes and nothing else: pow
// and atan for each input point, cos for each station, on the same values.
// The floor under DistributeAlongX, and so under the route; the run's time
// over this one shows what the rest of the run costs.
void BM_AlongChordLibraryCalls(benchmark::State& state) {
  auto ws = AfterRun(state, state.range(0), state.range(1), false, true, 1);
  if (!ws) return;
  for (auto _ : state) {
    double sum = 0;
    for (int i = 1; i <= ws->N; ++i) {
      const double t = 2 * ws->X[i] - 1;
      sum += std::atan(std::pow(1 - t * t, 0.5) / t);
    }
    for (int j = 1; j <= ws->NI; ++j) sum += std::cos(ws->UI[j]);
    benchmark::DoNotOptimize(sum);
  }
}

// The *.arf reader and the section it makes, on the file of `points` points.
void BM_ReadAirfoilFile(benchmark::State& state) {
  Loaded(state.range(0));  // writes the file
  const std::string path = SectionFile(Scratch().path(), state.range(0)).string();
  const long start = AllocationCount();
  for (auto _ : state) {
    const Expected<LoadedFile> loaded = LoadArfFile(path);
    if (!loaded) {
      state.SkipWithError(loaded.error().message.c_str());
      break;
    }
  }
  CountAllocations(state, start);
}

// Both result files of an along-chord run (Lagrange nPoly = 1).
void BM_WriteResultFiles(benchmark::State& state) {
  const Expected<RedistributeResult> result = Redistribute(
      Loaded(state.range(0)), SettingsOf(static_cast<int>(state.range(1)), false, true, 1));
  if (!result) {
    state.SkipWithError(("run refused: " + result.error().message).c_str());
    return;
  }
  const ResultFiles files =
      ResultFilesOf(*result, ResultFormat::kArf, (Scratch().path() / "result.arf").string());
  const long start = AllocationCount();
  for (auto _ : state) {
    if (const std::optional<Refusal> refused = WriteResultFiles(files)) {
      state.SkipWithError(refused->message.c_str());
      break;
    }
  }
  CountAllocations(state, start);
}

// Every pairing of the point counts.
void Grid(benchmark::internal::Benchmark* b) {
  b->ArgNames({"N", "NI"});
  for (int n : kPointCounts)
    for (int ni : kNewPointCounts) b->Args({n, ni});
}

void LagrangeGrid(benchmark::internal::Benchmark* b) {
  b->ArgNames({"N", "NI", "nPoly"});
  for (int npoly : {1, 3, 7})
    for (int n : kPointCounts)
      for (int ni : kNewPointCounts) b->Args({n, ni, npoly});
}

void RunGrid(benchmark::internal::Benchmark* b) {
  b->ArgNames({"N", "NI", "mapping", "nPoly", "report"});
  for (int report : {0, 1})
    for (int mapping : {0, 1})
      for (int npoly : {1, 3, -1})
        for (int n : kPointCounts)
          for (int ni : kNewPointCounts) b->Args({n, ni, mapping, npoly, report});
}

BENCHMARK(BM_MapAirfoilToCircle)->Apply(Grid);
BENCHMARK(BM_DistributeAlongX)->Apply(Grid);
BENCHMARK(BM_LagrangeInterpolate)->Apply(LagrangeGrid);
BENCHMARK(BM_PwCubicInterpolate)->Apply(Grid);
BENCHMARK(BM_MapCircleToAirfoil)->Apply(Grid);
BENCHMARK(BM_ComputeCamber)->Apply(Grid);
BENCHMARK(BM_Redistribute)->Apply(RunGrid);
BENCHMARK(BM_MeasureQuality)->Apply(Grid);
BENCHMARK(BM_AlongChordLibraryCalls)->Apply(Grid);
BENCHMARK(BM_ReadAirfoilFile)->ArgName("N")->Arg(61)->Arg(251)->Arg(1000);
BENCHMARK(BM_WriteResultFiles)->Apply(Grid);

}  // namespace
}  // namespace quilane::bench

BENCHMARK_MAIN();
