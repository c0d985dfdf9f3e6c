#pragma once
// The host's main window: the contacts of the file "Contactos Quarvenses"
// listed a screen at a time from the server, a search box, and the record
// card opened through General. It is the host object the card calls back
// when it closes.
#include "host/ContactListModel.h"
#include "host/ListDocument.h"
#include "platform/objects/HostCallback.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class General;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QTreeView;
class DuplicatesWindow;

class HostWindow : public QMainWindow {
    Q_OBJECT
  public:
    // `settingsFile`: where the window keeps its place, size, columns and
    // sort between runs (empty: the user's configuration folder).
    explicit HostWindow(General& component, const QString& settingsFile = {}, QWidget* parent = nullptr);
    ~HostWindow() override;

    // Lists the contacts the user may open that the search text names
    // (accents and letter case aside), of the kind and file chosen, in the
    // order of the sorted column: the first screen at once, more as the
    // list scrolls, the count on the status line.
    void refreshList();
    // What the search box holds, listed; typing waits for a pause first.
    void searchList();
    static constexpr int searchPauseMs = 250;
    // Opens the card on a contact of the list (or the selected one).
    void openContact(qint32 contactoId = 0);
    // A contact on the card with `list` (contacts in that order) as the
    // card's list, whatever the host lists.
    void openContactAmong(qint32 contactoId, const QList<qint32>& list);
    // "Possíveis duplicados", filled again when shown again.
    void showDuplicates();
    DuplicatesWindow* duplicatesWindow() const;
    // "Sincronizar contactos": the address book asked for, synced, the list read again.
    void synchronise();
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
    void fillListMenu(QMenu& menu, int row);
    void showAbout();
    static QString signedInText();

    // The card closed on this contact: select it and refresh its row.
    void cardClosedOn(qint32 contactoId, qint32 listIndex);
    void selectContact(qint32 contactoId);

    QTreeView* list() const { return view_; }
    ContactListModel& rows() const { return *model_; }
    // The list's rows chosen: the current one, several for an export.
    void setCurrentRow(int row);
    int currentRow() const;
    void selectRows(const QList<int>& rows);
    QLineEdit* searchBox() const { return search_; }
    QComboBox* kindFilter() const { return kind_; }
    QComboBox* fileFilter() const { return file_; }
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
    ContactListQuery::Settings listSettings() const;
    void fillFiles();
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
    std::shared_ptr<vb::Object> caller_;
    ContactListModel* model_ = nullptr;
    QTreeView* view_ = nullptr;
    QLineEdit* search_;
    QLabel* count_;
    QLabel* signedIn_ = nullptr;
    QComboBox* kind_ = nullptr;
    QComboBox* file_ = nullptr;
    qint32 lastClosed_ = 0;
    QPointer<DuplicatesWindow> duplicates_;
};
