#pragma once
// What several sources of the card share: the settings keys it reads and
// writes, its title, and its design size in twips.
#include "permissions/ContactsFile.h"
#include <QString>

namespace card {

// The window values ("Left", "Top", "Width", "Height", "Frame", "AutoSize").
inline const QString windowKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001");
// "DataServer": the host product's settings key name.
inline const QString tlvKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV");
// The stored window values, in the order they are read and written.
inline const char* const windowValueNames[] = {"Left", "Top", "Width", "Height", "Frame"};
inline constexpr int windowValueCount = 5;
inline constexpr int frameValueIndex = 4; // "Frame"

inline const QString title = QStringLiteral("Contactos Quarvenses");
inline const QString securityTitle = QStringLiteral("Sistema de Segurança");
// The system's line break in message texts: line feed, then carriage return.
inline const QString lineBreak = QStringLiteral("\n\r");

inline constexpr int designWidth = 15000; // twips
inline constexpr int designHeight = 9600;
inline constexpr int minimumWidth = 11175;
inline constexpr int minimumHeight = 6000;

// This component's own contact file, as the rights checks name it.
inline constexpr qint32 fileKind = contactsfile::kind;
inline const QString fileName = contactsfile::name;

// The tabs of TabStrip1, 1-based as the system counts them.
// The title line of an individual (Descriptions.cpp).
QString titleLine(const QString& titulo, const QString& apelido, const QString& nome);

inline constexpr int tabIdentification = 1;
inline constexpr int tabOtherInformation = 2;
inline constexpr int tabPermissions = 3;
inline constexpr int tabArchive = 4;
inline constexpr int tabCount = 4;

} // namespace card
