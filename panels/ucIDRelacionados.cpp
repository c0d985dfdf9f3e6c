#include "panels/ucIDRelacionados.h"

#include "data/modData.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include "panels/ContactSearchDialog.h"
#include "panels/GridTable.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QInputDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char16_t selectRelations[] =
    u"SELECT r.related_contacto_id, c.nome_union, r.descrit FROM tbContactos_Relacionados r "
    u"LEFT JOIN tbContactos c ON c.contacto_id = r.related_contacto_id "
    u"WHERE r.contacto_id = %1 ORDER BY r.relacao_id";
const char16_t selectContact[] = u"SELECT contacto_id FROM tbContactos WHERE contacto_id = %1";
const char16_t insertRelation[] =
    u"INSERT INTO tbContactos_Relacionados (contacto_id, related_contacto_id, descrit, produto) "
    u"VALUES (%1, %2, %3, %4)";
const char16_t deleteRelation[] =
    u"DELETE FROM tbContactos_Relacionados WHERE contacto_id = %1 AND related_contacto_id = %2";

} // namespace

ucIDRelacionados::ucIDRelacionados(QWidget* parent)
    : IdentityPanel(QStringLiteral("ucIDRelacionados1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    table_ = addListTable(layout, QStringLiteral("lstRelacionados"), QStringLiteral("Contactos relacionados"),
                          {QStringLiteral("N.º"), QStringLiteral("Contacto"), QStringLiteral("Relação")});
    const QList<QPushButton*> buttons =
        addButtonRow(layout, {{QStringLiteral("cmdRelacionar"), QStringLiteral("&Relacionar…")},
                              {QStringLiteral("cmdRemoverRelacao"), QStringLiteral("Re&mover relação")}});
    QPushButton* add = buttons[0];
    QPushButton* remove = buttons[1];
    askRelation = [this](qint32& other, QString& relation) {
        ContactSearchDialog dialog(db(), UserName, ContactNumber, window());
        if (dialog.exec() != QDialog::Accepted || dialog.chosenContact() == 0)
            return false;
        other = dialog.chosenContact();
        relation = dialog.relation();
        return true;
    };
    connect(add, &QPushButton::clicked, this, [this] {
        qint32 other = 0;
        QString relation;
        if (askRelation(other, relation))
            AddRelation(other, relation);
    });
    connect(remove, &QPushButton::clicked, this, &ucIDRelacionados::RemoveSelected);
    connect(table_, &GridTable::rowActivated, this, &ucIDRelacionados::openRow);
}

void ucIDRelacionados::LoadContact(qint32& contactoId, bool readOnly, const ado::Connection* connection,
                                   const QString& userName, const QString&)
{
    UserName = userName;
    IdentityPanel::LoadContact(contactoId, readOnly, connection);
    ContactStored = contactoId != 0;
}

void ucIDRelacionados::clear()
{
    table_->setRowCount(0);
}

void ucIDRelacionados::load()
{
    ado::Recordset rs = query(sql::compose(selectRelations, {ContactNumber}));
    for (; !rs.Eof(); rs.MoveNext()) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        table_->setItem(row, 0, new QTableWidgetItem(text(rs, QStringLiteral("related_contacto_id"))));
        table_->setItem(row, 1, new QTableWidgetItem(text(rs, QStringLiteral("nome_union"))));
        table_->setItem(row, 2, new QTableWidgetItem(text(rs, QStringLiteral("descrit"))));
    }
    rs.Close();
}

int ucIDRelacionados::relationCount() const
{
    return table_->rowCount();
}

qint32 ucIDRelacionados::relatedId(int row) const
{
    return table_->item(row, 0) ? table_->item(row, 0)->text().toInt() : 0;
}

void ucIDRelacionados::openRow(int row)
{
    if (row >= 0 && row < relationCount())
        emit RequestOpen(relatedId(row));
}

bool ucIDRelacionados::AddRelation(qint32 otherContact, const QString& relation)
{
    if (!ContactStored || ContactNumber == 0) {
        emit Error(0, QStringLiteral("Grave primeiro o contacto para o poder relacionar com outro."));
        return false;
    }
    if (otherContact == ContactNumber) {
        emit Error(0, QStringLiteral("Um contacto não pode ser relacionado consigo próprio."));
        return false;
    }
    try {
        if (!connectionReady())
            return false;
        ado::Recordset rs = query(sql::compose(selectContact, {otherContact}));
        const bool exists = !rs.Eof();
        rs.Close();
        if (!exists) {
            emit Error(0, QStringLiteral("O contacto n.º ") + QString::number(otherContact) +
                              QStringLiteral(" não existe."));
            return false;
        }
    } catch (const vb::Error& e) {
        report(QStringLiteral("AddRelation"), e);
        return false;
    }
    const bool written = writeNow(QStringLiteral("AddRelation"), [&] {
        execute(sql::compose(insertRelation,
                             {ContactNumber, otherContact, modData::FormatSQLValue(relation, modData::kText),
                              modData::FormatSQLValue(ProductName, modData::kText)}));
    });
    if (written) {
        qint32 id = ContactNumber;
        IdentityPanel::LoadContact(id);
    }
    return written;
}

bool ucIDRelacionados::RemoveSelected()
{
    const int row = table_->currentRow();
    if (row < 0)
        return false;
    const QString name = table_->item(row, 1) ? table_->item(row, 1)->text() : QString();
    const int answer = platform::WindowServices::current().messageBox(
        QStringLiteral("Deseja remover a relação com «") + name + QStringLiteral("»?"),
        platform::msgbox::YesNo | platform::msgbox::Question | platform::msgbox::DefaultButton2,
        QStringLiteral("Contactos relacionados"));
    if (answer != platform::msgbox::AnswerYes)
        return false;
    const qint32 other = relatedId(row);
    const bool written = writeNow(QStringLiteral("RemoveSelected"), [&] {
        execute(sql::compose(deleteRelation, {ContactNumber, other}));
    });
    if (written)
        table_->removeRow(row);
    return written;
}
