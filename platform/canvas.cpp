// Drawing on the canvas's retained picture.
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

#include "platform/canvas.h"
#include "platform/qt_access.h"
#include "platform/qt_widgets.h"

namespace {
Canvas* target = nullptr;
QPainter painter;
}  // namespace

QImage CanvasPicture(WindowId canvas)
{
    auto* widget = dynamic_cast<Canvas*>(WidgetOf(canvas));
    return widget ? widget->picture : QImage();
}

bool BeginDrawing(WindowId canvas)
{
    auto* widget = dynamic_cast<Canvas*>(WidgetOf(canvas));
    if (!widget || painter.isActive()) return false;
    // The picture has the canvas's size in device pixels, and a resolution to match, so
    // that point sizes grow with the display scaling as the canvas does.
    const double scale = widget->devicePixelRatioF();
    const QSize size(static_cast<int>(std::lround(widget->width() * scale)),
                     static_cast<int>(std::lround(widget->height() * scale)));
    if (widget->picture.size() != size) {
        widget->picture = QImage(size, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(std::lround(96.0 * scale / 0.0254));
        widget->picture.setDotsPerMeterX(dotsPerMeter);
        widget->picture.setDotsPerMeterY(dotsPerMeter);
    }
    if (widget->picture.isNull() || !painter.begin(&widget->picture)) return false;
    target = widget;
    return true;
}

int OutputWidth() { return target ? target->picture.width() : 0; }
int OutputHeight() { return target ? target->picture.height() : 0; }

void FillRectangle(int left, int top, int width, int height, Colour colour)
{
    if (target) painter.fillRect(QRect(left, top, width, height), QColor(colour.red, colour.green, colour.blue));
}

void SelectFont(FontId font)
{
    if (const QFont* f = FontOf(font); target && f) painter.setFont(*f);
}

void SetTransparentText()
{
    if (target) painter.setBackgroundMode(Qt::TransparentMode);
}

TextExtent MeasureText(const std::string& text)
{
    if (!target) return {0, 0};
    const QFontMetricsF metrics(painter.font(), &target->picture);
    return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

void DrawText(const std::string& text, double x, double y, Colour colour)
{
    if (!target) return;
    const QFontMetricsF metrics(painter.font(), &target->picture);
    painter.setPen(QColor(colour.red, colour.green, colour.blue));
    // Qt places text by its baseline; the caller gives the top-left corner.
    painter.drawText(QPointF(std::trunc(x), std::trunc(y) + metrics.ascent()), QString::fromStdString(text));
}

void EndDrawing()
{
    if (!target) return;
    painter.end();
    target->repaint();
    target = nullptr;
}
