// For tests and the platform's own files: the Qt objects behind identities. Game code never
// includes this header.
#pragma once

#include <QImage>
#include <QWidget>

#include "platform/gui.h"

QWidget* WidgetOf(WindowId id);
WindowId IdOf(const QWidget* widget);
// The canvas's retained picture, in device pixels.
QImage CanvasPicture(WindowId canvas);
// True when WaitForEvent would return at once.
bool HasPendingEvent();
