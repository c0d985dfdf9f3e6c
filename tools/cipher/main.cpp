// quarvenses-cipher: enciphers a text with the family's string cipher, so an
// administrator can write a stored password ("dtPassword"); -d deciphers.
#include "connection/StringCipher.h"
#include "platform/values/VbError.h"
#include "tools/common/ProgramInfo.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace {

const QString usageText = QStringLiteral("Utilização: quarvenses-cipher <texto>      (cifra)\n"
                                         "            quarvenses-cipher -d <cifrado> (decifra)\n");

int usage(QTextStream& err)
{
    err << usageText;
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (toolsupport::answeredHelpOrVersion(argc, argv, "quarvenses-cipher",
                                           "cifra e decifra textos com a cifra da família", usageText))
        return 0;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = app.arguments().mid(1);
    const bool decipher = !args.isEmpty() && args.first() == QLatin1String("-d");
    const QStringList texts = decipher ? args.mid(1) : args;
    if (texts.size() != 1)
        return usage(err);
    try {
        out << (decipher ? StringCipher::Decipher(texts.first()) : StringCipher::Encipher(texts.first()))
            << '\n';
        return 0;
    } catch (const vb::Error& e) {
        err << e.description() << '\n';
        return 1;
    }
}
