// What it costs to find out whether a frame is needed (compose the picture
// and compare it with the one on screen), next to what drawing it costs.
// With DISPLAY set, the drawing is measured too: the frame is replayed into
// a real window and the renderer waited for.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "render/compose.h"
#include "render/draw.h"
#include "screens/floating_seeds.h"
#include "rules/layout.h"
#include "rules/board.h"
#include "screens/screen.h"
#include "tests/fake_platform.h"

namespace {

// A board late in a game: every seed drawn, both stores in use, an outline.
void set_board() {
    reset_game_state();
    match.versus_human = true;
    new_game();
    screen.screen_code = kBoardScreen;
    for (int column = 0; column < kColumnCount; ++column) {
        pit_at(0, column).count = 3;
        pit_at(1, column).count = 2;
    }
    match.player1_store = 12;
    match.player2_store = 9;
    match.new_turn = false;
    match.player1_wins = 2;
}

void set_menu() {
    reset_game_state();
    new_game();
    screen.screen_code = kMainMenu;
    screen.menu_choice = 1;
}

// The case that costs most: equal lists are compared to the end.
void compose_and_compare(benchmark::State& state, void (*set)()) {
    set();
    compose_frame(shown_frame);
    for (auto _ : state) {
        benchmark::DoNotOptimize(picture_changed());
    }
    state.counters["operations"] = static_cast<double>(shown_frame.size());
}

void replay(benchmark::State& state, void (*set)()) {
    set();
    compose_frame(shown_frame);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        replay_draw_list(shown_frame);
        glutSwapBuffers();
        glFinish();
    }
}

bool open_window(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        return false;
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutInitWindowSize(kDrawingWidth, kDrawingHeight);
    glutCreateWindow("Sowrow bench");
    glEnable(GL_TEXTURE_2D);
    load_all_textures();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    on_reshape(kDrawingWidth, kDrawingHeight);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("compose_and_compare/board", compose_and_compare, set_board);
    benchmark::RegisterBenchmark("compose_and_compare/menu", compose_and_compare, set_menu);
    if (open_window(argc, argv)) {
        benchmark::RegisterBenchmark("replay/board", replay, set_board)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("replay/menu", replay, set_menu)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
