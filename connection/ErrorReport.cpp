#include "connection/ErrorReport.h"
#include "platform/folders/ErrorLog.h"
#include "platform/objects/CreateObject.h"
#include "platform/objects/NotivarGeneral.h"
#include <cstdio>

namespace ErrorReport {

namespace {

constexpr int InternalError = 51; // VB's "Internal error"

const QString Quarvenses = QStringLiteral("Contactos Quarvenses");

QString formOr(const QString& form, const char* otherwise)
{
    return form.isEmpty() ? QString::fromLatin1(otherwise) : form;
}

// Without the reporter installed the report still reaches someone.
void withoutReporter(const Source& s, const QString& procedure, const QString& text)
{
    const platform::ErrorLogEntry entry{s.title, s.title2, s.module, procedure, text};
    platform::ErrorLog::append(entry);
    std::fprintf(stderr, "%s\n", platform::ErrorLog::line(entry).toUtf8().constData());
}

} // namespace

Source::Source(Origin origin, const QString& form)
{
    switch (origin) {
    case Origin::General:
        *this = custom(Quarvenses, Quarvenses, QStringLiteral("General"));
        break;
    case Origin::SQLConnect:
        *this = custom(QStringLiteral("Ambrel Software"), QStringLiteral("Ambrel Software"),
                       QStringLiteral("SQLConnect"));
        break;
    case Origin::StartUp:
        *this = custom(Quarvenses, Quarvenses, QStringLiteral("modCode"));
        break;
    case Origin::Card:
        *this = custom(Quarvenses, Quarvenses, formOr(form, "frmInicial"));
        break;
    case Origin::CardLayout:
        *this = custom(QStringLiteral("Ambrel Trevalia"), QStringLiteral("Clientes_Snvia"),
                       formOr(form, "frmInicial"), false, true);
        break;
    case Origin::PrintForm:
        *this = custom(QStringLiteral("Ambrel Trevalia"), QStringLiteral("Clientes_Snvia"),
                       formOr(form, "frmImpressoes"), false, true);
        break;
    case Origin::SettingsStore:
        *this = custom(QStringLiteral("Pelmor Mirel Software"), QStringLiteral("Ambrel Software Modules"),
                       QStringLiteral("modRegistry"), true, true);
        break;
    case Origin::SqlLiteralsCode:
        *this = custom(QStringLiteral("Pelmor Mirel Software"), QStringLiteral("Sinistros_Snvia"),
                       QStringLiteral("modCode"), true, true);
        break;
    case Origin::SqlLiteralsData:
        *this = custom(QStringLiteral("Pelmor Mirel Software"), QStringLiteral("Ferramentas Administrativas"),
                       QStringLiteral("modData"), true, true);
        break;
    case Origin::Permissions: {
        const QString p = QStringLiteral("modCheckPermissions");
        *this = custom(p, p, p, true, true);
        break;
    }
    case Origin::FileDialogs:
        *this = custom(QStringLiteral("Common Dialogs"), QStringLiteral("Common Dialogs"),
                       QStringLiteral("modComDlg"), true, true);
        break;
    case Origin::OwnerWindow:
        *this = custom(QStringLiteral("mod"), QStringLiteral("mod"), QStringLiteral("frmMainChilds"));
        break;
    }
}

Source Source::custom(const QString& title, const QString& title2, const QString& module,
                      bool numberedMessage, bool requiresDescription)
{
    Source s;
    s.title = title;
    s.title2 = title2;
    s.module = module;
    s.numberedMessage = numberedMessage;
    s.requiresDescription = requiresDescription;
    return s;
}

bool isReported(const Source& source, int number, const QString& description)
{
    if (number == 0 || number == vb::errnum::AdoObjectClosed)
        return false;
    return !source.requiresDescription || !description.trimmed().isEmpty();
}

QString message(const Source& source, int number, const QString& description)
{
    if (!source.numberedMessage)
        return description;
    return QStringLiteral("Error Number = ") + QString::number(number) + QStringLiteral(" | Description = ") +
           description;
}

bool send(const Source& source, const QString& procedure, int number, const QString& description) noexcept
{
    try {
        if (!isReported(source, number, description))
            return false;
        const QString text = message(source, number, description);
        try {
            // Created for this one report and dropped right after it.
            auto reporter = vb::CreateObjectAs<contracts::NotivarGeneral>(
                QString::fromLatin1(contracts::NotivarGeneral::ProgId));
            reporter->Report(source.title, source.title2, source.module, procedure, text);
        } catch (const vb::Error&) {
            withoutReporter(source, procedure, text);
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool send(const Source& source, const QString& procedure, const vb::Error& error) noexcept
{
    return send(source, procedure, error.number(), error.description());
}

bool send(const Source& source, const QString& procedure, const std::exception& error) noexcept
{
    if (const auto* vbError = dynamic_cast<const vb::Error*>(&error))
        return send(source, procedure, *vbError);
    try {
        return send(source, procedure, InternalError, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return false;
    }
}

} // namespace ErrorReport
