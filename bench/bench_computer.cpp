// How long the computer takes to choose its pit, on boards from easy to the
// worst known for the simulation's drop limit.
#include <benchmark/benchmark.h>

#include <array>

#include "rules/board.h"
#include "rules/computer.h"
#include "tests/fake_platform.h"

namespace {

using RowCounts = std::array<int, kColumnCount>;

void set_counts(const RowCounts& row0, const RowCounts& row1) {
    reset_game_state();
    for (int column = 0; column < kColumnCount; ++column) {
        pit_at(0, column).count = row0[column];
        pit_at(1, column).count = row1[column];
    }
}

void run(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(best_capture_pit());
    }
}

void opening_position(benchmark::State& state) {
    set_counts({4, 4, 4, 4, 4, 4, 4}, {4, 4, 4, 4, 4, 4, 4});
    run(state);
}

void late_game(benchmark::State& state) {
    set_counts({0, 1, 0, 2, 0, 3, 1}, {1, 0, 3, 0, 2, 2, 0});
    run(state);
}

// Two of the seven candidates relay for ever and run to the drop limit, and
// no board found by searching has more: the costliest case of the limit.
void worst_known(benchmark::State& state) {
    set_counts({1, 2, 3, 1, 2, 1, 5}, {2, 3, 2, 1, 0, 1, 0});
    run(state);
}

}  // namespace

BENCHMARK(opening_position);
BENCHMARK(late_game);
BENCHMARK(worst_known)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
