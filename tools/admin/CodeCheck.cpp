#include "tools/admin/CodeCheck.h"

#include <QHash>

QList<CodeProblem> checkCodes(const QList<CodeOwner>& codes)
{
    // The usual width is the one most codes have.
    QHash<qsizetype, int> widths;
    for (const CodeOwner& c : codes)
        ++widths[c.code.size()];
    qsizetype usual = 0;
    int most = 0;
    for (auto it = widths.cbegin(); it != widths.cend(); ++it)
        if (it.value() > most || (it.value() == most && it.key() > usual)) {
            usual = it.key();
            most = it.value();
        }
    QList<CodeProblem> problems;
    for (const CodeOwner& c : codes) {
        if (c.code.isEmpty()) {
            problems.append({c.owner, c.code, QStringLiteral("não tem código")});
        } else if (!c.code.startsWith(u'$')) {
            problems.append({c.owner, c.code, QStringLiteral("não começa por \"$\"")});
        } else if (c.code.size() != usual) {
            problems.append({c.owner, c.code, QStringLiteral("tem %1 caracteres e os outros %2").arg(c.code.size()).arg(usual)});
        } else {
            continue;
        }
    }
    for (const CodeOwner& a : codes)
        for (const CodeOwner& b : codes)
            if (&a != &b && !a.code.isEmpty() && a.code != b.code && b.code.startsWith(a.code))
                problems.append({a.owner, a.code, QStringLiteral("é o início do código %1 (%2)").arg(b.code, b.owner)});
    return problems;
}
