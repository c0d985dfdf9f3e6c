// The prints window for the contact shown, modeless, owned by the card.
#include "card/frmInicial.h"

#include "documents/frmImpressoes.h"

void frmInicial::showPrints()
{
    auto* prints = new frmImpressoes(this);
    prints->ContactId = Contacto_ID;
    prints->OwnerCard = this;
    prints->setModal(false);
    prints->show();
}
