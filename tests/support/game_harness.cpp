#include "tests/support/game_harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "board/board.h"
#include "grading/grid_geometry.h"
#include "platform/qt_access.h"
#include "puzzles/puzzle_file_writer.h"
#include "puzzles/puzzle_lookup.h"
#include "ui/board_rendering.h"
#include "ui/game.h"
#include "ui/main_window.h"

namespace {

std::vector<SeenMessageBox> seen;
QTimer* answerTimer = nullptr;

// Every few milliseconds, answers a modal message box if one is open.
void AnswerMessageBoxes()
{
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        const MessageIcon icon = box->icon() == QMessageBox::Information ? MessageIcon::Information
                                 : box->icon() == QMessageBox::Warning  ? MessageIcon::Warning
                                                                        : MessageIcon::None;
        SeenMessageBox record{box->windowTitle().toStdString(), box->text().toStdString(), icon, {}, 0, 0,
                              CanvasPicture(boardCanvas)};
        if (const QWidget* owner = box->parentWidget()) {
            record.ownerTitle = owner->window()->windowTitle().toStdString();
            // Centred over the owner, then kept on the screen as Qt keeps dialogs (the small
            // offscreen screens of the larger display scales clip the main window).
            const QRect frame = box->frameGeometry();
            const QRect screen = box->screen()->availableGeometry();
            QPoint wanted = owner->window()->frameGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2);
            wanted.setX(std::max(screen.left(), std::min(wanted.x(), screen.right() + 1 - frame.width())));
            wanted.setY(std::max(screen.top(), std::min(wanted.y(), screen.bottom() + 1 - frame.height())));
            record.offCentreX = frame.left() - wanted.x();
            record.offCentreY = frame.top() - wanted.y();
        }
        seen.push_back(record);
        box->button(QMessageBox::Ok)->click();
    }
}

// Releases the toolkit before the program's static objects go.
class PlatformEnvironment : public ::testing::Environment {
public:
    void TearDown() override { StopPlatform(); }
};
const auto* platformEnvironment = ::testing::AddGlobalTestEnvironment(new PlatformEnvironment);

}  // namespace

void StartTestPlatform()
{
    static bool started = false;
    if (started) return;
    started = true;
    setenv("XDG_RUNTIME_DIR", "/tmp", 0);
    StartPlatform();
    BuildGridGeometry();
    answerTimer = new QTimer(QApplication::instance());
    QObject::connect(answerTimer, &QTimer::timeout, AnswerMessageBoxes);
    answerTimer->start(5);
}

void AnswerMessageBoxesEvery(int milliseconds)
{
    StartTestPlatform();
    answerTimer->start(milliseconds);
}

std::vector<SeenMessageBox> TakeMessageBoxes()
{
    std::vector<SeenMessageBox> result;
    result.swap(seen);
    return result;
}

void NewGameWindow()
{
    StartTestPlatform();
    if (mainWindow != noWindow) CloseWindow(mainWindow);
    PumpEvents();
    ResetBoardState();
    DisplayScale = 1.0;
    if (boardFont == 0) boardFont = CreateFont("Arial Black", 16, 400);
    BuildMainWindow();
    QApplication::processEvents();
    DrawBoard();
    seen.clear();
}

void StartRealGame()
{
    StartTestPlatform();
    if (mainWindow != noWindow) CloseWindow(mainWindow);
    PumpEvents();
    seen.clear();
    StartGame();
}

void PumpEvents()
{
    QApplication::processEvents();
    while (HasPendingEvent()) {
        DispatchMainEvent(WaitForEvent());
        QApplication::processEvents();
    }
}

PuzzleRecord SampleRecord()
{
    const char* givens = "006020005050071236001006809600207390003098400100003080205640173360700950010300000";
    const char* solution = "836924715459871236721536849648257391573198462192463587285649173364712958917385624";
    PuzzleRecord record;
    for (int i = 0; i < 81; ++i) {
        record.givens[i] = static_cast<uint8_t>(givens[i] - '0');
        record.solution[i] = static_cast<uint8_t>(solution[i] - '0');
    }
    record.givenCount = 39;
    record.hardestTechnique = 1;
    return record;
}

void WritePuzzleFile(int level, const std::vector<PuzzleRecord>& records)
{
    const std::string path = ProgramDirectory() + PuzzleFileName(level);
    WriteFileAtomically(path, EncodePuzzleFile(level, records));
}

void RemovePuzzleFiles()
{
    for (int level = 1; level <= 4; ++level) std::remove((ProgramDirectory() + PuzzleFileName(level)).c_str());
}

void ClickControl(WindowId control)
{
    QWidget* widget = WidgetOf(control);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    PumpEvents();
}

void ClickAt(WindowId control, double x, double y)
{
    QWidget* widget = WidgetOf(control);
    const QPointF local(x, y);
    QMouseEvent press(QEvent::MouseButtonPress, local, widget->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, widget->mapToGlobal(local), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    PumpEvents();
}

void PressKey(int qtKey, int modifiers)
{
    QWidget* target = QApplication::focusWidget();
    if (!target) target = WidgetOf(mainWindow);
    QTest::keyClick(target, static_cast<Qt::Key>(qtKey), static_cast<Qt::KeyboardModifiers>(modifiers));
    PumpEvents();
}

void TypeText(const std::string& text)
{
    QWidget* target = QApplication::focusWidget();
    if (!target) target = WidgetOf(mainWindow);
    QTest::keyClicks(target, QString::fromStdString(text));
    PumpEvents();
}

std::string WindowTitleOf(WindowId window) { return WidgetOf(window)->windowTitle().toStdString(); }

std::string LabelTextOf(WindowId label) { return qobject_cast<QLabel*>(WidgetOf(label))->text().toStdString(); }
