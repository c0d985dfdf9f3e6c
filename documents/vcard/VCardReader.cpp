#include "documents/vcard/VCardReader.h"

#include "documents/vcard/VCardEncoding.h"
#include "documents/vcard/VCardEscaping.h"

#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <optional>

namespace vcard {

namespace {

// The three sets of rules a card is read by, from its VERSION.
enum class Dialect { V21, V30, V40 };

struct Line {
    QByteArray bytes;
    int number = 0; // in the file, from 1
};

struct RawCard {
    int index = 0; // in the file, from 1
    int beginLine = 0;
    QList<Line> lines; // between BEGIN:VCARD and END:VCARD
};

struct Header {
    QString group;
    QString name;
    QList<Parameter> parameters;
};

// What the caller is told, kept with its line so that the report follows the file.
struct Problem {
    int line = 0;
    QString text;
};

// A card read, or why it could not be.
struct CardResult {
    std::optional<Card> card;
    QList<Problem> problems;
};

const QByteArray kBegin = "BEGIN:VCARD";
const QByteArray kEnd = "END:VCARD";
const QByteArray kUtf8Bom = "\xEF\xBB\xBF";
const QByteArray kAgent = "AGENT";
constexpr qsizetype kWideProbe = 4;
const QString kVersion = QStringLiteral("VERSION");
const QString kEncoding = QStringLiteral("ENCODING");
const QString kCharset = QStringLiteral("CHARSET");
const QString kValue = QStringLiteral("VALUE");
const QString kQuotedPrintable = QStringLiteral("QUOTED-PRINTABLE");
constexpr char kHeaderEnd = ':';
constexpr char kQuote = '"';
constexpr char kSoftBreak = '=';

// Bare words of 2.1 that name an encoding rather than a type.
const QSet<QString>& encodingWords()
{
    // "B" alone is how some phones shorten ENCODING=B.
    static const QSet<QString> words{kQuotedPrintable, QStringLiteral("BASE64"), QStringLiteral("B"),
                                     QStringLiteral("8BIT"), QStringLiteral("7BIT")};
    return words;
}

// 2.1 properties whose values are addresses or data, not text to escape.
const QSet<QString>& nonTextProperties21()
{
    static const QSet<QString> names{QStringLiteral("URL"),  QStringLiteral("PHOTO"),
                                     QStringLiteral("LOGO"), QStringLiteral("SOUND"),
                                     QStringLiteral("KEY"),  QStringLiteral("AGENT")};
    return names;
}

const QSet<QString>& nonTextValueTypes21()
{
    static const QSet<QString> types{QStringLiteral("URL"), QStringLiteral("URI"),
                                     QStringLiteral("CONTENT-ID"), QStringLiteral("CID")};
    return types;
}

bool isFoldMark(char c)
{
    return c == ' ' || c == '\t';
}

bool isBase64Text(const QByteArray& line)
{
    return !line.isEmpty() && std::all_of(line.cbegin(), line.cend(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
               c == '/' || c == '=' || isFoldMark(c);
    });
}

// UTF-16 and UTF-32 files (with a byte-order mark, or UTF-16 recognised by
// the NUL bytes around the first "B") are read as the UTF-8 the rest expects.
QByteArray asUtf8(const QByteArray& data)
{
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(data);
    if (marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked);
        return QString(decoder.decode(data)).toUtf8();
    }
    if (data.size() >= kWideProbe && data[0] == '\0' && data[1] != '\0')
        return QString(QStringDecoder(QStringConverter::Utf16BE).decode(data)).toUtf8();
    if (data.size() >= kWideProbe && data[0] != '\0' && data[1] == '\0')
        return QString(QStringDecoder(QStringConverter::Utf16LE).decode(data)).toUtf8();
    return data;
}

// Lines end in LF, CR LF, CR alone or CR CR LF (as one phone writes them):
// a run of CRs with or without an LF after it is one line end.
QList<Line> physicalLines(const QByteArray& raw)
{
    QByteArray data = asUtf8(raw);
    if (data.startsWith(kUtf8Bom))
        data.remove(0, kUtf8Bom.size());
    QList<Line> lines;
    int number = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '\r' && data[i] != '\n')
            continue;
        lines.append(Line{data.mid(start, i - start), ++number});
        while (i + 1 < data.size() && data[i] == '\r' && data[i + 1] == '\r')
            ++i;
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < data.size())
        lines.append(Line{data.mid(start), ++number});
    return lines;
}

bool isMarker(const QByteArray& line, const QByteArray& marker)
{
    if (line.isEmpty() || isFoldMark(line.front()))
        return false;
    return line.trimmed().compare(marker, Qt::CaseInsensitive) == 0;
}

Problem cardProblem(int card, int line, const QString& what)
{
    return Problem{line, QStringLiteral("Cartão %1 (linha %2): %3").arg(card).arg(line).arg(what)};
}

Problem lineProblem(int line, const QString& what)
{
    return Problem{line, QStringLiteral("Linha %1: %2").arg(line).arg(what)};
}

qsizetype headerEnd(const QByteArray& line);

// A 2.1 AGENT whose card follows on the next lines: "AGENT:" with nothing after it.
bool opensAgent(const QList<Line>& lines)
{
    if (lines.isEmpty())
        return false;
    const QByteArray& line = lines.last().bytes;
    const qsizetype end = headerEnd(line);
    if (end < 0 || !line.mid(end + 1).trimmed().isEmpty())
        return false;
    QByteArray name = line.left(end).split(';').first().trimmed().toUpper();
    name = name.mid(name.lastIndexOf('.') + 1);
    return name == kAgent;
}

// Collects the cards of a file as runs of lines. An embedded card (a 2.1
// AGENT's) becomes that AGENT's value, never a card of its own; a card cut
// short, by the end of the file or by the next BEGIN:VCARD, is read as far
// as it goes and the summary says so; what stands between cards is reported.
class CardCollector {
  public:
    explicit CardCollector(QList<Problem>& problems) : problems_(problems) {}

    QList<RawCard> collect(const QList<Line>& lines)
    {
        for (const Line& line : lines)
            take(line);
        if (open_)
            closeCutShort(QStringLiteral("falta END:VCARD; o cartão foi lido até ao fim do ficheiro."));
        return cards_;
    }

  private:
    void take(const Line& line)
    {
        if (agentDepth_ > 0) {
            takeAgentLine(line);
        } else if (isMarker(line.bytes, kBegin)) {
            if (open_ && opensAgent(open_->lines)) {
                agentDepth_ = 1;
                takeAgentLine(line);
                return;
            }
            if (open_)
                closeCutShort(QStringLiteral("falta END:VCARD; o cartão foi lido até ao cartão seguinte."));
            open_ = RawCard{++index_, line.number, {}};
            strayReported_ = false;
        } else if (isMarker(line.bytes, kEnd)) {
            if (open_)
                cards_.append(*open_);
            else
                problems_ += lineProblem(line.number, QStringLiteral("END:VCARD sem BEGIN:VCARD."));
            open_.reset();
        } else if (open_) {
            open_->lines.append(line);
        } else if (!line.bytes.trimmed().isEmpty() && !strayReported_) {
            problems_ += lineProblem(line.number, QStringLiteral("texto fora de um cartão foi ignorado."));
            strayReported_ = true;
        }
    }

    // The embedded card's lines go into the AGENT line, as one escaped value.
    void takeAgentLine(const Line& line)
    {
        if (isMarker(line.bytes, kBegin) && !agentText_.isEmpty())
            ++agentDepth_;
        else if (isMarker(line.bytes, kEnd))
            --agentDepth_;
        if (!agentText_.isEmpty())
            agentText_ += "\\n";
        QByteArray bytes = line.bytes;
        agentText_ += bytes.replace(',', "\\,").replace(';', "\\;");
        if (agentDepth_ == 0) {
            open_->lines.last().bytes += agentText_;
            agentText_.clear();
        }
    }

    void closeCutShort(const QString& why)
    {
        problems_ += cardProblem(open_->index, open_->beginLine, why);
        cards_.append(*open_);
        open_.reset();
    }

    QList<Problem>& problems_;
    QList<RawCard> cards_;
    std::optional<RawCard> open_;
    QByteArray agentText_;
    int agentDepth_ = 0;
    int index_ = 0;
    bool strayReported_ = false;
};

// Index of the ":" that ends the name and parameters; -1 when there is none.
qsizetype headerEnd(const QByteArray& line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == kQuote)
            quoted = !quoted;
        else if (line[i] == kHeaderEnd && !quoted)
            return i;
    }
    return -1;
}

// Splits on `separator` where it is not between double quotes.
QStringList splitUnquoted(const QString& text, QChar separator)
{
    QStringList parts;
    QString part;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        if (c == separator && !quoted) {
            parts.append(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.append(part);
    return parts;
}

QString parameterValue(QString value, Dialect dialect)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    return dialect == Dialect::V40 ? decodeCaret(value) : value;
}

Parameter parseParameter(const QString& text, Dialect dialect)
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return Parameter{text.trimmed().toUpper(), {}};
    Parameter parameter{text.left(equals).trimmed().toUpper(), {}};
    for (const QString& value : splitUnquoted(text.mid(equals + 1), u','))
        parameter.values.append(parameterValue(value, dialect));
    return parameter;
}

Header parseHeader(const QByteArray& bytes, Dialect dialect)
{
    const QStringList parts = splitUnquoted(decodeCharset(bytes, {}).value_or(QString()), u';');
    Header header;
    const QString name = parts.first().trimmed();
    const qsizetype dot = name.indexOf(u'.');
    header.group = dot < 0 ? QString() : name.left(dot);
    header.name = name.mid(dot + 1).toUpper();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!parts[i].trimmed().isEmpty())
            header.parameters.append(parseParameter(parts[i], dialect));
    }
    return header;
}

// The transfer encoding, from ENCODING= or a 2.1 bare word, in upper case.
QString encodingOf(const QList<Parameter>& parameters)
{
    for (const Parameter& p : parameters) {
        if (p.name == kEncoding && !p.values.isEmpty())
            return p.values.first().toUpper();
        if (p.values.isEmpty() && encodingWords().contains(p.name))
            return p.name;
    }
    return {};
}

QString encodingOfLine(const QByteArray& line, Dialect dialect)
{
    const qsizetype end = headerEnd(line);
    return end < 0 ? QString() : encodingOf(parseHeader(line.left(end), dialect).parameters);
}

// Physical lines joined into content lines: folds (a line that starts with a
// space or tab), quoted-printable soft breaks ("=" at the end of a line) and
// the unindented base64 lines some 2.1 writers leave.
QList<Line> contentLines(const QList<Line>& lines, Dialect dialect)
{
    QList<Line> joined;
    QString encoding;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& bytes = lines[i].bytes;
        const bool continues = !joined.isEmpty() && !bytes.isEmpty() && isFoldMark(bytes.front());
        const bool base64Tail =
            !joined.isEmpty() && isBase64Encoding(encoding) && headerEnd(bytes) < 0 && isBase64Text(bytes);
        if (continues) {
            // 2.1 unfolds to the white space, later versions to nothing.
            joined.last().bytes += dialect == Dialect::V21 ? bytes : bytes.mid(1);
        } else if (base64Tail) {
            joined.last().bytes += bytes;
        } else if (bytes.isEmpty()) {
            encoding.clear();
            continue;
        } else {
            joined.append(lines[i]);
            encoding = encodingOfLine(bytes, dialect);
        }
        while (encoding == kQuotedPrintable && joined.last().bytes.endsWith(kSoftBreak) &&
               i + 1 < lines.size()) {
            joined.last().bytes.chop(1);
            joined.last().bytes += lines[++i].bytes;
        }
    }
    return joined;
}

Dialect dialectOf(const QString& version)
{
    if (version.startsWith(u'2'))
        return Dialect::V21;
    if (version.startsWith(u'4'))
        return Dialect::V40;
    return Dialect::V30;
}

// VERSION is read first, as 3.0 lets it stand anywhere in the card.
QString versionOf(const QList<Line>& lines)
{
    for (const Line& line : lines) {
        const qsizetype end = headerEnd(line.bytes);
        if (line.bytes.isEmpty() || isFoldMark(line.bytes.front()))
            continue;
        if (end > 0 && line.bytes.left(end).trimmed().compare(kVersion.toLatin1(), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(line.bytes.mid(end + 1).trimmed());
    }
    return {};
}

// Bare encoding words become ENCODING= so that later steps look in one place.
void nameEncodingWords(QList<Parameter>& parameters)
{
    for (Parameter& p : parameters) {
        if (p.values.isEmpty() && encodingWords().contains(p.name))
            p = Parameter{kEncoding, {p.name}};
    }
}

bool isText21(const Property& property)
{
    if (nonTextProperties21().contains(property.name()))
        return false;
    const QStringList valueTypes = property.parameter(kValue);
    return valueTypes.isEmpty() || !nonTextValueTypes21().contains(valueTypes.first().toUpper());
}

QString compactBase64(const QByteArray& bytes)
{
    QByteArray compact = bytes;
    compact.removeIf([](char c) { return QChar::isSpace(uchar(c)); });
    return QString::fromLatin1(compact);
}

// The value decoded to text in its escaped form; a note for `problems` when
// its character set is unknown.
QString decodedValue(const QByteArray& raw, const QString& encoding, const QString& charset, QString& note)
{
    const QByteArray bytes = encoding == kQuotedPrintable ? decodeQuotedPrintable(raw) : raw;
    // A wide file has been made UTF-8 already; its CHARSET no longer holds.
    if (charset.startsWith(QStringLiteral("UTF-16"), Qt::CaseInsensitive) ||
        charset.startsWith(QStringLiteral("UTF-32"), Qt::CaseInsensitive))
        return decodeCharset(bytes, {}).value_or(QString());
    if (std::optional<QString> text = decodeCharset(bytes, charset))
        return *text;
    note =
        QStringLiteral("conjunto de caracteres desconhecido «%1»; o texto foi lido como UTF-8.").arg(charset);
    return decodeCharset(bytes, {}).value_or(QString());
}

std::optional<Property> parseProperty(const Line& line, Dialect dialect, QString& error, QString& note)
{
    const qsizetype end = headerEnd(line.bytes);
    if (end < 0) {
        error = QStringLiteral("linha sem «:» entre o nome e o valor");
        return std::nullopt;
    }
    Header header = parseHeader(line.bytes.left(end), dialect);
    if (header.name.isEmpty()) {
        error = QStringLiteral("propriedade sem nome");
        return std::nullopt;
    }
    nameEncodingWords(header.parameters);
    Property property(header.name, QString());
    property.setGroup(header.group);
    property.setParameters(header.parameters);
    const QByteArray raw = line.bytes.mid(end + 1);
    const QString encoding = encodingOf(header.parameters);
    if (isBase64Encoding(encoding)) {
        property.setValue(compactBase64(raw));
        return property;
    }
    const QStringList charsets = property.parameter(kCharset);
    const QString value = decodedValue(raw, encoding, charsets.value(0), note);
    property.removeParameter(kCharset);
    property.removeParameter(kEncoding);
    const bool escape21 = dialect == Dialect::V21 && isText21(property);
    property.setValue(escape21 ? escapeVersion21(value) : escapeLineBreaks(value));
    return property;
}

CardResult parseCard(const RawCard& raw)
{
    CardResult result;
    Card card;
    card.setVersion(versionOf(raw.lines));
    const Dialect dialect = dialectOf(card.version());
    for (const Line& line : contentLines(raw.lines, dialect)) {
        QString error;
        QString note;
        std::optional<Property> property = parseProperty(line, dialect, error, note);
        if (!note.isEmpty())
            result.problems += cardProblem(raw.index, line.number, note);
        if (!property) { // one bad line costs that line, not the card
            result.problems +=
                cardProblem(raw.index, line.number, error + QStringLiteral("; a linha foi ignorada."));
            continue;
        }
        if (property->name() != kVersion)
            card.addProperty(*property);
    }
    result.card = card;
    return result;
}

QString report(QList<Problem> problems)
{
    std::stable_sort(problems.begin(), problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    QStringList lines;
    for (const Problem& p : problems)
        lines.append(p.text);
    return lines.join(u'\n');
}

} // namespace

QList<Card> read(const QByteArray& data, QString* problem)
{
    QList<Problem> problems;
    QList<Card> cards;
    for (const RawCard& raw : CardCollector(problems).collect(physicalLines(data))) {
        CardResult result = parseCard(raw);
        problems += result.problems;
        if (result.card)
            cards.append(*result.card);
    }
    if (problem)
        *problem = report(problems);
    return cards;
}

} // namespace vcard
