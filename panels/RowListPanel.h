#pragma once
// A panel that edits the contact's rows of one child table as a list: one
// line per row, one of them the default. Saving rewrites the contact's rows.
#include "panels/IdentityPanel.h"

class GridTable;
class QMenu;
class QTableWidget;

class RowListPanel : public IdentityPanel {
    Q_OBJECT
  public:
    struct ColumnSpec {
        QString column;  // in the table
        QString caption; // shown
        int width = 0;   // the column's width in the schema; 0: no limit
    };
    RowListPanel(const QString& name, const QString& table, const QString& defaultColumn,
                 QList<ColumnSpec> columns, QWidget* parent = nullptr);

    // False when a row is refused (the message goes out by Error) or the write fails.
    bool Save(QString& userName);
    // The first refused row's message; its cell is made current.
    QString Validate() override;

    // Adds a row with the given texts (in column order); the first row becomes the default.
    void addRow(const QStringList& values, bool isDefault = false);
    void removeSelectedRow();
    int rowCount() const;
    QStringList rowValues(int row) const;
    bool isDefaultRow(int row) const;
    void setDefaultRow(int row);
    // Adds an empty row and puts the user in its first cell.
    void addRowToEdit();

    // What the desktop can do with a row's value: write to an e-mail
    // address, call a number, show an address on a map. Empty text: nothing.
    struct QuickAction {
        QString text;   // the menu's words, "Escrever a …"
        QString target; // a mailto:, tel: or https: address
    };
    virtual QuickAction quickAction(int row) const;
    // The grid's context menu at a row (or none, -1).
    void fillRowMenu(QMenu& menu, int row);

  protected:
    void load() override;
    void clear() override;
    // The message for a row that cannot be stored, empty when it can; the
    // column at fault is set when the message names one.
    virtual QString refusal(const QStringList& values, int* column = nullptr) const;
    QTableWidget* table() const;

  private:
    void cellEdited(int row, int column);

    QString tableName_;
    QString defaultColumn_;
    QList<ColumnSpec> columns_;
    GridTable* table_;
};
