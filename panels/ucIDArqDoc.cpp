#include "panels/ucIDArqDoc.h"

#include "platform/ado/SqlCompose.h"
#include "platform/values/Format.h"
#include "platform/windows/WindowServices.h"

#include "panels/GridTable.h"

#include <QVBoxLayout>

namespace {

const char16_t selectDocuments[] =
    u"SELECT filename, path, created_date, created_by FROM tbArquivo_Documental "
    u"WHERE contacto_id = %1 ORDER BY arquivo_id DESC";

} // namespace

ucIDArqDoc::ucIDArqDoc(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDArqDoc1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    table_ =
        addListTable(layout, QStringLiteral("lstDocumentos"),
                     {QStringLiteral("Documento"), QStringLiteral("Arquivado em"), QStringLiteral("Por")});
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
        // Paths were recorded with "\" separators.
        QString folder = text(rs, QStringLiteral("path"));
        folder.replace(u'\\', u'/');
        if (!folder.isEmpty() && !folder.endsWith(u'/'))
            folder += u'/';
        paths_.append(folder + text(rs, QStringLiteral("filename")));
    }
    rs.Close();
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
    return platform::WindowServices::current().shellExecute(window(), QStringLiteral("open"), paths_[row],
                                                            {});
}
