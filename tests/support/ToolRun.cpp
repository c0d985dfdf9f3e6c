#include "tests/support/ToolRun.h"

#include <QCoreApplication>
#include <QProcess>

namespace testsupport {

ToolRun runTool(const QString& program, const QStringList& arguments, int timeoutMs, const QByteArray& input)
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + u'/' + program, arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(timeoutMs);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace testsupport
