#pragma once
// Texts the card shows in more than one place, and how it shows a refusal of
// rights: a critical, system-modal box titled "Sistema de Segurança".
#include "platform/windows/MessageStyle.h"

#include <QString>

namespace card {

inline constexpr int securityStyle = platform::msgbox::Critical | platform::msgbox::SystemModal;

inline const QString refusedOpen = QStringLiteral(
    "Não tem permissões para abrir este registo, contacte o administrador do sistema para que este "
    "lhe estabeleça as permissões necessárias.");
inline const QString refusedCreate = QStringLiteral(
    "Não tem permissões para criar este registo, contacte o administrador do sistema para que este "
    "lhe estabeleça as permissões necessárias.");
inline const QString refusedChange = QStringLiteral(
    "Não tem permissões para alterar (ou gravar) este registo, contacte o administrador do sistema "
    "para que este lhe estabeleça as permissões necessárias.");
inline const QString refusedRemove = QStringLiteral(
    "Não tem permissões para remover este registo, contacte o administrador do sistema para que este "
    "lhe estabeleça as permissões necessárias.");
inline const QString refusedPermissions =
    QStringLiteral("Não tem permissões para alterar as permissões deste registo, contacte o administrador do "
                   "sistema para que este lhe estabeleça as permissões necessárias.");

// A save that did not reach its end leaves the database as it was.
inline const QString connectionLost =
    QStringLiteral("A ligação ao servidor perdeu-se; as alterações não foram gravadas.");
inline const QString nothingSaved = QStringLiteral("As alterações não foram gravadas.");
// A panel of the tab could not be read: what it shows is not the contact's.
inline const QString notRead = QStringLiteral(
    "Os dados deste contacto não foram lidos; a gravação foi cancelada. Feche e abra de novo o contacto.");
inline const QString readAgainQuestion =
    QStringLiteral("Deseja lê-los de novo agora? O que alterou neste separador perde-se.");
inline const QString reopenAdvice = QStringLiteral("Feche e abra de novo o contacto antes de o alterar.");

// The server could not be asked (a rights check that could not be made is no refusal).
inline const QString serverUnreachable =
    QStringLiteral("Não foi possível contactar o servidor de dados. Verifique a ligação e tente de novo.");

} // namespace card
