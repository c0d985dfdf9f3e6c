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
            problems.append({c.owner, c.code,
                             QStringLiteral("tem ") + QString::number(c.code.size()) +
                                 QStringLiteral(" caracteres e os outros ") + QString::number(usual)});
        }
        // The checks take these as data, but another tool reading the masks
        // with LIKE would take them as wildcards.
        if (c.code.contains(u'%') || c.code.contains(u'_') || c.code.contains(u'[') || c.code.contains(u'\''))
            problems.append({c.owner, c.code,
                             QStringLiteral("tem caracteres especiais dos padrões LIKE (%, _, [ ou ')")});
    }
    for (const CodeOwner& a : codes)
        for (const CodeOwner& b : codes)
            if (&a != &b && !a.code.isEmpty() && a.code != b.code && b.code.startsWith(a.code))
                problems.append(
                    {a.owner, a.code, QStringLiteral("é o início do código %1 (%2)").arg(b.code, b.owner)});
    return problems;
}
