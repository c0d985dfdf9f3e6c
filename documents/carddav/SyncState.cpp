#include "documents/carddav/SyncState.h"

#include "data/modData.h"
#include "duplicates/Reading.h"

namespace carddav {

namespace {

using duplicates::reading::query;
using duplicates::reading::text;

const char16_t selectPairings[] =
    u"SELECT contacto, href, etag, impressao, alterado FROM tbContactos_CardDAV WHERE livro = %1";
const char16_t selectBook[] = u"SELECT token, ctag FROM tbContactos_CardDAV_Livros WHERE livro = %1";
const char16_t deletePairing[] = u"DELETE FROM tbContactos_CardDAV WHERE livro = %1 AND contacto = %2";
const char16_t insertPairing[] =
    u"INSERT INTO tbContactos_CardDAV (livro, contacto, href, etag, impressao, alterado) VALUES (%1, %2, %3, "
    u"%4, %5, %6)";
const char16_t deleteBook[] = u"DELETE FROM tbContactos_CardDAV_Livros WHERE livro = %1";
const char16_t insertBook[] =
    u"INSERT INTO tbContactos_CardDAV_Livros (livro, ficheiro, token, ctag) VALUES (%1, %2, %3, %4)";

QString literal(const QString& value)
{
    return modData::FormatSQLValue(vb::Variant(value), modData::kText);
}

void execute(const QString& statement)
{
    Data().SqlServer.Execute(statement);
}

} // namespace

qint32 BookState::contactAt(const QString& href) const
{
    for (const Pairing& p : pairings)
        if (p.href == href)
            return p.contact;
    return 0;
}

BookState loadState(const QString& book)
{
    BookState state;
    for (ado::Recordset rs = query(sql::compose(selectPairings, {literal(book)})); !rs.Eof(); rs.MoveNext()) {
        Pairing p;
        p.contact = vb::CLng(rs(QStringLiteral("contacto")));
        p.href = text(rs(QStringLiteral("href")));
        p.etag = text(rs(QStringLiteral("etag"))).toUtf8();
        p.fingerprint = text(rs(QStringLiteral("impressao")));
        p.stamp = text(rs(QStringLiteral("alterado")));
        state.pairings.insert(p.contact, p);
    }
    ado::Recordset rs = query(sql::compose(selectBook, {literal(book)}));
    if (!rs.Eof()) {
        state.token = text(rs(QStringLiteral("token")));
        state.ctag = text(rs(QStringLiteral("ctag")));
    }
    return state;
}

void savePairing(const QString& book, const Pairing& p)
{
    execute(sql::compose(deletePairing, {literal(book), p.contact}));
    execute(sql::compose(insertPairing,
                         {literal(book), p.contact, literal(p.href), literal(QString::fromUtf8(p.etag)),
                          literal(p.fingerprint), literal(p.stamp)}));
}

void forgetPairing(const QString& book, qint32 contact)
{
    execute(sql::compose(deletePairing, {literal(book), contact}));
}

void saveBook(const QString& book, const QString& file, const QString& token, const QString& ctag)
{
    execute(sql::compose(deleteBook, {literal(book)}));
    execute(sql::compose(insertBook, {literal(book), literal(file), literal(token), literal(ctag)}));
}

} // namespace carddav
