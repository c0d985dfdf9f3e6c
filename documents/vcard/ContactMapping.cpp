#include "documents/vcard/ContactMapping.h"

#include "documents/vcard/VCardEscaping.h"
#include "documents/vcard/VCardReader.h"
#include "documents/vcard/VCardUpgrade.h"
#include "documents/vcard/VCardWriter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
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

QString addressKey(const AddressRow& a)
{
    return QStringList{a.morada, a.codigoPostal, a.localidade, a.pais}.join(u'\x1f');
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

Property withPref(Property p, bool preferred)
{
    if (preferred)
        p.setParameter(prefParameter, {QStringLiteral("1")});
    else
        p.removeParameter(prefParameter);
    return p;
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
    explicit CardReader(const Card& card) : card_(upgradeTo40(card)) {}

    ContactRecord read()
    {
        decideKind();
        for (const Property& p : card_.properties())
            take(p);
        settlePreferred();
        keepName();
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

    void decideKind()
    {
        const QString kind = card_.text(QStringLiteral("KIND")).toLower();
        const bool hasN = card_.property(QStringLiteral("N")).has_value() &&
                          !card_.text(QStringLiteral("N")).remove(u';').trimmed().isEmpty();
        const bool hasOrg = card_.property(QStringLiteral("ORG")).has_value();
        if (kind == orgKind)
            r_.institution = true;
        else if (kind == individualKind)
            r_.institution = false;
        else
            r_.institution = hasOrg && !hasN;
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
        if (!p.group().isEmpty()) { // grouped properties belong together: kept as a whole
            keep(p);
            return;
        }
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
        r_.apelido = c[0].join(u' ').trimmed();
        r_.nome = c[1].join(u' ').trimmed();
        r_.titulo = c[3].join(u' ').trimmed();
        const Property derived = nOf(r_);
        keepUnlessSame(p, derived, derived.value());
    }

    void takeOrg(const Property& p)
    {
        if (!r_.institution || !r_.organizacao.isEmpty()) {
            keep(p);
            return;
        }
        r_.organizacao = p.components().value(0).join(u' ').trimmed();
        const Property derived = Property::fromComponents(QStringLiteral("ORG"), {{r_.organizacao}});
        keepUnlessSame(p, derived, derived.value());
    }

    void takeNif(const Property& p)
    {
        if (!r_.nif.isEmpty()) {
            keep(p);
            return;
        }
        r_.nif = p.text().trimmed();
        keepUnlessSame(p, Property::fromText(QStringLiteral("X-NIF"), r_.nif), r_.nif);
    }

    void takeTitle(const Property& p)
    {
        if (r_.institution || titleTaken_) {
            keep(p);
            return;
        }
        titleTaken_ = true;
        r_.profissao = p.text().trimmed();
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
        r_.profissao = p.text().trimmed();
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

    void takeAddress(const Property& p)
    {
        QList<QStringList> c = p.components();
        c.resize(adrComponents, QStringList{QString()});
        AddressRow a;
        // The extended address (a flat, a suite) is a line of the street on the card.
        QStringList street = c[adrStreet] + c[adrExtended];
        street.removeAll(QString());
        a.morada = street.join(u'\n');
        a.localidade = c[adrLocality].join(u' ');
        a.codigoPostal = c[adrPostalCode].join(u' ');
        a.pais = c[adrCountry].join(u' ');
        prefs_.addresses << p.pref();
        r_.addresses << a;
        keepUnlessSame(p, adrOf(a), addressKey(a));
    }

    void takePhone(const Property& p)
    {
        PhoneRow t;
        t.numero = p.text().trimmed();
        if (t.numero.startsWith(telScheme))
            t.numero = t.numero.mid(telScheme.size());
        const QStringList words = p.parameter(wordParameter);
        t.tipo = words.isEmpty() ? phoneKind(p.types()) : words.first();
        prefs_.phones << p.pref();
        r_.phones << t;
        keepUnlessSame(p, telOf(t), t.numero + u'\x1f' + t.tipo);
    }

    void takeEmail(const Property& p)
    {
        EmailRow e;
        e.email = p.text().trimmed();
        const QStringList words = p.parameter(wordParameter);
        e.descrit = words.isEmpty() ? emailWord(p.types()) : words.first();
        prefs_.emails << p.pref();
        r_.emails << e;
        keepUnlessSame(p, emailOf(e), e.email + u'\x1f' + e.descrit);
    }

    void takeNote(const Property& p)
    {
        r_.notes << p.text();
        if (!p.parameters().isEmpty())
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
        RelatedRow rel{p.value(), p.parameter(relationParameter).value(0)};
        r_.related << rel;
        keepUnlessSame(p, relatedOf(rel), rel.uid + u'\x1f' + rel.descrit);
    }

    void takeCategories(const Property& p)
    {
        for (const QStringList& component : p.components())
            for (const QString& item : component)
                if (!item.trimmed().isEmpty() && !r_.categories.contains(item.trimmed()))
                    r_.categories << item.trimmed();
        if (!p.parameters().isEmpty())
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
    // with no other name takes FN whole.
    void keepName()
    {
        if (!fn_)
            return;
        const QString fn = fn_->text().trimmed();
        if (r_.institution && r_.organizacao.isEmpty())
            r_.organizacao = fn;
        else if (!r_.institution && r_.nome.isEmpty() && r_.apelido.isEmpty())
            r_.nome = fn;
        const QString derived = r_.displayName();
        keepUnlessSame(*fn_, Property::fromText(QStringLiteral("FN"), derived), derived);
    }

    Card card_;
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
    const auto addPreferred = [&](const Property& derived, const QString& key, bool preferred) {
        std::optional<Property> original = kept.take({derived.name()}, key);
        card.addProperty(withPref(original ? *original : derived, preferred));
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
    for (const AddressRow& a : r.addresses)
        addPreferred(adrOf(a), addressKey(a), a.preferred);
    for (const PhoneRow& t : r.phones)
        addPreferred(telOf(t), t.numero + u'\x1f' + t.tipo, t.preferred);
    for (const EmailRow& e : r.emails)
        addPreferred(emailOf(e), e.email + u'\x1f' + e.descrit, e.preferred);
    for (const QString& note : r.notes)
        add(Property::fromText(QStringLiteral("NOTE"), note), note);
    if (!r.photoPng.isEmpty())
        add(Property(QStringLiteral("PHOTO"), pngDataUri + QString::fromLatin1(r.photoPng.toBase64())),
            md5(r.photoPng));
    for (const RelatedRow& rel : r.related)
        add(relatedOf(rel), rel.uid + u'\x1f' + rel.descrit);
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
