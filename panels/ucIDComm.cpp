#include "panels/ucIDComm.h"

#include "permissions/modCheckPermissions.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"

#include "panels/GridTable.h"
#include <QHeaderView>
#include <QVBoxLayout>

namespace {

const char16_t selectCommunications[] =
    u"SELECT * FROM tbContactos_Comunicacoes WHERE contacto_id = %1 ORDER BY data DESC";
constexpr qint32 communicationsKind = 8;

} // namespace

ucIDComm::ucIDComm(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDComm1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    table_ = addListTable(layout, QStringLiteral("lstComunicacoes"), QStringLiteral("Comunicações"),
                          {QStringLiteral("Data"), QStringLiteral("Meio"), QStringLiteral("Assunto"),
                           QStringLiteral("Texto"), QStringLiteral("Por")});
}

void ucIDComm::LoadContact(qint32& contactoId, bool readOnly, const ado::Connection* connection,
                           const QString& userName)
{
    UserName = userName;
    IdentityPanel::LoadContact(contactoId, readOnly, connection);
}

void ucIDComm::clear()
{
    table_->setRowCount(0);
}

void ucIDComm::load()
{
    ado::Recordset rs = query(sql::compose(selectCommunications, {ContactNumber}));
    QList<QStringList> rows;
    QList<qint32> ids;
    for (; !rs.Eof(); rs.MoveNext()) {
        ids.append(vb::CLng(rs(QStringLiteral("comunicacao_id"))));
        const vb::Variant when = rs(QStringLiteral("data"));
        rows.append({when.isNull() ? QString() : vb::Format(when, QStringLiteral("dd-mm-yyyy hh:nn")),
                     text(rs, QStringLiteral("meio")), text(rs, QStringLiteral("assunto")),
                     text(rs, QStringLiteral("texto")), text(rs, QStringLiteral("created_by"))});
    }
    rs.Close();
    // Each communication carries its own masks: only those the user may open are listed.
    for (int i = 0; i < rows.size(); ++i) {
        if (!modCheckPermissions::CheckObjectSecurity(UserName, ids[i], communicationsKind,
                                                      modCheckPermissions::Open))
            continue;
        const int row = table_->rowCount();
        table_->insertRow(row);
        for (int c = 0; c < 5; ++c)
            table_->setItem(row, c, new QTableWidgetItem(rows[i][c]));
    }
    // Column 0 keeps the server's order: newest first.
    if (SortColumn > 0)
        table_->sortItems(SortColumn, SortOrder == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

int ucIDComm::communicationCount() const
{
    return table_->rowCount();
}

QStringList ucIDComm::communication(int row) const
{
    QStringList cells;
    for (int c = 0; c < 5; ++c)
        cells.append(table_->item(row, c) ? table_->item(row, c)->text() : QString());
    return cells;
}
