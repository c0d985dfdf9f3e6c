// The title line (Descrit1), the second line (Descrit2) and the audit line
// of the status bar, built from the database for the contact shown.
#include "card/CardSettings.h"
#include "card/frmInicial.h"

#include "connection/ConnectionState.h"
#include "data/modSQLConnection.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"

#include <QLabel>

namespace {

const char16_t selectKind[] =
    u"SELECT tbContactos.nome_union, tbContactos.genero_id FROM tbContactos WHERE tbContactos.contacto_id=%1";
const char16_t selectIndividual[] =
    u"SELECT tbContactos_Singulares.nome, tbContactos_Singulares.apelido, tbContactos_Singulares.titulo, "
    u"tbContactos_Singulares.profissao FROM tbContactos_Singulares WHERE "
    u"tbContactos_Singulares.contacto_id=%1";
const char16_t selectInstitution[] =
    u"SELECT tbContactos.nome_union, tbContactos_Institucionais.area_negocio_id, "
    u"tbContactos_Institucionais_Areas_Negocio.descrit FROM tbContactos LEFT JOIN "
    u"tbContactos_Institucionais ON tbContactos.contacto_id=tbContactos_Institucionais.contacto_id "
    u"LEFT JOIN tbContactos_Institucionais_Areas_Negocio ON "
    u"tbContactos_Institucionais.area_negocio_id=tbContactos_Institucionais_Areas_Negocio.area_negocio_id "
    u"WHERE tbContactos.contacto_id=%1";
const char16_t selectAudit[] = u"SELECT * FROM tbContactos WHERE contacto_id =%1";

constexpr int institutionKind = 2; // genero_id

} // namespace

// Title, surname and first name, as "Sra. Marques, Maria"; without a title it
// starts at the surname (no blank before it), and without a surname it is the
// title alone, the first name not shown.
QString card::titleLine(const QString& titulo, const QString& apelido, const QString& nome)
{
    QString line = titulo;
    if (!apelido.isEmpty()) {
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + apelido;
        if (!nome.isEmpty())
            line += QStringLiteral(", ") + nome;
    }
    return line;
}

void frmInicial::Fill_Descrit()
{
    Descrit1->clear();
    Descrit2->clear();
    if (Frame_Selected == 0)
        return;
    try {
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
            return;
        ado::Recordset rs;
        rs.Open(sql::compose(selectKind, {Contacto_ID}), Data().SqlServer);
        if (rs.Eof()) {
            rs.Close();
            return;
        }
        const vb::Variant kind = rs(QStringLiteral("genero_id"));
        const bool institution = !kind.isNull() && vb::CLng(kind) == institutionKind;
        rs.Close();
        const auto textOf = [&](const char* field) {
            const vb::Variant v = rs(QString::fromLatin1(field));
            return v.isNull() ? QString() : vb::CStr(v);
        };
        if (!institution) {
            if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
                return;
            rs.Open(sql::compose(selectIndividual, {Contacto_ID}), Data().SqlServer);
            if (!rs.Eof()) {
                Descrit1->setText(card::titleLine(textOf("titulo"), textOf("apelido"), textOf("nome")));
                Descrit2->setText(textOf("profissao"));
                captionFromTitle();
            }
        } else {
            if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
                return;
            rs.Open(sql::compose(selectInstitution, {Contacto_ID}), Data().SqlServer);
            if (!rs.Eof()) {
                Descrit1->setText(textOf("nome_union"));
                captionFromTitle();
                if (!rs(QStringLiteral("descrit")).isNull())
                    Descrit2->setText(textOf("descrit"));
            }
        }
        rs.Close();
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Fill_Descrit"), e);
    }
}

// The window's caption names the contact shown too, whatever tab is loaded.
void frmInicial::captionFromTitle()
{
    if (!Descrit1->text().isEmpty())
        setWindowTitle(Descrit1->text());
}

// The audit line always names the contact shown, whatever tab was loaded.
void frmInicial::showAuditLine()
{
    if (auditOf_ != Contacto_ID)
        Fill_Modified();
}

void frmInicial::Fill_Modified()
{
    try {
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
            return;
        ado::Recordset rs;
        rs.Open(sql::compose(selectAudit, {Contacto_ID}), Data().SqlServer);
        if (rs.Eof()) {
            statusPanel1->setText(QStringLiteral("Não foi possível abrir as definições deste registo."));
            rs.Close();
            return;
        }
        auditOf_ = Contacto_ID;
        loadedModifiedBy_ = rs(QStringLiteral("modified_by"));
        loadedModifiedDate_ = rs(QStringLiteral("modified_date"));
        const auto stamp = [](const vb::Variant& v) {
            return vb::Format(v, QStringLiteral("dd/mm/yyyy h:Nn:Ss"));
        };
        QString line = QStringLiteral("Modificado por ");
        if (rs(QStringLiteral("modified_by")).isNull()) {
            // Never changed since it was made: who made it, and when.
            line = rs(QStringLiteral("created_by")).isNull()
                       ? QStringLiteral("Sem registo de quem criou ou modificou este contacto.")
                       : QStringLiteral("Criado por ") + vb::CStr(rs(QStringLiteral("created_by"))) +
                             (rs(QStringLiteral("created_date")).isNull()
                                  ? QString()
                                  : QStringLiteral(" em ") + stamp(rs(QStringLiteral("created_date"))));
        } else {
            line += vb::CStr(rs(QStringLiteral("modified_by"))) + QStringLiteral(" em ");
            if (!rs(QStringLiteral("modified_date")).isNull())
                line += stamp(rs(QStringLiteral("modified_date")));
            if (!rs(QStringLiteral("created_by")).isNull()) {
                line += QStringLiteral(", Criado por ") + vb::CStr(rs(QStringLiteral("created_by"))) +
                        QStringLiteral(" em ");
                if (!rs(QStringLiteral("created_date")).isNull())
                    line += stamp(rs(QStringLiteral("created_date")));
            }
        }
        statusPanel1->setText(line);
        rs.Close();
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Fill_Modified"), e);
    }
}
