#include "tools/common/ConsoleWindowServices.h"

#include <QTextStream>

namespace {

// The answer a box gives when nobody is there to click: its default button.
int defaultAnswer(int style)
{
    const int buttons = style & 0x7;
    const int defaultButton = (style >> 8) & 0x3;
    switch (buttons) {
    case 1: // OK, Cancel
        return defaultButton == 1 ? 2 : 1;
    case 3: // Yes, No, Cancel
        return defaultButton == 2 ? 2 : defaultButton == 1 ? 7 : 6;
    case 4: // Yes, No
        return defaultButton == 1 ? 7 : 6;
    default:
        return 1;
    }
}

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

void ConsoleWindowServices::install()
{
    platform::WindowServices::install(std::make_shared<ConsoleWindowServices>());
}

int ConsoleWindowServices::messageBox(const QString& text, int style, const QString& title)
{
    QTextStream err(stderr);
    if (!title.isEmpty())
        err << title << ": ";
    err << oneLine(text) << '\n';
    return defaultAnswer(style);
}

void ConsoleWindowServices::showStatus(QWidget*, const QString& text, int)
{
    QTextStream(stderr) << oneLine(text) << '\n';
}
