// The canvas as the desktop's accessibility interface sees it: a table of cells, each with
// a name, a value and states, beside the drawn picture. Screen readers reach it through
// Qt's bridge (AT-SPI on Linux).
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>

#include <memory>
#include <vector>

#include "platform/accessible_canvas.h"
#include "platform/qt_access.h"
#include "platform/qt_widgets.h"

namespace {

class CanvasAccessible;

// One cell of the grid. The objects stay the same for the life of the canvas, as the
// bridge requires of children.
class CellAccessible : public QAccessibleInterface, public QAccessibleValueInterface, public QAccessibleTableCellInterface {
public:
    CellAccessible(Canvas* canvas, int index) : canvas_(canvas), index_(index) {}

    bool isValid() const override { return canvas_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return canvas_ ? canvas_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(canvas_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override
    {
        if (!canvas_ || kind != QAccessible::Name) return {};
        return QString::fromStdString(canvas_->cells[static_cast<size_t>(index_)].name);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        if (canvas_ && canvas_->currentCell == index_) {
            s.selected = true;
            s.focused = canvas_->hasFocus();
            s.active = true;
        }
        return s;
    }

    // The drawn box of the cell at the present display scale, in screen coordinates.
    QRect rect() const override
    {
        if (!canvas_ || canvas_->columns == 0) return {};
        const double unit = canvas_->width() / 364.0;
        const int row = index_ / canvas_->columns, column = index_ % canvas_->columns;
        const QPointF topLeft((2 + 40 * column) * unit, (2 + 40 * row) * unit);
        const QPoint origin = canvas_->mapToGlobal(topLeft.toPoint());
        return QRect(origin, QSize(static_cast<int>(40 * unit + 0.5), static_cast<int>(40 * unit + 0.5)));
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    // The value: the cell's digit, 0 when empty. The player changes it with the keys only.
    QVariant currentValue() const override { return canvas_ ? canvas_->cells[static_cast<size_t>(index_)].value : 0; }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 9; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

    bool isSelected() const override { return canvas_ && canvas_->currentCell == index_; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return canvas_ ? index_ % canvas_->columns : 0; }
    int rowIndex() const override { return canvas_ ? index_ / canvas_->columns : 0; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<Canvas> canvas_;
    int index_;
};

// The registered interfaces of each canvas's cells, made when first asked for.
std::map<const Canvas*, std::vector<QAccessible::Id>> cellIds;

QAccessibleInterface* CellOf(Canvas* canvas, int index)
{
    if (!canvas || index < 0 || index >= static_cast<int>(canvas->cells.size())) return nullptr;
    std::vector<QAccessible::Id>& ids = cellIds[canvas];
    if (ids.size() != canvas->cells.size()) {
        for (QAccessible::Id id : ids) QAccessible::deleteAccessibleInterface(id);
        ids.clear();
        for (size_t i = 0; i < canvas->cells.size(); ++i)
            ids.push_back(QAccessible::registerAccessibleInterface(new CellAccessible(canvas, static_cast<int>(i))));
        QObject::connect(canvas, &QObject::destroyed, [canvas] {
            for (QAccessible::Id id : cellIds[canvas]) QAccessible::deleteAccessibleInterface(id);
            cellIds.erase(canvas);
        });
    }
    return QAccessible::accessibleInterface(ids[static_cast<size_t>(index)]);
}

// The canvas: a table of rows x columns cells when a grid has been given to it.
class CanvasAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CanvasAccessible(Canvas* canvas) : QAccessibleWidget(canvas, QAccessible::Table), canvas_(canvas) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name) return QString::fromStdString(canvas_->accessibleName);
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return static_cast<int>(canvas_->cells.size()); }
    QAccessibleInterface* child(int index) const override { return CellOf(canvas_, index); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (CellOf(canvas_, i) == child) return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (CellOf(canvas_, i)->rect().contains(x, y)) return CellOf(canvas_, i);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override { return CellOf(canvas_, canvas_->currentCell); }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= canvas_->rows || column >= canvas_->columns) return nullptr;
        return CellOf(canvas_, row * canvas_->columns + column);
    }
    int selectedCellCount() const override { return canvas_->currentCell >= 0 ? 1 : 0; }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        if (QAccessibleInterface* cell = CellOf(canvas_, canvas_->currentCell)) return {cell};
        return {};
    }
    QString columnDescription(int column) const override { return QStringLiteral("Column %1").arg(column + 1); }
    QString rowDescription(int row) const override { return QStringLiteral("Row %1").arg(row + 1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return canvas_->columns; }
    int rowCount() const override { return canvas_->rows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    Canvas* canvas_;
};

QAccessibleInterface* CanvasFactory(const QString&, QObject* object)
{
    if (auto* canvas = dynamic_cast<Canvas*>(object)) return new CanvasAccessible(canvas);
    return nullptr;
}

Canvas* CanvasOf(WindowId id) { return dynamic_cast<Canvas*>(WidgetOf(id)); }

}  // namespace

void InstallAccessibleCanvasFactory() { QAccessible::installFactory(CanvasFactory); }

void AnnounceCanvasFocus(Canvas* canvas)
{
    if (!QAccessible::isActive() || !canvas || !canvas->hasFocus()) return;
    if (QAccessibleInterface* cell = CellOf(canvas, canvas->currentCell)) {
        QAccessibleEvent focus(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void SetAccessibleGrid(WindowId canvas, const std::string& name, int rows, int columns)
{
    Canvas* widget = CanvasOf(canvas);
    if (!widget || rows < 1 || columns < 1) return;
    widget->accessibleName = name;
    widget->rows = rows;
    widget->columns = columns;
    widget->cells.assign(static_cast<size_t>(rows * columns), AccessibleCell{});
    widget->currentCell = 0;
}

void SetAccessibleCell(WindowId canvas, int index, const std::string& name, int value)
{
    Canvas* widget = CanvasOf(canvas);
    if (!widget || index < 0 || index >= static_cast<int>(widget->cells.size())) return;
    AccessibleCell& cell = widget->cells[static_cast<size_t>(index)];
    const bool renamed = cell.name != name, revalued = cell.value != value;
    cell.name = name;
    cell.value = value;
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* face = CellOf(widget, index);
    if (renamed) {
        QAccessibleEvent event(face, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (revalued) {
        QAccessibleValueChangeEvent event(face, value);
        QAccessible::updateAccessibility(&event);
    }
}

void SetAccessibleCurrentCell(WindowId canvas, int index)
{
    Canvas* widget = CanvasOf(canvas);
    if (!widget || index < 0 || index >= static_cast<int>(widget->cells.size()) || widget->currentCell == index) return;
    const int previous = widget->currentCell;
    widget->currentCell = index;
    if (!QAccessible::isActive()) return;
    for (int changed : {previous, index}) {
        QAccessible::State selection;
        selection.selected = true;
        QAccessibleStateChangeEvent event(CellOf(widget, changed), selection);
        QAccessible::updateAccessibility(&event);
    }
    AnnounceCanvasFocus(widget);
}
