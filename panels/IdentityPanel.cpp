#include "panels/IdentityPanel.h"

#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "data/TransactionScope.h"
#include "data/modData.h"
#include "data/modSQLConnection.h"
#include "platform/values/Conversions.h"

#include "panels/GridTable.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

const QString IdentityPanel::unreadMark =
    QStringLiteral("Não foi possível ler estes dados do servidor: não podem ser alterados nem gravados.");

IdentityPanel::IdentityPanel(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
}

QString IdentityPanel::connectionString() const
{
    return connection_.isNothing() ? QString() : connection_.ConnectionString();
}

void IdentityPanel::LoadContact(qint32& contactoId, bool, const ado::Connection* connection)
{
    if (connection && !connection->isNothing())
        connection_ = *connection;
    ContactNumber = contactoId;
    LoadingScope loading(*this);
    bool read = false;
    try {
        clear();
        if (contactoId == 0) {
            holding_ = Holding::NewContact;
            showHolding();
            return;
        }
        if (connectionReady()) {
            load();
            read = true;
        }
    } catch (const vb::Error& e) {
        clear(); // half a list is no list: nothing of it may pass for the stored rows
        report(QStringLiteral("LoadContact"), e);
    }
    setRead(read);
}

void IdentityPanel::setRead(bool read)
{
    if (!read) {
        LoadingScope loading(*this);
        clear();
    }
    holding_ = read ? Holding::Stored : Holding::Unread;
    showHolding();
}

IdentityPanel* IdentityPanel::firstUnread(const QList<IdentityPanel*>& panels)
{
    for (IdentityPanel* p : panels)
        if (p && !p->holdsWhatIsStored())
            return p;
    return nullptr;
}

// An unread panel is greyed out with a line across its top that says why.
void IdentityPanel::showHolding()
{
    const bool unread = holding_ == Holding::Unread;
    if (unread && !unreadLabel_) {
        unreadLabel_ = new QLabel(unreadMark, this);
        unreadLabel_->setObjectName(QStringLiteral("lblNaoLido"));
        unreadLabel_->setWordWrap(true);
        unreadLabel_->setAutoFillBackground(true);
        unreadLabel_->setStyleSheet(
            QStringLiteral("QLabel { background: #fff4c2; color: #5a4500; border: 1px solid #d8b500; "
                           "padding: 3px; }"));
    }
    setEnabled(!unread);
    if (!unreadLabel_)
        return;
    unreadLabel_->setVisible(unread);
    if (unread) {
        placeUnreadMark();
        unreadLabel_->raise();
    }
}

// Across the panel's top; a panel too small for the whole sentence shows the
// short one, and the whole one on hover.
void IdentityPanel::placeUnreadMark()
{
    unreadLabel_->setText(unreadMark);
    unreadLabel_->setToolTip(unreadMark);
    if (unreadLabel_->heightForWidth(width()) > height())
        unreadLabel_->setText(QStringLiteral("Dados por ler do servidor"));
    unreadLabel_->setGeometry(0, 0, width(), qMin(height(), unreadLabel_->heightForWidth(width())));
}

void IdentityPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (unreadLabel_ && holding_ == Holding::Unread)
        placeUnreadMark();
}

QString IdentityPanel::Validate()
{
    return {};
}

void IdentityPanel::NewRecord()
{
    LoadingScope loading(*this);
    ContactNumber = 0;
    clear();
    holding_ = Holding::NewContact;
    showHolding();
}

ado::Connection IdentityPanel::db() const
{
    return connection_.isNothing() ? Data().SqlServer : connection_;
}

bool IdentityPanel::connectionReady() const
{
    ado::Connection c = db();
    bool earlyStop = false;
    bool reconnect = true;
    return modSQLConnection::CheckSQLConnection(nullptr, c, earlyStop, reconnect).isEmpty() &&
           c.State() == ado::adStateOpen;
}

ado::Recordset IdentityPanel::query(const QString& sql) const
{
    ado::Recordset rs;
    rs.Open(sql, db());
    return rs;
}

void IdentityPanel::execute(const QString& sql) const
{
    db().Execute(sql);
}

bool IdentityPanel::writeNow(const QString& procedure, const std::function<void()>& write)
{
    if (!holdsWhatIsStored() || (MayWrite && !MayWrite()))
        return false;
    TransactionScope unit;
    try {
        if (!connectionReady())
            return false;
        unit.begin();
        write();
        unit.commit();
        return true;
    } catch (const vb::Error& e) {
        unit.rollback();
        report(procedure, e);
        return false;
    }
}

qint32 IdentityPanel::insertReturningId(const QString& insert) const
{
    ado::Recordset rs = db().Execute(insert + QStringLiteral("; SELECT @@IDENTITY as last"));
    return vb::CLng(rs(QStringLiteral("last")));
}

QString IdentityPanel::literal(const vb::Variant& value, int kind)
{
    return modData::FormatSQLValue(value, kind);
}

QString IdentityPanel::text(const ado::Recordset& rs, const QString& field)
{
    const vb::Variant v = rs(field);
    return v.isNull() ? QString() : vb::CStr(v);
}

void IdentityPanel::report(const QString& procedure, const vb::Error& e) const
{
    ErrorReport::send(ErrorReport::Source(ErrorReport::Origin::Card, objectName()), procedure, e);
}

void IdentityPanel::userChanged()
{
    if (!loading_)
        emit Changed();
}

QLineEdit* IdentityPanel::addField(QFormLayout* form, const QString& name, const QString& label, int width)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    form->addRow(label, edit);
    edit->setAccessibleName(QString(label).remove(u'&').remove(u':').trimmed());
    connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& typed) {
        QString text = typed;
        if (refuseNul(text, edit->accessibleName()))
            edit->setText(text);
    });
    if (width > 0)
        limitLength(edit, width, edit->accessibleName());
    connect(edit, &QLineEdit::textEdited, this, &IdentityPanel::userChanged);
    return edit;
}

GridTable* IdentityPanel::addListTable(QBoxLayout* layout, const QString& name, const QString& caption,
                                       const QStringList& headers)
{
    auto* table = new GridTable(0, int(headers.size()), this);
    table->setObjectName(name);
    table->setAccessibleName(caption);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);
    return table;
}

QList<QPushButton*> IdentityPanel::addButtonRow(QBoxLayout* layout,
                                                const QList<std::pair<QString, QString>>& buttons)
{
    auto* row = new QHBoxLayout;
    QList<QPushButton*> made;
    for (const auto& [name, caption] : buttons) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        row->addWidget(b);
        made.append(b);
    }
    row->addStretch();
    layout->addLayout(row);
    return made;
}

void IdentityPanel::limitLength(QLineEdit* edit, int width, const QString& label)
{
    connect(edit, &QLineEdit::textEdited, this, [this, edit, width, label](const QString& typed) {
        if (typed.size() <= width)
            return;
        const QString cut = cutToWidth(typed, width);
        const int cursor = qMin(edit->cursorPosition(), int(cut.size()));
        edit->setText(cut);
        edit->setCursorPosition(cursor);
        emit Notice(cutNotice(label, width));
    });
}

QString IdentityPanel::cutToWidth(const QString& text, int width)
{
    if (text.size() <= width)
        return text;
    int end = width;
    if (end > 0 && text[end - 1].isHighSurrogate())
        --end;
    return text.left(end);
}

bool IdentityPanel::refuseNul(QString& text, const QString& label)
{
    if (!text.contains(QChar(u'\0')))
        return false;
    text.remove(QChar(u'\0'));
    emit Notice(nulNotice(label));
    return true;
}

QString IdentityPanel::nulNotice(const QString& label)
{
    return QStringLiteral("O campo «") + label +
           QStringLiteral("» não admite o carácter nulo (código 0): foi retirado do texto.");
}

void IdentityPanel::watchForNul(QPlainTextEdit* edit, const QString& label)
{
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, label] {
        QString text = edit->toPlainText();
        if (!text.contains(QChar(u'\0')))
            return;
        const QSignalBlocker quiet(edit);
        refuseNul(text, label);
        edit->setPlainText(text);
    });
}

QString IdentityPanel::cutNotice(const QString& label, int width)
{
    return QStringLiteral("O campo «") + label + QStringLiteral("» admite até ") + QString::number(width) +
           QStringLiteral(" caracteres: o texto foi cortado.");
}
