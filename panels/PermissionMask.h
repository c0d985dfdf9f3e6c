#pragma once
// A permission mask: a run of entries, each a user's or group's code followed
// by four rights digits (open, change, remove, change permissions).
#include <QList>
#include <QString>
#include <QStringList>

struct MaskEntry {
    QString code;
    QString digits; // four characters, each "0", "1" or "2" (anything else kept as it is)
};

// Splits a mask into entries. Codes beginning with "$" delimit themselves;
// other codes are recognised from `knownCodes`, longest first; what cannot
// be split is kept whole as one entry.
QList<MaskEntry> parseMask(const QString& mask, const QStringList& knownCodes = {});
QString joinMask(const QList<MaskEntry>& entries);
