#include "panels/ucIDArqDoc.h"

#include "connection/ConnectionState.h"
#include "documents/ImportarFicheiro.h"
#include "panels/GridTable.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const char16_t selectDocuments[] =
    u"SELECT arquivo_id, filename, path, created_date, created_by FROM tbArquivo_Documental "
    u"WHERE contacto_id = %1 ORDER BY arquivo_id DESC";
const char16_t deleteDocument[] = u"DELETE FROM tbArquivo_Documental WHERE arquivo_id = %1";
const QString removedFolder = QStringLiteral("removidos");
const QString archiveTitle = QStringLiteral("Arquivo Documental");

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

} // namespace

ucIDArqDoc::ucIDArqDoc(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDArqDoc1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    table_ =
        addListTable(layout, QStringLiteral("lstDocumentos"), archiveTitle,
                     {QStringLiteral("Documento"), QStringLiteral("Arquivado em"), QStringLiteral("Por")});
    table_->setAccessibleName(archiveTitle);
    table_->setAcceptDrops(true);
    table_->viewport()->setAcceptDrops(true);
    table_->viewport()->installEventFilter(this);
    const QList<QPushButton*> buttons =
        addButtonRow(layout, {{QStringLiteral("cmdAnexar"), QStringLiteral("A&nexar ficheiro…")},
                              {QStringLiteral("cmdAbrir"), QStringLiteral("A&brir")},
                              {QStringLiteral("cmdRemoverDocumento"), QStringLiteral("Re&mover")}});
    connect(buttons[0], &QPushButton::clicked, this, &ucIDArqDoc::attachChosen);
    connect(buttons[1], &QPushButton::clicked, this, [this] { openDocument(table_->currentRow()); });
    connect(buttons[2], &QPushButton::clicked, this, [this] { removeDocument(table_->currentRow()); });
    connect(table_, &GridTable::rowActivated, this, [this](int row) { openDocument(row); });
}

void ucIDArqDoc::LoadContact(qint32& contactoId)
{
    IdentityPanel::LoadContact(contactoId);
}

void ucIDArqDoc::clear()
{
    table_->setRowCount(0);
    paths_.clear();
    ids_.clear();
}

void ucIDArqDoc::load()
{
    ado::Recordset rs = query(sql::compose(selectDocuments, {ContactNumber}));
    for (; !rs.Eof(); rs.MoveNext()) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        table_->setItem(row, 0, new QTableWidgetItem(text(rs, QStringLiteral("filename"))));
        const vb::Variant when = rs(QStringLiteral("created_date"));
        table_->setItem(row, 1,
                        new QTableWidgetItem(when.isNull()
                                                 ? QString()
                                                 : vb::Format(when, QStringLiteral("dd-mm-yyyy hh:nn"))));
        table_->setItem(row, 2, new QTableWidgetItem(text(rs, QStringLiteral("created_by"))));
        // Paths recorded elsewhere may carry "\\" separators.
        QString folder = text(rs, QStringLiteral("path"));
        folder.replace(u'\\', u'/');
        if (!folder.isEmpty() && !folder.endsWith(u'/'))
            folder += u'/';
        paths_.append(folder + text(rs, QStringLiteral("filename")));
        ids_.append(vb::CLng(rs(QStringLiteral("arquivo_id"))));
    }
    rs.Close();
}

void ucIDArqDoc::reload()
{
    qint32 id = ContactNumber;
    IdentityPanel::LoadContact(id);
}

int ucIDArqDoc::documentCount() const
{
    return table_->rowCount();
}

QString ucIDArqDoc::documentPath(int row) const
{
    return paths_.value(row);
}

bool ucIDArqDoc::openDocument(int row)
{
    if (ReadOnlyMode || row < 0 || row >= paths_.size())
        return false;
    return windows().shellExecute(window(), QStringLiteral("open"), paths_[row], {});
}

int ucIDArqDoc::attachChosen()
{
    if (ReadOnlyMode || ContactNumber == 0)
        return 0;
    platform::OpenFileRequest request;
    request.title = QStringLiteral("Anexar ficheiro ao arquivo documental");
    request.initialFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    request.multiple = true;
    return attachFiles(windows().openFileNames(request));
}

int ucIDArqDoc::attachFiles(const QStringList& paths)
{
    if (ReadOnlyMode || ContactNumber == 0 || paths.isEmpty() || (MayWrite && !MayWrite()))
        return 0;
    int filed = 0;
    for (const QString& path : paths)
        filed += !documents::ImportarFicheiro(QFileInfo(path).absoluteFilePath(), ContactNumber, window())
                      .isEmpty();
    reload();
    return filed;
}

bool ucIDArqDoc::removeDocument(int row)
{
    if (ReadOnlyMode || row < 0 || row >= paths_.size())
        return false;
    const QString path = paths_[row];
    const QFileInfo file(path);
    if (windows().messageBox(QStringLiteral("Deseja remover o documento «") + file.fileName() +
                                 QStringLiteral("» do arquivo deste contacto?") + QStringLiteral("\n\r\n\r") +
                                 QStringLiteral("O ficheiro passa para a pasta «removidos» do arquivo."),
                             platform::msgbox::YesNo | platform::msgbox::Question |
                                 platform::msgbox::DefaultButton2,
                             archiveTitle) != platform::msgbox::AnswerYes)
        return false;
    const QString removed = file.path() + u'/' + removedFolder;
    QString moved;
    const qint32 id = ids_[row];
    const bool done = writeNow(QStringLiteral("RemoveDocument"), [&] {
        execute(sql::compose(deleteDocument, {id}));
        if (file.exists()) {
            QDir().mkpath(removed);
            moved =
                removed + u'/' + documents::freeName(file.fileName(), QDir(removed).entryList(QDir::Files));
            if (!QFile::rename(path, moved))
                throw vb::Error(vb::errnum::InvalidProcedureCall,
                                QStringLiteral("Não foi possível mover o ficheiro «") + path +
                                    QStringLiteral("»."));
        }
    });
    if (!done && !moved.isEmpty() && QFileInfo::exists(moved) && !QFileInfo::exists(path))
        QFile::rename(moved, path); // the row stays, and so does its file
    reload();
    return done;
}

// Files dropped on the list from the desktop are filed.
bool ucIDArqDoc::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasUrls() && !ReadOnlyMode && ContactNumber != 0) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            QStringList files;
            for (const QUrl& url : drop->mimeData()->urls())
                if (url.isLocalFile())
                    files.append(url.toLocalFile());
            drop->acceptProposedAction();
            attachFiles(files);
            return true;
        }
    }
    return IdentityPanel::eventFilter(watched, event);
}
