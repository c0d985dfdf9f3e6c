#pragma once
// A sibling product's read-only contact sheet: the contact's identification,
// default address, telephones and e-mail addresses, and a button that opens
// the contact on this component's record card when the signed-in user may
// open it. Not modal; it deletes itself when closed (Escape closes it).
#include "components/siblings/ContactDetails.h"
#include "components/siblings/Credentials.h"
#include "platform/ado/Connection.h"

#include <QDialog>
#include <QPointer>

class QFormLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace siblings {

class CardLink;

class ContactSheet : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* ObjectName = "frmFichaContacto";

    ContactSheet(const QString& product, const ContactDetails& details, const Credentials& credentials,
                 const ado::Connection& connection);

    // "Snvia — Maria Silva"
    static QString caption(const QString& product, const QString& name);

  private:
    void addRow(QFormLayout* form, const QString& caption, const char* objectName, const QString& text);
    QPushButton* addButtons(QVBoxLayout* layout);
    void openOnCard();

    QString product_;
    qint32 id_ = 0;
    QPointer<CardLink> link_; // gone when the application quits
};

} // namespace siblings
