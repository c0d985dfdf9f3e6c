#include "documents/vcard/VCardDowngrade.h"

#include "documents/vcard/VCardUpgrade.h"
#include "documents/vcard/VCardWriter.h"

#include <QSet>

namespace vcard {

namespace {

const QString pref = QStringLiteral("PREF");
const QString type = QStringLiteral("TYPE");
const QString value = QStringLiteral("VALUE");
const QString telScheme = QStringLiteral("tel:");
const QString dataScheme = QStringLiteral("data:");
const QSet<QString> onlyIn40 = {QStringLiteral("CLIENTPIDMAP"), QStringLiteral("XML"),
                                QStringLiteral("VERSION")};
const QString showAs = QStringLiteral("X-ABSHOWAS");
const QStringList unknownIn30 = {QStringLiteral("PID"), QStringLiteral("ALTID")};

void preferredAsType(Property& p)
{
    if (!p.hasParameter(pref))
        return;
    p.removeParameter(pref);
    QStringList types = p.parameter(type);
    types << QStringLiteral("pref");
    p.setParameter(type, types);
}

// "data:image/png;base64,…" as ENCODING=b;TYPE=PNG:…
void inlineBinary(Property& p)
{
    if (!p.value().startsWith(dataScheme, Qt::CaseInsensitive))
        return;
    const qsizetype slash = p.value().indexOf(u'/');
    const qsizetype semicolon = p.value().indexOf(u';');
    const qsizetype comma = p.value().indexOf(u',');
    if (comma < 0 || slash < 0 || semicolon < slash)
        return;
    const QString subtype = p.value().mid(slash + 1, semicolon - slash - 1).toUpper();
    p.setValue(p.value().mid(comma + 1));
    p.removeParameter(value);
    p.setParameter(QStringLiteral("ENCODING"), {QStringLiteral("b")});
    p.setParameter(type, {subtype});
}

void telAsNumber(Property& p)
{
    if (!p.value().startsWith(telScheme, Qt::CaseInsensitive))
        return;
    p.setValue(p.value().mid(telScheme.size()));
    p.removeParameter(value);
}

QList<Property> downgraded(const Card& card)
{
    QList<Property> out;
    const Card upgraded = upgradeTo40(card);
    for (Property p : upgraded.properties()) {
        const QString name = p.name();
        if (onlyIn40.contains(name))
            continue;
        if (name == QLatin1String("KIND")) {
            // A card read from 3.0 keeps the marker it came with.
            if (p.text().trimmed().compare(QLatin1String("org"), Qt::CaseInsensitive) == 0 &&
                upgraded.properties(showAs).isEmpty())
                out << Property::fromText(showAs, QStringLiteral("COMPANY"));
            continue;
        }
        for (const QString& unknown : unknownIn30)
            p.removeParameter(unknown);
        preferredAsType(p);
        if (name == QLatin1String("PHOTO") || name == QLatin1String("LOGO") || name == QLatin1String("SOUND"))
            inlineBinary(p);
        if (name == QLatin1String("TEL"))
            telAsNumber(p);
        out << p;
    }
    return out;
}

} // namespace

QByteArray write30(const QList<Card>& cards)
{
    QByteArray out;
    for (const Card& card : cards) {
        out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        for (const Property& p : downgraded(card))
            out += contentLine(p);
        out += "END:VCARD\r\n";
    }
    return out;
}

} // namespace vcard
