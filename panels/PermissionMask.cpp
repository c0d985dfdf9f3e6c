#include "panels/PermissionMask.h"

#include <algorithm>

namespace {

bool splitByDollar(const QString& mask, QList<MaskEntry>& out)
{
    if (!mask.startsWith(u'$'))
        return false;
    QList<MaskEntry> entries;
    qsizetype start = 0;
    while (start < mask.size()) {
        qsizetype next = mask.indexOf(u'$', start + 1);
        if (next < 0)
            next = mask.size();
        const QString piece = mask.mid(start, next - start);
        if (piece.size() < 5)
            return false;
        entries.append({piece.left(piece.size() - 4), piece.right(4)});
        start = next;
    }
    out = entries;
    return true;
}

bool splitByKnownCodes(const QString& mask, QStringList codes, QList<MaskEntry>& out)
{
    std::sort(codes.begin(), codes.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    QList<MaskEntry> entries;
    qsizetype pos = 0;
    while (pos < mask.size()) {
        bool matched = false;
        for (const QString& code : codes) {
            if (!code.isEmpty() && mask.mid(pos, code.size()) == code &&
                pos + code.size() + 4 <= mask.size()) {
                entries.append({code, mask.mid(pos + code.size(), 4)});
                pos += code.size() + 4;
                matched = true;
                break;
            }
        }
        if (!matched)
            return false;
    }
    out = entries;
    return true;
}

} // namespace

QList<MaskEntry> parseMask(const QString& mask, const QStringList& knownCodes)
{
    QList<MaskEntry> entries;
    if (mask.isEmpty())
        return entries;
    if (splitByDollar(mask, entries) || splitByKnownCodes(mask, knownCodes, entries))
        return entries;
    if (mask.size() > 4)
        return {{mask.left(mask.size() - 4), mask.right(4)}};
    return {{mask, QString()}};
}

QString joinMask(const QList<MaskEntry>& entries)
{
    QString mask;
    for (const MaskEntry& e : entries)
        mask += e.code + e.digits;
    return mask;
}
