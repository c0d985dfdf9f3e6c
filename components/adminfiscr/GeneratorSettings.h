#pragma once
// Where the generator's site settings live: the settings store's key of its
// own, and the template file in the settings store's folder.
#include <QString>

namespace adminfiscr {

inline const QString settingsKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Admin_Fiscr");
// "odt" (any case) asks for ODF text documents instead of PDF.
inline const QString formatSetting = QStringLiteral("FormatoCartas");
inline const QString odfFormat = QStringLiteral("odt");
inline const QString templateFileName = QStringLiteral("carta_personalizada.html");

// The site's template file, whether it exists or not.
QString templatePath();
// True when the settings ask for ODF.
bool odfRequested();
// The site's value of a setting under the generator's key; empty when unset.
QString siteValue(const QString& name);

} // namespace adminfiscr
