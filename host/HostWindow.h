#pragma once
// The host's main window: the contacts of the file "Contactos Quarvenses"
// listed with Lista, a search box, and the record card opened through
// General. It is the host object the card calls back when it closes.
#include "host/ListDocument.h"
#include "host/ListSnapshot.h"
#include "lists/Lista.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class General;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeWidgetItem;
class QTimer;
class QTreeWidget;

class HostWindow : public QMainWindow {
    Q_OBJECT
  public:
    // `settingsFile`: where the window keeps its place, size, columns and
    // sort between runs (empty: the user's configuration folder).
    explicit HostWindow(General& component, const QString& settingsFile = {}, QWidget* parent = nullptr);
    ~HostWindow() override;

    // Reads the contacts the user may open whose name matches the search
    // text (accents and letter case aside) from the server, in the order of
    // the sorted column, and lists them.
    void refreshList();
    // Lists the contacts of the last read whose name matches the search text,
    // without asking the server; a search wider than that read reads the
    // whole list. Typing waits for a pause before it searches.
    void searchList();
    static constexpr int searchPauseMs = 250;
    // Opens the card on a contact of the list (or the selected one).
    void openContact(qint32 contactoId = 0);
    void newContact();

    // vCard files: imported from a dialog or a drop on the list (duplicates
    // skipped, then updated if the user says so; a summary at the end);
    // the selected contacts or the whole list exported.
    void chooseAndImport();
    void importFiles(const QStringList& files);
    void exportContacts(bool selectedOnly);

    // The list as the search shows it: printed, or to a CSV or PDF file.
    void printList();
    void exportListCsv();
    void exportListPdf();
    listout::Table listTable() const;
    // The context menu of the list, at a row or not.
    void fillListMenu(QMenu& menu, QTreeWidgetItem* item);
    void showAbout();
    static QString signedInText();

    // The card closed on this contact: select it and refresh its row.
    void cardClosedOn(qint32 contactoId, qint32 listIndex);
    void selectContact(qint32 contactoId);

    QTreeWidget* list() const { return view_; }
    QLineEdit* searchBox() const { return search_; }
    QComboBox* kindFilter() const { return kind_; }
    QComboBox* fileFilter() const { return file_; }
    Lista& filler() { return lista_; }
    QString statusText() const;
    qint32 lastClosedOn() const { return lastClosed_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildHeaders();
    void buildCommands();
    void restoreLayout();
    void saveLayout() const;
    QList<qint32> listedContacts(bool selectedOnly) const;
    // What the last read asked the server for, besides the name.
    struct ListQuery {
        QString field, order, openable, narrowed;
    };
    static QString statementFor(const ListQuery& query, const QString& typed);
    // The kind and file chosen above the list, as conditions of the read.
    QString narrowing() const;
    void fillFiles();
    bool readList(const QString& typed);
    void showSearch();
    bool listDropEvent(QEvent* event);
    bool listHasRows(const QString& title);
    void exportListAs(const QString& title, const QString& description, const QString& extension,
                      const std::function<bool(const QString&, QString&)>& write);
    void showListMenu(const QPoint& at);
    void deleteCurrent();
    General& component_;
    QString settingsFile_;
    QTimer* searchPause_;
    QByteArray restoredColumns_;
    bool listFilled_ = false;
    std::shared_ptr<vb::Object> caller_;
    Lista lista_;
    ListQuery query_;
    ListSnapshot snapshot_;
    QTreeWidget* view_ = nullptr;
    QLineEdit* search_;
    QLabel* count_;
    QLabel* signedIn_ = nullptr;
    QComboBox* kind_ = nullptr;
    QComboBox* file_ = nullptr;
    qint32 lastClosed_ = 0;
};
