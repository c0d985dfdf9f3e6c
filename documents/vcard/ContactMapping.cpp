#include "documents/vcard/ContactMapping.h"

#include "documents/vcard/VCardEscaping.h"
#include "documents/vcard/VCardReader.h"
#include "documents/vcard/VCardUpgrade.h"
#include "documents/vcard/VCardWriter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <algorithm>
#include <functional>
#include <optional>

namespace vcard {

namespace {

// A kept property that stands in for a mapped one carries what the columns
// made of it under this parameter (never written out).
const QString keyParameter = QStringLiteral("X-QV-CHAVE");
// The panel's own word for a telephone's or e-mail's kind, when TYPE cannot say it.
const QString wordParameter = QStringLiteral("X-DESCRICAO");
const QString relationParameter = QStringLiteral("X-RELACAO");
const QString prefParameter = QStringLiteral("PREF");
const QString individualKind = QStringLiteral("individual");
const QString orgKind = QStringLiteral("org");
const QString uuidScheme = QStringLiteral("urn:uuid:");
const QString telScheme = QStringLiteral("tel:");
const QString pngDataUri = QStringLiteral("data:image/png;base64,");
const QString birthFormat = QStringLiteral("yyyyMMdd");
const QString revisionFormat = QStringLiteral("yyyyMMdd'T'HHmmss'Z'");
constexpr int adrComponents = 7;
constexpr int adrExtended = 1;
constexpr int adrStreet = 2;
constexpr int adrLocality = 3;
constexpr int adrPostalCode = 5;
constexpr int adrCountry = 6;
constexpr int nComponents = 5;
const QByteArray pngSignature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");

struct Word {
    const char* type;
    const char* word;
};
const Word phoneWords[] = {{"cell", "Móvel"}, {"fax", "Fax"}, {"pager", "Pager"}, {"voice", "Telefone"}};
const QString defaultPhoneWord = QStringLiteral("Telefone");
const Word emailWords[] = {{"work", "Trabalho"}, {"home", "Pessoal"}};
// Address-book programs name a grouped property's kind in X-ABLabel, their
// own words wrapped as "_$!<Mobile>!$_"; a label of the user's own stands as written.
const Word phoneLabels[] = {{"mobile", "Móvel"},  {"iphone", "Móvel"},   {"home", "Casa"},
                            {"work", "Trabalho"}, {"main", "Principal"}, {"homefax", "Fax"},
                            {"workfax", "Fax"},   {"otherfax", "Fax"},   {"pager", "Pager"},
                            {"other", "Outro"}};
const Word emailLabels[] = {{"home", "Pessoal"}, {"work", "Trabalho"}, {"other", "Outro"}};
const QString labelProperty = QStringLiteral("X-ABLABEL");
const QString labelOpening = QStringLiteral("_$!<");
const QString labelClosing = QStringLiteral(">!$_");
// RELATED types (RFC 6350 section 6.6.6) as the relation's description.
const Word relationWords[] = {{"spouse", "Cônjuge"},
                              {"child", "Filho(a)"},
                              {"parent", "Pai/Mãe"},
                              {"sibling", "Irmão(ã)"},
                              {"kin", "Familiar"},
                              {"friend", "Amigo(a)"},
                              {"colleague", "Colega"},
                              {"co-worker", "Colega de trabalho"},
                              {"acquaintance", "Conhecido(a)"},
                              {"contact", "Contacto"},
                              {"met", "Conhecido(a)"},
                              {"neighbor", "Vizinho(a)"},
                              {"co-resident", "Vive com"},
                              {"emergency", "Contacto de emergência"},
                              {"agent", "Agente"},
                              {"sweetheart", "Namorado(a)"},
                              {"date", "Namorado(a)"},
                              {"crush", "Amigo(a)"},
                              {"muse", "Amigo(a)"},
                              {"me", "Próprio"}};
// Markers 3.0 clients write where 4.0 has KIND.
const QString showAsProperty = QStringLiteral("X-ABSHOWAS");
const QString showAsCompany = QStringLiteral("company");
const QStringList kindMarkers{QStringLiteral("X-KIND"), QStringLiteral("X-ADDRESSBOOKSERVER-KIND")};
const QString organizationWord = QStringLiteral("organization");
const QString telExtension = QStringLiteral(";ext=");
const QString extensionWord = QStringLiteral(" ext. ");

// The columns' widths: a longer value is stored cut, and the card's whole
// property kept to be written back while the column still holds the cut.
struct Column {
    const char* cut; // how the summary says it
    int chars;
};
constexpr Column givenColumn{"nome próprio cortado", 80};
constexpr Column surnameColumn{"apelidos cortados", 80};
constexpr Column prefixColumn{"tratamento cortado", 30};
constexpr Column titleColumn{"título cortado", 60};
constexpr Column orgColumn{"nome cortado", 150};
constexpr Column nifColumn{"NIF cortado", 20};
constexpr Column streetColumn{"morada cortada", 200};
constexpr Column postalColumn{"código postal cortado", 12};
constexpr Column localityColumn{"localidade cortada", 60};
constexpr Column countryColumn{"país cortado", 60};
constexpr Column numberColumn{"telefone cortado", 30};
constexpr Column phoneKindColumn{"tipo de telefone cortado", 20};
constexpr Column emailColumn{"e-mail cortado", 120};
constexpr Column emailWordColumn{"descrição do e-mail cortada", 60};
constexpr Column relationColumn{"relação cortada", 60};

QString wordFor(const QStringList& types, const Word* begin, const Word* end, const QString& otherwise)
{
    for (const Word* w = begin; w != end; ++w)
        if (types.contains(QLatin1String(w->type)))
            return QString::fromUtf8(w->word);
    return otherwise;
}

QStringList typesFor(const QString& word, const Word* begin, const Word* end)
{
    for (const Word* w = begin; w != end; ++w)
        if (word.compare(QString::fromUtf8(w->word), Qt::CaseInsensitive) == 0)
            return {QString::fromLatin1(w->type)};
    return {};
}

QString labelWord(QString label, const Word* begin, const Word* end)
{
    label = label.trimmed();
    if (label.startsWith(labelOpening) && label.endsWith(labelClosing))
        label = label.mid(labelOpening.size(), label.size() - labelOpening.size() - labelClosing.size());
    return wordFor({label.toLower()}, begin, end, label);
}

QString relationWord(const QStringList& types)
{
    QStringList words;
    for (const QString& type : types)
        words << wordFor({type}, std::begin(relationWords), std::end(relationWords), type);
    return words.join(QStringLiteral(", "));
}

QString emailWord(const QStringList& types)
{
    return wordFor(types, std::begin(emailWords), std::end(emailWords), QString());
}

QString md5(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

// TYPE values for the panel's word, and the word itself when they cannot say it.
void describe(Property& p, const QStringList& types, const QString& word, const QString& wordBack)
{
    if (!types.isEmpty())
        p.setParameter(QStringLiteral("TYPE"), types);
    if (wordBack != word && !word.isEmpty())
        p.setParameter(wordParameter, {word});
}

Property adrOf(const AddressRow& a)
{
    QList<QStringList> c(adrComponents, QStringList{QString()});
    c[adrStreet] = a.morada.isEmpty() ? QStringList{QString()} : a.morada.split(u'\n');
    c[adrLocality] = {a.localidade};
    c[adrPostalCode] = {a.codigoPostal};
    c[adrCountry] = {a.pais};
    return Property::fromComponents(QStringLiteral("ADR"), c);
}

Property telOf(const PhoneRow& t)
{
    Property p = Property::fromText(QStringLiteral("TEL"), t.numero);
    const QStringList types = phoneTypes(t.tipo);
    describe(p, types, t.tipo, phoneKind(types));
    return p;
}

Property emailOf(const EmailRow& e)
{
    Property p = Property::fromText(QStringLiteral("EMAIL"), e.email);
    const QStringList types = typesFor(e.descrit, std::begin(emailWords), std::end(emailWords));
    describe(p, types, e.descrit, emailWord(types));
    return p;
}

Property relatedOf(const RelatedRow& r)
{
    Property p(QStringLiteral("RELATED"), r.uid);
    if (!r.descrit.isEmpty())
        p.setParameter(relationParameter, {r.descrit});
    return p;
}

Property nOf(const ContactRecord& r)
{
    return Property::fromComponents(QStringLiteral("N"),
                                    {{r.apelido}, {r.nome}, {QString()}, {r.titulo}, {QString()}});
}

// What the columns made of a kept property: it stands in for the derived
// one while the columns still say this.
QString addressKey(const AddressRow& a)
{
    return QStringList{a.morada, a.codigoPostal, a.localidade, a.pais}.join(u'\x1f');
}

QString phoneKey(const PhoneRow& t)
{
    return t.numero + u'\x1f' + t.tipo;
}

QString emailKey(const EmailRow& e)
{
    return e.email + u'\x1f' + e.descrit;
}

QString relationKey(const RelatedRow& r)
{
    return r.uid + u'\x1f' + r.descrit;
}

QString kindOf(const ContactRecord& r)
{
    return r.institution ? orgKind : individualKind;
}

Property withoutPref(Property p)
{
    p.removeParameter(prefParameter);
    return p;
}

// PREF on a list's properties: the default row ranks as its card said (1
// when it said nothing); the others keep a rank of their card only when it
// puts them after the default, and none is ranked without a default.
void settlePrefs(QList<Property>& properties, const QList<bool>& preferred)
{
    int top = 0;
    for (qsizetype i = 0; i < properties.size(); ++i)
        if (preferred[i] && top == 0) {
            top = properties[i].pref() > 0 ? properties[i].pref() : 1;
            properties[i].setParameter(prefParameter, {QString::number(top)});
        }
    for (qsizetype i = 0; i < properties.size(); ++i)
        if (!preferred[i] && (top == 0 || properties[i].pref() <= top))
            properties[i].removeParameter(prefParameter);
}

// Kept properties in the making of a card: a mapped property is replaced by
// its kept original when the key still matches.
class KeptPool {
  public:
    explicit KeptPool(QList<Property> kept) : kept_(std::move(kept)) {}

    std::optional<Property> take(const QStringList& names, const QString& key)
    {
        for (qsizetype i = 0; i < kept_.size(); ++i) {
            const Property& p = kept_[i];
            if (names.contains(p.name()) && p.hasParameter(keyParameter) &&
                p.parameter(keyParameter).value(0) == key) {
                Property found = kept_.takeAt(i);
                found.removeParameter(keyParameter);
                return found;
            }
        }
        return std::nullopt;
    }
    // What stands for no mapped property: the kept ones without a key. Keyed
    // ones left over describe columns the user has changed since.
    QList<Property> rest() const
    {
        QList<Property> out;
        for (const Property& p : kept_)
            if (!p.hasParameter(keyParameter))
                out << p;
        return out;
    }

  private:
    QList<Property> kept_;
};

std::optional<QDate> birthDate(const QString& value)
{
    for (const QString& format : {birthFormat, QStringLiteral("yyyy-MM-dd")}) {
        const QDate d = QDate::fromString(value.left(format.size()), format);
        if (d.isValid() && value.size() >= format.size())
            return d;
    }
    return std::nullopt;
}

QByteArray asPng(const QByteArray& bytes)
{
    if (bytes.startsWith(pngSignature))
        return bytes;
    QImage image;
    if (!image.loadFromData(bytes))
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// Reading one card into a record: the properties that map, and what is kept.
class CardReader {
  public:
    explicit CardReader(const Card& card)
        : card_(upgradeTo40(card)), hadFn_(!card.text(QStringLiteral("FN")).trimmed().isEmpty())
    {
        for (const Property& p : card_.properties(labelProperty))
            if (!p.group().isEmpty())
                labels_.insert(p.group().toLower(), p.text());
    }

    ContactRecord read()
    {
        decideKind();
        for (const Property& p : card_.properties())
            take(p);
        settlePreferred();
        keepName();
        nameFromWhatThereIs();
        return r_;
    }

  private:
    void keep(const Property& p) { r_.kept << p; }
    void keepKeyed(Property p, const QString& key)
    {
        p.setParameter(keyParameter, {key});
        r_.kept << p;
    }
    // Kept with its key when the mapped columns do not say all it says.
    void keepUnlessSame(const Property& original, const Property& derived, const QString& key)
    {
        if (!(withoutPref(original) == derived))
            keepKeyed(original, key);
    }
    // A row of a list: a rank after the first (PREF=2) is more than the
    // default bit says, and is kept too.
    void keepRowUnlessSame(const Property& original, const Property& derived, const QString& key)
    {
        if (!(withoutPref(original) == derived) || original.pref() > 1)
            keepKeyed(original, key);
    }

    // The value as its column holds it: trimmed, and cut where it is longer,
    // which the summary is told once.
    QString fit(const Column& column, const QString& value)
    {
        const QString trimmed = value.trimmed();
        if (trimmed.size() <= column.chars)
            return trimmed;
        const QString remark = QString::fromUtf8(column.cut) + QStringLiteral(" a ") +
                               QString::number(column.chars) + QStringLiteral(" caracteres");
        if (!r_.remarks.contains(remark))
            r_.remarks << remark;
        return trimmed.left(column.chars).trimmed();
    }

    QString labelOf(const Property& p) const { return labels_.value(p.group().toLower()); }

    // KIND, else a 3.0 client's marker, else an individual when the card
    // names a person (N, or an FN that is not the organisation's name).
    void decideKind()
    {
        const QString kind = card_.text(QStringLiteral("KIND")).trimmed().toLower();
        if (kind == orgKind || kind == individualKind) {
            r_.institution = kind == orgKind;
            return;
        }
        if (const std::optional<bool> marked = markedKind()) {
            r_.institution = *marked;
            return;
        }
        const bool hasN = card_.property(QStringLiteral("N")).has_value() &&
                          !card_.text(QStringLiteral("N")).remove(u';').trimmed().isEmpty();
        const std::optional<Property> org = card_.property(QStringLiteral("ORG"));
        const QString orgName = org ? org->components().value(0).join(u' ').trimmed() : QString();
        const QString fn = card_.text(QStringLiteral("FN")).trimmed();
        r_.institution =
            !hasN && !orgName.isEmpty() && (fn.isEmpty() || fn.compare(orgName, Qt::CaseInsensitive) == 0);
    }

    std::optional<bool> markedKind() const
    {
        if (card_.text(showAsProperty).trimmed().compare(showAsCompany, Qt::CaseInsensitive) == 0)
            return true;
        for (const QString& marker : kindMarkers) {
            const QString kind = card_.text(marker).trimmed().toLower();
            if (kind == orgKind || kind == organizationWord)
                return true;
            if (kind == individualKind)
                return false;
        }
        return std::nullopt;
    }

    void take(const Property& p)
    {
        static const QHash<QString, std::function<void(CardReader*, const Property&)>> readers = {
            {QStringLiteral("KIND"), &CardReader::takeKind},
            {QStringLiteral("FN"), &CardReader::takeFn},
            {QStringLiteral("N"), &CardReader::takeN},
            {QStringLiteral("ORG"), &CardReader::takeOrg},
            {QStringLiteral("X-NIF"), &CardReader::takeNif},
            {QStringLiteral("TITLE"), &CardReader::takeTitle},
            {QStringLiteral("ROLE"), &CardReader::takeRole},
            {QStringLiteral("BDAY"), &CardReader::takeBirthday},
            {QStringLiteral("ADR"), &CardReader::takeAddress},
            {QStringLiteral("TEL"), &CardReader::takePhone},
            {QStringLiteral("EMAIL"), &CardReader::takeEmail},
            {QStringLiteral("NOTE"), &CardReader::takeNote},
            {QStringLiteral("PHOTO"), &CardReader::takePhoto},
            {QStringLiteral("RELATED"), &CardReader::takeRelated},
            {QStringLiteral("CATEGORIES"), &CardReader::takeCategories},
            {QStringLiteral("UID"), &CardReader::takeUid},
            {QStringLiteral("REV"), &CardReader::drop},
            {QStringLiteral("PRODID"), &CardReader::drop},
        };
        const auto reader = readers.find(p.name());
        if (reader == readers.end())
            keep(p);
        else
            reader.value()(this, p);
    }

    void drop(const Property&) {}

    // An individual is what a card without KIND is: its KIND is written
    // back only when the card had one.
    void takeKind(const Property& p)
    {
        const QString derived = kindOf(r_);
        if (p.text().toLower() != derived || !p.parameters().isEmpty() || !r_.institution)
            keepKeyed(p, derived);
    }

    void takeFn(const Property& p)
    {
        if (fn_)
            keep(p); // only the first names the contact
        else
            fn_ = p;
    }

    void takeN(const Property& p)
    {
        if (r_.institution || nTaken_) {
            keep(p);
            return;
        }
        nTaken_ = true;
        QList<QStringList> c = p.components();
        c.resize(nComponents, QStringList{QString()});
        r_.apelido = fit(surnameColumn, c[0].join(u' '));
        r_.nome = fit(givenColumn, c[1].join(u' '));
        r_.titulo = fit(prefixColumn, c[3].join(u' '));
        const Property derived = nOf(r_);
        keepUnlessSame(p, derived, derived.value());
    }

    void takeOrg(const Property& p)
    {
        if (!r_.institution || !r_.organizacao.isEmpty()) {
            keep(p);
            return;
        }
        r_.organizacao = fit(orgColumn, p.components().value(0).join(u' '));
        const Property derived = Property::fromComponents(QStringLiteral("ORG"), {{r_.organizacao}});
        keepUnlessSame(p, derived, derived.value());
    }

    void takeNif(const Property& p)
    {
        if (!r_.nif.isEmpty()) {
            keep(p);
            return;
        }
        r_.nif = fit(nifColumn, p.text());
        keepUnlessSame(p, Property::fromText(QStringLiteral("X-NIF"), r_.nif), r_.nif);
    }

    void takeTitle(const Property& p)
    {
        if (r_.institution || titleTaken_) {
            keep(p);
            return;
        }
        titleTaken_ = true;
        r_.profissao = fit(titleColumn, p.text());
        keepUnlessSame(p, Property::fromText(QStringLiteral("TITLE"), r_.profissao), r_.profissao);
    }

    // A role stands for the profession only when the card has no title; it
    // goes back out as ROLE.
    void takeRole(const Property& p)
    {
        if (r_.institution || titleTaken_ || card_.property(QStringLiteral("TITLE"))) {
            keep(p);
            return;
        }
        titleTaken_ = true;
        r_.profissao = fit(titleColumn, p.text());
        keepKeyed(p, r_.profissao);
    }

    void takeBirthday(const Property& p)
    {
        const std::optional<QDate> d = birthDate(p.text());
        if (r_.institution || !d || r_.nascimento.isValid()) {
            keep(p);
            return;
        }
        r_.nascimento = *d;
        const QString derived = d->toString(birthFormat);
        keepUnlessSame(p, Property::fromText(QStringLiteral("BDAY"), derived), derived);
    }

    // Components trimmed, so that a writer's stray space is no change of the
    // user's at the next export.
    static QString joined(const QStringList& items)
    {
        QStringList words;
        for (const QString& item : items)
            if (!item.trimmed().isEmpty())
                words << item.trimmed();
        return words.join(u' ');
    }

    void takeAddress(const Property& p)
    {
        QList<QStringList> c = p.components();
        c.resize(adrComponents, QStringList{QString()});
        AddressRow a;
        // The extended address (a flat, a suite) is a line of the street on the card.
        QStringList street;
        for (const QString& line : c[adrStreet] + c[adrExtended])
            if (!line.trimmed().isEmpty())
                street << line.trimmed();
        a.morada = fit(streetColumn, street.join(u'\n'));
        a.localidade = fit(localityColumn, joined(c[adrLocality]));
        a.codigoPostal = fit(postalColumn, joined(c[adrPostalCode]));
        a.pais = fit(countryColumn, joined(c[adrCountry]));
        prefs_.addresses << p.pref();
        r_.addresses << a;
        keepRowUnlessSame(p, adrOf(a), addressKey(a));
    }

    // A tel: URI as a person dials it: its extension kept, its other parameters not.
    static QString dialled(QString number)
    {
        number = number.trimmed();
        if (!number.startsWith(telScheme, Qt::CaseInsensitive))
            return number;
        number = number.mid(telScheme.size());
        const qsizetype ext = number.indexOf(telExtension, 0, Qt::CaseInsensitive);
        const QString extension =
            ext < 0 ? QString() : number.mid(ext + telExtension.size()).section(u';', 0, 0);
        number = number.section(u';', 0, 0);
        return extension.isEmpty() ? number : number + extensionWord + extension;
    }

    void takePhone(const Property& p)
    {
        PhoneRow t;
        t.numero = fit(numberColumn, dialled(p.text()));
        const QStringList words = p.parameter(wordParameter);
        const QString label = labelOf(p);
        if (!words.isEmpty())
            t.tipo = words.first();
        else if (!label.isEmpty())
            t.tipo = labelWord(label, std::begin(phoneLabels), std::end(phoneLabels));
        else
            t.tipo = phoneKind(p.types());
        t.tipo = fit(phoneKindColumn, t.tipo);
        prefs_.phones << p.pref();
        r_.phones << t;
        keepRowUnlessSame(p, telOf(t), phoneKey(t));
    }

    void takeEmail(const Property& p)
    {
        EmailRow e;
        e.email = fit(emailColumn, p.text());
        const QStringList words = p.parameter(wordParameter);
        const QString label = labelOf(p);
        if (!words.isEmpty())
            e.descrit = words.first();
        else if (!label.isEmpty())
            e.descrit = labelWord(label, std::begin(emailLabels), std::end(emailLabels));
        else
            e.descrit = emailWord(p.types());
        e.descrit = fit(emailWordColumn, e.descrit);
        prefs_.emails << p.pref();
        r_.emails << e;
        keepRowUnlessSame(p, emailOf(e), emailKey(e));
    }

    void takeNote(const Property& p)
    {
        r_.notes << p.text();
        if (!p.parameters().isEmpty() || !p.group().isEmpty())
            keepKeyed(p, p.text());
    }

    void takePhoto(const Property& p)
    {
        const QByteArray png = r_.photoPng.isEmpty() ? asPng(p.binary()) : QByteArray();
        if (png.isEmpty()) {
            keep(p);
            return;
        }
        r_.photoPng = png;
        const QString derived = pngDataUri + QString::fromLatin1(png.toBase64());
        keepUnlessSame(p, Property(QStringLiteral("PHOTO"), derived), md5(png));
    }

    void takeRelated(const Property& p)
    {
        if (!p.value().startsWith(uuidScheme, Qt::CaseInsensitive)) {
            keep(p);
            return;
        }
        const QStringList words = p.parameter(relationParameter);
        RelatedRow rel{p.value(),
                       fit(relationColumn, words.isEmpty() ? relationWord(p.types()) : words.first())};
        r_.related << rel;
        keepUnlessSame(p, relatedOf(rel), relationKey(rel));
    }

    void takeCategories(const Property& p)
    {
        for (const QStringList& component : p.components())
            for (const QString& item : component)
                if (!item.trimmed().isEmpty() && !r_.categories.contains(item.trimmed()))
                    r_.categories << item.trimmed();
        if (!p.parameters().isEmpty() || !p.group().isEmpty())
            keep(p);
    }

    void takeUid(const Property& p)
    {
        if (r_.uid.isEmpty())
            r_.uid = p.text().trimmed();
        else
            keep(p);
    }

    // The lowest PREF of each list is its default; without any, none is.
    static void markPreferred(const QList<int>& prefs, const std::function<void(qsizetype)>& mark)
    {
        qsizetype best = -1;
        for (qsizetype i = 0; i < prefs.size(); ++i)
            if (prefs[i] > 0 && (best < 0 || prefs[i] < prefs[best]))
                best = i;
        if (best >= 0)
            mark(best);
    }

    void settlePreferred()
    {
        markPreferred(prefs_.addresses, [this](qsizetype i) { r_.addresses[i].preferred = true; });
        markPreferred(prefs_.phones, [this](qsizetype i) { r_.phones[i].preferred = true; });
        markPreferred(prefs_.emails, [this](qsizetype i) { r_.emails[i].preferred = true; });
    }

    // FN is what the columns give unless the card said otherwise; a contact
    // with no other name takes FN whole. An FN the card did not have (made
    // from N or ORG on reading) is not kept.
    void keepName()
    {
        if (!fn_)
            return;
        const QString fn = fn_->text().trimmed();
        if (r_.institution && r_.organizacao.isEmpty())
            r_.organizacao = fit(orgColumn, fn);
        else if (!r_.institution && r_.nome.isEmpty() && r_.apelido.isEmpty())
            r_.nome = fit(givenColumn, fn);
        const QString derived = r_.displayName();
        if (hadFn_)
            keepUnlessSame(*fn_, Property::fromText(QStringLiteral("FN"), derived), derived);
    }

    // A card without FN or N is named by what it has, and the summary says by what.
    void nameFromWhatThereIs()
    {
        if (hadFn_ || nTaken_)
            return;
        if (!r_.displayName().isEmpty()) {
            r_.remarks << QStringLiteral("sem nome: chamado pela organização");
        } else if (!r_.emails.isEmpty()) {
            r_.nome = fit(givenColumn, r_.emails.first().email);
            r_.remarks << QStringLiteral("sem nome: chamado pelo e-mail");
        } else if (!r_.phones.isEmpty()) {
            r_.nome = fit(givenColumn, r_.phones.first().numero);
            r_.remarks << QStringLiteral("sem nome: chamado pelo telefone");
        }
    }

    Card card_;
    bool hadFn_ = false;
    QHash<QString, QString> labels_; // a group's X-ABLabel
    ContactRecord r_;
    std::optional<Property> fn_;
    bool nTaken_ = false;
    bool titleTaken_ = false;
    struct {
        QList<int> addresses, phones, emails;
    } prefs_;
};

} // namespace

QString ContactRecord::displayName() const
{
    if (institution)
        return organizacao.trimmed();
    return (nome.trimmed() + u' ' + apelido.trimmed()).trimmed();
}

QString phoneKind(const QStringList& types)
{
    return wordFor(types, std::begin(phoneWords), std::end(phoneWords), defaultPhoneWord);
}

QStringList phoneTypes(const QString& tipo)
{
    return typesFor(tipo, std::begin(phoneWords), std::end(phoneWords));
}

Card toCard(const ContactRecord& r)
{
    Card card;
    card.setVersion(QStringLiteral("4.0"));
    KeptPool kept(r.kept);
    const auto add = [&](const Property& derived, const QString& key, const QStringList& names = {}) {
        std::optional<Property> original =
            kept.take(names.isEmpty() ? QStringList{derived.name()} : names, key);
        card.addProperty(original ? *original : derived);
    };
    // A list's rows, each its kept original while unchanged, ranked together.
    const auto addRows = [&](const auto& rows, const auto& derive, const auto& keyOf) {
        QList<Property> properties;
        QList<bool> preferred;
        for (const auto& row : rows) {
            const Property derived = derive(row);
            std::optional<Property> original = kept.take({derived.name()}, keyOf(row));
            properties << (original ? *original : derived);
            preferred << row.preferred;
        }
        settlePrefs(properties, preferred);
        for (const Property& p : properties)
            card.addProperty(p);
    };

    if (r.institution)
        add(Property::fromText(QStringLiteral("KIND"), orgKind), orgKind);
    else if (std::optional<Property> kind = kept.take({QStringLiteral("KIND")}, individualKind))
        card.addProperty(*kind);
    add(Property::fromText(QStringLiteral("FN"), r.displayName()), r.displayName());
    if (r.institution) {
        const Property org = Property::fromComponents(QStringLiteral("ORG"), {{r.organizacao}});
        add(org, org.value());
    } else {
        const Property n = nOf(r);
        add(n, n.value());
        if (!r.profissao.isEmpty())
            add(Property::fromText(QStringLiteral("TITLE"), r.profissao), r.profissao,
                {QStringLiteral("TITLE"), QStringLiteral("ROLE")});
        if (r.nascimento.isValid()) {
            const QString born = r.nascimento.toString(birthFormat);
            add(Property::fromText(QStringLiteral("BDAY"), born), born);
        }
    }
    if (!r.nif.isEmpty())
        add(Property::fromText(QStringLiteral("X-NIF"), r.nif), r.nif);
    addRows(r.addresses, adrOf, addressKey);
    addRows(r.phones, telOf, phoneKey);
    addRows(r.emails, emailOf, emailKey);
    for (const QString& note : r.notes)
        add(Property::fromText(QStringLiteral("NOTE"), note), note);
    if (!r.photoPng.isEmpty())
        add(Property(QStringLiteral("PHOTO"), pngDataUri + QString::fromLatin1(r.photoPng.toBase64())),
            md5(r.photoPng));
    for (const RelatedRow& rel : r.related)
        add(relatedOf(rel), relationKey(rel));
    if (!r.categories.isEmpty()) {
        QList<QStringList> list{r.categories};
        card.addProperty(Property::fromComponents(QStringLiteral("CATEGORIES"), list));
    }
    for (const Property& p : kept.rest())
        card.addProperty(p);
    if (!r.uid.isEmpty())
        card.addProperty(Property::fromText(QStringLiteral("UID"), r.uid));
    if (r.modified.isValid())
        card.addProperty(
            Property::fromText(QStringLiteral("REV"), r.modified.toUTC().toString(revisionFormat)));
    return card;
}

ContactRecord fromCard(const Card& card)
{
    return CardReader(card).read();
}

QList<Property> withUnresolved(QList<Property> kept, const QList<RelatedRow>& unresolved)
{
    for (const RelatedRow& rel : unresolved) {
        const QString key = relationKey(rel);
        const auto original = std::find_if(kept.begin(), kept.end(), [&](const Property& p) {
            return p.name() == QLatin1String("RELATED") && p.parameter(keyParameter).value(0) == key;
        });
        if (original != kept.end())
            original->removeParameter(keyParameter);
        else
            kept << relatedOf(rel);
    }
    return kept;
}

QString keptText(const QList<Property>& kept)
{
    QByteArray text;
    for (const Property& p : kept)
        text += contentLine(p);
    return QString::fromUtf8(text);
}

QList<Property> keptProperties(const QString& text)
{
    if (text.trimmed().isEmpty())
        return {};
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:4.0\r\n" + text.toUtf8() + "END:VCARD\r\n";
    const QList<Card> cards = read(card);
    return cards.isEmpty() ? QList<Property>() : cards.first().properties();
}

} // namespace vcard
