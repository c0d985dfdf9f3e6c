#include "platform/windows/WindowServices.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/QtWindowServices.h"
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>

namespace platform {

namespace {

QMutex currentGuard;

std::shared_ptr<WindowServices>& currentSlot()
{
    static std::shared_ptr<WindowServices> slot;
    return slot;
}

} // namespace

WindowServices& WindowServices::current()
{
    QMutexLocker lock(&currentGuard);
    auto& slot = currentSlot();
    if (!slot)
        slot = std::make_shared<QtWindowServices>();
    return *slot;
}

std::shared_ptr<WindowServices> WindowServices::install(std::shared_ptr<WindowServices> services)
{
    QMutexLocker lock(&currentGuard);
    auto previous = std::move(currentSlot());
    currentSlot() = std::move(services);
    return previous;
}

QString noMailClientMessage()
{
    return QStringLiteral("Não está configurado nenhum programa de correio electrónico.\n\n"
                          "Escolha no ambiente de trabalho o programa de correio predefinido "
                          "(para endereços \"mailto:\") e tente de novo.");
}

bool WindowServices::openDocument(QWidget* owner, const QString& file, const QString& title)
{
    if (shellExecute(owner, QStringLiteral("open"), file, QString()))
        return true;
    // An address (mailto:, tel:, https:) is named whole; a file by its name and folder.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const QString where = scheme.match(file).hasMatch()
                              ? file + QStringLiteral("».\n\nInstale")
                              : QFileInfo(file).fileName() + QStringLiteral("».\n\nO ficheiro está em ") +
                                    QFileInfo(file).absolutePath() + QStringLiteral("; instale");
    messageBox(QStringLiteral("Não há neste computador nenhum programa que abra «") + where +
                   QStringLiteral(" um programa para este tipo de endereço ou ficheiro e tente de novo."),
               msgbox::Exclamation, title);
    return false;
}

bool WindowServices::printDocument(QWidget* owner, const QString& title, const QString& pdf)
{
    QString failure;
    switch (printPdf(owner, title, pdf, failure)) {
    case PrintOutcome::Queued:
        return true;
    case PrintOutcome::Cancelled:
        return false;
    case PrintOutcome::NoPrinter:
        messageBox(QStringLiteral("Não há nenhuma impressora instalada neste computador.\n\n"
                                  "Instale uma impressora nas definições do sistema e tente de novo."),
                   msgbox::Exclamation, title);
        return false;
    case PrintOutcome::Failed:
        break;
    }
    messageBox(QStringLiteral("A impressão não foi feita: ") + failure, msgbox::Exclamation, title);
    return false;
}

bool WindowServices::sendMail(const MailMessage& message)
{
    if (!hasMailClient()) {
        messageBox(noMailClientMessage(), msgbox::Exclamation, QString());
        return false;
    }
    return launchMail(message);
}

} // namespace platform
