#include "platform/objects/HostCallback.h"
#include "settings/frmMainChilds.h"
#include "settings/modParentsForm.h"
#include "settings/modRegistry.h"
#include "tests/card/CardFixture.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/SentStatements.h"
#include <QFile>
#include <QRegularExpression>

namespace {

using cardtest::windowKey;
const QString securityTitle = QStringLiteral("Sistema de Segurança");

// A host with a window of its own, whose id gives the card an owner window;
// it writes down how the card told it which contact was shown last.
class RecordingHost : public HostCallback {
  public:
    void RemoteActivate(qint32& id, qint32& index, qint32& object, qint32& related) override
    {
        closed = QStringLiteral("RemoteActivate %1 %2 %3 %4").arg(id).arg(index).arg(object).arg(related);
    }
    void RemoteKey(qint32& id) override { closed = QStringLiteral("RemoteKey %1").arg(id); }
    vb::Variant hwnd() override { return vb::Variant(qint32(window.winId())); }
    QString closed;
    QWidget window;
};

using Card = cardtest::CardFixture;
using testsupport::sentStatements;

} // namespace

// Every door to a contact asks for its own right; a refusal is told alike
// through each (critical, system-modal, under the security title) and
// writes nothing.
TEST_F(Card, EachDoorAsksForItsOwnRightAndRefusesAlike)
{
    Conn().bSQLConnected = false;
    general.ObjectOpen(hostList, vb::Variant(5));
    EXPECT_TRUE(general.card() == nullptr || !general.card()->isVisible());
    EXPECT_TRUE(windows->messageBoxes().empty());
    Conn().bSQLConnected = true;

    ado::Recordset shortList;
    shortList.Open(QStringLiteral("SELECT contacto_id FROM tbContactos WHERE contacto_id IN (1, 2) "
                                  "ORDER BY contacto_id"),
                   Data().SqlServer);
    const testsupport::CatalogContent before =
        testsupport::catalogContent(db.folder(), QStringLiteral("Quarvenses"));
    // rui has no right on contacts 5 and 1, joao may not create, ana may
    // open institution 6 but not change nor remove it. Nothing refused is
    // written, and no card shows but ana's on contact 6.
    const struct {
        const char* user;
        std::function<void()> knock;
        QString refusal;
        int questionsFirst = 0;
    } doors[] = {
        {"rui", [&] { general.ObjectOpen(hostList, vb::Variant(5)); }, card::refusedOpen},
        // A key not in the list falls back to its first row: that row's right.
        {"rui", [&] { general.ObjectOpen(shortList, vb::Variant(13)); }, card::refusedOpen},
        {"joao", [&] { general.ObjectNew(QStringLiteral("tbContactos")); }, card::refusedCreate},
        {"ana", [&] { open(6).mnConverterSingular_Click(); }, card::refusedChange, 1},
        {"ana", [&] { EXPECT_FALSE(open(6).ucIDRelacionados1->AddRelation(13, QStringLiteral("Cliente"))); },
         card::refusedChange},
        {"ana", [&] { open(6).Toolbar1_ButtonClick(QStringLiteral("btApagar")); }, card::refusedRemove},
        {"ana",
         [&] {
             type(open(6).ucIDInstitucional1, "txtNome", QStringLiteral("x"));
             EXPECT_FALSE(save(*general.card()));
         },
         card::refusedChange},
    };
    for (const auto& door : doors) {
        const int index = int(&door - doors);
        windows->clear();
        Conn().strUser = QString::fromLatin1(door.user);
        for (int i = 0; i < door.questionsFirst; ++i)
            windows->queueAnswer(platform::msgbox::AnswerYes);
        windows->queueAnswer(platform::msgbox::AnswerOK);
        door.knock();
        const frmInicial* card = general.card();
        EXPECT_TRUE(!card || !card->isVisible() || (card->Contacto_ID == 6 && !card->isNew)) << index;
        ASSERT_EQ(windows->messageBoxes().size(), size_t(door.questionsFirst + 1)) << index;
        const auto& box = windows->messageBoxes().back();
        EXPECT_EQ(box.text, door.refusal) << index;
        EXPECT_EQ(box.style, platform::msgbox::Critical | platform::msgbox::SystemModal) << index;
        EXPECT_EQ(box.title, securityTitle) << index;
        EXPECT_EQ(testsupport::contentDifferences(
                      before, testsupport::catalogContent(db.folder(), QStringLiteral("Quarvenses"))),
                  QStringList())
            << index;
    }
}

// A card opens on the requested contact (or the list's first, or its current
// row) and on the stored tab, which alone is read; its title and status line
// say who the contact is and who made or changed it.
TEST_F(Card, OpensOnTheRequestedContactAndReadsATabWhenFirstSelected)
{
    storeWindow(3);
    sql("UPDATE tbTulvas_Contactos_Permitions SET group_code = '' WHERE contacto_id = 8");
    const QStringList opening = sentStatements([&] { general.ObjectOpen(hostList, vb::Variant(8)); });
    frmInicial& card = *general.card();
    EXPECT_EQ(card.Frame_Selected, 3);
    EXPECT_EQ(opening.filter(QStringLiteral("FROM tbContactos WHERE contacto_id=8")), QStringList())
        << "tab 1 not read";
    EXPECT_TRUE(opening.contains(QStringLiteral(
        "SELECT tbTulvas_Contactos_permitions.* FROM tbTulvas_Contactos_permitions WHERE contacto_id=8")));
    EXPECT_EQ(stored("group_code", "tbTulvas_Contactos_Permitions", 8), QStringLiteral("$00011111"));
    EXPECT_EQ(card.ucIDPermitions1->GroupMask(), QStringLiteral("$00011111"));
    EXPECT_EQ(opening.filter(QRegularExpression(QStringLiteral("^UPDATE"))).size(), 1);

    const QStringList second = sentStatements([&] { card.selectTab(3); });
    EXPECT_TRUE(second.isEmpty()) << "the shown tab is not read again";
    const QStringList first = sentStatements([&] { card.selectTab(1); });
    EXPECT_TRUE(first.contains(QStringLiteral("SELECT * FROM tbContactos WHERE contacto_id=8")));
    EXPECT_EQ(card.Frame_Selected, 1);
    card.close();
    EXPECT_EQ(vb::CLng(modRegistry::ObterValorDWORD(windowKey, QStringLiteral("Frame"))), 1)
        << "the tab shown last is stored";

    for (int stored : {0, 9}) {
        storeWindow(stored);
        general.ObjectOpen(hostList, vb::Variant(8));
        EXPECT_EQ(card.Frame_Selected, 1) << stored;
        card.close();
    }

    // The requested contact, or the first.
    general.ObjectOpen(hostList, vb::Variant(13));
    EXPECT_TRUE(card.isVisible());
    EXPECT_EQ(card.Contacto_ID, 13);
    EXPECT_EQ(vb::CLng(hostList(QStringLiteral("contacto_id"))), 13) << "the host's cursor moved with it";
    EXPECT_TRUE(card.isSingular());
    EXPECT_TRUE(card.ucIDSingular1->isVisibleTo(&card));
    EXPECT_FALSE(card.ucIDInstitucional1->isVisibleTo(&card));
    EXPECT_TRUE(card.findChild<QAction*>(QStringLiteral("mnConverterInstitucional"))->isVisible());
    EXPECT_FALSE(card.findChild<QAction*>(QStringLiteral("mnConverterSingular"))->isVisible());
    card.close();

    ado::Recordset shortList;
    shortList.Open(
        QStringLiteral(
            "SELECT contacto_id FROM tbContactos WHERE contacto_id IN (1, 2, 3) ORDER BY contacto_id"),
        Data().SqlServer);
    general.ObjectOpen(shortList, vb::Variant(30));
    EXPECT_EQ(card.Contacto_ID, 1) << "a key not in the list opens the first row";
    EXPECT_FALSE(card.isSingular());
    EXPECT_TRUE(card.ucIDInstitucional1->isVisibleTo(general.card()));
    card.close();

    hostList.setAbsolutePosition(7);
    general.ObjectOpen(hostList, vb::Variant());
    EXPECT_EQ(card.Contacto_ID, 7) << "an empty key opens the current row";
    card.close();

    sql("UPDATE tbContactos SET genero_id = 5 WHERE contacto_id = 20");
    general.ObjectOpen(hostList, vb::Variant(20));
    EXPECT_FALSE(card.isSingular()) << "any kind but 1 is institutional";
    card.close();

    // The title and the audit lines.
    sql("UPDATE tbContactos SET modified_by = 'ana', modified_date = "
        "CONVERT(DATETIME,'2024-03-05 09:07:03',120), "
        "created_by = 'sa', created_date = CONVERT(DATETIME,'2023-01-02 "
        "10:00:00',120) WHERE contacto_id = 13");
    sql("UPDATE tbContactos_Singulares SET titulo = 'Dr.', apelido = 'Silva', nome = 'Ana', "
        "profissao = 'Advogada' WHERE contacto_id = 13");
    general.ObjectOpen(hostList, vb::Variant(13));
    EXPECT_EQ(card.Descrit1->text(), QStringLiteral("Dr. Silva, Ana"));
    EXPECT_EQ(card.windowTitle(), QStringLiteral("Dr. Silva, Ana"));
    EXPECT_EQ(
        card.statusPanel1->text(),
        QStringLiteral("Modificado por ana em 05/03/2024 9:07:03, Criado por sa em 02/01/2023 10:00:00"));
    card.selectTab(2);
    EXPECT_EQ(card.Descrit1->text(), QStringLiteral("Dr. Silva, Ana"));
    EXPECT_EQ(card.Descrit2->text(), QStringLiteral("Advogada"));
    card.close();

    sql("UPDATE tbContactos_Singulares SET titulo = NULL, apelido = NULL WHERE contacto_id = 13");
    sql("UPDATE tbContactos SET modified_by = NULL WHERE contacto_id = 13");
    storeWindow(2);
    general.ObjectOpen(hostList, vb::Variant(13));
    EXPECT_EQ(card.Descrit1->text(), QString()) << "no surname: the title alone, here empty";
    card.selectTab(1);
    EXPECT_EQ(card.statusPanel1->text(), QStringLiteral("Criado por sa em 02/01/2023 10:00:00"))
        << "never changed since: who made it";
    card.close();

    storeWindow(3);
    general.ObjectOpen(hostList, vb::Variant(3));
    EXPECT_EQ(card.Descrit1->text(), QStringLiteral("Restaurante O Cantinho"));
    EXPECT_EQ(card.Descrit2->text(), QStringLiteral("Restauração"));
}

// Where the card is placed and what closing it stores and tells the host.
TEST_F(Card, WhereTheCardIsPlacedAndWhatClosingStoresAndTellsTheHost)
{
    EXPECT_EQ(frmInicial::screenPlacement(28800, 16200), QRect(3600, 1600, 21600, 13000));
    EXPECT_EQ(frmInicial::screenPlacement(19200, 14400), QRect(0, 0, 19200, 13950));
    EXPECT_EQ(frmInicial::screenPlacement(24000, 12000), QRect(1200, 470, 21600, 10680));
    EXPECT_EQ(frmInicial::screenPlacement(22000, 12000), QRect(770, 470, 20460, 10680));

    // The first opening without stored values shows the message and closes; the next restores.
    QFile::remove(settings.commonFolder() + QStringLiteral("/Pelmor Software/RegShadow.db"));
    ASSERT_TRUE(modRegistry::GarantirShadow());
    windows->queueAnswer(1);
    general.ObjectOpen(hostList, vb::Variant(13));
    ASSERT_EQ(windows.texts(), QStringList{QStringLiteral("Erro nas definições do Registry!")});
    EXPECT_EQ(windows->messageBoxes()[0].style, 16);
    EXPECT_FALSE(general.card()->isVisible());
    EXPECT_FALSE(modRegistry::ObterValorDWORD(windowKey, QStringLiteral("Width")).isNull())
        << "closing stored the values";
    general.ObjectOpen(hostList, vb::Variant(13));
    EXPECT_TRUE(general.card()->isVisible());
    EXPECT_EQ(windows->messageBoxes().size(), 1u);

    frmInicial& card = *general.card();
    card.resize(200, 100);
    QCoreApplication::processEvents();
    EXPECT_GE(card.width() * 15, 11175);
    EXPECT_GE(card.height() * 15, 6000);

    modRegistry::DefinirValorDWORD(windowKey, QStringLiteral("Width"), 12345);
    card.showMaximized();
    QCoreApplication::processEvents();
    card.close();
    EXPECT_EQ(vb::CLng(modRegistry::ObterValorDWORD(windowKey, QStringLiteral("Width"))), 12345)
        << "maximised: nothing stored";

    // Each opening ties the card to one owner window, the host's; closing
    // tells the host the contact shown last, by its place in the host's list
    // or by key.
    auto host = std::make_shared<RecordingHost>();
    general.ObjectOpen(hostList, vb::Variant(13), {}, {}, host, 4, 5, 6);
    const QPointer<frmMainChilds> first = general.card()->frmParent;
    ASSERT_FALSE(first.isNull());
    general.card()->moveNext();
    general.card()->close();
    EXPECT_EQ(host->closed, QStringLiteral("RemoteActivate 14 4 5 6"));
    general.ObjectOpen(hostList, vb::Variant(14), {}, {}, host);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "the owner of the earlier opening is not kept";
    EXPECT_FALSE(general.card()->frmParent.isNull());
    EXPECT_EQ(modParentsForm::LastOwner(), general.card()->frmParent.data());
    EXPECT_EQ(modParentsForm::LastHostHandle(), qint32(host->window.winId()));
    general.card()->close();

    general.Registo(hostList, vb::Variant(44), {}, {}, host);
    general.card()->moveNext(); // the last row: it stays
    general.card()->clCurrentIndex = 0;
    general.card()->close();
    EXPECT_EQ(host->closed, QStringLiteral("RemoteKey 44"));

    general.ShutDown();
    EXPECT_EQ(general.card(), nullptr);
    EXPECT_FALSE(general.ApagaRegisto(hostList, vb::Variant(13), {}));
}
