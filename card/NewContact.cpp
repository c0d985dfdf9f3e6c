// A new contact: Novo opens the kind chooser (frmNovo), and the chooser's
// answer comes back to Novo, which empties the panels for the new contact.
// It is stored by the first save of tab 1.
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "card/frmNovo.h"
#include "data/modSQLConnection.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDFotos.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDMoradas.h"
#include "panels/ucIDRelacionados.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "panels/ucIDTipos_Links.h"
#include "panels/ucIDTulvas.h"
#include "panels/ucIDTulvas_Details.h"
#include "settings/frmMainChilds.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>

bool frmInicial::Novo(QWidget* frmP, bool ReturnWithValue, frmNovo* ReturnFromObj)
{
    try {
        if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty())
            throw vb::Error(0, refused);
        if (!ReturnWithValue) {
            auto* chooser = new frmNovo(frmP);
            chooser->Owner = frmP;
            chooser->Card = this;
            chooser->show();
            return false;
        }
        if (!ReturnFromObj || ReturnFromObj->Cancelled)
            return false;
        startNewContact(ReturnFromObj->Option1->isChecked());
        if (!isVisible()) {
            show();
            if (auto* owner = qobject_cast<frmMainChilds*>(frmP))
                owner->own(this);
        }
        return true;
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Novo"), e);
        return false;
    }
}

void frmInicial::mnNovo_Click()
{
    if (isVisible())
        Novo(nullptr, false, nullptr);
}

// Steps of the call-back, once the kind is known.
void frmInicial::startNewContact(bool singular)
{
    // Pending changes are offered for saving first, while the card still
    // holds the contact they belong to (the answer does not stop the new
    // contact).
    if (changed_)
        AskForSavings();
    singular_ = singular;
    isNew = true;
    showIdentificationTab();
    for (IdentityPanel* p : std::initializer_list<IdentityPanel*>{ucIDInstitucional1, ucIDSingular1,
                                                                  ucIDMoradas1, ucIDTelefones1, ucIDEmails1,
                                                                  ucIDRelacionados1, ucIDTulvas_Details1})
        p->NewRecord();
    IdentityPanel* identity = singular ? static_cast<IdentityPanel*>(ucIDSingular1) : ucIDInstitucional1;
    ucIDSingular1->setVisible(singular);
    ucIDInstitucional1->setVisible(!singular);
    qint32 none = 0;
    identity->LoadContact(none, true);
    ucIDFotos1->ContactNumber = 0;
    for (IdentityPanel* p : std::initializer_list<IdentityPanel*>{ucIDFotos1, ucIDMoradas1, ucIDTelefones1,
                                                                  ucIDEmails1, ucIDTulvas1})
        p->LoadContact(none, true);
    // The files of the contact shown before are not the new one's.
    ucIDTipos_Links1->LoadContact(none, true);
    ucIDRelacionados1->ContactStored = false;
    mnConverterInstitucional->setVisible(false);
    mnConverterSingular->setVisible(false);
    Descrit1->clear();
    Descrit2->clear();
    setWindowTitle(card::title);
    statusPanel1->clear();
    loadedModifiedBy_ = vb::Variant::null();
    loadedModifiedDate_ = vb::Variant::null();
    if (!NewTelefone.isEmpty()) {
        ucIDTelefones1->AddNumber(NewTelefone);
        NewTelefone.clear(); // for this new contact only
        setPrpAlteracoes(true);
    } else {
        setPrpAlteracoes(false);
    }
    // The new contact is typed from its name, wherever the cursor was before.
    if (QLineEdit* name = identity->findChild<QLineEdit*>(QStringLiteral("txtNome")))
        name->setFocus(Qt::OtherFocusReason);
}

// Tab 1 shown without the tab change: the change would ask about unsaved
// work and refuse to leave a new contact, neither of which applies here.
void frmInicial::showIdentificationTab()
{
    inPro = true;
    TabStrip1->setCurrentIndex(card::tabIdentification - 1);
    inPro = false;
    for (int i = card::tabIdentification; i <= card::tabCount; ++i)
        frames_[i]->setVisible(i == card::tabIdentification);
    Frame_Selected = card::tabIdentification;
}
