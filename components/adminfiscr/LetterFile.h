#pragma once
// The document file of a letter: named after the contact in the user's
// temporary folder, never over an existing file, written as PDF (A4, fonts
// embedded) or as ODF text.
#include <QString>

namespace adminfiscr {

enum class DocumentFormat { Pdf, Odf };

// The contact's name made safe for a file name: no path separators, no
// control characters, no leading dots, of a bounded length; `fallback` when
// nothing is left.
QString safeFileName(const QString& name, const QString& fallback);

// Writes the letter's HTML into a new file "<folder>/<base>.<ext>" (or
// "<base> (2).<ext>", ...) and answers its full path. Throws vb::Error 75
// when no file can be written; a file begun is removed.
QString writeLetter(const QString& html, const QString& title, const QString& folder, const QString& base,
                    DocumentFormat format);

} // namespace adminfiscr
