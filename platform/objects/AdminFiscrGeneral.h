#pragma once
// The family's document generator, programmatic identifier
// "Admin_Fiscr.General": connected with the seven connection values and a
// flags word, it produces a personalised mailing (a document file) or a
// personalised e-mail for one contact from a view.
#include "platform/values/Variant.h"
#include <QString>
#include <QtGlobal>

namespace contracts {

class AdminFiscrGeneral : public vb::Object {
  public:
    static constexpr const char* ProgId = "Admin_Fiscr.General";

    virtual bool SQLConnect(QString& user, QString& password, QString& cnUser, QString& cnPassword,
                            QString& cnInitialCatalog, QString& cnDataSource, QString& cnDataSourceSecondary,
                            qint16 flags) = 0;
    // The full path of the document produced; empty when none was.
    virtual QString Mailing_Personalizado(qint32& contactoId, const QString& viewName) = 0;
    virtual QString Email_Personalizado(qint32& contactoId, const QString& viewName) = 0;
};

} // namespace contracts
