// A new contact: the card empties its panels and waits for the first save.
#include "card/frmInicial.h"

#include "card/CardSettings.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"

#include <QAction>
#include <QLabel>

void frmInicial::Novo(bool singular)
{
    singular_ = singular;
    isNew = true;
    ucIDSingular1->setVisible(singular);
    ucIDInstitucional1->setVisible(!singular);
    mnConverterInstitucional->setVisible(false);
    mnConverterSingular->setVisible(false);
    Frame_Selected = 0;
    selectTab(card::tabIdentification);
    if (!NewTelefone.isEmpty())
        ucIDTelefones1->AddNumber(NewTelefone);
    showTitle(singular ? QStringLiteral("Novo contacto particular")
                       : QStringLiteral("Novo contacto institucional"));
    statusPanel1->clear();
}
