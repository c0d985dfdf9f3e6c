// Closing the card: the save question, the window values stored, and the
// host told which contact was shown last.
#include "card/frmInicial.h"

#include "card/CardSettings.h"
#include "card/TwipsGeometry.h"
#include "card/WindowPlace.h"
#include "platform/objects/HostCallback.h"
#include "platform/windows/MessageStyle.h"

#include <QCloseEvent>

void frmInicial::closeEvent(QCloseEvent* event)
{
    if (!inPro && AskForSavings() == platform::msgbox::AnswerCancel) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    emit unloaded();
}

void frmInicial::Form_Unload()
{
    using namespace TwipsGeometry;
    try {
        inPro = false;
        if (!isMaximized() && !isMinimized()) {
            card::storeWindowPlace({Left(this), Top(this), Width(this), Height(this), int(Frame_Selected)});
        }
        std::fill(std::begin(tabWidths_), std::end(tabWidths_), 0);
        std::fill(std::begin(tabHeights_), std::end(tabHeights_), 0);
        Frame_Selected = 0;
        isNew = false;
        loaded_ = false;
        if (auto* host = dynamic_cast<HostCallback*>(CallBackClass.get())) {
            try {
                qint32 id = Contacto_ID;
                if (clCurrentIndex != 0)
                    host->RemoteActivate(id, clCurrentIndex, clCurrentObject, clLast_Related_ID);
                else
                    host->RemoteKey(id);
            } catch (const vb::Error&) {
                // a host that does not answer is no failure of the card
            }
        }
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Form_Unload"), e);
    }
}
