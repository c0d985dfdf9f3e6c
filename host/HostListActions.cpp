// The list's own actions: its contacts printed, or out as CSV and PDF, as
// the search shows them; the context menu of a row; the about box; who is
// signed in to which catalog, on the status line.
#include "card/frmInicial.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "host/HostWindow.h"
#include "host/ListDocument.h"
#include "platform/ado/ConnectionString.h"
#include "platform/folders/SpecialFolders.h"
#include "platform/values/VbError.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStandardPaths>
#include <QTreeView>

namespace {

const QString printTitle = QStringLiteral("Imprimir lista");
const QString csvTitle = QStringLiteral("Exportar lista em CSV");
const QString pdfTitle = QStringLiteral("Exportar lista em PDF");
const QString listBaseName = QStringLiteral("Contactos");
constexpr int phoneColumn = 2;
// More rows than this in a printed or saved list are asked about first.
constexpr int manyRows = 5000;
constexpr int emailColumn = 3;

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

platform::SaveFileRequest listSaveRequest(const QString& title, const QString& description,
                                          const QString& extension)
{
    platform::SaveFileRequest request;
    request.title = title;
    request.initialFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    request.filters = {{description, QStringLiteral("*.") + extension}};
    request.proposedName = listBaseName + u'.' + extension;
    request.defaultExtension = extension;
    return request;
}

} // namespace

// What the list shows, in its order and columns.
listout::Table HostWindow::listTable() const
{
    listout::Table table;
    const QString typed = search_->text().trimmed();
    table.title =
        typed.isEmpty() ? listBaseName : listBaseName + QStringLiteral(" — «") + typed + QStringLiteral("»");
    table.footer =
        count_->text() + QStringLiteral(" ") + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    QList<int> shown;
    for (int c = 0; c < model_->columnCount(); ++c)
        if (!view_->isColumnHidden(c)) {
            shown << c;
            table.headers << model_->headerData(c, Qt::Horizontal).toString();
        }
    for (int i = 0; i < model_->rowCount(); ++i) {
        QStringList row;
        for (const int c : shown)
            row << model_->textAt(i, c);
        table.rows << row;
    }
    return table;
}

// The whole list, not only the screens read so far, or the reason it could not be read.
bool HostWindow::listHasRows(const QString& title)
{
    // A whole large catalog is asked about first: reading and laying out
    // that many rows takes a while and a great deal of paper.
    if (const int total = model_->total();
        total > manyRows && model_->rowCount() < total &&
        windows().messageBox(QStringLiteral("A lista tem ") + QString::number(total) +
                                 QStringLiteral(" contactos e todos serão incluídos. Continuar?\n\n"
                                                "Pode pesquisar ou escolher um tipo ou um ficheiro "
                                                "para listar menos."),
                             platform::msgbox::Question | platform::msgbox::YesNo |
                                 platform::msgbox::DefaultButton2,
                             title) != platform::msgbox::AnswerYes)
        return false;
    if (!model_->readAll()) {
        windows().messageBox(statusText(), platform::msgbox::Exclamation, title);
        return false;
    }
    if (model_->rowCount() > 0)
        return true;
    windows().messageBox(QStringLiteral("A lista não tem contactos."), platform::msgbox::Information, title);
    return false;
}

// The list to a file the user names, made by `write`; a failure is said.
void HostWindow::exportListAs(const QString& title, const QString& description, const QString& extension,
                              const std::function<bool(const QString&, QString&)>& write)
{
    if (!listHasRows(title))
        return;
    const QString path = windows().saveFileName(listSaveRequest(title, description, extension));
    if (path.isEmpty())
        return;
    QString failure;
    if (!write(path, failure))
        windows().messageBox(QStringLiteral("Não foi possível gravar o ficheiro «") + path +
                                 QStringLiteral("»: ") + failure + u'.',
                             platform::msgbox::Exclamation, title);
}

void HostWindow::exportListCsv()
{
    exportListAs(csvTitle, QStringLiteral("Folha de cálculo CSV"), QStringLiteral("csv"),
                 [this](const QString& path, QString& failure) {
                     return listout::writeFile(path, listout::csv(listTable()), failure);
                 });
}

void HostWindow::exportListPdf()
{
    exportListAs(pdfTitle, QStringLiteral("Documento PDF"), QStringLiteral("pdf"),
                 [this](const QString& path, QString& failure) {
                     return listout::writePdf(listTable(), path, failure);
                 });
}

// The list is made a PDF in the temporary folder, under one name that each
// print replaces, and that PDF goes through the print dialog.
void HostWindow::printList()
{
    if (!listHasRows(printTitle))
        return;
    const QString path = QDir(platform::tempFolder()).filePath(QStringLiteral("Contactos - lista.pdf"));
    QString failure;
    if (!listout::writePdf(listTable(), path, failure)) {
        windows().messageBox(QStringLiteral("Não foi possível preparar a impressão: ") + failure + u'.',
                             platform::msgbox::Exclamation, printTitle);
        return;
    }
    windows().printDocument(this, printTitle, path);
}

void HostWindow::showListMenu(const QPoint& at)
{
    const QModelIndex at_ = view_->indexAt(at);
    if (at_.isValid() && !view_->selectionModel()->isRowSelected(at_.row(), {}))
        setCurrentRow(at_.row());
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnLista"));
    fillListMenu(menu, at_.isValid() ? at_.row() : -1);
    menu.exec(view_->viewport()->mapToGlobal(at));
}

void HostWindow::fillListMenu(QMenu& menu, int row)
{
    const auto add = [&](const char* name, const QString& text, bool enabled,
                         const std::function<void()>& run) {
        QAction* a = menu.addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, run);
    };
    const bool onRow = row >= 0;
    const QString phone = model_->textAt(row, phoneColumn);
    const QString email = model_->textAt(row, emailColumn);
    add("mnListaAbrir", QStringLiteral("&Abrir"), onRow, [this] { openContact(); });
    add("mnListaNovo", QStringLiteral("&Novo…"), true, [this] { newContact(); });
    add("mnListaApagar", QStringLiteral("A&pagar…"), onRow, [this] { deleteCurrent(); });
    menu.addSeparator();
    add("mnListaExportar", QStringLiteral("&Exportar vCard…"), onRow, [this] { exportContacts(true); });
    add("mnListaCopiarEmail", QStringLiteral("Copiar o &e-mail"), !email.isEmpty(),
        [email] { QApplication::clipboard()->setText(email); });
    add("mnListaCopiarTelefone", QStringLiteral("Copiar o &telefone"), !phone.isEmpty(),
        [phone] { QApplication::clipboard()->setText(phone); });
}

// Deleting is the card's: it asks, checks the rights and says what it did.
void HostWindow::deleteCurrent()
{
    const qint32 id = model_->keyAt(currentRow());
    if (id == 0)
        return;
    openContact(id);
    frmInicial* card = component_.card();
    if (!card || !card->isVisible() || card->Contacto_ID != id)
        return;
    if (QAction* remove = card->findChild<QAction*>(QStringLiteral("mnRemover")))
        remove->trigger();
}

void HostWindow::showAbout()
{
    windows().messageBox(QStringLiteral("Contactos Quarvenses ") + QStringLiteral(QV_VERSION) +
                             QStringLiteral("\n\nA ficha de contactos e a sua lista.\n\n"
                                            "Licenças das bibliotecas usadas:\n"
                                            "Qt 6 — LGPL 3\n"
                                            "SQLite — domínio público\n"
                                            "libsodium — ISC\n"
                                            "unixODBC — LGPL 2.1; FreeTDS — LGPL 2\n"
                                            "Tipos de letra DejaVu — licença livre Bitstream Vera\n\n"
                                            "Os textos completos das licenças estão em /usr/share/doc."),
                         platform::msgbox::Information, QStringLiteral("Acerca de Contactos Quarvenses"));
}

// "sa em Quarvenses": who the rights are those of, and where the contacts are.
QString HostWindow::signedInText()
{
    QString catalog;
    try {
        catalog = ado::ConnectionString::parse(Data().SqlServer.ConnectionString()).initialCatalog();
    } catch (const vb::Error&) {
        // a string that cannot be read names no catalog; the user still shows
    }
    return QStringLiteral("Utilizador: ") + Conn().strUser +
           (catalog.isEmpty() ? QString() : QStringLiteral(" · Base de dados: ") + catalog);
}
