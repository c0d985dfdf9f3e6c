#pragma once
// A sibling product's contact component ("ROOT_Snvia.General" or
// "ROOT_Travix.General"): connected on a connection of its own by the
// component's rules, it shows a contact on a small read-only sheet.
#include "components/siblings/Credentials.h"
#include "platform/ado/Connection.h"
#include "platform/objects/SiblingContacts.h"

namespace siblings {

class SiblingContact : public contracts::SiblingContacts {
  public:
    // `product`: the name the sheet's caption and messages carry ("Snvia").
    explicit SiblingContact(QString product);

    bool SQLConnect(QString& user, QString& password, QString& cnUser, QString& cnPassword,
                    QString& cnInitialCatalog, QString& cnDataSource, QString& cnDataSourceSecondary,
                    qint16 flags) override;
    void Registo(std::shared_ptr<ado::Recordset>& tRs, qint32& id) override;

  private:
    void tell(const QString& text) const;
    void showSheet(qint32 id);

    QString product_;
    Credentials credentials_; // the flags go on to the record card's connection
    ado::Connection connection_;
};

} // namespace siblings
