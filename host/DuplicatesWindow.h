#pragma once
// "Possíveis duplicados": the groups of contacts that are probably one, a
// group a line with its contacts under it. A contact opens on the card with
// its group as the card's list (next and previous go between the two); two
// contacts a user says are not one ("Não são o mesmo") are not shown together
// again; two contacts of a group are merged into one ("Fundir…"), and the
// last merge undone ("Desfazer fusão…"). Not modal: the user works on the card beside it and reads the
// groups again with "Actualizar".
#include "duplicates/DuplicateFinder.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class DuplicatesWindow : public QDialog {
    Q_OBJECT

  public:
    explicit DuplicatesWindow(const QString& user, QWidget* parent = nullptr);

    // Reads the catalog and fills the window; false (the user told) when
    // the catalog could not be read.
    bool refill();
    QTreeWidget& tree() const { return *tree_; }
    QString summary() const;
    // Whether the record card shows a contact (a merge then waits until it is closed).
    void setOpenOnCard(std::function<bool(qint32)> openOnCard) { openOnCard_ = std::move(openOnCard); }

  signals:
    // The contact to open, and its group in the order shown.
    void openRequested(qint32 contactoId, const QList<qint32>& group);
    // Contacts were merged or a merge undone: lists read before are stale.
    void contactsChanged();

  private:
    void fill(const QList<duplicates::Group>& groups);
    void openCurrent();
    void dismissSelected();
    void mergeSelected();
    void undoLastMerge();
    void updateButtons();
    QList<QTreeWidgetItem*> selectedContacts() const;

    duplicates::DuplicateFinder finder_;
    QTreeWidget* tree_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* dismiss_ = nullptr;
    QPushButton* merge_ = nullptr;
    QString user_;
    std::function<bool(qint32)> openOnCard_;
};
