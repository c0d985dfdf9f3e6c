#pragma once
// The listed contacts out of the program: as a CSV file a Portuguese
// spreadsheet opens as it is, and as a PDF page to print or to keep.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace listout {

struct Table {
    QString title;  // "Contactos" and what was searched
    QString footer; // the count and the date
    QStringList headers;
    QList<QStringList> rows;
};

// UTF-8 with its mark (so that spreadsheets know it), ";" between fields, a
// header row, CR LF; fields quoted where they must be, and a field a
// spreadsheet would run as a formula ("=…", "@…") kept as text.
QByteArray csv(const Table& table);

// A PDF of the table on A4 landscape pages, its headers repeated on each.
// False, with the reason, when the file could not be written.
bool writePdf(const Table& table, const QString& path, QString& failure);
// The bytes to the file whole, or the file as it was and the reason.
bool writeFile(const QString& path, const QByteArray& bytes, QString& failure);

} // namespace listout
