// Contacts in and out of the host's list as vCard files: chosen in a dialog
// or dropped on the list to import, the selection or the whole list to export.
#include "connection/ConnectionState.h"
#include "documents/vcard/VCardExchange.h"
#include "documents/vcard/VCardReader.h"
#include "host/HostWindow.h"
#include "platform/folders/FileFaults.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>
#include <algorithm>

namespace {

const QString importTitle = QStringLiteral("Importar vCard");
const QString exportTitle = QStringLiteral("Exportar vCard");
const QString listFileName = QStringLiteral("Contactos.vcf");
constexpr int shownLines = 25; // of a long summary, the rest is counted

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

QStringList vcardFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".vcf"), Qt::CaseInsensitive))
            files << url.toLocalFile();
    return files;
}

QString summaryText(const vcard::ImportSummary& summary, const QStringList& unreadable)
{
    QStringList lines = summary.details();
    const qsizetype more = lines.size() - shownLines;
    if (more > 0) {
        lines = lines.mid(0, shownLines);
        lines << QStringLiteral("… e mais ") + QString::number(more) + u'.';
    }
    QString text = summary.totals();
    if (!lines.isEmpty())
        text += QStringLiteral("\n\n") + lines.join(u'\n');
    if (!summary.readProblem.isEmpty())
        text += QStringLiteral("\n\nCartões que não foi possível ler:\n") + summary.readProblem;
    if (!unreadable.isEmpty())
        text += QStringLiteral("\n\nFicheiros que não foi possível abrir:\n") + unreadable.join(u'\n');
    return text;
}

} // namespace

namespace {

// Each card that matches a stored contact, named with the contact it
// matches: the user decides knowing who would be updated.
QString duplicatesQuestion(const vcard::ImportSummary& summary, const QList<qsizetype>& where)
{
    QStringList lines;
    for (const qsizetype i : where)
        lines << QStringLiteral("  ") + summary.lines[i].name + QStringLiteral(" (") +
                     summary.lines[i].reason + u')';
    const QString heading = where.size() == 1
                                ? QStringLiteral("Este cartão corresponde a um contacto que já existe:\n")
                                : QStringLiteral("Estes ") + QString::number(where.size()) +
                                      QStringLiteral(" cartões correspondem a contactos que já existem:\n");
    const QString question =
        where.size() == 1 ? QStringLiteral("Deseja actualizar esse contacto com os dados do cartão?")
                          : QStringLiteral("Deseja actualizar esses contactos com os dados dos cartões?");
    return heading + lines.join(u'\n') + QStringLiteral("\n\n") + question;
}

} // namespace

void HostWindow::chooseAndImport()
{
    const platform::SaveFileRequest like = vcard::saveRequest(importTitle, {});
    platform::OpenFileRequest request;
    request.title = importTitle;
    request.initialFolder = like.initialFolder;
    request.filters = like.filters;
    request.multiple = true;
    const QStringList files = windows().openFileNames(request);
    if (!files.isEmpty())
        importFiles(files);
}

// Every card of the files; duplicates are skipped, and then updated if the
// user says so. One summary at the end.
void HostWindow::importFiles(const QStringList& files)
{
    QList<vcard::Card> cards;
    QStringList unreadable;
    QString problems;
    for (const QString& name : files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            unreadable << name + QStringLiteral(": ") + platform::whyNotRead(name, file);
            continue;
        }
        QString problem;
        const QList<vcard::Card> read = vcard::read(file.readAll(), &problem);
        if (read.isEmpty() && problem.isEmpty())
            problem = QStringLiteral("o ficheiro não tem nenhum cartão vCard.");
        cards << read;
        if (!problem.isEmpty())
            problems += (problems.isEmpty() ? QString() : QStringLiteral("\n")) + name +
                        QStringLiteral(": ") + problem;
    }
    const QString user = Conn().strUser;
    windows().setMousePointer(this, platform::pointer::Hourglass);
    vcard::ImportSummary summary = vcard::importCards(cards, {}, user);
    windows().setMousePointer(this, platform::pointer::Default);
    summary.readProblem = problems;
    QList<vcard::Card> duplicates;
    QList<qsizetype> where;
    for (qsizetype i = 0; i < summary.lines.size(); ++i)
        if (summary.lines[i].outcome == vcard::Outcome::Skipped) {
            duplicates << cards[summary.lines[i].card];
            where << i;
        }
    if (!duplicates.isEmpty() && windows().messageBox(duplicatesQuestion(summary, where),
                                                      platform::msgbox::Question | platform::msgbox::YesNo |
                                                          platform::msgbox::DefaultButton2,
                                                      importTitle) == platform::msgbox::AnswerYes) {
        windows().setMousePointer(this, platform::pointer::Hourglass);
        const vcard::ImportSummary updated = vcard::importCards(duplicates, {true, false}, user);
        windows().setMousePointer(this, platform::pointer::Default);
        for (qsizetype i = 0; i < where.size(); ++i) {
            const int card = summary.lines[where[i]].card;
            summary.lines[where[i]] = updated.lines[i];
            summary.lines[where[i]].card = card;
        }
    }
    const bool fault =
        summary.count(vcard::Outcome::Refused) > 0 || !problems.isEmpty() || !unreadable.isEmpty();
    windows().messageBox(summaryText(summary, unreadable),
                         fault ? platform::msgbox::Exclamation : platform::msgbox::Information, importTitle);
    refreshList();
}

QList<qint32> HostWindow::listedContacts(bool selectedOnly) const
{
    if (!selectedOnly)
        return model_->allKeys();
    QList<int> rows;
    for (const QModelIndex& chosen : view_->selectionModel()->selectedRows())
        rows << chosen.row();
    std::sort(rows.begin(), rows.end()); // in the list's order
    QList<qint32> ids;
    for (const int row : rows)
        ids << model_->keyAt(row);
    return ids;
}

void HostWindow::exportContacts(bool selectedOnly)
{
    QList<qint32> ids;
    try {
        ids = listedContacts(selectedOnly);
    } catch (const vb::Error& e) {
        windows().messageBox(ContactListModel::failureText(e.description()), platform::msgbox::Exclamation,
                             exportTitle);
        return;
    }
    if (ids.isEmpty()) {
        windows().messageBox(selectedOnly ? QStringLiteral("Seleccione na lista os contactos a exportar.")
                                          : QStringLiteral("A lista não tem contactos a exportar."),
                             platform::msgbox::Information, exportTitle);
        return;
    }
    // A first look names the file; the export proper stores the UIDs it
    // gives only with the file the user chose.
    windows().setMousePointer(this, platform::pointer::Hourglass);
    vcard::TrialDelivery trial;
    const vcard::ExportResult preview = vcard::exportContacts(ids, Conn().strUser, trial);
    windows().setMousePointer(this, platform::pointer::Default);
    if (preview.names.isEmpty()) {
        windows().messageBox(QStringLiteral("Nenhum contacto pôde ser exportado:\n") +
                                 (preview.skipped.isEmpty() ? preview.failure : preview.skipped.join(u'\n')),
                             platform::msgbox::Exclamation, exportTitle);
        return;
    }
    const QString path = windows().saveFileName(vcard::saveRequest(
        exportTitle, preview.names.size() == 1 ? vcard::fileNameFor(preview.names.first()) : listFileName));
    if (path.isEmpty())
        return;
    windows().setMousePointer(this, platform::pointer::Hourglass);
    vcard::FileDelivery file(path);
    const vcard::ExportResult result = vcard::exportContacts(ids, Conn().strUser, file);
    windows().setMousePointer(this, platform::pointer::Default);
    if (!result.delivered) {
        windows().messageBox(QStringLiteral("Não foi possível gravar o ficheiro «") + path +
                                 QStringLiteral("»: ") + result.failure +
                                 QStringLiteral(". Nada foi alterado."),
                             platform::msgbox::Exclamation, exportTitle);
        return;
    }
    QString text = QStringLiteral("Exportados ") + QString::number(result.names.size()) +
                   QStringLiteral(" contacto(s) para «") + path + QStringLiteral("».");
    if (!result.skipped.isEmpty())
        text += QStringLiteral("\n\nNão exportados:\n") + result.skipped.join(u'\n');
    if (!result.leftOut.isEmpty())
        text += QStringLiteral("\n\nDeixado de fora:\n") + result.leftOut.join(u'\n');
    windows().messageBox(
        text, result.skipped.isEmpty() ? platform::msgbox::Information : platform::msgbox::Exclamation,
        exportTitle);
}

// Files dropped on the list are imported.
bool HostWindow::listDropEvent(QEvent* event)
{
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (vcardFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = vcardFiles(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        importFiles(files);
        return true;
    }
    return false;
}
