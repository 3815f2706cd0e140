#include "ui/about_dialog.h"

#include <string>

namespace {
constexpr int closeShortcut = 1;
}

std::string ToolLine()
{
    std::string compiler;
#if defined(__clang__)
    compiler = "Clang " + std::to_string(__clang_major__) + "." + std::to_string(__clang_minor__);
#elif defined(__GNUC__)
    compiler = "GCC " + std::to_string(__GNUC__) + "." + std::to_string(__GNUC_MINOR__) + "." +
               std::to_string(__GNUC_PATCHLEVEL__);
#else
    compiler = "a C++ compiler";
#endif
#if defined(__x86_64__)
    const char* target = "Linux x86-64";
#elif defined(__aarch64__)
    const char* target = "Linux ARM64";
#else
    const char* target = "Linux";
#endif
    return "C++20, " + ToolkitVersion() + ", " + compiler + ", " + target;
}

void ShowAboutDialog(WindowId parent, const std::string& productLine, const unsigned char* logoStart,
                     const unsigned char* logoEnd)
{
    const ImageId logo = (logoStart && logoEnd > logoStart) ? DecodePngImage(logoStart, logoEnd) : 0;

    const WindowId dialog = CreateDialogWindow(parent, "About", 600, 300);
    if (dialog == noWindow) {
        if (logo) FreeImage(logo);
        return;
    }
    if (logo) CreateImageControl(dialog, logo, 16, 16);

    const WindowId product = CreateTextLabel(dialog, productLine, 290, 24, 300, 46);
    const FontId productFont = CreateFont("Segoe UI", 12, 700);
    if (productFont) SetControlFont(product, productFont);

    CreateTextLabel(dialog, "A Sudoku game for the desktop.", 290, 80, 300, 20);
    CreateTextLabel(dialog, "Puzzles rated by the Vakido grading engine.", 290, 120, 300, 20);
    CreateTextLabel(dialog, "PNG decoding by libpng, windows by Qt.", 290, 142, 300, 20);
    CreateTextLabel(dialog, "Created using:", 290, 182, 300, 20);
    CreateTextLabel(dialog, ToolLine(), 290, 204, 300, 20);
    const WindowId closeButton = CreatePushButton(dialog, "Close", 490, 256, 94, 28, true);

    AddShortcut(dialog, keyEscape, closeShortcut);
    AddShortcut(dialog, keyEnter, closeShortcut);
    EnableWindow(parent, false);

    // The dialog's own loop takes every event; those of other windows are dropped.
    for (;;) {
        const Event& event = WaitForEvent();
        if (event.window != dialog) continue;
        if (event.kind == EventKind::CloseRequest || event.kind == EventKind::Shortcut) break;
        if (event.kind == EventKind::Control && event.control == closeButton) break;
    }

    EnableWindow(parent, true);
    CloseWindow(dialog);
    if (logo) FreeImage(logo);
    if (productFont) FreeFont(productFont);
    ActivateWindow(parent);
}
