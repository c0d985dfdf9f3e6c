// Saving tab 3, the record's rights: the group and user masks of this file's
// permissions row, after the right to change permissions was checked.
#include "card/CardMessages.h"
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "data/TransactionScope.h"
#include "data/modCode.h"
#include "data/modSQLConnection.h"
#include "panels/ucIDPermitions.h"
#include "panels/ucIDTulvas.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/SqlCompose.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace {

const char16_t updateMasks[] =
    u"UPDATE tbTulvas_Contactos_Permitions SET group_code = N'%1', user_code = N'%2' WHERE contacto_id=%3";

struct StepFailed {};

} // namespace

bool frmInicial::savePermissions()
{
    Busy busy(*this);
    bool couldNotAsk = false;
    if (!modCheckPermissions::CheckObjectSecurity(Conn().strUser, Contacto_ID, card::fileKind,
                                                  modCheckPermissions::ChangePermissions, &couldNotAsk)) {
        if (couldNotAsk)
            return saveFailed(vb::Error(0, card::connectionLost));
        platform::WindowServices::current().messageBox(card::refusedPermissions, card::securityStyle,
                                                       card::securityTitle);
        return true; // refused: nothing written, and the save counts as ended
    }
    if (isNew)
        return false;
    // Masks go between apostrophes; doubling them keeps the statement whole
    // (masks made of "$" codes and digits are written unchanged).
    const QString group = sql::doubled(ucIDPermitions1->GroupMask());
    const QString userMask = sql::doubled(ucIDPermitions1->UserMask());
    TransactionScope unit;
    try {
        modCode::IsInTransaction(); // asked as ever; the unit goes by the connection's own count
        unit.begin();
        Data().SqlServer.Execute(sql::compose(updateMasks, {group, userMask, Contacto_ID}));
        QString user = Conn().strUser;
        if (ucIDTulvas1->HasChanges() && ucIDTulvas1->Save(user) != -1) {
            platform::WindowServices::current().messageBox(
                QStringLiteral("Erro: gravação de tipo de contacto"), platform::msgbox::OKOnly, caption());
            throw StepFailed{};
        }
        unit.commit();
    } catch (const StepFailed&) {
        unit.rollback();
        return saveFailed(vb::Error(0, card::nothingSaved));
    } catch (const vb::Error& e) {
        unit.rollback();
        return saveFailed(e);
    }
    setPrpAlteracoes(false);
    Fill_Descrit();
    return true;
}
