#pragma once
// The card's lookup tables (titles, professions, nationalities, countries):
// a small modal editor of one table's words. The changes are written in one
// unit when the user saves; a word contacts still use cannot be deleted; a
// user without the right to create contacts may only look.
#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;

struct LookupTable {
    QString title;  // "Títulos"
    QString table;  // "tbTabelas_Titulos"
    QString key;    // "titulo_id"
    int width = 0;  // the word's column width
    QString usedIn; // where contacts hold the word: "tbContactos_Singulares"
    QString usedBy; // its column there: "titulo"
};

// The four tables of the card's Tabelas menu, in its order.
const QList<LookupTable>& lookupTables();

class LookupTableEditor : public QDialog {
    Q_OBJECT
  public:
    LookupTableEditor(const LookupTable& table, const QString& user, QWidget* parent = nullptr);

    // False, with the user told why, when the table could not be read.
    bool load();
    QListWidget* list() const { return list_; }
    // The buttons' actions, for the keyboard and the tests alike.
    void addWord();
    void deleteSelected();
    bool save();

  private:
    struct Word {
        qint32 id = 0; // 0: new
        QString stored;
    };
    void readWords();
    int uses(const QString& word) const;
    void refuse(const QString& text);
    QList<Word> words_; // as read, by row
    QList<Word> deleted_;
    LookupTable table_;
    bool mayChange_ = false;
    QListWidget* list_;
    QLabel* note_;
    QPushButton* add_;
    QPushButton* delete_;
    QPushButton* save_;
};
