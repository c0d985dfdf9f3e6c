#include "connection/ConnectionState.h"
#include "panels/PermissionMask.h"
#include "panels/ucIDArqDoc.h"
#include "panels/ucIDComm.h"
#include "panels/ucIDPermitions.h"
#include "panels/ucIDRelacionados.h"
#include "panels/ucIDTipos_Links.h"
#include "panels/ucIDTulvas.h"
#include "panels/ucIDTulvas_Details.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/ScriptedWindows.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FilePanels : public ::testing::Test {
  protected:
    testsupport::DemoDatabase db;
    testsupport::RecordingReporter reporter;
    QString user = QStringLiteral("sa");

    template <class Panel> void prepare(Panel& panel) { panel.setConnection(Data().SqlServer); }
};

} // namespace

TEST_F(FilePanels, EveryFilePanelReadsAndWritesItsPart)
{
    ucIDTulvas types;
    prepare(types);
    types.TypesTable = QStringLiteral("tbTulvas_Contactos_Tipos");
    types.FileTable = QStringLiteral("tbTulvas_Contactos");
    types.Initialise();
    QSignalSpy typeChanged(&types, &ucIDTulvas::TipoChanged);
    qint32 id = 7;
    types.LoadContact(id);
    const auto stored = [&] {
        return db.value("SELECT t.descrit FROM tbTulvas_Contactos f JOIN tbTulvas_Contactos_Tipos t ON "
                        "t.tipo_id = f.tipo_id WHERE f.contacto_id = 7");
    };
    EXPECT_EQ(types.currentType(), stored());
    ASSERT_GE(typeChanged.count(), 1);
    EXPECT_EQ(typeChanged.last()[0].toString(), stored());
    EXPECT_FALSE(types.HasChanges());
    types.chooseType(QStringLiteral("Entidade pública"));
    EXPECT_TRUE(types.HasChanges());
    EXPECT_EQ(types.Save(user), -1);
    EXPECT_EQ(stored(), QStringLiteral("Entidade pública"));

    ucIDTulvas_Details details;
    prepare(details);
    details.LoadContact(id);
    auto* reference = details.findChild<QLineEdit*>(QStringLiteral("txtReferencia"));
    EXPECT_EQ(reference->text(), QStringLiteral("REF-0007"));
    QSignalSpy changed(&details, &IdentityPanel::Changed);
    QTest::mouseClick(details.findChild<QCheckBox*>(QStringLiteral("chkActivo")), Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    reference->setText(QStringLiteral("Ref. O'Neil ção"));
    Data().SqlServer.BeginTrans();
    EXPECT_EQ(details.Save(user), -1);
    Data().SqlServer.CommitTrans();
    EXPECT_EQ(db.value("SELECT referencia FROM tbTulvas_Contactos WHERE contacto_id = 7"),
              QStringLiteral("Ref. O'Neil ção"));
    EXPECT_EQ(db.value("SELECT activo FROM tbTulvas_Contactos WHERE contacto_id = 7"),
              QStringLiteral("False"));
    details.findChild<QLineEdit*>(QStringLiteral("txtEntrada"))->setText(QStringLiteral("32-13-2020"));
    EXPECT_EQ(details.Save(user), 0);

    // Relations, and the files the contact is in.
    ucIDRelacionados relations;
    prepare(relations);
    QSignalSpy open(&relations, &ucIDRelacionados::RequestOpen);
    id = 3;
    relations.LoadContact(id, false, nullptr, user, QString());
    ASSERT_EQ(relations.relationCount(), 1);
    relations.openRow(0);
    ASSERT_EQ(open.count(), 1);
    EXPECT_EQ(open[0][0].toInt(), 15);
    EXPECT_TRUE(relations.AddRelation(20, QStringLiteral("Fornecedor d'água")));
    EXPECT_EQ(relations.relationCount(), 2);
    EXPECT_FALSE(relations.AddRelation(999, QStringLiteral("x")));
    relations.ContactStored = false;
    EXPECT_FALSE(relations.AddRelation(21, QStringLiteral("x")));

    ucIDTipos_Links links;
    prepare(links);
    id = 6; // in Contactos Quarvenses, Clientes and Fornecedores
    links.LoadContact(id);
    EXPECT_EQ(links.files(), (QStringList{"Clientes", "Contactos Quarvenses", "Fornecedores"}));
    EXPECT_TRUE(links.RemoveFromFile(6, QStringLiteral("Clientes")));
    EXPECT_EQ(links.files(), (QStringList{"Contactos Quarvenses", "Fornecedores"}));
    EXPECT_FALSE(links.RemoveFromFile(6, QStringLiteral("Ficheiro Inexistente")));

    // Permission masks, shown, edited and kept byte for byte.
    const QString users = QStringLiteral("$10011111$10021100");
    const QString groups = QStringLiteral("$00011111$99990120");
    ucIDPermitions panel;
    prepare(panel);
    panel.setUserMask(users);
    panel.setGroupMask(groups);
    ASSERT_EQ(panel.entryCount(), 4);
    EXPECT_EQ(panel.UserMask(), users);
    EXPECT_EQ(panel.GroupMask(), groups);
    QStringList shown;
    for (int i = 0; i < 4; ++i)
        shown.append(panel.entry(i).join(u'|'));
    EXPECT_TRUE(shown.contains(QStringLiteral("U|$1002|ana|1100"))) << shown.join(' ').toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("G|$9999|(código desconhecido)|0120")));

    QSignalSpy maskChanged(&panel, &IdentityPanel::Changed);
    const int ana = int(shown.indexOf(QStringLiteral("U|$1002|ana|1100")));
    panel.setRight(ana, 3, u'2'); // deny changing permissions
    EXPECT_EQ(maskChanged.count(), 1);
    EXPECT_EQ(panel.UserMask(), QStringLiteral("$10011111$10021102"));
    EXPECT_EQ(panel.GroupMask(), groups) << "the unknown code is kept";
    panel.chooser = [](const QString&, const QStringList& names) {
        EXPECT_TRUE(names.contains(QStringLiteral("Contabilidade")));
        return QStringLiteral("Contabilidade");
    };
    panel.AddGroup();
    EXPECT_EQ(panel.GroupMask(), groups + QStringLiteral("$00031000"));
    auto* table = panel.findChild<QTableWidget*>(QStringLiteral("lstPermissoes"));
    for (int r = 0; r < panel.entryCount(); ++r)
        if (panel.entry(r)[1] == QLatin1String("$1001"))
            table->selectRow(r);
    panel.RemoveEntry();
    EXPECT_EQ(panel.UserMask(), QStringLiteral("$10021102"));

    EXPECT_EQ(
        joinMask(parseMask(QStringLiteral("U71000G20111"), {QStringLiteral("U7"), QStringLiteral("G2")})),
        QStringLiteral("U71000G20111"));
    EXPECT_EQ(parseMask(QStringLiteral("U71000G20111"), {QStringLiteral("U7"), QStringLiteral("G2")}).size(),
              2);
    EXPECT_EQ(parseMask(QStringLiteral("estranho"), {}).size(), 1);

    // The archive's documents and the communications the user may open.
    Data().SqlServer.Execute(QStringLiteral(
        "INSERT INTO tbArquivo_Documental (contacto_id, filename, path, created_date, created_by) VALUES "
        "(4, 'contrato.pdf', '/srv/arquivo\\4\\', GETDATE(), 'ana')"));
    ScriptedWindows windows;
    ucIDArqDoc archive;
    prepare(archive);
    id = 4;
    archive.LoadContact(id);
    ASSERT_EQ(archive.documentCount(), 1);
    EXPECT_EQ(archive.documentPath(0), QStringLiteral("/srv/arquivo/4/contrato.pdf"));
    EXPECT_TRUE(archive.openDocument(0));
    ASSERT_EQ(windows->shellCalls().size(), 1u);
    EXPECT_EQ(windows->shellCalls()[0].verb, QStringLiteral("open"));
    archive.ReadOnlyMode = true;
    EXPECT_FALSE(archive.openDocument(0));

    Data().SqlServer.Execute(
        QStringLiteral("INSERT INTO tbContactos_Comunicacoes (contacto_id, data, meio, assunto, texto, "
                       "user_code, group_code) VALUES "
                       "(4, GETDATE(), 'Telefone', 'Proposta', 'Ligou a pedir preço', '$10021000', ''), "
                       "(4, GETDATE(), 'Carta', 'Reservado', 'Só para a contabilidade', '', '$00031000')"));
    ucIDComm comms;
    prepare(comms);
    comms.LoadContact(id, false, nullptr, QStringLiteral("ana")); // ana is in groups $0002 and $0003
    EXPECT_EQ(comms.communicationCount(), 2);
    comms.LoadContact(id, false, nullptr, QStringLiteral("marta")); // $1004, group $0002 only
    EXPECT_EQ(comms.communicationCount(), 0);
    comms.LoadContact(id, false, nullptr, QStringLiteral("rui")); // group $0003
    ASSERT_EQ(comms.communicationCount(), 1);
    EXPECT_EQ(comms.communication(0)[2], QStringLiteral("Reservado"));
}
