#include "host/HostWindow.h"
#include "host/DuplicatesWindow.h"
#include "host/SyncDialog.h"
#include "platform/ado/SqlCompose.h"
#include "platform/windows/WidgetState.h"

#include "card/frmInicial.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "data/modData.h"
#include "permissions/modCheckPermissions.h"
#include "platform/values/Conversions.h"
#include "platform/values/Twips.h"

#include "card/ComponentFiles.h"
#include "platform/ado/Recordset.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr int individualKind = 1;
constexpr int institutionKind = 2;
const char16_t selectFiles[] = u"SELECT contacto_tipo_id, descrit FROM tbContactos_Tipos ORDER BY descrit";
// A contact the card closed on beyond the screens read is looked for this far.
constexpr int pagesToFindClosed = 50;

// The first widths of the list's columns (name, NIF, telephone, e-mail,
// locality), in twips.
const int columnWidths[] = {4800, 1700, 1800, 3600, 1800};

constexpr int defaultWidth = 980;
constexpr int defaultHeight = 620;
const QString geometryKey = QStringLiteral("janela/geometria");
const QString stateKey = QStringLiteral("janela/estado");
const QString columnsKey = QStringLiteral("lista/colunas");

QString defaultSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/janela.conf");
}

// The host object as the card sees it: it is told which contact the card
// closed on, and gives its window as the card's owner.
class HostCaller : public HostCallback {
  public:
    explicit HostCaller(HostWindow* window) : window_(window) {}
    void RemoteActivate(qint32& contactoId, qint32& currentIndex, qint32&, qint32&) override
    {
        if (window_)
            window_->cardClosedOn(contactoId, currentIndex);
    }
    void RemoteKey(qint32& contactoId) override
    {
        if (window_)
            window_->cardClosedOn(contactoId, 0);
    }
    vb::Variant hwnd() override { return window_ ? vb::Variant(double(window_->winId())) : vb::Variant(); }

  private:
    QPointer<HostWindow> window_;
};

QIcon badge(const QColor& colour, const QString& letter)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(1, 1, 14, 14);
    painter.setPen(Qt::white);
    QFont f = painter.font();
    f.setPixelSize(10);
    f.setBold(true);
    painter.setFont(f);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letter);
    return QIcon(p);
}

} // namespace

HostWindow::HostWindow(General& component, const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent), component_(component),
      settingsFile_(settingsFile.isEmpty() ? defaultSettingsFile() : settingsFile)
{
    setObjectName(QStringLiteral("HostWindow"));
    setWindowTitle(QStringLiteral("Contactos Quarvenses"));
    caller_ = std::make_shared<HostCaller>(this);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    search_ = new QLineEdit(central);
    search_->setObjectName(QStringLiteral("txtPesquisa"));
    search_->setPlaceholderText(
        QStringLiteral("Pesquisar por nome, NIF, telefone, e-mail ou localidade… (Ctrl+F)"));
    search_->setAccessibleName(QStringLiteral("Pesquisar por nome, NIF, telefone, e-mail ou localidade"));
    search_->setClearButtonEnabled(true);
    search_->installEventFilter(this);
    // The kind and the file narrow what the server reads, as the text does.
    kind_ = new QComboBox(central);
    kind_->setObjectName(QStringLiteral("cboTipo"));
    kind_->setAccessibleName(QStringLiteral("Tipo de contacto"));
    kind_->addItem(QStringLiteral("Todos os tipos"), 0);
    kind_->addItem(QStringLiteral("Particulares"), individualKind);
    kind_->addItem(QStringLiteral("Institucionais"), institutionKind);
    file_ = new QComboBox(central);
    file_->setObjectName(QStringLiteral("cboFicheiro"));
    file_->setAccessibleName(QStringLiteral("Ficheiro"));
    file_->addItem(QStringLiteral("Todos os ficheiros"), 0);
    fillFiles();
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(search_, 1);
    searchRow->addWidget(kind_);
    searchRow->addWidget(file_);
    layout->addLayout(searchRow);
    connect(kind_, &QComboBox::currentIndexChanged, this, &HostWindow::refreshList);
    connect(file_, &QComboBox::currentIndexChanged, this, &HostWindow::refreshList);
    model_ = new ContactListModel({badge(QColor(0x2f, 0x5d, 0x9e), QStringLiteral("P")),
                                   badge(QColor(0x2e, 0x8b, 0x3e), QStringLiteral("I"))},
                                  this);
    view_ = new QTreeView(central);
    view_->setObjectName(QStringLiteral("lstContactos"));
    view_->setAccessibleName(QStringLiteral("Contactos"));
    view_->setRootIsDecorated(false);
    view_->setAlternatingRowColors(true);
    view_->setUniformRowHeights(true);
    view_->setAllColumnsShowFocus(true);
    view_->setModel(model_);
    // The server sorts (in Portuguese order); a click on a column asks it to.
    view_->header()->setSectionsClickable(true);
    view_->header()->setSortIndicatorShown(true);
    view_->header()->setSortIndicator(0, Qt::AscendingOrder);
    connect(view_->header(), &QHeaderView::sortIndicatorChanged, this, &HostWindow::refreshList);
    // Several contacts may be chosen for an export; vCard files may be dropped here.
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setAcceptDrops(true);
    view_->viewport()->setAcceptDrops(true);
    view_->viewport()->installEventFilter(this);
    layout->addWidget(view_);
    setCentralWidget(central);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("lblContagem"));
    statusBar()->addWidget(count_, 1);
    signedIn_ = new QLabel(signedInText(), this);
    signedIn_->setObjectName(QStringLiteral("lblUtilizador"));
    statusBar()->addPermanentWidget(signedIn_);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &HostWindow::showListMenu);

    searchPause_ = new QTimer(this);
    searchPause_->setSingleShot(true);
    searchPause_->setInterval(searchPauseMs);
    connect(searchPause_, &QTimer::timeout, this, &HostWindow::searchList);
    connect(search_, &QLineEdit::textChanged, searchPause_, qOverload<>(&QTimer::start));
    connect(search_, &QLineEdit::returnPressed, this, [this] {
        searchList(); // what was typed, at once
        openContact();
    });
    connect(view_, &QTreeView::activated, this, [this] { openContact(); });
    connect(model_, &ContactListModel::counted, count_, &QLabel::setText);
    connect(model_, &ContactListModel::failed, count_, &QLabel::setText);
    buildCommands();
    buildHeaders();
    resize(defaultWidth, defaultHeight);
    restoreLayout();
    platform::widgetstate::keepOnScreen(this);
}

// Menus and toolbar share the actions; shortcuts as on any desktop.
void HostWindow::buildCommands()
{
    QMenu* contactos = menuBar()->addMenu(QStringLiteral("&Contactos"));
    QToolBar* tools = addToolBar(QStringLiteral("Contactos"));
    tools->setObjectName(QStringLiteral("tbContactos"));
    tools->setMovable(false);
    const auto command = [&](const char* name, const char* text, const QList<QKeySequence>& keys,
                             bool onToolbar) {
        QAction* a = contactos->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        if (onToolbar)
            tools->addAction(a);
        return a;
    };
    QAction* open = command("actAbrir", "&Abrir", {QKeySequence(Qt::CTRL | Qt::Key_O)}, true);
    QAction* create = command("actNovo", "&Novo…", {QKeySequence(Qt::CTRL | Qt::Key_N)}, true);
    QAction* reload = command("actActualizar", "A&ctualizar", {QKeySequence(Qt::Key_F5)}, true);
    QAction* find = command("actPesquisar", "&Pesquisar", {QKeySequence(Qt::CTRL | Qt::Key_F)}, false);
    contactos->addSeparator();
    QAction* importCards =
        command("actImportarVCard", "&Importar vCard…", {QKeySequence(Qt::CTRL | Qt::Key_I)}, false);
    QAction* exportSelected = command("actExportarVCard", "&Exportar vCard dos seleccionados…",
                                      {QKeySequence(Qt::CTRL | Qt::Key_E)}, false);
    QAction* exportAll = command("actExportarListaVCard", "Exportar vCard de &toda a lista…", {}, false);
    QAction* duplicates = command("actDuplicados", "Possí&veis duplicados…", {}, false);
    QAction* synchronise = command("actSincronizar", "Sincroni&zar contactos…", {}, false);
    contactos->addSeparator();
    QAction* printAll =
        command("actImprimirLista", "Im&primir lista…", {QKeySequence(Qt::CTRL | Qt::Key_P)}, false);
    QAction* csv = command("actExportarCsv", "Exportar lista em &CSV…", {}, false);
    QAction* pdf = command("actExportarPdf", "Exportar lista em P&DF…", {}, false);
    contactos->addSeparator();
    QAction* quit = command("actSair", "&Sair", {QKeySequence(Qt::CTRL | Qt::Key_Q)}, false);
    QMenu* ajuda = menuBar()->addMenu(QStringLiteral("A&juda"));
    QAction* manual = ajuda->addAction(QStringLiteral("&Manual de utilização"));
    manual->setObjectName(QStringLiteral("actManual"));
    manual->setShortcut(QKeySequence(Qt::Key_F1));
    QAction* about = ajuda->addAction(QStringLiteral("&Acerca de Contactos Quarvenses"));
    about->setObjectName(QStringLiteral("actAcercaDe"));
    connect(about, &QAction::triggered, this, &HostWindow::showAbout);
    connect(printAll, &QAction::triggered, this, &HostWindow::printList);
    connect(csv, &QAction::triggered, this, &HostWindow::exportListCsv);
    connect(pdf, &QAction::triggered, this, &HostWindow::exportListPdf);
    connect(open, &QAction::triggered, this, [this] { openContact(); });
    connect(create, &QAction::triggered, this, &HostWindow::newContact);
    connect(duplicates, &QAction::triggered, this, &HostWindow::showDuplicates);
    connect(synchronise, &QAction::triggered, this, &HostWindow::synchronise);
    connect(reload, &QAction::triggered, this, &HostWindow::refreshList);
    connect(find, &QAction::triggered, this, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });
    connect(importCards, &QAction::triggered, this, &HostWindow::chooseAndImport);
    connect(exportSelected, &QAction::triggered, this, [this] { exportContacts(true); });
    connect(exportAll, &QAction::triggered, this, [this] { exportContacts(false); });
    connect(quit, &QAction::triggered, this, &QWidget::close);
    connect(manual, &QAction::triggered, this, [this] {
        platform::WindowServices::current().openDocument(this, card::manualPath(),
                                                         QStringLiteral("Manual de utilização"));
    });
}

// Down from the search box goes to the list, as in a desktop's file chooser;
// Esc empties it.
bool HostWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (view_ && watched == view_->viewport() && listDropEvent(event))
        return true;
    if (watched == search_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        if (searchPause_->isActive())
            searchList(); // what was typed, without waiting
        view_->setFocus(Qt::TabFocusReason);
        return true;
    }
    // Esc empties the search, and the whole list shows again at once.
    if (watched == search_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !search_->text().isEmpty()) {
        search_->clear();
        searchList();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// A card with unsaved changes asks first; Cancel keeps both windows open.
void HostWindow::closeEvent(QCloseEvent* event)
{
    if (!component_.cardMayLeave()) {
        event->ignore();
        return;
    }
    if (frmInicial* card = component_.card(); card && card->isVisible())
        card->close();
    saveLayout();
    event->accept();
}

void HostWindow::restoreLayout()
{
    QSettings stored(settingsFile_, QSettings::IniFormat);
    restoreGeometry(stored.value(geometryKey).toByteArray());
    restoreState(stored.value(stateKey).toByteArray());
    // Applied when the list first has its columns.
    restoredColumns_ = stored.value(columnsKey).toByteArray();
}

void HostWindow::saveLayout() const
{
    QSettings stored(settingsFile_, QSettings::IniFormat);
    stored.setValue(geometryKey, saveGeometry());
    stored.setValue(stateKey, saveState());
    stored.setValue(columnsKey, restoredColumns_.isEmpty() ? view_->header()->saveState() : restoredColumns_);
}

HostWindow::~HostWindow() = default;

// The columns' first widths; the user's, once kept, win.
void HostWindow::buildHeaders()
{
    for (int c = 0; c < int(std::size(columnWidths)); ++c)
        view_->header()->resizeSection(c, vb::twipsToPixels(columnWidths[c]));
}

void HostWindow::refreshList()
{
    searchPause_->stop();
    // The first listing takes the layout kept from the last run, its sort
    // included; a new list keeps the user's widths by itself.
    if (!restoredColumns_.isEmpty()) {
        const QSignalBlocker quiet(view_->header());
        view_->header()->restoreState(std::exchange(restoredColumns_, QByteArray()));
    }
    if (!model_->list(listSettings()))
        return;
    if (model_->rowCount() > 0)
        setCurrentRow(0);
}

// What the list is asked for: the typed text, the kind and file chosen, the
// sorted column, and the rows the user may open.
ContactListQuery::Settings HostWindow::listSettings() const
{
    const QHeaderView* header = view_->header();
    ContactListQuery::Settings settings;
    settings.typed = search_->text();
    settings.openable = modCheckPermissions::OpenCondition(Conn().strUser);
    settings.kind = kind_->currentData().toInt();
    settings.file = file_->currentData().toInt();
    settings.sortColumn = header->sortIndicatorSection(); // the query keeps it within its columns
    settings.ascending = header->sortIndicatorOrder() == Qt::AscendingOrder;
    return settings;
}

// The files a contact may be in, to narrow the list to one.
void HostWindow::fillFiles()
{
    try {
        ado::Recordset rs;
        for (rs.Open(QString::fromUtf16(selectFiles), Data().SqlServer); !rs.Eof(); rs.MoveNext())
            file_->addItem(vb::CStr(rs(QStringLiteral("descrit"))),
                           vb::CLng(rs(QStringLiteral("contacto_tipo_id"))));
        rs.Close();
    } catch (const vb::Error&) {
        // Without the files the list is simply not narrowed by one.
    }
}

void HostWindow::searchList()
{
    refreshList();
}

void HostWindow::setCurrentRow(int row)
{
    view_->setCurrentIndex(model_->index(row, 0));
}

int HostWindow::currentRow() const
{
    const QModelIndex current = view_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void HostWindow::selectRows(const QList<int>& rows)
{
    view_->clearSelection();
    for (const int row : rows)
        view_->selectionModel()->select(model_->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void HostWindow::openContact(qint32 contactoId)
{
    // A window that decides what the card holds (the kind of a new
    // contact, a relation) is answered first: a row activated meanwhile
    // would put an existing contact under it.
    if (QApplication::activeModalWidget())
        return;
    const int row = contactoId != 0 ? model_->rowOf(contactoId) : currentRow();
    if (row < 0)
        return;
    const qint32 id = model_->keyAt(row);
    ado::Recordset rs = model_->recordset(row);
    component_.ObjectOpen(rs, vb::Variant(id), QStringLiteral("tbContactos"), {}, caller_, row + 1, 0, 0);
}

namespace {
const char16_t selectAmong[] = u"SELECT contacto_id, nome_union FROM tbContactos WHERE contacto_id IN (%1) "
                               u"ORDER BY nome_union, contacto_id";
} // namespace

void HostWindow::openContactAmong(qint32 contactoId, const QList<qint32>& list)
{
    if (QApplication::activeModalWidget() || list.isEmpty())
        return;
    QStringList numbers;
    for (const qint32 id : list)
        numbers << QString::number(id);
    try {
        ado::Recordset rs;
        rs.Open(sql::compose(selectAmong, {numbers.join(u',')}), Data().SqlServer);
        int position = 0;
        for (int row = 1; !rs.Eof(); rs.MoveNext(), ++row)
            if (vb::CLng(rs(QStringLiteral("contacto_id"))) == contactoId)
                position = row;
        if (position == 0) {
            platform::WindowServices::current().messageBox(
                QStringLiteral("O contacto n.º ") + QString::number(contactoId) +
                    QStringLiteral(" já não existe ou já não o pode abrir."),
                platform::msgbox::Exclamation, QStringLiteral("Contactos Quarvenses"));
            return;
        }
        rs.setAbsolutePosition(position);
        component_.ObjectOpen(rs, vb::Variant(contactoId), QStringLiteral("tbContactos"), {}, caller_,
                              position, 0, 0);
    } catch (const vb::Error& e) {
        platform::WindowServices::current().messageBox(
            QStringLiteral("Não foi possível abrir o contacto n.º ") + QString::number(contactoId) +
                QStringLiteral(": ") + e.description(),
            platform::msgbox::Exclamation, QStringLiteral("Contactos Quarvenses"));
    }
}

DuplicatesWindow* HostWindow::duplicatesWindow() const
{
    return duplicates_.data();
}

void HostWindow::showDuplicates()
{
    if (!duplicates_) {
        duplicates_ = new DuplicatesWindow(Conn().strUser, this);
        duplicates_->setAttribute(Qt::WA_DeleteOnClose);
        connect(duplicates_, &DuplicatesWindow::openRequested, this, &HostWindow::openContactAmong);
        connect(duplicates_, &DuplicatesWindow::contactsChanged, this, &HostWindow::refreshList);
        duplicates_->setOpenOnCard([this](qint32 id) {
            const frmInicial* card = component_.card();
            return card && card->isVisible() && card->Contacto_ID == id;
        });
    }
    duplicates_->show();
    duplicates_->raise();
    duplicates_->activateWindow();
    duplicates_->refill();
}

void HostWindow::synchronise()
{
    SyncDialog dialog(Conn().strUser, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.synchroniseNow();
    refreshList();
}

void HostWindow::newContact()
{
    component_.ObjectNew(QStringLiteral("tbContactos"), vb::Variant(), 0, caller_);
}

// The card may have renamed, created or deleted contacts: the list is read
// again in its order, and the contact the card closed on stays selected.
void HostWindow::cardClosedOn(qint32 contactoId, qint32)
{
    lastClosed_ = contactoId;
    refreshList();
    selectContact(contactoId);
    activateWindow();
}

void HostWindow::selectContact(qint32 contactoId)
{
    const int row = model_->rowOf(contactoId, pagesToFindClosed);
    if (row < 0)
        return;
    setCurrentRow(row);
    view_->scrollTo(model_->index(row, 0));
}

QString HostWindow::statusText() const
{
    return count_->text();
}
