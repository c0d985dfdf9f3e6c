#pragma once
// The record card on the demonstration catalog, opened through General with
// the host's list of contacts, the scripted window services and stored
// window values, so that a card opens normally.
// The card's panels and the widgets the tests reach them through.
#include "card/CardMessages.h"
#include "card/frmInicial.h"
#include "card/frmNovo.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDMoradas.h"
#include "panels/ucIDPermitions.h"
#include "panels/ucIDRelacionados.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "panels/ucIDTulvas_Details.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "tests/support/ComponentWorld.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace cardtest {

inline const QString windowKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001");

class CardFixture : public ::testing::Test, public testsupport::ComponentWorld {
  public:
    // The stored window values, with the tab the card restores.
    static void storeWindow(int frame);
    // The shown window of a kind, if there is one.
    template <class Window> static Window* shownWindow()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<Window*>(w); found && found->isVisible())
                return found;
        return nullptr;
    }
    // The kind chooser a New command opened, if it is shown.
    static frmNovo* chooser() { return shownWindow<frmNovo>(); }
    // Answers the shown chooser: OK with the kind.
    static void choose(bool singular);
    // A panel's line edit by its name.
    static QLineEdit* field(QWidget* panel, const char* name);
    // Typed as the user types: the card hears of it as an edit.
    static void type(QWidget* panel, const char* name, const QString& text);
    // A statement on the catalog, as another program would send it; what it reads.
    static ado::Recordset sql(const QString& statement);
    // Saves a tab as the card's save command does.
    static bool save(frmInicial& card, qint32 tab = 1);
    // A column of contact `id`'s row in a table, as stored ("NULL" for none).
    QString stored(const char* column, const char* table, qint32 id) const;
    // How many rows of a table name contact `id`.
    int rows(const char* table, qint32 id) const;

  protected:
    void SetUp() override;
    // An error that reached the report fails the test that did not expect it.
    void TearDown() override;
    frmInicial& open(int id);

    ado::Recordset hostList;
    General general;
};

} // namespace cardtest
