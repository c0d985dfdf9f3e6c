#pragma once
// The contact's communications (date, means, subject, text, who), listing
// only those the signed-in user may open by the masks on each row.
#include "panels/IdentityPanel.h"

class QTableWidget;

class ucIDComm : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDComm(QWidget* parent = nullptr);

    // The list's sort column and order (0 ascending, 1 descending); the card sets both to 0.
    qint16 SortColumn = 0;
    qint16 SortOrder = 0;

    void LoadContact(qint32& contactoId, bool readOnly, const ado::Connection* connection,
                     const QString& userName);
    using IdentityPanel::LoadContact;

    int communicationCount() const;
    QStringList communication(int row) const; // date, means, subject, text, who

  protected:
    void load() override;
    void clear() override;

  private:
    QTableWidget* table_;
};
