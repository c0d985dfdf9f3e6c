// Saving tab 2, other information: the notes, the contact's type in this
// file and, when the events list was changed, every event of the contact.
#include "card/CardMessages.h"
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "data/TransactionScope.h"
#include "data/modCode.h"
#include "data/modData.h"
#include "panels/ucIDObs.h"
#include "panels/ucIDTulvas.h"
#include "platform/ado/SqlCompose.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QTreeWidget>

namespace {

const char16_t deleteEvents[] = u"DELETE FROM tbContactos_Eventos WHERE contacto_id = %1";
// Notes and events are changes of the contact: the status line says who and when.
const char16_t touchContact[] =
    u"UPDATE tbContactos SET modified_by = %2, modified_date = GETDATE() WHERE contacto_id = %1";
const char16_t insertEvent[] =
    u"INSERT INTO tbContactos_Eventos (contacto_id, evento_id, activado) VALUES (%1, %2, %3 )";

// The step's own message has been shown: the save ends there.
struct StepFailed {};

void failStep(const QString& message, const QString& caption)
{
    platform::WindowServices::current().messageBox(message, platform::msgbox::OKOnly, caption);
    throw StepFailed{};
}

} // namespace

bool frmInicial::saveOtherInformation()
{
    Busy busy(*this);
    if (isNew)
        return false;
    TransactionScope unit;
    try {
        modCode::IsInTransaction(); // asked as ever; the unit goes by the connection's own count
        unit.begin();
        QString user = Conn().strUser;
        // The notes' result is looked at too: notes that were not written
        // must not pass for saved.
        if (!ucIDObs1->Save(user))
            failStep(QStringLiteral("Erro: gravação de observações"), caption());
        if (ucIDTulvas1->HasChanges() && ucIDTulvas1->Save(user) != -1)
            failStep(QStringLiteral("Erro: gravação de tipo de contacto"), caption());
        if (prpEventos)
            rewriteEvents();
        Data().SqlServer.Execute(
            sql::compose(touchContact, {Contacto_ID, modData::FormatSQLValue(user, modData::kText)}));
        unit.commit();
    } catch (const StepFailed&) {
        unit.rollback();
        return saveFailed(vb::Error(0, card::nothingSaved));
    } catch (const vb::Error& e) {
        unit.rollback();
        return saveFailed(e);
    }
    prpEventos = false;
    setPrpAlteracoes(false);
    Fill_Descrit();
    Fill_Modified();
    return true;
}

// Every event type listed gets a row, ticked or not, in the list's order.
void frmInicial::rewriteEvents()
{
    ado::Connection& shared = Data().SqlServer;
    shared.Execute(sql::compose(deleteEvents, {Contacto_ID}));
    for (int i = 0; i < ListView2->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView2->topLevelItem(i);
        const QString eventNumber = eventKey(item).mid(1); // the key without its "#"
        const qint32 taking = item->checkState(0) == Qt::Checked ? 1 : 0;
        shared.Execute(sql::compose(insertEvent, {Contacto_ID, eventNumber, taking}));
    }
}
