// The platform's windows, controls and events over Qt 6 Widgets.
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <vector>
#include <deque>
#include <map>
#include <set>
#include <memory>

#include "platform/accessible_canvas.h"
#include "platform/qt_access.h"
#include "platform/qt_widgets.h"

namespace {

std::unique_ptr<QApplication> application;
std::deque<Event> pendingEvents;
Event currentEvent;

WindowId nextId = 1;
std::map<WindowId, QPointer<QWidget>> widgets;
std::map<FontId, QFont> fonts;
std::map<ImageId, QImage> images;
std::map<WindowId, QButtonGroup*> optionGroups;  // one exclusive group per window
std::set<WindowId> inputBlocked;                  // top-level windows disabled by EnableWindow

void PostControlEvent(QWidget* control);

// An option button that a click anywhere in its rectangle checks, not only on its circle
// and text. A click raises a control event; so does checking it by other means than the
// game's own (a screen reader's Toggle action), which raises no click.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;
    bool checkedByTheGame = false;

protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }
    // Called when the button is checked other than by a click.
    void checkStateSet() override
    {
        QRadioButton::checkStateSet();
        if (isChecked() && !checkedByTheGame) PostControlEvent(this);
    }
};

// Swallows the player's input to disabled top-level windows. Qt's own disabling would
// also draw every control of the window greyed out; a window the game disables while a
// dialog is open must look as it did and only take no input.
class InputBlocker : public QObject {
protected:
    bool eventFilter(QObject* target, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: case QEvent::Wheel: case QEvent::KeyPress: case QEvent::KeyRelease:
        case QEvent::ShortcutOverride: case QEvent::Shortcut: case QEvent::ContextMenu: case QEvent::TouchBegin:
        case QEvent::TouchUpdate: case QEvent::TouchEnd: case QEvent::TabletPress: case QEvent::TabletRelease:
        case QEvent::InputMethod:
            break;
        default:
            return false;
        }
        const auto* widget = qobject_cast<QWidget*>(target);
        return widget && inputBlocked.count(IdOf(widget->window())) != 0;
    }
};
InputBlocker* inputBlocker = nullptr;

WindowId Register(QWidget* widget)
{
    const WindowId id = nextId++;
    widgets[id] = widget;
    widget->setProperty("vakidoId", QVariant::fromValue<qlonglong>(id));
    return id;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }
QColor ToQColor(Colour c) { return QColor(c.red, c.green, c.blue); }

// A control event of `control`, to be filled in further for canvas input.
Event ControlEventOf(const QWidget* control)
{
    Event event;
    event.kind = EventKind::Control;
    event.control = IdOf(control);
    event.window = IdOf(control->window());
    return event;
}

void PostControlEvent(QWidget* control) { PostEvent(ControlEventOf(control)); }

// Virtual-key codes for the keys that have one; 0 for the rest.
int VirtualKeyOf(const QKeyEvent* event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Backspace: return keyBackspace;
    case Qt::Key_Tab: case Qt::Key_Backtab: return keyTab;
    case Qt::Key_Return: case Qt::Key_Enter: return keyEnter;
    case Qt::Key_Escape: return keyEscape;
    case Qt::Key_Space: return keySpace;
    case Qt::Key_Left: return keyLeft;
    case Qt::Key_Up: return keyUp;
    case Qt::Key_Right: return keyRight;
    case Qt::Key_Down: return keyDown;
    case Qt::Key_Delete: return keyDelete;
    default: break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (event->modifiers() & Qt::KeypadModifier) ? 96 + (key - Qt::Key_0) : key;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    return 0;
}

Qt::Key QtKeyOf(int keyCode)
{
    switch (keyCode) {
    case keyEnter: return Qt::Key_Return;
    case keyEscape: return Qt::Key_Escape;
    case keySpace: return Qt::Key_Space;
    default: return static_cast<Qt::Key>(keyCode);
    }
}

// Faces the game asks for that Debian does not ship, and what stands in for them.
QFont ResolveFont(const std::string& face, int points, int weight)
{
    QString family = Text(face);
    QFont::Weight qtWeight = weight >= 700 ? QFont::Bold : QFont::Normal;
    if (!QFontDatabase::hasFamily(family)) {
        if (face == "Arial Black") qtWeight = QFont::Bold;  // a heavy face by nature
        family = "DejaVu Sans";
    }
    QFont font(family, points, qtWeight, false);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace

void PostEvent(const Event& event) { pendingEvents.push_back(event); }

void TopWindow::closeEvent(QCloseEvent* event)
{
    if (allowClose) {
        event->accept();
        return;
    }
    event->ignore();
    Event request;
    request.kind = EventKind::CloseRequest;
    request.window = IdOf(this);
    PostEvent(request);
}

bool TopWindow::focusNextPrevChild(bool next)
{
    std::vector<QWidget*> stops;
    for (QObject* child : children()) {
        auto* control = qobject_cast<QWidget*>(child);
        // Not focusPolicy() & Qt::TabFocus: Qt takes tab focus away from the unchecked
        // buttons of an exclusive group, and here each option is a stop.
        if (control && !control->isWindow() && control->isVisible() && control->isEnabled() &&
            control->focusPolicy() != Qt::NoFocus)
            stops.push_back(control);
    }
    if (stops.empty()) return false;
    const auto current = std::find(stops.begin(), stops.end(), focusWidget());
    size_t index = 0;
    if (current != stops.end()) {
        const size_t at = static_cast<size_t>(current - stops.begin());
        index = next ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    stops[index]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void Canvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QImage shown = picture;
    shown.setDevicePixelRatio(devicePixelRatioF());
    painter.drawImage(QPointF(0, 0), shown);
}

void Canvas::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    AnnounceCanvasFocus(this);
}

void Canvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    Event press = ControlEventOf(this);
    press.input = CanvasInput::LeftButtonDown;
    // A press lands on a whole device pixel; Qt hands it over divided by the scale, so
    // multiplying back can miss the pixel by a hair (51.9999 for 52 at 1.25): round.
    const double scale = devicePixelRatioF();
    press.x = static_cast<int>(std::lround(event->position().x() * scale));
    press.y = static_cast<int>(std::lround(event->position().y() * scale));
    PostEvent(press);
}

void Canvas::keyPressEvent(QKeyEvent* event)
{
    Event key = ControlEventOf(this);
    key.input = CanvasInput::KeyDown;
    key.keyCode = VirtualKeyOf(event);
    PostEvent(key);
    // The typed characters follow the key press as events of their own.
    for (char32_t c : event->text().toUcs4()) {
        Event typed = key;
        typed.input = CanvasInput::Character;
        typed.keyCode = 0;
        typed.character = c;
        PostEvent(typed);
    }
}

QWidget* WidgetOf(WindowId id)
{
    auto it = widgets.find(id);
    return it == widgets.end() ? nullptr : it->second.data();
}

WindowId IdOf(const QWidget* widget)
{
    if (!widget) return noWindow;
    const QVariant id = widget->property("vakidoId");
    return id.isValid() ? id.toLongLong() : noWindow;
}

void StartPlatform()
{
    if (application) return;
    // The game takes no command line: Qt sees only the program name.
    static int argc = 1;
    static char name[] = "vakido";
    static char* argv[] = {name, nullptr};
    QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    application = std::make_unique<QApplication>(argc, argv);
    inputBlocker = new InputBlocker;
    application->installEventFilter(inputBlocker);
    InstallAccessibleCanvasFactory();
    QApplication::setApplicationName("Vakido");
    QApplication::setDesktopFileName("org.vakido.Vakido");
}

void StopPlatform()
{
    for (auto& [id, widget] : widgets)
        if (widget && widget->isWindow()) {
            if (auto* top = dynamic_cast<TopWindow*>(widget.data())) top->allowClose = true;
            delete widget.data();
        }
    widgets.clear();
    optionGroups.clear();
    inputBlocked.clear();
    fonts.clear();
    images.clear();
    pendingEvents.clear();
    delete inputBlocker;
    inputBlocker = nullptr;
    application.reset();
}

const Event& WaitForEvent()
{
    while (pendingEvents.empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    currentEvent = pendingEvents.front();
    pendingEvents.pop_front();
    return currentEvent;
}

const Event& CurrentEvent() { return currentEvent; }

WindowId CreateMainWindow(const std::string& caption, int left, int top, int clientWidth, int clientHeight)
{
    auto* window = new TopWindow(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                 Qt::WindowCloseButtonHint);
    window->setWindowTitle(Text(caption));
    window->setFixedSize(clientWidth, clientHeight);
    window->move(left, top);  // a top-level widget's position is that of its frame
    const WindowId id = Register(window);
    window->show();
    window->raise();
    window->activateWindow();
    return id;
}

WindowId CreateDialogWindow(WindowId owner, const std::string& caption, int clientWidth, int clientHeight)
{
    QWidget* parent = WidgetOf(owner);
    if (!parent) return noWindow;
    auto* dialog = new TopWindow(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setWindowTitle(Text(caption));
    dialog->setFixedSize(clientWidth, clientHeight);
    // Owned without being a child widget, so that disabling the owner leaves it alone.
    dialog->winId();
    if (dialog->windowHandle() && parent->windowHandle()) dialog->windowHandle()->setTransientParent(parent->windowHandle());
    // Centre frame over frame; the dialog's frame is taken to be as thick as its owner's.
    const QRect ownerFrame = parent->frameGeometry();
    const int outerWidth = clientWidth + (ownerFrame.width() - parent->width());
    const int outerHeight = clientHeight + (ownerFrame.height() - parent->height());
    const int x = std::max(0, ownerFrame.left() + (ownerFrame.width() - outerWidth) / 2);
    const int y = std::max(0, ownerFrame.top() + (ownerFrame.height() - outerHeight) / 2);
    dialog->move(x, y);
    const WindowId id = Register(dialog);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return id;
}

void SetWindowBackground(WindowId window, Colour colour)
{
    QWidget* widget = WidgetOf(window);
    if (!widget) return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

static void Place(QWidget* control, int x, int y, int width, int height)
{
    control->setGeometry(x, y, width, height);
    control->show();
}

WindowId CreateCanvas(WindowId window, int x, int y, int width, int height)
{
    QWidget* parent = WidgetOf(window);
    if (!parent) return noWindow;
    auto* canvas = new Canvas(parent);
    canvas->setFocusPolicy(Qt::StrongFocus);
    canvas->setAttribute(Qt::WA_OpaquePaintEvent);
    Place(canvas, x, y, width, height);
    return Register(canvas);
}

WindowId CreateOptionButton(WindowId window, const std::string& text, int x, int y, int width, int height)
{
    QWidget* parent = WidgetOf(window);
    if (!parent) return noWindow;
    auto* option = new OptionButton(Text(text), parent);
    QButtonGroup*& group = optionGroups[window];
    if (!group) {
        group = new QButtonGroup(parent);
        group->setExclusive(true);
    }
    group->addButton(option);
    QObject::connect(option, &QRadioButton::clicked, option, [option] { PostControlEvent(option); });
    Place(option, x, y, width, height);
    return Register(option);
}

WindowId CreatePushButton(WindowId window, const std::string& text, int x, int y, int width, int height,
                          bool isDefault)
{
    QWidget* parent = WidgetOf(window);
    if (!parent) return noWindow;
    // A literal ampersand stays an ampersand.
    auto* button = new QPushButton(Text(text).replace("&", "&&"), parent);
    button->setAutoDefault(false);
    button->setDefault(isDefault);
    QObject::connect(button, &QPushButton::clicked, button, [button] { PostControlEvent(button); });
    Place(button, x, y, width, height);
    return Register(button);
}

WindowId CreateTextLabel(WindowId window, const std::string& text, int x, int y, int width, int height)
{
    QWidget* parent = WidgetOf(window);
    if (!parent) return noWindow;
    auto* label = new QLabel(Text(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    Place(label, x, y, width, height);
    return Register(label);
}

WindowId CreateImageControl(WindowId window, ImageId image, int x, int y)
{
    QWidget* parent = WidgetOf(window);
    auto it = images.find(image);
    if (!parent || it == images.end()) return noWindow;
    auto* control = new QLabel(parent);
    control->setPixmap(QPixmap::fromImage(it->second));
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(control, x, y, it->second.width(), it->second.height());
    return Register(control);
}

void SetLabelBackground(WindowId label, Colour colour) { SetWindowBackground(label, colour); }

void CheckOption(WindowId option)
{
    if (auto* button = dynamic_cast<OptionButton*>(WidgetOf(option))) {
        button->checkedByTheGame = true;
        button->setChecked(true);
        button->checkedByTheGame = false;
    }
}

bool IsOptionChecked(WindowId option)
{
    auto* button = qobject_cast<QRadioButton*>(WidgetOf(option));
    return button && button->isChecked();
}

void SetWindowTitle(WindowId window, const std::string& title)
{
    if (QWidget* widget = WidgetOf(window)) widget->setWindowTitle(Text(title));
}

void SetLabelText(WindowId label, const std::string& text)
{
    if (auto* widget = qobject_cast<QLabel*>(WidgetOf(label))) widget->setText(Text(text));
}

void SetFocus(WindowId control)
{
    if (QWidget* widget = WidgetOf(control)) widget->setFocus(Qt::OtherFocusReason);
}

WindowId FocusedControl() { return IdOf(QApplication::focusWidget()); }

void EnableWindow(WindowId window, bool enabled)
{
    QWidget* widget = WidgetOf(window);
    if (!widget) return;
    if (!widget->isWindow()) {
        widget->setEnabled(enabled);
    } else if (enabled) {
        inputBlocked.erase(window);
    } else {
        inputBlocked.insert(window);
    }
}

bool IsWindowEnabled(WindowId window)
{
    QWidget* widget = WidgetOf(window);
    return widget && widget->isEnabled() && inputBlocked.count(window) == 0;
}

void ActivateWindow(WindowId window)
{
    if (QWidget* widget = WidgetOf(window)) {
        widget->raise();
        widget->activateWindow();
    }
}

void CloseWindow(WindowId window)
{
    QWidget* widget = WidgetOf(window);
    if (!widget) return;
    for (auto it = widgets.begin(); it != widgets.end();) {
        QWidget* w = it->second.data();
        if (!w || w == widget || widget->isAncestorOf(w)) it = widgets.erase(it);
        else ++it;
    }
    optionGroups.erase(window);
    inputBlocked.erase(window);
    if (auto* top = dynamic_cast<TopWindow*>(widget)) top->allowClose = true;
    widget->close();
    delete widget;
}

void AddShortcut(WindowId window, int keyCode, int number)
{
    QWidget* widget = WidgetOf(window);
    if (!widget) return;
    auto add = [&](Qt::Key key) {
        auto* shortcut = new QShortcut(QKeySequence(key), widget);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, widget, [widget, number] {
            Event event;
            event.kind = EventKind::Shortcut;
            event.window = IdOf(widget);
            event.shortcut = number;
            PostEvent(event);
        });
    };
    add(QtKeyOf(keyCode));
    if (keyCode == keyEnter) add(Qt::Key_Enter);  // the keypad's Enter too
}

FontId CreateFont(const std::string& face, int points, int weight)
{
    if (face.empty() || points <= 0) return 0;
    const FontId id = nextId++;
    fonts[id] = ResolveFont(face, points, weight);
    return id;
}

void SetControlFont(WindowId control, FontId font)
{
    QWidget* widget = WidgetOf(control);
    auto it = fonts.find(font);
    if (widget && it != fonts.end()) widget->setFont(it->second);
}

void FreeFont(FontId font) { fonts.erase(font); }

const QFont* FontOf(FontId font)
{
    auto it = fonts.find(font);
    return it == fonts.end() ? nullptr : &it->second;
}

ImageId RegisterImage(const QImage& image)
{
    const ImageId id = nextId++;
    images[id] = image;
    return id;
}

void FreeImage(ImageId image) { images.erase(image); }

// The window the game is showing: the newest top-level window still open that takes
// input, so the main window, or the About dialog while it is open. The toolkit's active
// window will not do: before the event loop has run (a warning at start-up) there is none.
static QWidget* MessageBoxOwner()
{
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it) {
        QWidget* widget = it->second.data();
        if (widget && widget->isWindow() && widget->isVisible() && !qobject_cast<QMessageBox*>(widget) &&
            inputBlocked.count(it->first) == 0)
            return widget;
    }
    return nullptr;
}

void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon)
{
    const QMessageBox::Icon qtIcon = icon == MessageIcon::Information ? QMessageBox::Information
                                     : icon == MessageIcon::Warning  ? QMessageBox::Warning
                                                                     : QMessageBox::NoIcon;
    const QPointer<QWidget> owner = MessageBoxOwner();
    QMessageBox box(qtIcon, Text(caption), Text(text), QMessageBox::Ok, owner.data());
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // Give the keyboard back to the window the box was shown over.
    if (owner) {
        owner->activateWindow();
        QApplication::processEvents();
    }
}

std::string ToolkitVersion() { return std::string("Qt ") + QT_VERSION_STR; }

bool HasPendingEvent() { return !pendingEvents.empty(); }
