#pragma once
// The contact's relations to other contacts (who, and which relation). A
// double-click asks the card to open the related contact.
#include "panels/IdentityPanel.h"
#include <functional>

class GridTable;

class ucIDRelacionados : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDRelacionados(QWidget* parent = nullptr);

    // The connection values a related product's component would need.
    QString cnUser, cnPassword, cnInitialCatalog, cnDataSource, cnDataSourceSecondary;
    // No relation can be added while the contact is not stored.
    bool ContactStored = false;

    void LoadContact(qint32& contactoId, bool readOnly, const ado::Connection* connection,
                     const QString& userName, const QString& password);
    using IdentityPanel::LoadContact;

    // Relates the contact to another one; false when refused.
    bool AddRelation(qint32 otherContact, const QString& relation);
    bool RemoveSelected();
    int relationCount() const;
    qint32 relatedId(int row) const;
    void openRow(int row); // what a double-click does

    // Asks for the other contact's number and the relation; tests answer themselves.
    std::function<bool(qint32& other, QString& relation)> askRelation;

  signals:
    void RequestOpen(qint32 contactoId);

  protected:
    void load() override;
    void clear() override;

  private:
    GridTable* table_;
};
