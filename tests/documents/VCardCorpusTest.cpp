// Cards as phones, webmail and desktop clients write them, imported into a
// catalog: what reaches the contact's own columns, not only that a round
// trip is stable; and every export read back by an independent reader.
#include "connection/ConnectionState.h"
#include "documents/vcard/VCardExchange.h"
#include "documents/vcard/VCardReader.h"
#include "tests/documents/VCardSamples.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"

#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// 2.1 writers leave base64 unindented on lines of their own, ended by a blank line.
QByteArray base64Lines(const QByteArray& base64)
{
    QByteArray out;
    for (qsizetype i = 0; i < base64.size(); i += 64)
        out += base64.mid(i, 64) + "\r\n";
    return out + "\r\n";
}

// What one contact of the corpus must hold once imported.
struct Expected {
    QString name; // nome_union
    int emails = 0;
    int phones = 0;
    int addresses = 0;
    // Column values: a query about the contact (%1 is its id) and its answer.
    QList<std::pair<QString, QString>> columns;
    QStringList remarks; // said in the summary's line
    bool institution = false;
};

Expected contact(const QString& name, int emails, int phones, int addresses,
                 const QList<std::pair<QString, QString>>& columns = {}, const QStringList& remarks = {})
{
    return {name, emails, phones, addresses, columns, remarks};
}

struct Shape {
    const char* writer;
    QByteArray file;
    QList<Expected> contacts;
};

const QString byId = QStringLiteral(" WHERE contacto_id = %1");

// A column of the contact's rows in tbContactos_<table>, of the row `where` says.
QString column(const char* table, const char* column, const char* where = nullptr)
{
    return QStringLiteral("SELECT ") + QLatin1String(column) + QStringLiteral(" FROM tbContactos_") +
           QLatin1String(table) + byId +
           (where ? QStringLiteral(" AND ") + QString::fromUtf8(where) : QString());
}

QList<Shape> corpus()
{
    const QByteArray jpeg = samples::tinyImage("JPEG").toBase64();
    QList<Shape> shapes;
    shapes << Shape{"telemóvel da maçã, 3.0 com grupos e etiquetas",
                    samples::file({"BEGIN:VCARD", "VERSION:3.0", "PRODID:-//Telemovel//PT",
                                   "N:Ferreira;Rui;;;", "FN:Rui Ferreira", "ORG:Têxteis do Ave;",
                                   "item1.EMAIL;type=INTERNET;type=pref:rui@texteisdoave.example",
                                   "item1.X-ABLabel:_$!<Work>!$_", "item2.TEL;type=pref:+351 912 000 111",
                                   "item2.X-ABLabel:_$!<Mobile>!$_", "item3.TEL:253 000 222",
                                   "item3.X-ABLabel:Armazém de Guimarães Norte",
                                   "item4.ADR;type=HOME;type=pref:;;Rua do Souto 5;Braga;;4700-329;Portugal",
                                   "item4.X-ABADR:pt", "item5.URL;type=pref:https://texteisdoave.example",
                                   "item5.X-ABLabel:_$!<HomePage>!$_", "END:VCARD"}),
                    {contact(QStringLiteral("Rui Ferreira"), 1, 2, 1,
                             {{column("Emails", "descrit"), QStringLiteral("Trabalho")},
                              {column("Telefones", "tipo", "telefone_default = 1"), QStringLiteral("Móvel")},
                              {column("Telefones", "tipo", "numero = '253 000 222'"),
                               QStringLiteral("Armazém de Guimarães")},
                              {column("Moradas", "localidade"), QStringLiteral("Braga")}},
                             {QStringLiteral("tipo de telefone cortado a 20 caracteres")})}};
    Expected pharmacy = contact(QStringLiteral("Farmácia Central"), 0, 1, 0);
    pharmacy.institution = true;
    shapes << Shape{"telemóvel da maçã, empresa marcada",
                    samples::file({"BEGIN:VCARD", "VERSION:3.0", "N:;;;;", "FN:Farmácia Central, Lda.",
                                   "ORG:Farmácia Central;", "X-ABShowAs:COMPANY",
                                   "TEL;type=WORK:+351 258 000 000", "END:VCARD"}),
                    {pharmacy}};
    shapes << Shape{
        "correio na web, 3.0 com grupos",
        samples::file({"BEGIN:VCARD", "VERSION:3.0", "FN:Sofia Martins", "N:Martins;Sofia;;;",
                       "EMAIL;TYPE=INTERNET;TYPE=HOME:sofia.martins@example.com",
                       "item1.EMAIL;TYPE=INTERNET:sofia@trabalho.example", "item1.X-ABLabel:Escritório",
                       "TEL;TYPE=CELL:+351 96 123 4567", "item2.TEL:+351 21 000 0000",
                       "item2.X-ABLabel:Recepção",
                       "ADR;TYPE=HOME:;;Rua Augusta 100\\n2.º Esq.;Lisboa;;1100-053;PT",
                       "NOTE:Conhecida na feira\\, 2023", "CATEGORIES:myContacts,Clientes", "END:VCARD"}),
        {contact(
            QStringLiteral("Sofia Martins"), 2, 2, 1,
            {{column("Emails", "descrit", "email = 'sofia@trabalho.example'"), QStringLiteral("Escritório")},
             {column("Telefones", "tipo", "numero = '+351 21 000 0000'"), QStringLiteral("Recepção")},
             {column("Moradas", "morada"), QStringLiteral("Rua Augusta 100\n2.º Esq.")},
             {column("Notas", "nota"), QStringLiteral("Conhecida na feira, 2023")}})}};
    shapes << Shape{
        "telefone de outro sistema, 2.1 em quoted-printable e CR CR LF",
        samples::file({"BEGIN:VCARD", "VERSION:2.1",
                       "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Gon=C3=A7alves;Jo=C3=A3o;;;",
                       "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Jo=C3=A3o Gon=C3=A7alves",
                       "TEL;CELL;PREF:+351933000222", "TEL;HOME:253000111", "EMAIL;HOME:joao@example.pt",
                       "ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;Travessa da Concei=C3=A7=",
                       "=C3=A3o 3;Guimar=C3=A3es;;4800-000;Portugal", "PHOTO;ENCODING=BASE64;JPEG:"},
                      "\r\r\n") +
            base64Lines(jpeg) + "END:VCARD\r\r\n",
        {contact(QStringLiteral("João Gonçalves"), 1, 2, 1,
                 {{column("Moradas", "localidade"), QStringLiteral("Guimarães")},
                  {column("Moradas", "morada"), QStringLiteral("Travessa da Conceição 3")},
                  {column("Telefones", "numero", "telefone_default = 1"), QStringLiteral("+351933000222")},
                  {column("Fotos", "COUNT(*)"), QStringLiteral("1")}})}};
    shapes << Shape{
        "cliente de correio de secretária, 2.1",
        samples::file(
            {"BEGIN:VCARD", "VERSION:2.1", "N;LANGUAGE=pt-pt:Costa;Marta", "FN:Marta Costa",
             "ORG:Costa & Filhos, Lda.",
             "TITLE:Directora financeira com responsabilidade pelas contas de clientes e fornecedores",
             "TEL;WORK;VOICE:+351 22 000 1234", "TEL;CELL;VOICE:+351 91 555 0000",
             "ADR;WORK;PREF:;;Av. da Boavista 1000;Porto;;4100-100;Portugal",
             "LABEL;WORK;PREF;ENCODING=QUOTED-PRINTABLE:Av. da Boavista 1000=0D=0APorto 4100-100",
             "EMAIL;PREF;INTERNET:marta.costa@costafilhos.example", "CLASS:PUBLIC", "MAILER:Correio 16",
             "REV:20240101T101010Z", "END:VCARD"}),
        {contact(QStringLiteral("Marta Costa"), 1, 2, 1,
                 {{column("Singulares", "profissao"),
                   QStringLiteral("Directora financeira com responsabilidade pelas contas de cl")}},
                 {QStringLiteral("título cortado a 60 caracteres")})}};
    shapes << Shape{
        "cliente de correio de secretária, 4.0",
        samples::file(
            {"BEGIN:VCARD", "VERSION:4.0", "N:Pires;Helena;;;", "FN:Helena Pires",
             "EMAIL;PREF=1:helena@pires.example", "EMAIL;PREF=2:h.pires@outro.example",
             "TEL;TYPE=work;VALUE=text:+351 239 000 000", "TEL;VALUE=uri:tel:+351-239-000-001;ext=45",
             "ADR;TYPE=work:;;Rua da Sofia 1 ;Coimbra ;Distrito de Coimbra;3000-389;Portugal",
             "NOTE:Disse \\\"até já\\\"\\nSegunda linha",
             "RELATED;TYPE=friend:urn:uuid:0a0a0a0a-0000-4000-8000-00000000abcd", "GEO:geo:40.2,-8.4",
             "UID:urn:uuid:7a9d5f3e-1111-4a2b-9c3d-000000000001", "END:VCARD"}),
        {contact(QStringLiteral("Helena Pires"), 2, 2, 1,
                 {{column("Telefones", "numero", "numero LIKE '%ext%'"),
                   QStringLiteral("+351-239-000-001 ext. 45")},
                  {column("Moradas", "localidade"), QStringLiteral("Coimbra")},
                  {column("Notas", "nota"), QStringLiteral("Disse \"até já\"\nSegunda linha")}})}};
    shapes << Shape{
        "uma pessoa de uma organização, sem N",
        samples::file({"BEGIN:vCard", "VERSION:3.0", "FN:Tiago Lopes", "ORG:Cooperativa Agrícola de Barcelos",
                       "ADR;TYPE=WORK,POSTAL,PARCEL:;;Rua da Cooperativa 12;Barcelos;Braga;4750-000;Portugal",
                       "TEL;TYPE=VOICE,MSG,WORK:+351 253 000 333", "TEL;TYPE=FAX,WORK:+351 253 000 334",
                       "EMAIL;TYPE=INTERNET,PREF:tiago.lopes@coop.example",
                       "EMAIL;TYPE=INTERNET:tlopes@casa.example", "END:vCard"}),
        {contact(QStringLiteral("Tiago Lopes"), 2, 2, 1,
                 {{column("Telefones", "tipo", "numero = '+351 253 000 334'"), QStringLiteral("Fax")}})}};
    shapes << Shape{"só um e-mail, só um telefone, e um cartão cortado no fim do ficheiro",
                    samples::file({"BEGIN:VCARD", "VERSION:3.0", "EMAIL:encomendas@loja.example", "END:VCARD",
                                   "BEGIN:VCARD", "VERSION:2.1", "TEL;CELL:+351 968 000 444", "END:VCARD",
                                   "BEGIN:VCARD", "VERSION:3.0", "N:Neves;Carla;;;", "FN:Carla Neves",
                                   "ADR:;;Rua Direita 2;Viseu;;3500-000000000000;Portugal"}),
                    {contact(QStringLiteral("encomendas@loja.example"), 1, 0, 0, {},
                             {QStringLiteral("sem nome: chamado pelo e-mail")}),
                     contact(QStringLiteral("+351 968 000 444"), 0, 1, 0, {},
                             {QStringLiteral("sem nome: chamado pelo telefone")}),
                     contact(QStringLiteral("Carla Neves"), 0, 0, 1,
                             {{column("Moradas", "codigo_postal"), QStringLiteral("3500-0000000")}},
                             {QStringLiteral("código postal cortado a 12 caracteres")})}};
    shapes << Shape{
        "2.1 com um agente e uma linha estragada",
        samples::file({"BEGIN:VCARD", "VERSION:2.1", "N:Mendes;Paulo", "FN:Paulo Mendes",
                       "AGENT:", "BEGIN:VCARD", "VERSION:2.1", "N:Secretária;Ana", "TEL:111", "END:VCARD",
                       "esta linha não tem dois pontos", "TEL;WORK:+351 234 000 555", "END:VCARD"}),
        {contact(QStringLiteral("Paulo Mendes"), 0, 1, 0)}};
    const QString wide = QString::fromUtf8(samples::file(
        {"BEGIN:VCARD", "VERSION:3.0", "N:Araújo;Inês;;;", "FN:Inês Araújo",
         "EMAIL;TYPE=INTERNET:ines.araujo@example.pt", "X-MESSAGING/TWITTER-ALL:inesaraujo", "NAME:Contactos",
         "PROFILE:VCARD", "SORT-STRING:Araujo", "GEO:38.72;-9.14", "END:VCARD"}));
    shapes << Shape{"UTF-16 de um programa de secretária, com propriedades de 3.0",
                    QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(wide),
                    {contact(QStringLiteral("Inês Araújo"), 1, 0, 0)}};
    return shapes;
}

class VCardCorpus : public ::testing::Test {
  protected:
    int count(const char* table, qint32 id) const
    {
        return db.count(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table) + byId.arg(id));
    }

    testsupport::ScopedSettings settings;
    testsupport::DemoDatabase db;
    ScriptedWindows windows;
    QTemporaryDir dir;
};

} // namespace

TEST_F(VCardCorpus, EveryShapeArrivesWholeAndEveryExportIsValid)
{
    QList<qint32> ids;
    for (const Shape& shape : corpus()) {
        SCOPED_TRACE(shape.writer);
        const vcard::ImportSummary summary = vcard::importCards(shape.file, {}, QStringLiteral("sa"));
        ASSERT_EQ(summary.lines.size(), shape.contacts.size()) << summary.details().join(u'\n').toStdString();
        for (qsizetype i = 0; i < shape.contacts.size(); ++i) {
            const Expected& want = shape.contacts[i];
            const vcard::ImportLine& line = summary.lines[i];
            EXPECT_EQ(line.outcome, vcard::Outcome::Created) << line.reason.toStdString();
            if (line.outcome != vcard::Outcome::Created)
                continue;
            const qint32 id = line.contactId;
            ids << id;
            EXPECT_EQ(db.value(QStringLiteral("SELECT nome_union FROM tbContactos") + byId, id), want.name);
            const bool institution = db.value(QStringLiteral("SELECT genero_id FROM tbContactos") + byId,
                                              id) == QLatin1String("2");
            EXPECT_EQ(institution, want.institution) << want.name.toStdString();
            EXPECT_EQ(count("tbContactos_Emails", id), want.emails) << want.name.toStdString();
            EXPECT_EQ(count("tbContactos_Telefones", id), want.phones) << want.name.toStdString();
            EXPECT_EQ(count("tbContactos_Moradas", id), want.addresses) << want.name.toStdString();
            for (const auto& [sql, answer] : want.columns)
                EXPECT_EQ(db.value(sql, id), answer) << sql.toStdString();
            EXPECT_EQ(line.remarks, want.remarks);
        }
    }

    const QString file = dir.filePath(QStringLiteral("corpus.vcf"));
    vcard::FileDelivery delivery(file);
    const vcard::ExportResult exported = vcard::exportContacts(ids, QStringLiteral("sa"), delivery);
    ASSERT_TRUE(exported.delivered) << exported.failure.toStdString();
    EXPECT_TRUE(exported.skipped.isEmpty());
    EXPECT_EQ(
        exported.leftOut,
        (QStringList{
            QStringLiteral("n.º %1 Marta Costa: sem CLASS, MAILER (não cabem em vCard 4.0)").arg(ids[4]),
            QStringLiteral("n.º %1 Paulo Mendes: sem AGENT (não cabem em vCard 4.0)").arg(ids[10]),
            QStringLiteral("n.º %1 Inês Araújo: sem X-MESSAGING/TWITTER-ALL, NAME, PROFILE (não cabem "
                           "em vCard 4.0)")
                .arg(ids.last())}));
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {qEnvironmentVariable("QUARVENSES_SOURCE_DIR") +
                      QStringLiteral("/tests/documents/independent-reader.py"),
                  file});
    ASSERT_TRUE(reader.waitForFinished(60000));
    const QString said = QString::fromUtf8(reader.readAllStandardOutput() + reader.readAllStandardError());
    EXPECT_TRUE(reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0) << said.toStdString();

    // What the columns could not say goes back out as the card said it.
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = samples::contentLines(written.readAll());
    // Groups keep their labels beside them.
    for (const char* expected :
         {"item2.TEL;PREF=1:+351 912 000 111", "item2.X-ABLABEL:_$!<Mobile>!$_",
          "ADR;TYPE=work;PREF=1;LABEL=Av. da Boavista 1000^nPorto 4100-100:;;Av. da Boavista 1000;Porto;;"
          "4100-100;Portugal",
          "EMAIL;PREF=2:h.pires@outro.example",
          "ADR;TYPE=work:;;Rua da Sofia 1 ;Coimbra ;Distrito de Coimbra;3000-389;Portugal",
          "RELATED;TYPE=friend:urn:uuid:0a0a0a0a-0000-4000-8000-00000000abcd",
          "TITLE:Directora financeira com responsabilidade pelas contas de clientes e fornecedores",
          "ADR:;;Rua Direita 2;Viseu;;3500-000000000000;Portugal", "GEO:geo:38.72,-9.14",
          "N;SORT-AS=Araujo:Araújo;Inês;;;"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                 << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral("PHOTO:data:image/jpeg;base64,")).size(), 1)
        << "the JPEG as it came";
}
