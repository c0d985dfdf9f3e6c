#include "documents/modComDlg.h"

#include "connection/ErrorReport.h"
#include "platform/values/Conversions.h"
#include "platform/windows/WindowServices.h"

#include <QFileInfo>

namespace modComDlg {

namespace {

const QChar nul(u'\0');
const QString allFiles = QStringLiteral("*.*");

MSA_OPENFILENAME& lastOptions()
{
    static MSA_OPENFILENAME options;
    return options;
}

void report(const char* procedure, const vb::Error& e)
{
    ErrorReport::send(ErrorReport::Origin::FileDialogs, QString::fromLatin1(procedure), e);
}

QString textOf(const vb::Variant& value)
{
    return value.isNull() || value.isEmpty() || value.isMissing() ? QString() : vb::CStr(value);
}

// The text up to its first NUL.
QString beforeNul(const QString& buffer)
{
    const qsizetype end = buffer.indexOf(nul);
    return end < 0 ? buffer : buffer.left(end);
}

// The NUL-separated list as the window services' filters: description,
// pattern, description, pattern…
std::vector<platform::FileFilter> filtersOf(const QString& list)
{
    std::vector<platform::FileFilter> filters;
    const QStringList parts = list.split(nul);
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            break; // the closing NUL
        filters.push_back({parts[i], parts[i + 1]});
    }
    return filters;
}

QString padded(const QString& text)
{
    return text.left(bufferMaximum) + QString(bufferSize - qMin<qsizetype>(text.size(), bufferMaximum), nul);
}

} // namespace

QString MSA_CreateFilterString(const QList<vb::Variant>& values)
{
    try {
        if (values.isEmpty())
            return {};
        QString list;
        bool hasAll = false;
        for (const vb::Variant& v : values) {
            const QString text = textOf(v);
            hasAll = hasAll || text == allFiles;
            list += text + nul;
        }
        if (values.size() % 2 != 0)
            list += allFiles + nul; // the last description's pattern
        if (!hasAll)
            list += allFiles + nul + allFiles + nul;
        return list + nul;
    } catch (const vb::Error& e) {
        report("MSA_CreateFilterString", e);
        return {};
    }
}

void MSAOF_to_OF(const MSA_OPENFILENAME& options, OPENFILENAME& dialog)
{
    try {
        dialog = OPENFILENAME{};
        dialog.lStructSize = structureSize;
        dialog.lpstrFilter = options.strFilter.isEmpty()
                                 ? MSA_CreateFilterString({vb::Variant(QStringLiteral("All Files"))})
                                 : options.strFilter;
        dialog.nFilterIndex = options.lngFilterIndex;
        dialog.lpstrFile = padded(options.strInitialFile);
        dialog.nMaxFile = bufferMaximum;
        dialog.lpstrFileTitle = QString(bufferSize, nul);
        dialog.nMaxFileTitle = bufferMaximum;
        dialog.lpstrInitialDir = options.strInitialDir;
        dialog.lpstrTitle = options.strDialogTitle;
        dialog.flags = options.lngFlags;
        dialog.lpstrDefExt = options.strDefaultExtension;
    } catch (const vb::Error& e) {
        report("MSAOF_to_OF", e);
    }
}

void OF_to_MSAOF(const OPENFILENAME& dialog, MSA_OPENFILENAME& options)
{
    try {
        options.strFullPathReturned = beforeNul(dialog.lpstrFile);
        options.strFileTitle = dialog.lpstrFileTitle;
        options.intFileOffset = dialog.nFileOffset;
        options.intFileExtension = dialog.nFileExtension;
    } catch (const vb::Error& e) {
        report("OF_to_MSAOF", e);
    }
}

qint16 MSA_GetSaveFileName(MSA_OPENFILENAME& options)
{
    try {
        OPENFILENAME dialog;
        MSAOF_to_OF(options, dialog);
        dialog.flags |= hideReadOnly;
        platform::SaveFileRequest request;
        request.title = dialog.lpstrTitle;
        request.initialFolder = dialog.lpstrInitialDir;
        request.filters = filtersOf(dialog.lpstrFilter);
        request.filterIndex = dialog.nFilterIndex;
        request.proposedName = beforeNul(dialog.lpstrFile);
        request.defaultExtension = dialog.lpstrDefExt;
        request.hideReadOnly = (dialog.flags & hideReadOnly) != 0;
        request.confirmOverwrite = (dialog.flags & overwritePrompt) != 0;
        const QString chosen = platform::WindowServices::current().saveFileName(request);
        if (chosen.isEmpty())
            return 0;
        const QFileInfo file(chosen);
        dialog.lpstrFile = padded(chosen);
        dialog.lpstrFileTitle = padded(file.fileName());
        dialog.nFileOffset = qint16(chosen.size() - file.fileName().size());
        const qsizetype dot = file.fileName().lastIndexOf(u'.');
        dialog.nFileExtension = dot < 0 ? 0 : qint16(dialog.nFileOffset + dot + 1);
        OF_to_MSAOF(dialog, options);
        return 1;
    } catch (const vb::Error& e) {
        report("MSA_GetSaveFileName", e);
        return 0;
    }
}

QString SaveFileName(const vb::Variant& InitialDir, const vb::Variant& Title,
                     const vb::Variant& FilterDescription, const vb::Variant& FilterPattern,
                     const QString& InitialFile)
{
    try {
        MSA_OPENFILENAME options;
        options.strDialogTitle = textOf(Title);
        options.strInitialDir = textOf(InitialDir);
        options.strFilter = MSA_CreateFilterString({FilterDescription, FilterPattern});
        if (!InitialFile.isEmpty())
            options.strInitialFile = InitialFile;
        MSA_GetSaveFileName(options);
        lastOptions() = options;
        return options.strFullPathReturned.trimmed();
    } catch (const vb::Error& e) {
        report("SaveFileName", e);
        return {};
    }
}

const MSA_OPENFILENAME& LastOptions()
{
    return lastOptions();
}

} // namespace modComDlg
