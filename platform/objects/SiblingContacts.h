#pragma once
// The sibling products' contact components, "ROOT_Snvia.General" and
// "ROOT_Travix.General": connected like this component's own General, they
// open their own record card on a contact. Nothing is read back.
#include "platform/values/Variant.h"
#include <QString>
#include <QtGlobal>
#include <memory>

namespace ado {
class Recordset;
}

namespace contracts {

class SiblingContacts : public vb::Object {
  public:
    static constexpr const char* SnviaProgId = "ROOT_Snvia.General";
    static constexpr const char* TravixProgId = "ROOT_Travix.General";

    virtual bool SQLConnect(QString& user, QString& password, QString& cnUser, QString& cnPassword,
                            QString& cnInitialCatalog, QString& cnDataSource, QString& cnDataSourceSecondary,
                            qint16 flags) = 0;
    // `tRs` is positioned on the contact; the component may replace it.
    virtual void Registo(std::shared_ptr<ado::Recordset>& tRs, qint32& id) = 0;
};

} // namespace contracts
