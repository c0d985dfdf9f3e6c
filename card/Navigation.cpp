// Moving among the host's contacts: first, previous, next and last, from the
// toolbar, the menu and the buttons under the frames.
#include "card/frmInicial.h"

#include "data/modCode.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QCoreApplication>

namespace {

enum Move { First, Previous, Next, Last };

} // namespace

void frmInicial::moveFirst()
{
    navigate(&ado::Recordset::MoveFirst, First);
}

void frmInicial::movePrevious()
{
    navigate(&ado::Recordset::MovePrevious, Previous);
}

void frmInicial::moveNext()
{
    navigate(&ado::Recordset::MoveNext, Next);
}

void frmInicial::moveLast()
{
    navigate(&ado::Recordset::MoveLast, Last);
}

void frmInicial::navigate(void (ado::Recordset::*move)(), int kind)
{
    platform::WindowServices& windows = platform::WindowServices::current();
    windows.setMousePointer(this, platform::pointer::Hourglass);
    setToolbarEnabled(false);
    try {
        const bool listOpen = !Rs.isNothing() && Rs.State() == ado::adStateOpen;
        const qint32 answer = listOpen ? AskForSavings() : 0;
        if (answer != platform::msgbox::AnswerCancel && listOpen && Rs.RecordCount() > 0) {
            bool stands = true;
            if (kind == Previous && !Rs.Bof()) {
                Rs.MovePrevious();
                if (Rs.Bof()) {
                    Rs.MoveNext();
                    stands = false;
                }
            } else if (kind == Next && !Rs.Eof()) {
                Rs.MoveNext();
                if (Rs.Eof()) {
                    Rs.MovePrevious();
                    stands = false;
                }
            } else if ((kind == First || kind == Last) && !Rs.Eof()) {
                (Rs.*move)();
            } else {
                stands = false;
            }
            if (stands) {
                if (modCode::CanPlayWave()) {
                    QString click =
                        QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/SMCLICK1.WAV");
                    modCode::PlayWave(click);
                }
                Contacto_ID = vb::CLng(Rs(QStringLiteral("contacto_id")));
                isNew = false; // another contact is loaded
                qint32 tab = selectedTab();
                PreencherCampos(tab);
                setPrpAlteracoes(false);
            }
        }
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Toolbar1_ButtonClick"), e);
    }
    windows.setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
}
