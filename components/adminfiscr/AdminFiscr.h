#pragma once
// The family's document generator, "Admin_Fiscr.General": connected on a
// connection of its own by the component's rules, it writes a personalised
// letter to one contact of a view, or composes a personalised e-mail to the
// contact's default address in the user's mail client. Failures are reported
// and answered with empty text; nothing is thrown.
#include "platform/ado/Connection.h"
#include "platform/objects/AdminFiscrGeneral.h"

namespace adminfiscr {

struct LetterData;

class AdminFiscr : public contracts::AdminFiscrGeneral {
  public:
    bool SQLConnect(QString& user, QString& password, QString& cnUser, QString& cnPassword,
                    QString& cnInitialCatalog, QString& cnDataSource, QString& cnDataSourceSecondary,
                    qint16 flags) override;
    QString Mailing_Personalizado(qint32& contactoId, const QString& viewName) override;
    QString Email_Personalizado(qint32& contactoId, const QString& viewName) override;

  private:
    LetterData letterData(qint32 contactoId, const QString& viewName);
    QString mailing(qint32 contactoId, const QString& viewName);
    QString email(qint32 contactoId, const QString& viewName);

    QString user_;
    ado::Connection connection_;
};

} // namespace adminfiscr
