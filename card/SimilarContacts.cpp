// Saving a new contact like one already stored: the user is asked before a
// second record of one person or firm is made.
#include "card/CardMessages.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "duplicates/StoredLikeness.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace {

QStringList firstColumn(const RowListPanel& grid)
{
    QStringList values;
    for (int row = 0; row < grid.rowCount(); ++row)
        values << grid.rowValues(row).value(0);
    return values;
}

} // namespace

bool frmInicial::likenessAccepted()
{
    using namespace platform::msgbox;
    if (!isNew && Contacto_ID != 0)
        return true;
    const QString name = singular_ ? ucIDSingular1->nomeUnion() : ucIDInstitucional1->Nome();
    const duplicates::StoredLike like = duplicates::findStoredLike(
        Conn().strUser, name, firstColumn(*ucIDEmails1), firstColumn(*ucIDTelefones1));
    if (like.id == 0)
        return true;
    const int answer = platform::WindowServices::current().messageBox(
        like.sentence() + QStringLiteral(" Gravar na mesma?") + QStringLiteral("\n\n") +
            QStringLiteral("Sim: grava o novo contacto. Não: abre o existente (o novo não é gravado). "
                           "Cancelar: continua a editar."),
        Question | YesNoCancel | DefaultButton3, caption());
    if (answer == AnswerYes)
        return true;
    setToolbarEnabled(true);
    if (answer == AnswerNo) {
        // The stored contact replaces the unsaved new one on the card.
        Contacto_ID = like.id;
        isNew = false;
        qint32 tab = selectedTab();
        PreencherCampos(tab);
        setPrpAlteracoes(false);
    }
    return false;
}
