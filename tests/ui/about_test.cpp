// The About dialog: its content, its own loop, and the ways it closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <functional>

#include "board/board.h"
#include "board/puzzle_start.h"
#include "platform/qt_access.h"
#include "tests/support/game_harness.h"
#include "ui/about_dialog.h"
#include "ui/board_rendering.h"
#include "ui/game.h"
#include "ui/logo.h"
#include "ui/main_window.h"

namespace {

QWidget* OpenDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == "About") return widget;
    return nullptr;
}

struct Content {
    std::vector<std::string> labels;
    std::vector<QRect> labelPlaces;
    bool hasLogo = false;
    QSize size;
    bool mainEnabledMeanwhile = true;
    bool mainControlsDrawnEnabled = true;
    QFont productFont;
};

Content ReadContent(QWidget* dialog)
{
    Content content;
    content.size = dialog->size();
    content.mainEnabledMeanwhile = IsWindowEnabled(mainWindow);
    for (QWidget* control : WidgetOf(mainWindow)->findChildren<QWidget*>())
        content.mainControlsDrawnEnabled &= control->isEnabled();
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            content.hasLogo = true;
            EXPECT_EQ(label->geometry(), QRect(16, 16, 256, 256));
            continue;
        }
        content.labels.push_back(label->text().toStdString());
        content.labelPlaces.push_back(label->geometry());
        if (label->text() == "Vakido 1.00") content.productFont = label->font();
    }
    return content;
}

// Opens the dialog and, once it is up, calls `act` on it until it closes. Returns what the
// dialog showed.
Content RunDialog(const std::function<void(QWidget*)>& act, const unsigned char* begin = logoStart,
                  const unsigned char* end = logoEnd)
{
    Content content;
    bool acted = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* dialog = OpenDialog();
        if (!dialog || acted) return;
        acted = true;
        content = ReadContent(dialog);
        act(dialog);
    });
    timer.start(10);
    ShowAboutDialog(mainWindow, "Vakido 1.00", begin, end);
    EXPECT_TRUE(acted);
    return content;
}

class About : public ::testing::Test {
protected:
    void SetUp() override { NewGameWindow(); }
    static void ExpectMainBack()
    {
        QApplication::processEvents();
        EXPECT_TRUE(IsWindowEnabled(mainWindow));
        EXPECT_EQ(OpenDialog(), nullptr);
    }
};

TEST_F(About, ShowsItsContentAndClosesEveryWay)
{
    const std::vector<std::pair<const char*, std::function<void(QWidget*)>>> ways = {
        {"Escape", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }},
        {"Enter", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); }},
        {"keypad Enter", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"close box", [](QWidget* d) { d->close(); }},
        {"Close button",
         [](QWidget* d) {
             for (QPushButton* button : d->findChildren<QPushButton*>())
                 if (button->text() == "Close") QTest::mouseClick(button, Qt::LeftButton);
         }},
    };
    Content first;
    for (const auto& [how, act] : ways) {
        const Content content = RunDialog(act);
        ExpectMainBack();
        EXPECT_FALSE(content.mainEnabledMeanwhile) << how;
        EXPECT_TRUE(content.mainControlsDrawnEnabled) << how << ": the main window must not be drawn greyed";
        EXPECT_TRUE(content.hasLogo) << how;
        EXPECT_EQ(content.size, QSize(600, 300));
        if (first.labels.empty()) first = content;
        EXPECT_EQ(content.labels, first.labels) << "reopened with " << how;
    }
    ASSERT_EQ(first.labels.size(), 6u);
    EXPECT_EQ(first.labels[0], "Vakido 1.00");
    EXPECT_EQ(first.labels[4], "Created using:");
    EXPECT_EQ(first.labels[5], ToolLine());
    EXPECT_NE(ToolLine().find("C++20, Qt 6"), std::string::npos);
    EXPECT_EQ(first.labelPlaces[0], QRect(290, 24, 300, 46));
    EXPECT_EQ(first.labelPlaces[5], QRect(290, 204, 300, 20));
    EXPECT_TRUE(first.productFont.bold());
    EXPECT_EQ(first.productFont.pointSize(), 12);
}

TEST_F(About, ClicksOnLabelsAndLogoDoNotCloseIt)
{
    bool stillOpen = false;
    RunDialog([&](QWidget* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>()) QTest::mouseClick(label, Qt::LeftButton);
        QTest::mouseClick(WidgetOf(boardCanvas), Qt::LeftButton);  // aimed at the disabled main window
        QTimer::singleShot(50, [dialog, &stillOpen] {
            stillOpen = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
    });
    EXPECT_TRUE(stillOpen);
    ExpectMainBack();
}

// Clicks and keys aimed at the main window while the dialog is open change nothing, then or
// after the dialog closes, and the main window looks as it did.
TEST_F(About, TheMainWindowTakesNoInputMeanwhileAndIsNotGreyed)
{
    WritePuzzleFile(1, {SampleRecord()});
    WritePuzzleFile(2, {SampleRecord()});
    StartPuzzle();
    gameState.selectedCell = 1;
    DrawBoard();
    const Board boardBefore = board;
    const GameState stateBefore = gameState;
    const QImage looksBefore = WidgetOf(mainWindow)->grab().toImage();
    QImage looksMeanwhile;
    RunDialog([&](QWidget* dialog) {
        QWidget* canvas = WidgetOf(boardCanvas);
        QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
        QTest::keyClick(canvas, Qt::Key_Down);
        QTest::keyClicks(canvas, "7");
        for (WindowId control : {hintButton, showSolutionButton, newPuzzleButton, levelOptions[2]})
            QTest::mouseClick(WidgetOf(control), Qt::LeftButton);
        looksMeanwhile = WidgetOf(mainWindow)->grab().toImage();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    PumpEvents();
    EXPECT_EQ(std::memcmp(&board, &boardBefore, sizeof board), 0);
    EXPECT_EQ(std::memcmp(&gameState, &stateBefore, sizeof gameState), 0);
    EXPECT_TRUE(IsOptionChecked(levelOptions[1]));
    EXPECT_TRUE(TakeMessageBoxes().empty());
    EXPECT_EQ(looksMeanwhile, looksBefore) << "the main window changed its looks while About was open";
    RemovePuzzleFiles();
}

TEST_F(About, LogoThatFailsToDecodeLeavesTheLabelsInPlace)
{
    const unsigned char garbage[] = "not a png at all";
    const Content broken = RunDialog([](QWidget* d) { d->close(); }, garbage, garbage + sizeof garbage);
    const Content empty = RunDialog([](QWidget* d) { d->close(); }, nullptr, nullptr);
    const Content good = RunDialog([](QWidget* d) { d->close(); });
    EXPECT_FALSE(broken.hasLogo);
    EXPECT_FALSE(empty.hasLogo);
    EXPECT_EQ(broken.labelPlaces, good.labelPlaces);
    EXPECT_EQ(broken.labels, good.labels);
}

TEST_F(About, TheAboutButtonReturnsTheFocusToTheBoard)
{
    SetFocus(checkButton);
    QTimer::singleShot(20, [] {
        if (QWidget* dialog = OpenDialog()) QTest::keyClick(dialog, Qt::Key_Escape);
    });
    ClickControl(aboutButton);  // runs the dialog's loop until the Escape above
    EXPECT_EQ(FocusedControl(), boardCanvas);
    ExpectMainBack();
}

}  // namespace
