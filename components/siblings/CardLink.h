#pragma once
// Opens a contact on this component's record card through a General of its
// own. The card belongs to that General, so the link outlives the sheet that
// made it while its card is shown: it deletes itself once the sheet is gone
// and the card is closed (or the application quits).
#include "component/General.h"
#include "components/siblings/Credentials.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"

#include <QObject>

namespace siblings {

class CardLink : public QObject {
    Q_OBJECT
  public:
    // `sheet` is watched, not owned by or owning the link.
    CardLink(const Credentials& credentials, const ado::Connection& connection, QObject* sheet);

    // Whether the signed-in user may open the contact on the card; false
    // when the component cannot be connected.
    bool mayOpen(qint32 id);
    // Shows the contact on the card; false when it is not shown.
    bool open(qint32 id);

  private:
    bool componentConnected();
    void sheetGone();
    void cardClosed();

    Credentials credentials_;
    ado::Connection connection_;
    ado::Recordset contact_; // the card's list: the one contact
    General general_;
    bool sheetAlive_ = true;
    bool cardShown_ = false;
};

} // namespace siblings
