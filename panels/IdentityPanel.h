#pragma once
// What every identity panel of the record card has: the properties the card
// sets, the load and new-record operations, and the change and error
// signals. A panel reads and writes its own tables through the connection it
// was given (or the shared one), after the connection check, with values
// written through FormatSQLValue; it opens no transaction of its own, so its
// writes belong to the card's.
#include "platform/ado/Recordset.h"
#include "platform/values/Variant.h"
#include <QWidget>
#include <functional>

class GridTable;
class QBoxLayout;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class IdentityPanel : public QWidget {
    Q_OBJECT
  public:
    explicit IdentityPanel(const QString& name, QWidget* parent = nullptr);

    QString FontName;
    QString UserName;
    QString ProductName;
    QWidget* OwnerForm = nullptr;
    qint32 ContactNumber = 0;

    void setConnection(const ado::Connection& connection) { connection_ = connection; }
    const ado::Connection& connection() const { return connection_; }
    // The connection string the panel holds; empty until the card prepares it.
    QString connectionString() const;

    // Shows the contact. `connection` given replaces the panel's own.
    virtual void LoadContact(qint32& contactoId, bool readOnly = false,
                             const ado::Connection* connection = nullptr);
    // Empties the panel for a contact not stored yet.
    virtual void NewRecord();

    // Whether the panel holds what is stored for the contact shown: read
    // from the server, or empty for a contact not stored yet. A load that
    // did not happen (no connection, an error) leaves it Unread: emptied,
    // disabled and marked as such, and never to be written.
    enum class Holding { Unread, Stored, NewContact };
    Holding holding() const { return holding_; }
    bool holdsWhatIsStored() const { return holding_ != Holding::Unread; }
    // For panels the card fills itself, and for loads the card gives up
    // after the connection failed: the outcome of that load.
    void setRead(bool read);
    // The first of `panels` that does not hold what is stored, or none.
    static IdentityPanel* firstUnread(const QList<IdentityPanel*>& panels);
    // The mark an unread panel shows.
    static const QString unreadMark;
    // What is wrong with the typed values, naming the field and the fault,
    // or empty text when they can be stored; the field at fault gets the
    // focus. The card asks every panel it saves before it writes anything.
    virtual QString Validate();

    // The text cut to `width` UTF-16 units (as SQL Server counts NVARCHAR),
    // never in the middle of a character that takes two.
    static QString cutToWidth(const QString& text, int width);

    // Asked before a write the panel makes at once (a photo, a relation): the
    // card answers whether the user may change the contact, and tells the
    // user when not. Unset: allowed.
    std::function<bool()> MayWrite;

  signals:
    void Changed();
    void Error(int number, const QString& message);
    // Something the user should know that is no failure (text cut to fit).
    void Notice(const QString& text);

  protected:
    // Reads the contact's rows into the widgets; ContactNumber is set.
    virtual void load() = 0;
    virtual void clear() = 0;

    ado::Connection db() const;
    bool connectionReady() const;
    ado::Recordset query(const QString& sql) const;
    void execute(const QString& sql) const;
    // Runs `write` as one unit (a TransactionScope): all of it or nothing,
    // after MayWrite agreed. False when refused or failed (failures reported
    // under `procedure`).
    bool writeNow(const QString& procedure, const std::function<void()>& write);
    // The new row's identity after an INSERT.
    qint32 insertReturningId(const QString& insert) const;
    static QString literal(const vb::Variant& value, int kind);
    static QString text(const ado::Recordset& rs, const QString& field);
    void report(const QString& procedure, const vb::Error& e) const;
    // Widgets call this when the user edits; nothing fires while loading.
    void userChanged();
    bool isLoading() const { return loading_; }
    void resizeEvent(QResizeEvent* event) override;
    // A labelled line edit whose edits count as changes; `width` is its
    // column's width in the schema (0: no limit).
    QLineEdit* addField(QFormLayout* form, const QString& name, const QString& label, int width = 0);
    // A list of rows the user reads and picks from (not edited in place).
    // `caption` names it for screen readers.
    GridTable* addListTable(QBoxLayout* layout, const QString& name, const QString& caption,
                            const QStringList& headers);
    // A row of buttons, each given as its object name and caption.
    QList<QPushButton*> addButtonRow(QBoxLayout* layout, const QList<std::pair<QString, QString>>& buttons);
    // Keeps typed or pasted text within the column's width: what goes beyond
    // is cut at once and the card is told (Notice), never silently at save.
    void limitLength(QLineEdit* edit, int width, const QString& label);
    // The text of that notice.
    static QString cutNotice(const QString& label, int width);
    // A NUL character (pasted from elsewhere) is no text a server keeps: it
    // is taken out where it came in, and the card is told (Notice). True
    // when there was one.
    bool refuseNul(QString& text, const QString& label);
    static QString nulNotice(const QString& label);
    // The same watch on a multi-line text field.
    void watchForNul(QPlainTextEdit* edit, const QString& label);

    class LoadingScope {
      public:
        explicit LoadingScope(IdentityPanel& panel) : panel_(panel), was_(panel.loading_)
        {
            panel.loading_ = true;
        }
        ~LoadingScope() { panel_.loading_ = was_; }

      private:
        IdentityPanel& panel_;
        bool was_;
    };

  private:
    void showHolding();
    void placeUnreadMark();

    ado::Connection connection_ = ado::Connection::nothing();
    bool loading_ = false;
    Holding holding_ = Holding::NewContact;
    QLabel* unreadLabel_ = nullptr;
};
