// A storm of player input: a seeded run of random clicks, keys, typed characters, commands,
// level switches (to files that are missing or invalid too) and About dialogs, through the
// real dispatch and the real Qt layer, with the game's invariants checked after every event.
//
// VAKIDO_STORM_EVENTS sets the number of events (100000 unless set), VAKIDO_STORM_SEED the
// seed (from the clock unless set, and printed). A failure prints the seed and the event
// number; running with that seed replays it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>

#include "board/board.h"
#include "board/puzzle_start.h"
#include "platform/qt_access.h"
#include "puzzles/puzzle_file_writer.h"
#include "puzzles/puzzle_lookup.h"
#include "tests/support/game_harness.h"
#include "ui/board_rendering.h"
#include "ui/game.h"
#include "ui/main_window.h"

namespace {

const std::string congratulation = "Congratulations, the puzzle is solved!";

uint64_t EnvironmentNumber(const char* name, uint64_t otherwise)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : otherwise;
}

// The sample puzzle with its digits renamed by a permutation: another valid puzzle.
PuzzleRecord Relabelled(const int (&digitFor)[10])
{
    PuzzleRecord record = SampleRecord();
    for (int i = 0; i < 81; ++i) {
        record.givens[i] = static_cast<uint8_t>(digitFor[record.givens[i]]);
        record.solution[i] = static_cast<uint8_t>(digitFor[record.solution[i]]);
    }
    return record;
}

QWidget* AboutDialogShown()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == "About") return widget;
    return nullptr;
}

class Storm {
public:
    explicit Storm(uint64_t seed) : random_(seed) {}

    std::string failure;  // the first broken invariant, empty while all hold
    // What the run went through, to show that it reached every corner.
    int puzzlesLoaded = 0, congratulations = 0, otherBoxes = 0, aboutDialogs = 0, solutionsShown = 0;

    void Run(uint64_t events)
    {
        // Whatever opens the About dialog (the button, or Space on it after a Tab), this
        // closes it again, after throwing some input at the main window meanwhile.
        QTimer aboutCloser;
        QObject::connect(&aboutCloser, &QTimer::timeout, [this] { CloseAbout(); });
        aboutCloser.start(1);

        Snapshot();
        for (event_ = 1; event_ <= events && failure.empty(); ++event_) {
            TakeMessageBoxes();
            OneEvent();
            PumpEvents();
            Check();
        }
    }

    uint64_t eventsRun() const { return event_ - 1; }

private:
    std::mt19937_64 random_;
    uint64_t event_ = 0;
    bool announced_ = false;     // the congratulation was shown for the puzzle on the board
    bool solutionShown_ = false;  // Show solution was used on it
    Board boardBefore_{};
    GameState stateBefore_{};
    std::string titleBefore_;
    bool aboutWasOpen_ = false;

    int Pick(int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(random_)); }

    void Fail(const std::string& what)
    {
        if (!failure.empty()) return;
        std::ostringstream text;
        text << "event " << event_ << ": " << what;
        failure = text.str();
    }

    void ClickWindowAt(QPoint client)
    {
        QWidget* window = WidgetOf(mainWindow);
        QWidget* target = window->childAt(client);
        if (!target) target = window;
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(window, client));
    }

    void ClickCell(int cell)
    {
        QWidget* canvas = WidgetOf(boardCanvas);
        const double cellSize = canvas->width() * 40.0 / 364.0;
        const QPoint at(static_cast<int>((cell % 9 + 0.5) * cellSize + 2), static_cast<int>((cell / 9 + 0.5) * cellSize + 2));
        QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at);
    }

    void OneEvent()
    {
        const int kind = Pick(100);
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : WidgetOf(mainWindow);
        const CellNumber selected = gameState.selectedCell;
        if (kind < 30) {
            // A player solving: the first cell that is still wrong gets its digit (or, now and
            // then, a wrong one), so that puzzles get finished and congratulated.
            CellNumber cell = 1 + Pick(81);
            for (CellNumber n = 1; n <= 81 && gameState.puzzleLoaded; ++n)
                if (board.value[n] != SolutionDigit(n)) {
                    cell = n;
                    break;
                }
            ClickCell(cell - 1);
            PumpEvents();
            const int digit = gameState.puzzleLoaded && Pick(8) ? SolutionDigit(cell) : Pick(10);
            QTest::keyClicks(QApplication::focusWidget(), QString::number(digit));
        } else if (kind < 45) {
            ClickCell(Pick(81));
        } else if (kind < 52) {
            // Anywhere on the window: grid lines, margins, options, buttons, the label.
            ClickWindowAt(QPoint(Pick(640), Pick(440)));
        } else if (kind < 70) {
            // A typed digit, half the time the right one for the selected cell.
            const int digit = Pick(2) == 0 && gameState.puzzleLoaded ? SolutionDigit(selected) : Pick(10);
            QTest::keyClicks(focused, QString::number(digit));
        } else if (kind < 72) {
            const char* others[] = {"a", " ", "Z", "-", "%"};
            if (Pick(6) == 0) {
                // A character no key of the test's keyboard names, as an input method types it.
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\u00e9"));
                QApplication::sendEvent(focused, &press);
            } else {
                QTest::keyClicks(focused, QString::fromUtf8(others[Pick(5)]));
            }
        } else if (kind < 97) {
            const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down, Qt::Key_Delete,
                                    Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape,
                                    Qt::Key_Space,  Qt::Key_Home,  Qt::Key_F1,     Qt::Key_PageDown};
            const Qt::KeyboardModifier modifiers[] = {Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier,
                                                      Qt::ControlModifier, Qt::AltModifier};
            QTest::keyClick(focused, keys[Pick(14)], modifiers[Pick(5)]);
        } else {
            // The commands and the level options, on their buttons.
            const WindowId controls[] = {newPuzzleButton, checkButton, hintButton, showSolutionButton, aboutButton,
                                         levelOptions[1], levelOptions[2], levelOptions[3], levelOptions[4]};
            QWidget* control = WidgetOf(controls[Pick(9)]);
            QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                              QPoint(Pick(control->width()), Pick(control->height())));
        }
    }

    // Runs from a timer while the About dialog's own loop has the thread.
    void CloseAbout()
    {
        QWidget* dialog = AboutDialogShown();
        if (!dialog) return;
        if (!aboutWasOpen_) ++aboutDialogs;
        aboutWasOpen_ = true;
        // Input aimed at the main window must do nothing, then or later.
        for (int i = Pick(4); i > 0; --i) {
            if (Pick(2)) ClickWindowAt(QPoint(Pick(640), Pick(440)));
            else QTest::keyClicks(WidgetOf(boardCanvas), QString::number(Pick(10)));
        }
        switch (Pick(5)) {
        case 0: QTest::keyClick(dialog, Qt::Key_Escape); break;
        case 1: QTest::keyClick(dialog, Qt::Key_Return); break;
        case 2: QTest::keyClick(dialog, Qt::Key_Enter, Qt::KeypadModifier); break;
        case 3: dialog->close(); break;
        default:
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->text() == "Close") QTest::mouseClick(button, Qt::LeftButton);
        }
    }

    void Snapshot()
    {
        boardBefore_ = board;
        stateBefore_ = gameState;
        titleBefore_ = WindowTitleOf(mainWindow);
    }

    // A successful start resets the per-puzzle state: every cell back to the record's givens.
    bool PuzzleWasLoaded() const
    {
        if (gameState.puzzleLoaded == 0) return false;
        for (CellNumber n = 1; n <= 81; ++n)
            if (board.value[n] != board.record.givens[n - 1] || board.errorFlag[n] != 0) return false;
        const bool changedRecord = std::memcmp(&board.record, &boardBefore_.record, sizeof board.record) != 0;
        bool hadPlay = stateBefore_.puzzleLoaded == 0 || stateBefore_.solvedAnnounced || stateBefore_.solutionShown;
        for (CellNumber n = 1; n <= 81; ++n)
            hadPlay |= boardBefore_.value[n] != boardBefore_.record.givens[n - 1] || boardBefore_.errorFlag[n] != 0;
        return changedRecord || hadPlay || WindowTitleOf(mainWindow) != titleBefore_;
    }

    void Check()
    {
        const std::vector<SeenMessageBox> boxes = TakeMessageBoxes();
        if (aboutWasOpen_) {
            aboutWasOpen_ = false;
            // The About dialog changes nothing of the game, whatever reached the main window.
            if (std::memcmp(&board, &boardBefore_, sizeof board) != 0 ||
                std::memcmp(&gameState, &stateBefore_, sizeof gameState) != 0)
                Fail("input reached the game while the About dialog was open");
        }
        if (PuzzleWasLoaded()) {
            announced_ = solutionShown_ = false;
            ++puzzlesLoaded;
        }
        if (gameState.solutionShown && !stateBefore_.solutionShown) {
            solutionShown_ = true;
            ++solutionsShown;
        }

        for (const SeenMessageBox& box : boxes) {
            if (box.ownerTitle.empty()) Fail("a message box without an owner: " + box.text);
            if (std::abs(box.offCentreX) > 1 || std::abs(box.offCentreY) > 1)
                Fail("a message box not centred over its owner: " + box.text);
            if (box.text != congratulation) {
                ++otherBoxes;
                continue;
            }
            ++congratulations;
            if (announced_) Fail("a second congratulation for one puzzle");
            if (solutionShown_) Fail("a congratulation after Show solution");
            announced_ = true;
        }
        // Every box comes after the redraw of what led to it (a completing digit, marks).
        for (const SeenMessageBox& box : boxes)
            if (box.canvas != CanvasPicture(boardCanvas)) Fail("the board was not redrawn before: " + box.text);

        if (gameState.selectedCell < 1 || gameState.selectedCell > 81) Fail("selectedCell out of range");
        for (CellNumber n = 1; n <= 81; ++n) {
            const int64_t kind = board.kind[n];
            if (kind < Open || kind > Revealed) Fail("a kind out of range at cell " + std::to_string(n));
            if (board.value[n] < 0 || board.value[n] > 9) Fail("a value out of range at cell " + std::to_string(n));
            if (!gameState.puzzleLoaded) continue;
            const uint8_t given = board.record.givens[n - 1];
            if ((kind == Given) != (given != 0) || (kind == Given && board.value[n] != given))
                Fail("cell " + std::to_string(n) + " does not match the record's givens");
            if (board.errorFlag[n] && (board.value[n] == 0 || board.value[n] == SolutionDigit(n)))
                Fail("cell " + std::to_string(n) + " is marked but not wrong");
        }

        // The picture on the canvas is the picture of the state.
        const QImage shown = CanvasPicture(boardCanvas);
        DrawBoard();
        if (CanvasPicture(boardCanvas) != shown) Fail("the canvas differs from a fresh drawing of the board");
        Snapshot();
    }
};

TEST(Storm, ThousandsOfRandomEventsKeepTheGameSound)
{
    const uint64_t seed = EnvironmentNumber(
        "VAKIDO_STORM_SEED", static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const uint64_t events = EnvironmentNumber("VAKIDO_STORM_EVENTS", 100000);
    std::printf("storm: seed %llu, %llu events (VAKIDO_STORM_SEED=%llu replays it)\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(events),
                static_cast<unsigned long long>(seed));

    RemovePuzzleFiles();
    const int identity[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const int shifted[10] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 1};
    const int reversed[10] = {0, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    WritePuzzleFile(1, {Relabelled(identity), Relabelled(shifted), Relabelled(reversed)});
    WritePuzzleFile(2, {Relabelled(reversed), Relabelled(shifted)});
    // Level 3's file is invalid (a wrong header) and level 4's is missing.
    WriteFileAtomically(ProgramDirectory() + PuzzleFileName(3), "VKDO\x02\x03 not a puzzle file at all");

    AnswerMessageBoxesEvery(0);
    StartRealGame();
    SeedRandomSources(seed);  // the run is replayable from here on
    TakeMessageBoxes();

    const auto start = std::chrono::steady_clock::now();
    Storm storm(seed);
    storm.Run(events);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("storm: %llu events in %.1f s: %d puzzles loaded, %d congratulations, %d solutions shown, %d other "
                "message boxes, %d About dialogs\n",
                static_cast<unsigned long long>(storm.eventsRun()), seconds, storm.puzzlesLoaded, storm.congratulations,
                storm.solutionsShown, storm.otherBoxes, storm.aboutDialogs);
    EXPECT_TRUE(storm.failure.empty()) << "seed " << seed << ", " << storm.failure;

    AnswerMessageBoxesEvery(5);
    RemovePuzzleFiles();
}

}  // namespace
