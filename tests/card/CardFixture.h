#pragma once
// The record card on the demonstration catalog, opened through General with
// the host's list of contacts, the scripted window services and stored
// window values, so that a card opens normally.
#include "card/frmInicial.h"
#include "card/frmNovo.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "platform/ado/Recordset.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"
#include <QLineEdit>
#include <gtest/gtest.h>

namespace cardtest {

inline const QString windowKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001");

class CardFixture : public ::testing::Test {
  public:
    // The stored window values, with the tab the card restores.
    static void storeWindow(int frame);
    // The kind chooser a New command opened, if it is shown.
    static frmNovo* chooser();
    // Answers the shown chooser: OK with the kind, or Cancelar.
    static void choose(bool singular);
    static void cancelChooser();
    // A panel's line edit by its name.
    static QLineEdit* field(QWidget* panel, const char* name);
    // Typed as the user types: the card hears of it as an edit.
    static void type(QWidget* panel, const char* name, const QString& text);
    // Saves a tab as the card's save command does.
    static bool save(frmInicial& card, qint32 tab = 1);

  protected:
    void SetUp() override;
    frmInicial& open(int id);

    testsupport::ScopedSettings settings;
    testsupport::DemoDatabase db;
    testsupport::RecordingReporter reporter;
    ScriptedWindows windows;
    ado::Recordset hostList;
    General general;
};

} // namespace cardtest
