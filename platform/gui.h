// Windows, controls, events, fonts, images and message boxes: what the game asks of the
// desktop. Plain C++ types only; Qt stays behind this header.
#pragma once

#include <cstdint>
#include <string>

// The identity of a window or control, assigned at creation; noWindow is none.
using WindowId = int64_t;
constexpr WindowId noWindow = 0;
using FontId = int64_t;   // 0 = none
using ImageId = int64_t;  // 0 = none

struct Colour {
    int red, green, blue;
};

enum class EventKind {
    Other,         // anything the game does not act on
    Control,       // a button pressed, an option clicked, or input on a canvas
    CloseRequest,  // the player asked to close a window (close box, system menu)
    Shortcut,      // a registered keyboard shortcut of a window
};

// For control events of a canvas: what happened on it.
enum class CanvasInput { None, LeftButtonDown, KeyDown, Character };

struct Event {
    EventKind kind = EventKind::Other;
    WindowId window = noWindow;   // the top-level window the event belongs to
    WindowId control = noWindow;  // the control that sent a control event
    int shortcut = 0;             // the number of a shortcut event
    CanvasInput input = CanvasInput::None;
    int x = 0, y = 0;             // LeftButtonDown: whole device pixels of the canvas picture
    int keyCode = 0;              // KeyDown: virtual-key code (Left 37 ... Delete 46)
    char32_t character = 0;       // Character: the typed character
};

// Virtual-key codes the game uses.
enum VirtualKey : int {
    keyBackspace = 8, keyTab = 9, keyEnter = 13, keyEscape = 27, keySpace = 32,
    keyLeft = 37, keyUp = 38, keyRight = 39, keyDown = 40, keyDelete = 46,
};

// Starts the toolkit (ignoring the process's arguments) and declares the program aware of
// display scaling. StopPlatform releases every window, font and image.
void StartPlatform();
void StopPlatform();

// Blocks until the next event and returns it; CurrentEvent is that event until the next
// wait. No timers: the wait returns only for input and window events.
const Event& WaitForEvent();
const Event& CurrentEvent();

// A top-level window with a fixed client size, whose outer top-left corner is at (left,
// top) on the screen: title bar, system menu, minimise and close boxes, no maximising and
// no sizing border. Shown and activated at once.
WindowId CreateMainWindow(const std::string& caption, int left, int top, int clientWidth, int clientHeight);
// A window owned by `owner` (kept above it), centred over it frame to frame, with a close
// box only; not resizable. Shown and activated at once. noWindow when it cannot be made.
WindowId CreateDialogWindow(WindowId owner, const std::string& caption, int clientWidth, int clientHeight);
void SetWindowBackground(WindowId window, Colour colour);

// Controls inside a window, at a position and size in logical units of its client area.
// The keyboard visits them in creation order. All option buttons of one window form one
// exclusive group. Text is shown literally (no mnemonics) and labels wrap their words.
WindowId CreateCanvas(WindowId window, int x, int y, int width, int height);
WindowId CreateOptionButton(WindowId window, const std::string& text, int x, int y, int width, int height);
WindowId CreatePushButton(WindowId window, const std::string& text, int x, int y, int width, int height,
                          bool isDefault);
WindowId CreateTextLabel(WindowId window, const std::string& text, int x, int y, int width, int height);
// An image control sized to the image, which is drawn unscaled at its top-left corner.
WindowId CreateImageControl(WindowId window, ImageId image, int x, int y);
void SetLabelBackground(WindowId label, Colour colour);

void CheckOption(WindowId option);
bool IsOptionChecked(WindowId option);
void SetWindowTitle(WindowId window, const std::string& title);
void SetLabelText(WindowId label, const std::string& text);
void SetFocus(WindowId control);
WindowId FocusedControl();

// A disabled top-level window takes no input but is drawn as before; a disabled control
// is greyed out as usual.
void EnableWindow(WindowId window, bool enabled);
bool IsWindowEnabled(WindowId window);
void ActivateWindow(WindowId window);
// Closes and destroys a window with its controls.
void CloseWindow(WindowId window);

// Registers a key without modifiers (a virtual-key code) as shortcut `number` of a window.
void AddShortcut(WindowId window, int keyCode, int number);

// A font by face, point size and weight (400 normal, 700 bold); 0 when it cannot be made.
// A face this system lacks is replaced by a close installed one.
FontId CreateFont(const std::string& face, int points, int weight);
void SetControlFont(WindowId control, FontId font);
void FreeFont(FontId font);

// Decodes PNG bytes held in memory; 0 when they do not decode.
ImageId DecodePngImage(const unsigned char* begin, const unsigned char* end);
void FreeImage(ImageId image);

// The accessible side of a canvas: a table of rows x columns cells that screen readers
// read beside the picture. Each cell has a name and a value (a number); one is the current
// cell, which is selected, and focused while the canvas has the keyboard focus. Changes
// are announced to the screen reader.
void SetAccessibleGrid(WindowId canvas, const std::string& name, int rows, int columns);
void SetAccessibleCell(WindowId canvas, int index, const std::string& name, int value);
void SetAccessibleCurrentCell(WindowId canvas, int index);

// A modal message box with one OK button, owned by and centred over the window the game is
// showing (the newest open window that takes input); returns when dismissed, with that
// window active again.
enum class MessageIcon { None, Information, Warning };
void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon);

// The toolkit's name and version, for the About dialog: "Qt 6.4.2".
std::string ToolkitVersion();
