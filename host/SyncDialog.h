#pragma once
// "Sincronizar contactos": where the office's address book is (the server's
// address, the user and the password, remembered with the password
// enciphered), then the sync with a progress bar, a question for each
// contact changed on both sides, and a summary.
#include "documents/carddav/CardDavSync.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

class SyncDialog : public QDialog {
    Q_OBJECT
  public:
    SyncDialog(QString user, QWidget* parent = nullptr);

    // The form's values, kept for next time; then the sync and its summary.
    // True when something changed in the catalog (the list is to be read again).
    bool synchroniseNow();
    const carddav::SyncSummary& summary() const { return summary_; }

    // Each user of the contacts keeps a book and a password of their own,
    // even on a computer the office shares.
    static QString settingsKey(const QString& user);

  private:
    void loadSettings();
    void saveSettings();

    QString user_;
    QLineEdit* url_;
    QLineEdit* davUser_;
    QLineEdit* password_;
    QLineEdit* file_;
    QCheckBox* remember_;
    carddav::SyncSummary summary_;
};

// Asks, for each contact changed on both sides, which version stays.
class AskingChooser : public carddav::ConflictChooser {
  public:
    explicit AskingChooser(QWidget* window) : window_(window) {}
    carddav::Keep choose(const QString& contactName, qint32 contactId) override;

  private:
    QWidget* window_;
};
