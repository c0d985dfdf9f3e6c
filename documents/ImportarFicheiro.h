#pragma once
// Filing a document in a contact's archive: the file is copied into the
// contact's folder under the archive root (a free name when its own is
// taken) and recorded in tbArquivo_Documental. The archived file's full
// path comes back; empty text when nothing was archived (the user was told
// why, or the failure was reported). A row without its file, or a file
// without its row, never stays.
#include <QString>

class QWidget;

namespace documents {

QString ImportarFicheiro(const QString& sourcePath, qint32 contactoId, QWidget* window = nullptr);

// The archive root of the host product (settings value "ArquivoDocumental"),
// empty when none is set.
QString archiveRoot();
// Gives the product an archive root under the user's data folder when it has
// none (the demonstration set-up); answers the root in use.
QString ensureArchiveRoot(const QString& productKey);
// The name the file gets among the names already in the folder: "_k" before
// the last dot (or at the end), the first k that is free; names compare
// with letter case.
QString freeName(const QString& fileName, const QStringList& taken);

} // namespace documents
