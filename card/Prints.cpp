// The prints window for the contact shown, modeless, owned by the card.
#include "card/CardSettings.h"
#include "card/frmInicial.h"

#include "documents/frmImpressoes.h"

void frmInicial::showPrints()
{
    auto* prints = new frmImpressoes(this);
    prints->ContactId = Contacto_ID;
    prints->OwnerCard = this;
    prints->setModal(false);
    // A letter filed while the archive is shown appears there at once; a tab
    // with changes of the user's is left as it is.
    connect(prints, &frmImpressoes::documentFiled, this, [this](qint32 id) {
        qint32 tab = card::tabArchive;
        if (id == Contacto_ID && selectedTab() == card::tabArchive && !prpAlteracoes())
            PreencherCampos(tab);
    });
    prints->show();
}
