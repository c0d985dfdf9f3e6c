#include "components/adminfiscr/LetterFile.h"

#include "platform/values/VbError.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace adminfiscr {

namespace {

constexpr int pathAccessError = 75; // VB's "Path/File access error"
constexpr int maximumBaseLength = 80;
// Names already taken are tried with a counter, up to this many.
constexpr int maximumAttempts = 1000;
constexpr int pdfResolution = 300;
// The document is laid out in the screen's units, 96 to the inch.
constexpr qreal layoutUnitsPerPoint = 96.0 / 72.0;
const QMarginsF letterMarginsMm(25, 20, 20, 20); // left, top, right, bottom
const QString bodyFont = QStringLiteral("DejaVu Serif");
constexpr int bodyPointSize = 11;

vb::Error cannotWrite(const QString& path, const QString& why)
{
    return vb::Error(pathAccessError, QStringLiteral("Não foi possível escrever o documento ") + path +
                                          QStringLiteral(": ") + why);
}

QString extensionOf(DocumentFormat format)
{
    return format == DocumentFormat::Odf ? QStringLiteral("odt") : QStringLiteral("pdf");
}

QString candidate(const QString& folder, const QString& base, int attempt, const QString& extension)
{
    const QString counter = attempt == 1 ? QString() : QStringLiteral(" (") + QString::number(attempt) + u')';
    return folder + u'/' + base + counter + u'.' + extension;
}

// Created here and now, so that another writer's file is never taken over.
QString openNewFile(QFile& file, const QString& folder, const QString& base, const QString& extension)
{
    for (int attempt = 1; attempt <= maximumAttempts; ++attempt) {
        file.setFileName(candidate(folder, base, attempt, extension));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            throw cannotWrite(file.fileName(), file.errorString());
    }
    throw cannotWrite(candidate(folder, base, 1, extension),
                      QStringLiteral("há demasiados ficheiros com este nome"));
}

void loadDocument(QTextDocument& document, const QString& html, const QString& title)
{
    document.setDefaultFont(QFont(bodyFont, bodyPointSize));
    document.setHtml(html);
    document.setMetaInformation(QTextDocument::DocumentTitle, title);
}

void writePdf(QTextDocument& document, QFile& file, const QString& title)
{
    QPdfWriter writer(&file);
    writer.setResolution(pdfResolution);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Admin_Fiscr"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, letterMarginsMm,
                                     QPageLayout::Millimeter));
    // A document with a page size of its own is printed page for page, scaled
    // to the page's printable area, without margins or page numbers of its own.
    document.setDocumentMargin(0);
    document.setPageSize(writer.pageLayout().paintRect(QPageLayout::Point).size() * layoutUnitsPerPoint);
    document.print(&writer);
}

bool writeOdf(QTextDocument& document, QFile& file)
{
    QTextDocumentWriter writer(&file, "odf");
    return writer.write(&document);
}

} // namespace

QString safeFileName(const QString& name, const QString& fallback)
{
    QString safe;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\')
            safe += u'-';
        else if (c.category() != QChar::Other_Control && c.category() != QChar::Other_Format)
            safe += c;
    }
    safe = safe.simplified();
    while (safe.startsWith(u'.'))
        safe.remove(0, 1);
    safe = safe.left(maximumBaseLength).trimmed();
    return safe.isEmpty() ? fallback : safe;
}

QString writeLetter(const QString& html, const QString& title, const QString& folder, const QString& base,
                    DocumentFormat format)
{
    if (!QDir(folder).exists())
        throw cannotWrite(folder, QStringLiteral("a pasta não existe"));
    QFile file;
    const QString path = openNewFile(file, folder, base, extensionOf(format));
    QTextDocument document;
    loadDocument(document, html, title);
    bool written = true;
    if (format == DocumentFormat::Odf)
        written = writeOdf(document, file);
    else
        writePdf(document, file, title);
    written = written && file.flush() && file.error() == QFileDevice::NoError && file.size() > 0;
    const QString why = file.errorString();
    file.close();
    if (!written) {
        QFile::remove(path);
        throw cannotWrite(path, why);
    }
    return path;
}

} // namespace adminfiscr
