#include "panels/GridTable.h"

#include <QComboBox>
#include <QKeyEvent>

GridTable::GridTable(int rows, int columns, QWidget* parent) : QTableWidget(rows, columns, parent)
{
    setTabKeyNavigation(true);
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { emit rowActivated(row); });
}

void GridTable::editCell(int row, int column)
{
    setCurrentCell(row, column);
    editItem(item(row, column));
}

bool GridTable::atLastCell() const
{
    const QModelIndex current = currentIndex();
    return !current.isValid() || (current.row() == rowCount() - 1 && current.column() == columnCount() - 1);
}

bool GridTable::atFirstCell() const
{
    const QModelIndex current = currentIndex();
    return !current.isValid() || (current.row() == 0 && current.column() == 0);
}

QModelIndex GridTable::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if ((action == MoveNext && atLastCell()) || (action == MovePrevious && atFirstCell()))
        return {}; // no wrapping round: the focus leaves the table
    return QTableWidget::moveCursor(action, modifiers);
}

void GridTable::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool leaveForward = hint == QAbstractItemDelegate::EditNextItem && atLastCell();
    const bool leaveBack = hint == QAbstractItemDelegate::EditPreviousItem && atFirstCell();
    QTableWidget::closeEditor(editor, leaveForward || leaveBack ? QAbstractItemDelegate::NoHint : hint);
    if (leaveForward || leaveBack)
        QWidget::focusNextPrevChild(leaveForward); // past the table's own Tab handling
}

// A choice box shown in a cell is kept out of the Tab chain: Space, F4 or
// Alt+Down on its cell opens it, as they would the box itself.
bool GridTable::openCellBox(const QKeyEvent* event)
{
    const bool opens = event->key() == Qt::Key_Space || event->key() == Qt::Key_F4 ||
                       (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
    auto* box = qobject_cast<QComboBox*>(cellWidget(currentRow(), currentColumn()));
    if (!opens || !box || !box->isEnabled())
        return false;
    box->showPopup();
    return true;
}

void GridTable::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        (event->modifiers() & Qt::ControlModifier)) {
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab);
        return;
    }
    if (openCellBox(event))
        return;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState &&
        editTriggers() == NoEditTriggers && currentRow() >= 0) {
        emit rowActivated(currentRow());
        return;
    }
    QTableWidget::keyPressEvent(event);
}
