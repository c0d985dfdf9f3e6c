#include "panels/ucIDPermitions.h"

#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include "panels/GridTable.h"
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// %1 the guarded table the card names.
const char16_t selectMasks[] = u"SELECT user_code, group_code FROM %1_Permitions WHERE contacto_id = %2";
const char16_t selectGroupNames[] = u"SELECT code, descrit FROM tbGroups";
const char16_t selectUserNames[] = u"SELECT code, descrit FROM tbUsers";
const char16_t selectGroupsByName[] = u"SELECT descrit, code FROM tbGroups ORDER BY descrit";
const char16_t selectUsersByName[] = u"SELECT descrit, code FROM tbUsers ORDER BY descrit";

constexpr int nameColumn = 2;
const QStringList rightCaptions = {QStringLiteral("Abrir"), QStringLiteral("Alterar"),
                                   QStringLiteral("Remover"), QStringLiteral("Alterar permissões")};

QComboBox* digitBox(QWidget* parent, QChar digit)
{
    auto* box = new QComboBox(parent);
    box->addItem(QStringLiteral("Sim"), QStringLiteral("1"));
    box->addItem(QStringLiteral("Não"), QStringLiteral("0"));
    box->addItem(QStringLiteral("Negado"), QStringLiteral("2"));
    const int index = box->findData(QString(digit));
    if (index < 0)
        box->addItem(QString(digit), QString(digit)); // kept as found
    box->setCurrentIndex(index < 0 ? box->count() - 1 : index);
    return box;
}

} // namespace

ucIDPermitions::ucIDPermitions(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDPermitions1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    table_ =
        addListTable(layout, QStringLiteral("lstPermissoes"), QStringLiteral("Permissões"),
                     QStringList{QStringLiteral("Tipo"), QStringLiteral("Código"), QStringLiteral("Nome")} +
                         rightCaptions);
    // The rights' captions show whole; the name takes the room they leave.
    QHeaderView* header = table_->horizontalHeader();
    header->setStretchLastSection(false);
    for (int i = 0; i < table_->columnCount(); ++i)
        header->setSectionResizeMode(i, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    const QList<QPushButton*> made =
        addButtonRow(layout, {{QStringLiteral("cmdInserirUtilizador"), QStringLiteral("Inserir Utilizador")},
                              {QStringLiteral("cmdInserirGrupo"), QStringLiteral("Inserir &Grupo")},
                              {QStringLiteral("cmdRemover"), QStringLiteral("&Remover")}});
    connect(made[0], &QPushButton::clicked, this, &ucIDPermitions::AddUser);
    connect(made[1], &QPushButton::clicked, this, &ucIDPermitions::AddGroup);
    connect(made[2], &QPushButton::clicked, this, &ucIDPermitions::RemoveEntry);
    chooser = [this](const QString& title, const QStringList& names) {
        bool ok = false;
        const QString chosen = QInputDialog::getItem(this, title, title, names, 0, false, &ok);
        return ok ? chosen : QString();
    };
}

QString ucIDPermitions::UserMask() const
{
    if (!edited_)
        return userMask_;
    QList<MaskEntry> entries;
    for (const Row& r : rows_)
        if (!r.group)
            entries.append(r.entry);
    return joinMask(entries);
}

QString ucIDPermitions::GroupMask() const
{
    if (!edited_)
        return groupMask_;
    QList<MaskEntry> entries;
    for (const Row& r : rows_)
        if (r.group)
            entries.append(r.entry);
    return joinMask(entries);
}

// One query per kind, when a mask is set: the table then names its entries
// without asking the server row by row.
QMap<QString, QString> ucIDPermitions::directory(bool group) const
{
    QMap<QString, QString> names;
    try {
        if (db().State() != ado::adStateOpen)
            return names;
        ado::Recordset rs = query(QString::fromUtf16(group ? selectGroupNames : selectUserNames));
        for (; !rs.Eof(); rs.MoveNext())
            names.insert(text(rs, QStringLiteral("code")), text(rs, QStringLiteral("descrit")));
        rs.Close();
    } catch (const vb::Error& e) {
        report(group ? QStringLiteral("GroupMask") : QStringLiteral("UserMask"), e);
    }
    return names;
}

void ucIDPermitions::setUserMask(const QString& mask)
{
    userMask_ = mask;
    edited_ = false;
    QList<Row> kept;
    for (const Row& r : rows_)
        if (r.group)
            kept.append(r);
    userNames_ = directory(false);
    for (const MaskEntry& e : parseMask(mask, userNames_.keys()))
        kept.append({false, e});
    rows_ = kept;
    rebuild();
}

void ucIDPermitions::setGroupMask(const QString& mask)
{
    groupMask_ = mask;
    edited_ = false;
    QList<Row> kept;
    for (const Row& r : rows_)
        if (!r.group)
            kept.append(r);
    groupNames_ = directory(true);
    for (const MaskEntry& e : parseMask(mask, groupNames_.keys()))
        kept.append({true, e});
    rows_ = kept;
    rebuild();
}

// Codes compare as the server compares them, without regard to case.
QString ucIDPermitions::nameOf(bool group, const QString& code) const
{
    const QMap<QString, QString>& names = group ? groupNames_ : userNames_;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        if (!it.value().isEmpty() && it.key().compare(code, Qt::CaseInsensitive) == 0)
            return it.value();
    return QStringLiteral("(código desconhecido)");
}

void ucIDPermitions::rebuild()
{
    table_->setRowCount(0);
    for (int r = 0; r < rows_.size(); ++r) {
        const Row& row = rows_[r];
        table_->insertRow(r);
        table_->setItem(
            r, 0, new QTableWidgetItem(row.group ? QStringLiteral("Grupo") : QStringLiteral("Utilizador")));
        table_->setItem(r, 1, new QTableWidgetItem(row.entry.code));
        table_->setItem(r, 2, new QTableWidgetItem(nameOf(row.group, row.entry.code)));
        for (int k = 0; k < 4; ++k) {
            QComboBox* box =
                digitBox(table_, row.entry.digits.size() > k ? row.entry.digits[k] : QChar(u'0'));
            // The grid takes Tab; the cell's box opens from the keyboard there (Space, F4).
            box->setFocusPolicy(Qt::NoFocus);
            box->setAccessibleName(nameOf(row.group, row.entry.code) + QStringLiteral(": ") +
                                   rightCaptions[k]);
            table_->setCellWidget(r, 3 + k, box);
            connect(box, &QComboBox::activated, this,
                    [this, r, k, box] { setRight(r, k, box->currentData().toString().at(0)); });
        }
    }
}

int ucIDPermitions::entryCount() const
{
    return int(rows_.size());
}

QStringList ucIDPermitions::entry(int row) const
{
    const Row& r = rows_.at(row);
    return {r.group ? QStringLiteral("G") : QStringLiteral("U"), r.entry.code, table_->item(row, 2)->text(),
            r.entry.digits};
}

void ucIDPermitions::setRight(int row, int right, QChar digit)
{
    if (row < 0 || row >= rows_.size() || right < 0 || right > 3)
        return;
    QString& digits = rows_[row].entry.digits;
    digits = digits.leftJustified(4, u'0').left(4);
    if (digits[right] == digit)
        return;
    digits[right] = digit;
    edited_ = true;
    if (auto* box = qobject_cast<QComboBox*>(table_->cellWidget(row, 3 + right)))
        box->setCurrentIndex(qMax(0, box->findData(QString(digit))));
    userChanged();
}

void ucIDPermitions::addChosen(bool group)
{
    QStringList names;
    QStringList found;
    try {
        if (!connectionReady())
            return;
        ado::Recordset rs = query(QString::fromUtf16(group ? selectGroupsByName : selectUsersByName));
        for (; !rs.Eof(); rs.MoveNext()) {
            names.append(text(rs, QStringLiteral("descrit")));
            found.append(text(rs, QStringLiteral("code")));
        }
        rs.Close();
    } catch (const vb::Error& e) {
        report(group ? QStringLiteral("AddGroup") : QStringLiteral("AddUser"), e);
        return;
    }
    const QString chosen =
        chooser(group ? QStringLiteral("Inserir grupo") : QStringLiteral("Inserir utilizador"), names);
    const qsizetype index = names.indexOf(chosen);
    if (chosen.isEmpty() || index < 0)
        return;
    (group ? groupNames_ : userNames_).insert(found[index], chosen);
    rows_.append({group, {found[index], QStringLiteral("1000")}});
    edited_ = true;
    rebuild();
    userChanged();
}

void ucIDPermitions::AddUser()
{
    addChosen(false);
}

void ucIDPermitions::AddGroup()
{
    addChosen(true);
}

void ucIDPermitions::RemoveEntry()
{
    const int row = table_->currentRow();
    if (row < 0 || row >= rows_.size())
        return;
    rows_.removeAt(row);
    edited_ = true;
    rebuild();
    userChanged();
}

void ucIDPermitions::clear()
{
    rows_.clear();
    userMask_.clear();
    groupMask_.clear();
    edited_ = false;
    rebuild();
}

void ucIDPermitions::load()
{
    if (TableName.isEmpty())
        return;
    ado::Recordset rs = query(sql::compose(selectMasks, {TableName, ContactNumber}));
    if (!rs.Eof()) {
        setUserMask(text(rs, QStringLiteral("user_code")));
        setGroupMask(text(rs, QStringLiteral("group_code")));
    }
    rs.Close();
}

void ucIDPermitions::setButtonsVisible(bool visible)
{
    for (const char* name : {"cmdInserirUtilizador", "cmdInserirGrupo", "cmdRemover"})
        if (auto* b = findChild<QPushButton*>(QString::fromLatin1(name)))
            b->setVisible(visible);
}
