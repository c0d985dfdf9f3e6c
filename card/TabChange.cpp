// The tab change: selecting a tab (by the user, at start-up or by the card
// itself) asks about the tab being left, loads the new one and shows its frame.
#include "card/frmInicial.h"

#include "card/CardSettings.h"
#include "connection/ConnectionState.h"
#include "panels/ucIDArqDoc.h"
#include "panels/ucIDComm.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDMoradas.h"
#include "panels/ucIDRelacionados.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "panels/ucIDTulvas_Details.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QFrame>
#include <QTabBar>

using platform::msgbox::AnswerCancel;

int frmInicial::selectedTab() const
{
    return TabStrip1->currentIndex() + 1;
}

void frmInicial::selectTab(int index)
{
    if (TabStrip1->currentIndex() == index - 1)
        TabStrip1_Click(); // selecting the shown tab still runs the tab change
    else
        TabStrip1->setCurrentIndex(index - 1);
}

// The identity panels of tab 1 that a new contact empties.
QList<IdentityPanel*> frmInicial::identificationPanels() const
{
    return {ucIDSingular1, ucIDInstitucional1, ucIDMoradas1,       ucIDTelefones1,
            ucIDEmails1,   ucIDRelacionados1,  ucIDTulvas_Details1};
}

void frmInicial::TabStrip1_Click()
{
    platform::WindowServices& windows = platform::WindowServices::current();
    try {
        if (inPro) // the card moving itself (to tab 1 for a new contact) asks nothing
            return;
        if (isVisible() && isNew && selectedTab() != Frame_Selected) {
            windows.messageBox(QStringLiteral("Tem de gravar primeiro as alterações efectuadas."),
                               platform::msgbox::Information, caption());
            windows.setMousePointer(this, platform::pointer::Default);
            inPro = true;
            TabStrip1->setCurrentIndex(card::tabIdentification - 1);
            inPro = false;
            return;
        }
        windows.setMousePointer(this, platform::pointer::Hourglass);
        const int k = selectedTab();
        const bool known = k >= card::tabIdentification && k <= card::tabCount;
        if (known && AskForSavings(Frame_Selected) == AnswerCancel) {
            inPro = true;
            TabStrip1->setCurrentIndex(Frame_Selected - 1);
            inPro = false;
            windows.setMousePointer(this, platform::pointer::Default);
            return;
        }
        if (known && Frame_Selected != k) {
            // From no tab (a card just opened) too: the page follows the
            // window's size since the design.
            catchUp(Frame_Selected, k);
            qint32 tab = k;
            if (k == card::tabIdentification && isNew) {
                for (IdentityPanel* p : identificationPanels())
                    p->NewRecord();
            } else {
                if (k == card::tabOtherInformation && ucIDComm1->connection().isNothing())
                    ucIDComm1->setConnection(Data().SqlServer);
                PreencherCampos(tab);
            }
            for (int i = card::tabIdentification; i <= card::tabCount; ++i)
                frames_[i]->setVisible(i == k);
            setPrpAlteracoes(false);
            if (k == card::tabArchive)
                ucIDArqDoc1->ReadOnlyMode = false;
            Frame_Selected = k;
            if (k != card::tabIdentification)
                Fill_Descrit();
        }
        windows.setMousePointer(this, platform::pointer::Default);
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("TabStrip1_Click"), e);
    }
}

// A page catches up with the resizes made while another page was shown.
// It is skipped only when both widths and both heights are equal already.
void frmInicial::catchUp(int oldTab, int newTab)
{
    if (tabWidths_[oldTab] == tabWidths_[newTab] && tabHeights_[oldTab] == tabHeights_[newTab])
        return;
    Resize_Frame(newTab, tabWidths_[oldTab] - tabWidths_[newTab], tabHeights_[oldTab] - tabHeights_[newTab]);
    tabWidths_[newTab] = tabWidths_[oldTab];
    tabHeights_[newTab] = tabHeights_[oldTab];
}
