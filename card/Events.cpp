// The events of the contact on tab 2: every event type with a tick box, the
// ticked ones in the window's text colour and bold, the others in the
// dark-shadow colour. Ticking marks the card changed; the tab-2 save writes
// the events (SaveOtherInformation.cpp).
#include "card/frmInicial.h"
#include "panels/IdentityPanel.h"

#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "data/modData.h"
#include "data/modSQLConnection.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include <QTreeWidget>

namespace {

const char16_t selectTypes[] = u"SELECT * FROM tbContactos_Eventos_Tipos ORDER BY descrit";
const char16_t selectEvents[] = u"SELECT * FROM tbContactos_Eventos WHERE contacto_id = %1";
const QString eventsTitle = QStringLiteral("Associados");
constexpr int textKind = 3; // ListField: the value as text

ErrorReport::Source eventsSource()
{
    return ErrorReport::Source::custom(eventsTitle, eventsTitle, QStringLiteral("frmInicial"));
}

} // namespace

QString frmInicial::eventKey(const QTreeWidgetItem* item)
{
    return item->data(0, Qt::UserRole).toString();
}

// The look follows the tick, in the colours of the desktop's palette.
void frmInicial::showEventLook(QTreeWidgetItem* item)
{
    const bool ticked = item->checkState(0) == Qt::Checked;
    item->setForeground(0, ListView2->palette().color(ticked ? QPalette::WindowText : QPalette::Shadow));
    QFont font = item->font(0);
    font.setBold(ticked);
    item->setFont(0, font);
}

void frmInicial::Fill_Eventos(qint32& ID)
{
    const QSignalBlocker quiet(ListView2); // refilling is no change of the user's
    ListView2->clear();
    ListView2->setEnabled(true);
    eventsRead_ = false;
    try {
        if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty())
            throw vb::Error(0, refused);
        ado::Recordset rs;
        rs.Open(QString::fromUtf16(selectTypes), Data().SqlServer);
        for (; !rs.Eof(); rs.MoveNext()) {
            if (rs(QStringLiteral("descrit")).isNull())
                continue;
            const qint32 id = vb::CLng(rs(QStringLiteral("evento_id")));
            auto* item =
                new QTreeWidgetItem(ListView2, {modData::ListField(rs, QStringLiteral("descrit"), textKind)});
            item->setData(0, Qt::UserRole, QStringLiteral("#") + QString::number(id));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Unchecked);
            showEventLook(item);
            if (id == ID) {
                ListView2->setCurrentItem(item);
                ListView2->scrollToItem(item);
            }
        }
        rs.Close();
        if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty())
            throw vb::Error(0, refused);
        rs.Open(sql::compose(selectEvents, {Contacto_ID}), Data().SqlServer);
        for (; !rs.Eof(); rs.MoveNext()) {
            QTreeWidgetItem* item =
                eventItem(QStringLiteral("#") + vb::CStr(rs(QStringLiteral("evento_id"))));
            if (!item)
                continue; // a type that is gone, or has no description
            const vb::Variant taking = rs(QStringLiteral("activado"));
            item->setCheckState(0, !taking.isNull() && vb::CDbl(taking) != 0 ? Qt::Checked : Qt::Unchecked);
            showEventLook(item);
        }
        rs.Close();
        eventsRead_ = true;
    } catch (const vb::Error& e) {
        showEventsUnread();
        ErrorReport::send(eventsSource(), QStringLiteral("Fill_Eventos"), e);
    }
}

// A list that could not be read shows no ticks the contact may not have:
// it is emptied, greyed and says why, and the tab is not saved.
void frmInicial::showEventsUnread()
{
    const QSignalBlocker quiet(ListView2);
    eventsRead_ = false;
    ListView2->clear();
    auto* mark = new QTreeWidgetItem(ListView2, {IdentityPanel::unreadMark});
    mark->setFlags(Qt::NoItemFlags);
    ListView2->setEnabled(false);
}

QTreeWidgetItem* frmInicial::eventItem(const QString& key) const
{
    for (int i = 0; i < ListView2->topLevelItemCount(); ++i)
        if (eventKey(ListView2->topLevelItem(i)) == key)
            return ListView2->topLevelItem(i);
    return nullptr;
}

void frmInicial::ListView2_ItemCheck(QTreeWidgetItem* item)
{
    try {
        prpEventos = true;
        setPrpAlteracoes(true);
        ListView2->setCurrentItem(item);
        ListView2->scrollToItem(item);
        const QSignalBlocker quiet(ListView2);
        showEventLook(item);
    } catch (const vb::Error& e) {
        ErrorReport::send(eventsSource(), QStringLiteral("ListView2_ItemCheck"), e);
    }
}
