#pragma once
// A field that offers the words of its lookup table as the user types
// ("Dr." for "D"): read when the field first takes the cursor, and again
// after forget(), so that words added in the table's editor are offered.
#include "platform/ado/Connection.h"

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;
class QStringListModel;

class WordCompleter : public QObject {
    Q_OBJECT
  public:
    // `connection`: the panel's, asked for when the words are read.
    WordCompleter(QLineEdit* field, QString table, std::function<ado::Connection()> connection);
    void forget() { read_ = false; }
    QStringList words() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void readWords();
    QString table_;
    std::function<ado::Connection()> connection_;
    QStringListModel* model_;
    bool read_ = false;
};
