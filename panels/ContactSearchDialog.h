#pragma once
// Finding a contact by name, among those the signed-in user may open, to
// relate it to the contact shown: a search box, the matching contacts, and
// the relation's description.
#include "platform/ado/Connection.h"

#include <QDialog>

class GridTable;
class QLineEdit;
class QTimer;

class ContactSearchDialog : public QDialog {
    Q_OBJECT
  public:
    ContactSearchDialog(const ado::Connection& connection, const QString& userName, qint32 excluded,
                        QWidget* parent = nullptr);

    // Lists the contacts whose name holds the words of `text`, best first.
    void search(const QString& text);
    int resultCount() const;
    void choose(int row);
    qint32 chosenContact() const;
    QString relation() const;

  private:
    ado::Connection connection_;
    QString userName_;
    qint32 excluded_;
    QLineEdit* search_;
    GridTable* results_;
    QLineEdit* relation_;
    QTimer* pause_;
};
