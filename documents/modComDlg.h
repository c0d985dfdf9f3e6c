#pragma once
// The save-as file dialog behind one call, SaveFileName: a title, an initial
// folder, one filter pair and a proposed name in, the chosen path out (empty
// when the user cancelled). The options record and the platform's dialog
// structure keep the fields, buffers and NUL-separated filter list the
// family's other programs expect; the dialog itself is the window services'.
#include "platform/values/Variant.h"

#include <QString>
#include <QtGlobal>

namespace modComDlg {

// The dialog's options, in their field order.
struct MSA_OPENFILENAME {
    QString strFilter;         // description and pattern texts, each followed by NUL, closed by one more NUL
    qint32 lngFilterIndex = 0; // filter selected at first
    QString strInitialDir;     // folder shown first
    QString strInitialFile;    // name proposed
    QString strDialogTitle;    // the dialog's caption
    QString strDefaultExtension; // added to a name typed without one
    qint32 lngFlags = 0;         // option flags
    QString strFullPathReturned; // the full path chosen
    QString strFileTitle;        // the file name part, as the dialog returns it (the whole buffer)
    qint16 intFileOffset = 0;    // where the file name starts in the path
    qint16 intFileExtension = 0; // where the extension starts in the path
};

// The platform's dialog structure.
struct OPENFILENAME {
    qint32 lStructSize = 0;
    QString lpstrFilter;
    QString lpstrCustomFilter;
    qint32 nMaxCustFilter = 0;
    qint32 nFilterIndex = 0;
    QString lpstrFile; // the proposed name, padded with NULs to the buffer's size
    qint32 nMaxFile = 0;
    QString lpstrFileTitle;
    qint32 nMaxFileTitle = 0;
    QString lpstrInitialDir;
    QString lpstrTitle;
    qint32 flags = 0;
    qint16 nFileOffset = 0;
    qint16 nFileExtension = 0;
    QString lpstrDefExt;
};

inline constexpr qint32 structureSize = 76;
inline constexpr int bufferSize = 512;
inline constexpr int bufferMaximum = 511;
inline constexpr qint32 overwritePrompt = 2; // the dialog asks before replacing a file
inline constexpr qint32 hideReadOnly = 4;    // the read-only box is not offered

QString SaveFileName(const vb::Variant& InitialDir, const vb::Variant& Title,
                     const vb::Variant& FilterDescription, const vb::Variant& FilterPattern,
                     const QString& InitialFile = {});
QString MSA_CreateFilterString(const QList<vb::Variant>& values);
// Non-zero when the user confirmed a name; the options then hold it.
qint16 MSA_GetSaveFileName(MSA_OPENFILENAME& options);
void MSAOF_to_OF(const MSA_OPENFILENAME& options, OPENFILENAME& dialog);
void OF_to_MSAOF(const OPENFILENAME& dialog, MSA_OPENFILENAME& options);
// The options of the last dialog shown.
const MSA_OPENFILENAME& LastOptions();

} // namespace modComDlg
