#include "host/ListDocument.h"

#include "platform/folders/FileFaults.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace listout {

namespace {

const QByteArray utf8Mark = "\xEF\xBB\xBF";
const QByteArray lineEnd = "\r\n";
constexpr char separator = ';';
constexpr int pdfResolution = 300;
const QMarginsF pageMarginsMm(15, 15, 15, 15);
const QString bodyFont = QStringLiteral("DejaVu Sans");
constexpr int bodyPointSize = 8;

// A telephone number ("+351 912…") is a value, not a formula; anything
// else that a spreadsheet would compute is made text with a leading quote.
bool runsAsFormula(const QString& field)
{
    if (field.isEmpty())
        return false;
    const QChar first = field.front();
    if (first == u'=' || first == u'@' || first == u'\t' || first == u'\r')
        return true;
    if (first != u'+' && first != u'-')
        return false;
    for (const QChar c : field.mid(1))
        if (!c.isDigit() && c != u' ' && c != u'(' && c != u')' && c != u'.' && c != u'-')
            return true;
    return false;
}

QByteArray field(QString text)
{
    if (runsAsFormula(text))
        text.prepend(u'\'');
    const bool quoted = text.contains(QLatin1Char(separator)) || text.contains(u'"') ||
                        text.contains(u'\n') || text.contains(u'\r');
    if (!quoted)
        return text.toUtf8();
    return '"' + text.replace(u'"', QStringLiteral("\"\"")).toUtf8() + '"';
}

QByteArray line(const QStringList& fields)
{
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        out += field(fields[i]);
    }
    return out + lineEnd;
}

QString html(const Table& table)
{
    QString out = QStringLiteral("<h3>") + table.title.toHtmlEscaped() +
                  QStringLiteral("</h3><table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\" "
                                 "border=\"1\" style=\"border-collapse: collapse\"><thead><tr>");
    for (const QString& header : table.headers)
        out += QStringLiteral("<th align=\"left\" bgcolor=\"#e8e8e8\">") + header.toHtmlEscaped() +
               QStringLiteral("</th>");
    out += QStringLiteral("</tr></thead>");
    for (const QStringList& row : table.rows) {
        out += QStringLiteral("<tr>");
        for (const QString& cell : row)
            out += QStringLiteral("<td>") + cell.toHtmlEscaped() + QStringLiteral("</td>");
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</table><p>") + table.footer.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace

QByteArray csv(const Table& table)
{
    QByteArray out = utf8Mark + line(table.headers);
    for (const QStringList& row : table.rows)
        out += line(row);
    return out;
}

// Written whole or not at all: a file the user named is never left half made.
bool writePdf(const Table& table, const QString& path, QString& failure)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        failure = platform::whyNotWritten(path, file);
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(pdfResolution);
        writer.setTitle(table.title);
        writer.setCreator(QStringLiteral("Contactos Quarvenses"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, pageMarginsMm,
                                         QPageLayout::Millimeter));
        QTextDocument document;
        document.setDefaultFont(QFont(bodyFont, bodyPointSize));
        document.setHtml(html(table));
        document.print(&writer);
    }
    if (!file.commit()) {
        failure = platform::whyNotWritten(path, file);
        return false;
    }
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString& failure)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    failure = platform::whyNotWritten(path, file);
    return false;
}

} // namespace listout
