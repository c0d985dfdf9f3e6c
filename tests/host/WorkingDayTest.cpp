// What an office user meets in a day at the host's list: the order of every
// column as a Portuguese reader expects it, the list out as CSV, PDF and
// print, the rows' menu and the about box.
#include "tests/host/HostFixture.h"

#include "platform/windows/MessageStyle.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>

namespace {

class WorkingDay : public hosttest::HostFixture {};

constexpr int localityColumn = 4;

} // namespace

// An office user's day at the list: its menu, the about box and who is
// signed in where; every column sorted as a Portuguese reader expects; the
// search finding a contact by its NIF, a telephone however it is spaced, an
// e-mail or a locality, accents and case aside, and the kind and the file
// narrowing the list; and the list out as the search shows it, as a CSV a
// Portuguese spreadsheet opens as it is, a PDF, and a print.
TEST_F(WorkingDay, TheMenuSortSearchAndTheListOutAsCsvPdfAndPrint)
{
    HostWindow& window = start();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblUtilizador"))->text(),
              QStringLiteral("Utilizador: sa · Base de dados: Quarvenses"));
    QMenu menu;
    window.fillListMenu(menu, 0);
    QStringList texts;
    for (QAction* a : menu.actions())
        if (!a->isSeparator())
            texts << a->text();
    EXPECT_EQ(texts, (QStringList{"&Abrir", "&Novo…", "A&pagar…", "&Exportar vCard…", "Copiar o &e-mail",
                                  "Copiar o &telefone"}));
    trigger(menu, "mnListaCopiarEmail");
    EXPECT_EQ(QApplication::clipboard()->text(), window.rows().textAt(0, 3));
    QMenu empty;
    window.fillListMenu(empty, -1);
    EXPECT_FALSE(empty.findChild<QAction*>(QStringLiteral("mnListaAbrir"))->isEnabled());
    EXPECT_TRUE(empty.findChild<QAction*>(QStringLiteral("mnListaNovo"))->isEnabled());

    windows->queueAnswer(platform::msgbox::AnswerOK);
    trigger(window, "actAcercaDe");
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    EXPECT_TRUE(windows->messageBoxes()[0].text.startsWith(QStringLiteral("Contactos Quarvenses ") +
                                                           QStringLiteral(QV_TEST_VERSION)))
        << windows->messageBoxes()[0].text.toStdString();
    EXPECT_EQ(windows->messageBoxes()[0].title, QStringLiteral("Acerca de Contactos Quarvenses"));

    SCOPED_TRACE("sorting");
    window.list()->header()->setSortIndicator(localityColumn, Qt::AscendingOrder);
    QStringList places = column(window, localityColumn);
    places.removeDuplicates();
    places.removeAll(QString());
    ASSERT_TRUE(places.contains(QStringLiteral("Évora")));
    EXPECT_LT(places.indexOf(QStringLiteral("Évora")), places.indexOf(QStringLiteral("Faro")))
        << places.join(u',').toStdString();
    EXPECT_LT(places.indexOf(QStringLiteral("Coimbra")), places.indexOf(QStringLiteral("Évora")));

    SCOPED_TRACE("searching");
    const int all = window.rows().rowCount();
    int someone = -1;
    const ContactListModel& rows = window.rows();
    for (int i = 0; i < all && someone < 0; ++i)
        if (rows.textAt(i, 1).contains(u' ') && rows.textAt(i, 2).size() > 6 && !rows.textAt(i, 3).isEmpty())
            someone = i;
    ASSERT_GE(someone, 0) << "a contact with a spaced NIF, a telephone and an e-mail";
    const QString name = rows.textAt(someone, 0);
    const QString phone = rows.textAt(someone, 2);
    const QStringList typed{QString(rows.textAt(someone, 1)).remove(u' '), phone,
                            QString(phone).insert(3, u' '), rows.textAt(someone, 3).toUpper()};
    for (const QString& text : typed) {
        search(window, text);
        EXPECT_TRUE(names(window).contains(name)) << text.toStdString();
    }
    search(window, QStringLiteral("EVORA"));
    const QStringList found = column(window, localityColumn);
    EXPECT_EQ(QSet<QString>(found.begin(), found.end()), QSet<QString>{QStringLiteral("Évora")});

    search(window, QString());
    window.kindFilter()->setCurrentIndex(1);
    const int individuals = window.rows().rowCount();
    window.kindFilter()->setCurrentIndex(2);
    const int institutions = window.rows().rowCount();
    EXPECT_GT(individuals, 0);
    EXPECT_GT(institutions, 0);
    EXPECT_EQ(individuals + institutions, all);
    window.kindFilter()->setCurrentIndex(0);
    window.fileFilter()->setCurrentIndex(window.fileFilter()->findText(QStringLiteral("Clientes")));
    EXPECT_LT(window.rows().rowCount(), all);
    window.fileFilter()->setCurrentIndex(0);
    EXPECT_EQ(window.rows().rowCount(), all);

    SCOPED_TRACE("the list out");
    search(window, QStringLiteral("antonio"));
    ASSERT_EQ(window.rows().rowCount(), 2);
    const QString csvPath = dir.filePath(QStringLiteral("lista.csv"));
    windows->queueSaveFileName(csvPath);
    trigger(window, "actExportarCsv");
    EXPECT_EQ(windows->saveDialogs().back().proposedName, QStringLiteral("Contactos.csv"));
    const QList<QByteArray> lines = contents(csvPath).split('\n');
    EXPECT_EQ(lines[0], QByteArray("\xEF\xBB\xBFNome;NIF;Telefone;Correio electrónico;Localidade\r"));
    EXPECT_TRUE(lines[1].startsWith(QString(column(window, 0)[0] + u';').toUtf8())) << lines[1].toStdString();
    EXPECT_EQ(lines.size(), 4) << "a header, two rows and the last line end";

    const QString pdfPath = dir.filePath(QStringLiteral("lista.pdf"));
    windows->queueSaveFileName(pdfPath);
    trigger(window, "actExportarPdf");
    EXPECT_TRUE(contents(pdfPath).startsWith("%PDF-"));

    windows->queuePrint(platform::PrintOutcome::Queued);
    trigger(window, "actImprimirLista");
    ASSERT_EQ(windows->printCalls().size(), 1u);
    EXPECT_EQ(windows->printCalls()[0].title, QStringLiteral("Imprimir lista"));
    EXPECT_TRUE(contents(windows->printCalls()[0].pdf).startsWith("%PDF-"));

    // A CSV field is quoted, or made text, where a spreadsheet would misread it.
    listout::Table table;
    table.headers = {QStringLiteral("Nome"), QStringLiteral("Telefone")};
    table.rows = {{QStringLiteral("Silva; Filhos \"Lda\""), QStringLiteral("+351 912 000 000")},
                  {QStringLiteral("=HIPERLIGACAO(\"x\")"), QStringLiteral("+A1")},
                  {QStringLiteral("@SOMA"), QStringLiteral("-1-2 (ext.)")}};
    EXPECT_EQ(listout::csv(table), QByteArray("\xEF\xBB\xBFNome;Telefone\r\n"
                                              "\"Silva; Filhos \"\"Lda\"\"\";+351 912 000 000\r\n"
                                              "\"'=HIPERLIGACAO(\"\"x\"\")\";'+A1\r\n"
                                              "'@SOMA;'-1-2 (ext.)\r\n"));
}
