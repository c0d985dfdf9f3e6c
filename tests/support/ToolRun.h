#pragma once
// One of our command-line programs, built beside the test, run to its end.
#include <QString>
#include <QStringList>

namespace testsupport {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// `program`: its file name in the test's own folder; `input` goes to its standard input.
ToolRun runTool(const QString& program, const QStringList& arguments, int timeoutMs = 30000,
                const QByteArray& input = {});

} // namespace testsupport
