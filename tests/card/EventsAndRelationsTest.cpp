// The events list of tab 2 and the related contacts: their look, the flags,
// what the save writes, finding a contact to relate, and opening a related
// contact in the sibling product's component.
#include "panels/ContactSearchDialog.h"
#include "platform/objects/ComponentRegistry.h"
#include "platform/objects/SiblingContacts.h"
#include "tests/card/CardFixture.h"

#include <QTreeWidget>

namespace {

// Stands in for a sibling product's component and writes down how it is
// called: its name, the connection and flags it was given, the key asked
// for and the row it was handed.
class RecordingSibling : public contracts::SiblingContacts {
  public:
    RecordingSibling(QString progId, QStringList& calls) : progId_(std::move(progId)), calls_(calls) {}
    bool SQLConnect(QString& user, QString& password, QString& cnUser, QString& cnPassword, QString& catalog,
                    QString& source, QString& secondary, qint16 flags) override
    {
        connection_ = QStringLiteral("%1|%2|").arg(progId_).arg(flags) +
                      QStringList{user, password, cnUser, cnPassword, catalog, source, secondary}.join(u'|');
        return true;
    }
    void Registo(std::shared_ptr<ado::Recordset>& tRs, qint32& id) override
    {
        calls_ << connection_ +
                      QStringLiteral(" %1 %2").arg(id).arg(vb::CLng((*tRs)(QStringLiteral("contacto_id"))));
    }

  private:
    QString progId_, connection_;
    QStringList& calls_;
};

using EventsAndRelations = cardtest::CardFixture;

} // namespace

// Every type is listed, the ticked ones bold in the text colour; a contact
// without event rows has nothing ticked. A related contact opens in the
// product's sibling, and contacts to relate are found by name.
TEST_F(EventsAndRelations, EventsAreListedAndSavedRelatedContactsFoundAndOpened)
{
    sql("INSERT INTO tbContactos_Eventos_Tipos (descrit) VALUES ('Jantar de gala')");
    sql("INSERT INTO tbContactos_Eventos (contacto_id, evento_id, activado) VALUES (1, 99, 1)");
    frmInicial& card = open(1); // takes part in event 5, not in 2
    card.selectTab(2);
    QTreeWidget* list = card.eventsList();
    ASSERT_EQ(list->topLevelItemCount(), 6) << "every type, in the order of their names";
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("Aniversário"));
    QTreeWidgetItem* summer = list->findItems(QStringLiteral("Campanha de Verão"), Qt::MatchExactly).value(0);
    QTreeWidgetItem* birthday = list->findItems(QStringLiteral("Aniversário"), Qt::MatchExactly).value(0);
    ASSERT_TRUE(summer && birthday);
    EXPECT_EQ(summer->data(0, Qt::UserRole).toString(), QStringLiteral("#5"));
    EXPECT_EQ(summer->checkState(0), Qt::Checked);
    EXPECT_TRUE(summer->font(0).bold());
    EXPECT_EQ(summer->foreground(0).color(), list->palette().color(QPalette::WindowText));
    EXPECT_EQ(birthday->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(birthday->font(0).bold());
    EXPECT_EQ(birthday->foreground(0).color(), list->palette().color(QPalette::Shadow));
    EXPECT_FALSE(card.prpEventos) << "filling is no change";
    EXPECT_FALSE(card.prpAlteracoes());
    EXPECT_FALSE(birthday->flags() & Qt::ItemIsEditable) << "labels cannot be edited";

    // Ticking and unticking: changed either way, and the look follows.
    birthday->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(birthday->font(0).bold());
    birthday->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(card.prpEventos);
    EXPECT_TRUE(card.prpAlteracoes());
    EXPECT_EQ(list->currentItem(), birthday);
    ASSERT_TRUE(save(card, 2));
    EXPECT_FALSE(card.prpEventos);
    EXPECT_EQ(rows("tbContactos_Eventos", 1), 6 + 0)
        << "one row per type listed, and the row of a type that is gone is not kept";
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbContactos_Eventos WHERE contacto_id = 1 AND activado = 1"), 1);

    // A contact without event rows: nothing ticked; the selected event comes into view.
    sql("DELETE FROM tbContactos_Eventos WHERE contacto_id = 13");
    frmInicial& second = open(13);
    second.selectTab(2);
    for (int i = 0; i < second.eventsList()->topLevelItemCount(); ++i)
        EXPECT_EQ(second.eventsList()->topLevelItem(i)->checkState(0), Qt::Unchecked);
    qint32 selected = 3;
    second.Fill_Eventos(selected);
    ASSERT_NE(second.eventsList()->currentItem(), nullptr);
    EXPECT_EQ(second.eventsList()->currentItem()->data(0, Qt::UserRole).toString(), QStringLiteral("#3"));

    // A related contact is found, and opens in the product's sibling or is reported.
    QStringList calls;
    platform::ScopedComponent snvia(QString::fromLatin1(contracts::SiblingContacts::SnviaProgId), [&] {
        return std::make_shared<RecordingSibling>(QStringLiteral("Snvia"), calls);
    });
    platform::ScopedComponent travix(QString::fromLatin1(contracts::SiblingContacts::TravixProgId), [&] {
        return std::make_shared<RecordingSibling>(QStringLiteral("Travix"), calls);
    });
    open(3); // related to contact 15
    Conn().strDataServer = QStringLiteral("Sanovia");
    card.ucIDRelacionados1->openRow(0);
    Conn().strDataServer = QStringLiteral("Fiscora");
    qint32 other = 15;
    card.ucIDRelacionados1_RequestOpen(other);
    const auto& c = Conn();
    const QString connection =
        QStringList{
            c.strUser,       c.strPassword,           c.strCnUser, c.strCnPassword, c.strInitialCatalog,
            c.strDataSource, c.strDataSourceSecondary}
            .join(u'|');
    EXPECT_EQ(calls, (QStringList{QStringLiteral("Snvia|1|") + connection + QStringLiteral(" 15 15"),
                                  QStringLiteral("Travix|0|") + connection + QStringLiteral(" 15 15")}));

    // A sibling that is not installed: the failure reaches the report.
    platform::ScopedComponent none(QString::fromLatin1(contracts::SiblingContacts::TravixProgId), nullptr);
    card.ucIDRelacionados1_RequestOpen(other);
    ASSERT_EQ(reporter.reports().size(), 1u);
    EXPECT_EQ(reporter.reports()[0].value(0), QStringLiteral("Contactos Quarvenses"));
    EXPECT_EQ(reporter.reports()[0].value(3), QStringLiteral("ucIDRelacionados1_RequestOpen"));
    reporter.clear();

    // Contacts to relate are found by name among those the user may open.
    ContactSearchDialog search(Data().SqlServer, QStringLiteral("sa"), 3);
    // Whatever the accents and case; contact 3 itself is never offered.
    for (const auto& [typed, least] : {std::pair{"maria", 2}, std::pair{"conceicao", 1},
                                       std::pair{"CONCEIÇÃO", 1}, std::pair{"antonio", 1}}) {
        search.search(QString::fromUtf8(typed));
        EXPECT_GE(search.resultCount(), least) << typed;
    }
    search.search(QStringLiteral("cantinho"));
    EXPECT_EQ(search.resultCount(), 0);
    ContactSearchDialog nobody(Data().SqlServer, QStringLiteral("rui"), 3); // rui may open no contact
    nobody.search(QStringLiteral("maria"));
    EXPECT_EQ(nobody.resultCount(), 0);
}
