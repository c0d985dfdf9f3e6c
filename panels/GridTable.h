#pragma once
// A table the keyboard can get into and out of: Tab walks its cells, and on
// the last cell (Shift+Tab on the first) the focus goes on to the next control
// instead of wrapping round; Ctrl+Tab leaves at once. Editing a new row
// starts on that row, so Tab from it goes to its own next cell.
#include <QTableWidget>

class GridTable : public QTableWidget {
    Q_OBJECT
  public:
    GridTable(int rows, int columns, QWidget* parent = nullptr);

    // Makes (row, column) current and opens its editor.
    void editCell(int row, int column);

  signals:
    // A double-click on a row, or Enter on the current one while not editing.
    void rowActivated(int row);

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool openCellBox(const QKeyEvent* event);
    bool atLastCell() const;
    bool atFirstCell() const;
};
