// DrawBoard at the display scale of this run (QT_SCALE_FACTOR, offscreen), and the time
// from starting a process to its first puzzle drawn. `make bench` runs it at 1.0 and 2.0.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/board.h"
#include "board/puzzle_start.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "ui/board_rendering.h"
#include "ui/game.h"
#include "ui/main_window.h"

extern char** environ;

namespace {

void BM_DrawBoard(benchmark::State& state)
{
    // A puzzle on the board with some player digits, a mark and a selection.
    gameState.selectedCell = 41;
    for (CellNumber n = 1; n <= 81; n += 7)
        if (board.kind[n] == Open) board.value[n] = board.record.solution[n - 1];
    board.errorFlag[2] = 1;
    for (auto _ : state) DrawBoard();
    state.counters["scale"] = DisplayScale;
}
BENCHMARK(BM_DrawBoard)->Unit(benchmark::kMicrosecond);

// Starts this program again as a child that only starts the game and says when the first
// puzzle is drawn: exec, loading the libraries, the toolkit, the window and the puzzle.
void BM_StartupToFirstPuzzle(benchmark::State& state)
{
    const std::string self = ExecutablePath();
    for (auto _ : state) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) state.SkipWithError("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>("--startup-child"), nullptr};
        const auto start = std::chrono::steady_clock::now();
        pid_t child;
        posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
        close(pipeFds[1]);
        char byte = 0;
        const bool drawn = read(pipeFds[0], &byte, 1) == 1 && byte == 'p';
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        close(pipeFds[0]);
        waitpid(child, nullptr, 0);
        posix_spawn_file_actions_destroy(&actions);
        if (!drawn) state.SkipWithError("the child drew no puzzle (are the puzzle files beside the program?)");
    }
}
BENCHMARK(BM_StartupToFirstPuzzle)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("XDG_RUNTIME_DIR", "/tmp", 0);
    if (argc == 2 && std::strcmp(argv[1], "--startup-child") == 0) {
        StartPlatform();
        StartGame();
        const char answer = gameState.puzzleLoaded ? 'p' : 'n';
        (void)!write(STDOUT_FILENO, &answer, 1);
        _exit(0);  // measured up to here; no need to tear down
    }
    StartPlatform();
    StartGame();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    StopPlatform();
    return 0;
}
