// Moving among the host's contacts: first, previous, next and last, from the
// toolbar, the menu and the buttons under the frames.
#include "card/frmInicial.h"

#include "card/ComponentFiles.h"
#include "data/modCode.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

void frmInicial::moveFirst()
{
    navigate(Move::First, "Toolbar1_ButtonClick");
}

void frmInicial::movePrevious()
{
    navigate(Move::Previous, "Toolbar1_ButtonClick");
}

void frmInicial::moveNext()
{
    navigate(Move::Next, "Toolbar1_ButtonClick");
}

void frmInicial::moveLast()
{
    navigate(Move::Last, "Toolbar1_ButtonClick");
}

// The cursor of the host's list moves; false when it stays where it was (at
// either end, or nothing to move on).
bool frmInicial::moveCursor(Move move)
{
    switch (move) {
    case Move::Previous:
        if (Rs.Bof())
            return false;
        Rs.MovePrevious();
        if (Rs.Bof()) {
            Rs.MoveNext();
            return false;
        }
        return true;
    case Move::Next:
        if (Rs.Eof())
            return false;
        Rs.MoveNext();
        if (Rs.Eof()) {
            Rs.MovePrevious();
            return false;
        }
        return true;
    case Move::First:
    case Move::Last:
        if (Rs.Eof())
            return false;
        move == Move::First ? Rs.MoveFirst() : Rs.MoveLast();
        return true;
    }
    return false;
}

void frmInicial::navigate(Move move, const char* procedure)
{
    Busy busy(*this);
    try {
        const bool listOpen = !Rs.isNothing() && Rs.State() == ado::adStateOpen;
        const qint32 answer = listOpen ? AskForSavings() : 0;
        // A save that did not go through keeps the contact and its changes.
        const bool keep =
            answer == platform::msgbox::AnswerCancel || (answer == platform::msgbox::AnswerYes && changed_);
        if (keep || !listOpen || Rs.RecordCount() == 0 || !moveCursor(move))
            return;
        if (modCode::CanPlayWave()) {
            QString click = card::clickSoundPath();
            modCode::PlayWave(click);
        }
        Contacto_ID = vb::CLng(Rs(QStringLiteral("contacto_id")));
        isNew = false; // another contact is loaded
        qint32 tab = selectedTab();
        PreencherCampos(tab);
        setPrpAlteracoes(false);
    } catch (const vb::Error& e) {
        reportError(QString::fromLatin1(procedure), e);
    }
}
