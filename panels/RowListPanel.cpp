#include "panels/RowListPanel.h"

#include "data/modData.h"
#include "panels/GridTable.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include "platform/windows/WindowServices.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// %1 the table, %2 its columns, %3 the default flag's column.
const char16_t selectRows[] = u"SELECT %2, %3 FROM %1 WHERE contacto_id = %4 ORDER BY %3 DESC";
const char16_t deleteRows[] = u"DELETE FROM %1 WHERE contacto_id = %2";
const char16_t insertRow[] = u"INSERT INTO %1 (contacto_id, %2, %3) VALUES (%4, %5, %6)";

} // namespace

RowListPanel::RowListPanel(const QString& name, const QString& table, const QString& defaultColumn,
                           QList<ColumnSpec> columns, QWidget* parent)
    : IdentityPanel(name, parent), tableName_(table), defaultColumn_(defaultColumn),
      columns_(std::move(columns))
{
    auto* layout = new QVBoxLayout(this);
    table_ = new GridTable(0, int(columns_.size()) + 1, this);
    table_->setObjectName(QStringLiteral("lstRows"));
    QStringList headers;
    for (const ColumnSpec& c : columns_)
        headers.append(c.caption);
    // The default column is narrow ("Pred.", named in full on hover): in the
    // card's small telephone and e-mail grids the long first column needs the room.
    headers.append(QStringLiteral("Pred."));
    table_->setHorizontalHeaderLabels(headers);
    table_->horizontalHeaderItem(int(columns_.size()))->setToolTip(QStringLiteral("Predefinido"));
    table_->verticalHeader()->hide();
    table_->setAccessibleName(columns_.first().caption);
    // The first column holds the long text (the address, the number, the
    // e-mail): it takes the room the short ones leave.
    QHeaderView* header = table_->horizontalHeader();
    for (int i = 1; i < table_->columnCount(); ++i)
        header->setSectionResizeMode(i, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    // Captions from the left: a narrow grid still shows how each one starts.
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(table_);
    const QList<QPushButton*> buttons =
        addButtonRow(layout, {{QStringLiteral("cmdAdicionar"), QStringLiteral("Adicionar")},
                              {QStringLiteral("cmdRemover"), QStringLiteral("Remover")}});
    QPushButton* add = buttons[0];
    QPushButton* remove = buttons[1];
    // Three grids on one tab have these buttons, beside fields with their own
    // Alt keys: a mnemonic would reach another grid's button, or a field.
    // Insert and Delete act on the grid the cursor is in.
    const std::pair<QPushButton*, QKeySequence> keys[] = {{add, QKeySequence(Qt::Key_Insert)},
                                                          {remove, QKeySequence(Qt::Key_Delete)}};
    for (const auto& [button, key] : keys) {
        auto* shortcut = new QShortcut(key, table_);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
        button->setToolTip(button->text() + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                           u')');
    }
    // Which grid has the cursor shows.
    table_->setStyleSheet(QStringLiteral("QTableWidget:focus { border: 2px solid palette(highlight); }"));
    connect(add, &QPushButton::clicked, this, [this] {
        addRowToEdit();
        userChanged();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        removeSelectedRow();
        userChanged();
    });
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        fillRowMenu(menu, table_->rowAt(at.y()));
        menu.exec(table_->viewport()->mapToGlobal(at));
    });
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!isLoading())
            cellEdited(item->row(), item->column());
    });
}

RowListPanel::QuickAction RowListPanel::quickAction(int) const
{
    return {};
}

void RowListPanel::fillRowMenu(QMenu& menu, int row)
{
    if (row >= 0 && row < rowCount()) {
        const QuickAction action = quickAction(row);
        if (!action.text.isEmpty()) {
            QAction* go = menu.addAction(action.text);
            go->setObjectName(QStringLiteral("mnAccaoRapida"));
            const QString target = action.target;
            connect(go, &QAction::triggered, this, [this, target] {
                platform::WindowServices::current().openDocument(this, target, accessibleName());
            });
            menu.addSeparator();
        }
    }
    QAction* add = menu.addAction(QStringLiteral("Adicionar"));
    add->setObjectName(QStringLiteral("mnAdicionar"));
    connect(add, &QAction::triggered, this, [this] {
        addRowToEdit();
        userChanged();
    });
    QAction* remove = menu.addAction(QStringLiteral("Remover"));
    remove->setObjectName(QStringLiteral("mnRemover"));
    remove->setEnabled(row >= 0);
    connect(remove, &QAction::triggered, this, [this] {
        removeSelectedRow();
        userChanged();
    });
}

QTableWidget* RowListPanel::table() const
{
    return table_;
}

void RowListPanel::cellEdited(int row, int column)
{
    QTableWidgetItem* item = table_->item(row, column);
    if (column == columns_.size()) {
        if (item->checkState() == Qt::Checked)
            setDefaultRow(row);
        userChanged();
        return;
    }
    {
        LoadingScope quiet(*this); // the corrections are no edits of the user's
        if (QString text = item->text(); refuseNul(text, columns_[column].caption))
            item->setText(text);
        if (const int width = columns_[column].width; width > 0 && item->text().size() > width) {
            item->setText(cutToWidth(item->text(), width));
            emit Notice(cutNotice(columns_[column].caption, width));
        }
    }
    userChanged();
}

int RowListPanel::rowCount() const
{
    return table_->rowCount();
}

void RowListPanel::addRow(const QStringList& values, bool isDefault)
{
    LoadingScope quiet(*this);
    const int row = table_->rowCount();
    table_->insertRow(row);
    for (int c = 0; c < columns_.size(); ++c) {
        auto* cell = new QTableWidgetItem(values.value(c));
        cell->setToolTip(values.value(c)); // the whole text where the column cuts it short
        table_->setItem(row, c, cell);
    }
    auto* flag = new QTableWidgetItem;
    flag->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    flag->setCheckState(isDefault ? Qt::Checked : Qt::Unchecked);
    table_->setItem(row, int(columns_.size()), flag);
    if (isDefault)
        setDefaultRow(row);
}

void RowListPanel::addRowToEdit()
{
    addRow(QStringList(columns_.size(), QString()), rowCount() == 0);
    table_->editCell(rowCount() - 1, 0);
}

void RowListPanel::removeSelectedRow()
{
    const int row = table_->currentRow();
    if (row < 0)
        return;
    const bool wasDefault = isDefaultRow(row);
    table_->removeRow(row);
    if (wasDefault && rowCount() > 0)
        setDefaultRow(0);
}

QStringList RowListPanel::rowValues(int row) const
{
    QStringList values;
    for (int c = 0; c < columns_.size(); ++c)
        values.append(table_->item(row, c) ? table_->item(row, c)->text() : QString());
    return values;
}

bool RowListPanel::isDefaultRow(int row) const
{
    const QTableWidgetItem* flag = table_->item(row, int(columns_.size()));
    return flag && flag->checkState() == Qt::Checked;
}

void RowListPanel::setDefaultRow(int row)
{
    LoadingScope quiet(*this);
    for (int r = 0; r < rowCount(); ++r)
        table_->item(r, int(columns_.size()))->setCheckState(r == row ? Qt::Checked : Qt::Unchecked);
}

void RowListPanel::clear()
{
    table_->setRowCount(0);
}

void RowListPanel::load()
{
    QStringList names;
    for (const ColumnSpec& c : columns_)
        names.append(c.column);
    ado::Recordset rs = query(sql::compose(
        selectRows, {tableName_, names.join(QStringLiteral(", ")), defaultColumn_, ContactNumber}));
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList values;
        for (const QString& n : names)
            values.append(text(rs, n));
        addRow(values, vb::CBool(rs(defaultColumn_)));
    }
    rs.Close();
}

QString RowListPanel::refusal(const QStringList&, int*) const
{
    return {};
}

QString RowListPanel::Validate()
{
    for (int r = 0; r < rowCount(); ++r) {
        int column = 0;
        const QString message = refusal(rowValues(r), &column);
        if (!message.isEmpty()) {
            table_->setCurrentCell(r, column);
            table_->setFocus();
            return message;
        }
    }
    return {};
}

bool RowListPanel::Save(QString&)
{
    try {
        for (int r = 0; r < rowCount(); ++r) {
            const QString message = refusal(rowValues(r));
            if (!message.isEmpty()) {
                emit Error(0, message);
                return false;
            }
        }
        if (ContactNumber == 0 || !connectionReady())
            return false;
        execute(sql::compose(deleteRows, {tableName_, ContactNumber}));
        QStringList names;
        for (const ColumnSpec& c : columns_)
            names.append(c.column);
        const QString columns = names.join(QStringLiteral(", "));
        for (int r = 0; r < rowCount(); ++r) {
            const QStringList values = rowValues(r);
            if (QString(values.join(QString())).trimmed().isEmpty())
                continue; // an empty line added and left alone
            QStringList literals;
            for (const QString& v : values)
                literals.append(modData::FormatSQLValue(v, modData::kText));
            execute(sql::compose(insertRow,
                                 {tableName_, columns, defaultColumn_, ContactNumber,
                                  literals.join(QStringLiteral(", ")), qint32(isDefaultRow(r) ? 1 : 0)}));
        }
        return true;
    } catch (const vb::Error& e) {
        report(QStringLiteral("Save"), e);
        return false;
    }
}
