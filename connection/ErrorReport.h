#pragma once
// The component's error-report conventions, in one place. A procedure that
// caught a failure sends it here; numbers 0 and 3709 are never reported, the
// titles and module come from where the failure happened, and the message
// is the description alone or "Error Number = N | Description = D" as that
// origin sends it. Each report creates Notivar.General, calls Report and
// drops it; without a reporter the report goes to standard error and the
// error log. Nothing here throws.
//
//   catch (const vb::Error& e) {
//       ErrorReport::send(ErrorReport::Origin::SettingsStore, "ObterValorString", e);
//   }
//   ErrorReport::send({ErrorReport::Origin::Card, "frmNovo"}, "Novo", e);
//   ErrorReport::send(ErrorReport::Source::custom("Associados", "Associados", "frmInicial"), "Fill_Eventos",
//   e);
#include "platform/values/VbError.h"
#include <QString>
#include <exception>

namespace ErrorReport {

enum class Origin {
    General,    // "Contactos Quarvenses" twice, "General"
    SQLConnect, // "Ambrel Software" twice, "SQLConnect"
    StartUp,    // "Contactos Quarvenses" twice, "modCode"
    Card,       // "Contactos Quarvenses" twice, the form's name (frmInicial unless given)
    CardLayout, // "Ambrel Trevalia", "Clientes_Snvia", the form's name; description required
    PrintForm,  // "Ambrel Trevalia", "Clientes_Snvia", the form's name (frmImpressoes); description required
    SettingsStore, // "Pelmor Mirel Software", "Ambrel Software Modules", "modRegistry"; numbered, description
                   // required
    SqlLiteralsCode, // "Pelmor Mirel Software", "Sinistros_Snvia", "modCode" (Trtf); numbered, description
                     // required
    SqlLiteralsData, // "Pelmor Mirel Software", "Ferramentas Administrativas", "modData" (ListField);
                     // numbered, description required
    Permissions,     // "modCheckPermissions" three times; numbered, description required
    FileDialogs,     // "Common Dialogs" twice, "modComDlg"; numbered, description required
    OwnerWindow,     // "mod" twice, "frmMainChilds"
};

// Who reports: the texts that identify it and the rules it follows.
struct Source {
    QString title;
    QString title2;
    QString module;
    bool numberedMessage = false;     // "Error Number = N | Description = D"
    bool requiresDescription = false; // a blank description is not reported

    Source(Origin origin, const QString& form = {});
    // Texts of their own (a form's "Associados", the archive's "Arquivo
    // Documental", "IDArqDoc", "ucIDArqDoc"); the description alone is sent.
    static Source custom(const QString& title, const QString& title2, const QString& module,
                         bool numberedMessage = false, bool requiresDescription = false);

  private:
    Source() = default;
};

bool isReported(const Source& source, int number, const QString& description);
QString message(const Source& source, int number, const QString& description);

// True when a report was made (sent to the reporter or, without one, to
// standard error and the log).
bool send(const Source& source, const QString& procedure, int number, const QString& description) noexcept;
bool send(const Source& source, const QString& procedure, const vb::Error& error) noexcept;
// Any other exception counts as VB's error 51, "Internal error", with its text.
bool send(const Source& source, const QString& procedure, const std::exception& error) noexcept;

} // namespace ErrorReport
