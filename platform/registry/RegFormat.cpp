#include "platform/registry/RegFormat.h"
#include "platform/registry/RootKeys.h"
#include <QStringConverter>
#include <QStringList>
#include <variant>

namespace platform {

RegSyntaxError::RegSyntaxError(int line, QString reason)
    : std::runtime_error(QStringLiteral("line %1: %2").arg(line).arg(reason).toStdString()), line_(line),
      reason_(std::move(reason))
{
}

namespace regformat {

namespace {

// One change read from the text, applied only once the whole text is read.
struct RemoveKey {
    QString path;
};
struct OpenKey {
    QString path;
};
struct SetValue {
    QString path, name;
    RegValue value;
};
struct RemoveValue {
    QString path, name;
};
using Change = std::variant<RemoveKey, OpenKey, SetValue, RemoveValue>;

struct Line {
    int number;
    QString text;
};

bool isControlText(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

QString quoted(const QString& s)
{
    QString out;
    out.reserve(s.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : s) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

// hex(1): the UTF-16LE bytes of the text and its terminating zero, wrapped
// with continuation lines as regedit wraps them.
QString hexString(const QString& s, int prefixLength)
{
    QByteArray bytes(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    bytes.append('\0').append('\0');
    QString out = QStringLiteral("hex(1):");
    int column = prefixLength + int(out.size());
    for (int i = 0; i < bytes.size(); ++i) {
        QString byte = QStringLiteral("%1").arg(quint8(bytes[i]), 2, 16, QLatin1Char('0'));
        if (i + 1 < bytes.size())
            byte += QLatin1Char(',');
        if (column + byte.size() > 78) {
            out += QStringLiteral("\\\n  ");
            column = 2;
        }
        out += byte;
        column += int(byte.size());
    }
    return out;
}

QString valueText(const RegDocument::Entry& e)
{
    const QString name = e.name.isEmpty() ? QStringLiteral("@") : quoted(e.name);
    if (e.value.type == RegValue::Type::Dword)
        return name + QStringLiteral("=dword:%1").arg(e.value.number, 8, 16, QLatin1Char('0'));
    if (isControlText(e.value.text))
        return name + QLatin1Char('=') + hexString(e.value.text, int(name.size()) + 1);
    return name + QLatin1Char('=') + quoted(e.value.text);
}

void writeKey(QString& out, const RegDocument::Key& key)
{
    out += QLatin1Char('[') + key.path + QStringLiteral("]\n");
    for (const RegDocument::Entry& e : key.values)
        out += valueText(e) + QLatin1Char('\n');
    out += QLatin1Char('\n');
}

// Reads a quoted text starting at `pos` (on the opening quote); leaves `pos`
// after the closing quote.
QString readQuoted(const QString& t, int lineNumber, qsizetype& pos)
{
    QString out;
    for (++pos; pos < t.size(); ++pos) {
        QChar c = t.at(pos);
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c == QLatin1Char('\\')) {
            if (pos + 1 >= t.size())
                break;
            QChar next = t.at(++pos);
            if (next != QLatin1Char('\\') && next != QLatin1Char('"'))
                throw RegSyntaxError(lineNumber,
                                     QStringLiteral("sequência de escape inválida \"\\%1\"").arg(next));
            c = next;
        }
        out += c;
    }
    throw RegSyntaxError(lineNumber, QStringLiteral("texto entre aspas sem fim"));
}

quint32 readDword(const Line& line, const QString& digits)
{
    bool ok = false;
    const quint32 n = digits.toUInt(&ok, 16);
    if (!ok || digits.isEmpty() || digits.size() > 8)
        throw RegSyntaxError(line.number, QStringLiteral("número dword inválido \"%1\"").arg(digits));
    return n;
}

QString readHexString(const Line& line, const QString& data)
{
    QByteArray bytes;
    const QStringList parts = data.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        bool ok = false;
        const uint b = part.trimmed().toUInt(&ok, 16);
        if (!ok || b > 0xff)
            throw RegSyntaxError(line.number, QStringLiteral("byte inválido \"%1\"").arg(part.trimmed()));
        bytes.append(char(b));
    }
    if (bytes.size() % 2 != 0)
        throw RegSyntaxError(line.number, QStringLiteral("texto hex(1) com número ímpar de bytes"));
    QString s(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
    while (s.endsWith(QChar(0)))
        s.chop(1);
    return s;
}

RegValue readValue(const Line& line, const QString& data)
{
    qsizetype pos = 0;
    if (data.startsWith(QLatin1Char('"'))) {
        QString text = readQuoted(data, line.number, pos);
        if (!data.mid(pos).trimmed().isEmpty())
            throw RegSyntaxError(line.number, QStringLiteral("texto a mais depois do valor"));
        return RegValue::string(std::move(text));
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive))
        return RegValue::dword(readDword(line, data.mid(6).trimmed()));
    if (data.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive))
        return RegValue::string(readHexString(line, data.mid(7)));
    throw RegSyntaxError(line.number,
                         QStringLiteral("tipo de valor não suportado (só texto e dword): \"%1\"").arg(data));
}

Change readKeyLine(const Line& line)
{
    const QString t = line.text.trimmed();
    if (!t.endsWith(QLatin1Char(']')))
        throw RegSyntaxError(line.number, QStringLiteral("falta o \"]\" no fim da chave"));
    const bool removal = t.startsWith(QLatin1String("[-"));
    const QString path = t.mid(removal ? 2 : 1, t.size() - (removal ? 3 : 2));
    if (rootOfPath(path).isEmpty())
        throw RegSyntaxError(line.number, QStringLiteral("chave de raiz desconhecida em \"%1\"").arg(path));
    if (path.endsWith(QLatin1Char('\\')) || path.contains(QLatin1String("\\\\")))
        throw RegSyntaxError(line.number, QStringLiteral("caminho de chave inválido \"%1\"").arg(path));
    if (removal)
        return RemoveKey{path};
    return OpenKey{path};
}

Change readValueLine(const Line& line, const QString& key)
{
    if (key.isEmpty())
        throw RegSyntaxError(line.number, QStringLiteral("valor fora de qualquer chave"));
    const QString& t = line.text;
    qsizetype pos = 0;
    QString name;
    if (t.startsWith(QLatin1Char('@')))
        pos = 1;
    else
        name = readQuoted(t, line.number, pos);
    while (pos < t.size() && t.at(pos).isSpace())
        ++pos;
    if (pos >= t.size() || t.at(pos) != QLatin1Char('='))
        throw RegSyntaxError(line.number, QStringLiteral("falta o \"=\" depois do nome do valor"));
    const QString data = t.mid(pos + 1).trimmed();
    if (data == QLatin1String("-"))
        return RemoveValue{key, name};
    return SetValue{key, name, readValue(line, data)};
}

// Lines with their numbers; a line ending in "\" continues on the next one.
std::vector<Line> logicalLines(const QString& text)
{
    const QStringList raw = text.split(QLatin1Char('\n'));
    std::vector<Line> lines;
    for (int i = 0; i < raw.size(); ++i) {
        QString t = raw[i];
        if (t.endsWith(QLatin1Char('\r')))
            t.chop(1);
        Line line{i + 1, t};
        while (line.text.endsWith(QLatin1Char('\\')) && !line.text.startsWith(QLatin1Char('[')) &&
               i + 1 < raw.size()) {
            line.text.chop(1);
            QString next = raw[++i];
            if (next.endsWith(QLatin1Char('\r')))
                next.chop(1);
            line.text += next.trimmed();
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<Change> readChanges(const QString& text)
{
    std::vector<Change> changes;
    bool headerSeen = false;
    QString key;
    for (const Line& line : logicalLines(text)) {
        const QString t = line.text.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
            continue;
        if (!headerSeen) {
            if (t != QLatin1String(Header) && t != QLatin1String("REGEDIT4"))
                throw RegSyntaxError(line.number,
                                     QStringLiteral("falta o cabeçalho \"%1\"").arg(QLatin1String(Header)));
            headerSeen = true;
            continue;
        }
        if (t.startsWith(QLatin1Char('['))) {
            Change c = readKeyLine(line);
            key = std::holds_alternative<OpenKey>(c) ? std::get<OpenKey>(c).path : QString();
            changes.push_back(std::move(c));
            continue;
        }
        if (!t.startsWith(QLatin1Char('"')) && !t.startsWith(QLatin1Char('@')))
            throw RegSyntaxError(line.number, QStringLiteral("linha incompreensível \"%1\"").arg(t));
        changes.push_back(readValueLine(Line{line.number, t}, key));
    }
    if (!headerSeen && !text.trimmed().isEmpty())
        throw RegSyntaxError(1, QStringLiteral("falta o cabeçalho"));
    return changes;
}

struct Applier {
    RegDocument& doc;
    void operator()(const RemoveKey& c) { doc.removeKey(c.path); }
    void operator()(const OpenKey& c) { doc.ensureKey(c.path); }
    void operator()(const SetValue& c) { doc.setValue(c.path, c.name, c.value); }
    void operator()(const RemoveValue& c) { doc.removeValue(c.path, c.name); }
};

} // namespace

void apply(const QString& text, RegDocument& target)
{
    const std::vector<Change> changes = readChanges(text);
    RegDocument result = target;
    for (const Change& c : changes)
        std::visit(Applier{result}, c);
    target = std::move(result);
}

RegDocument parse(const QString& text)
{
    RegDocument doc;
    apply(text, doc);
    return doc;
}

QString write(const RegDocument& doc)
{
    QString out = QLatin1String(Header) + QStringLiteral("\n\n");
    for (const RegDocument::Key& key : doc.keys())
        writeKey(out, key);
    return out;
}

QString write(const RegDocument& doc, const QString& keyPath)
{
    QString out = QLatin1String(Header) + QStringLiteral("\n\n");
    for (const RegDocument::Key& key : doc.keys())
        if (isSameOrBelow(key.path, keyPath))
            writeKey(out, key);
    return out;
}

QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xff\xfe")) {
        auto toUtf16 = QStringDecoder(QStringConverter::Utf16LE);
        return QString(toUtf16(bytes.mid(2)));
    }
    const QByteArray body = bytes.startsWith("\xef\xbb\xbf") ? bytes.mid(3) : bytes;
    auto fromUtf8 = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = fromUtf8(body);
    if (!fromUtf8.hasError())
        return text;
    // Name the first line that is not UTF-8 (a file saved in another encoding).
    const QList<QByteArray> lines = body.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        auto lineDecoder = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        (void)QString(lineDecoder(lines[i]));
        if (lineDecoder.hasError())
            throw RegSyntaxError(i + 1, QStringLiteral("texto que não está em UTF-8"));
    }
    throw RegSyntaxError(int(lines.size()), QStringLiteral("texto que não está em UTF-8"));
}

} // namespace regformat
} // namespace platform
