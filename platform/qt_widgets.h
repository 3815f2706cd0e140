// The Qt widgets behind the platform's windows and canvas; private to platform/.
#pragma once

#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/gui.h"

// Queues an event for WaitForEvent.
void PostEvent(const Event& event);

// A top-level window: a close request becomes an event instead of closing it, so that the
// game decides. CloseWindow lets it close for real.
class TopWindow : public QWidget {
public:
    explicit TopWindow(Qt::WindowFlags flags) : QWidget(nullptr, flags) {}
    bool allowClose = false;

protected:
    void closeEvent(class QCloseEvent* event) override;
    // Tab and Shift+Tab visit every control that takes focus in creation order, wrapping
    // round; option buttons of one group are each a stop of their own.
    bool focusNextPrevChild(bool next) override;
};

struct AccessibleCell {
    std::string name;
    int value = 0;
};

// The board canvas: keeps a picture in device pixels and shows it; turns presses of the
// left button, key presses and typed characters into control events. Beside the picture it
// keeps the grid of cells that the accessibility interface reads.
class Canvas : public QWidget {
public:
    explicit Canvas(QWidget* parent) : QWidget(parent) {}
    QImage picture;
    std::string accessibleName;
    int rows = 0, columns = 0;
    std::vector<AccessibleCell> cells;
    int currentCell = -1;

protected:
    void paintEvent(class QPaintEvent* event) override;
    void focusInEvent(class QFocusEvent* event) override;
    void mousePressEvent(class QMouseEvent* event) override;
    void keyPressEvent(class QKeyEvent* event) override;
};

class QFont;
// The font behind an id, or nullptr.
const QFont* FontOf(FontId font);
// Keeps a decoded image and gives its id.
ImageId RegisterImage(const QImage& image);
