#pragma once
// "Fundir contactos": the two contacts side by side, field by field where
// they differ, the user choosing which value stays (the newer non-empty one
// proposed) and which contact is kept. Modal: it decides what the kept
// contact holds. Accepted, the merge is done.
#include "duplicates/ContactMerge.h"

#include <QDialog>

class QRadioButton;
class QTableWidget;

class MergeDialog : public QDialog {
    Q_OBJECT

  public:
    MergeDialog(const QString& user, qint32 first, qint32 second, const QString& firstName,
                const QString& secondName, QWidget* parent = nullptr);

    // Reads the differences for the contact chosen to be kept; false (said)
    // when they could not be read.
    bool load();
    QTableWidget& table() const { return *table_; }
    QRadioButton& keepFirst() const { return *keepFirst_; }
    QRadioButton& keepSecond() const { return *keepSecond_; }
    // The merge of the last accepted dialog (0: none).
    qint32 mergeId() const { return mergeId_; }
    qint32 kept() const;
    qint32 other() const;

  private:
    void mergeNow();
    void chooseCell(int row, int column);

    duplicates::ContactMerge merge_;
    qint32 first_;
    qint32 second_;
    QList<duplicates::FieldChoice> choices_;
    QTableWidget* table_ = nullptr;
    QRadioButton* keepFirst_ = nullptr;
    QRadioButton* keepSecond_ = nullptr;
    qint32 mergeId_ = 0;
};
