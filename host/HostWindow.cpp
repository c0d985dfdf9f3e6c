#include "host/HostWindow.h"
#include "platform/windows/WidgetState.h"

#include "card/frmInicial.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "data/modData.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Session.h"
#include "platform/ado/SqlCompose.h"
#include "platform/objects/HostCallback.h"
#include "platform/values/Conversions.h"

#include "card/ComponentFiles.h"
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
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace {

// Accent-insensitive on both servers, in the search and in the order ("Évora"
// before "Viseu" in every column, computed ones included): SQL Server by the
// collation, the embedded one by its reading of it. Only the contacts the user may open, by
// the same masks as the card's check, decided by the server in this one
// statement (%4, the user's condition over the permission rows).
// The typed text is looked for in the name, the NIF, the e-mail and the
// locality (%1), and without its spaces in the telephone and the NIF without
// theirs (%6); %7 narrows to a kind or a file.
const char16_t selectContacts[] =
    u"SELECT contacto_id, genero_id, nome_union, no_contribuinte, telefone, email, localidade "
    u"FROM vwContactos_Quarvenses_Completos WHERE (nome_union COLLATE Latin1_General_CI_AI LIKE %1 "
    u"OR no_contribuinte COLLATE Latin1_General_CI_AI LIKE %1 OR email COLLATE Latin1_General_CI_AI LIKE %1 "
    u"OR localidade COLLATE Latin1_General_CI_AI LIKE %1 OR REPLACE(telefone, N' ', N'') LIKE %6 "
    u"OR REPLACE(no_contribuinte, N' ', N'') LIKE %6) "
    u"AND contacto_id IN (SELECT contacto_id FROM tbTulvas_Contactos_Permitions WHERE %4)%7 "
    u"ORDER BY %2 COLLATE Latin1_General_CI_AI %3, %5";
const char16_t ofKind[] = u" AND genero_id = %1";
constexpr int individualKind = 1;
constexpr int institutionKind = 2;
const char16_t inFile[] =
    u" AND contacto_id IN (SELECT contacto_id FROM tbContactos_Tipos_Links WHERE contacto_tipo_id = %1)";
const char16_t selectFiles[] = u"SELECT contacto_tipo_id, descrit FROM tbContactos_Tipos ORDER BY descrit";
// The columns the search looks in, as the snapshot finds them.
const QStringList searchedColumns{QStringLiteral("nome_union"), QStringLiteral("no_contribuinte"),
                                  QStringLiteral("email"), QStringLiteral("localidade")};
const QStringList numberColumns{QStringLiteral("telefone"), QStringLiteral("no_contribuinte")};
const char16_t ascending[] = u"ASC";
const char nameField[] = "nome_union";
const char16_t descending[] = u"DESC";

// The list's columns, in order: the field each shows and its caption and width (twips).
struct Column {
    const char* field;
    const char* caption;
    int width;
};
const Column columns[] = {{"nome_union", "Nome", 4800},
                          {"no_contribuinte", "NIF", 1700},
                          {"telefone", "Telefone", 1800},
                          {"email", "Correio electrónico", 3600},
                          {"localidade", "Localidade", 1800}};

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
    // The kind and the file narrow what the server reads; the text is
    // searched in what it read.
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
    view_ = new QTreeWidget(central);
    view_->setObjectName(QStringLiteral("lstContactos"));
    view_->setAccessibleName(QStringLiteral("Contactos"));
    view_->setRootIsDecorated(false);
    view_->setAlternatingRowColors(true);
    view_->setUniformRowHeights(true);
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
    connect(view_, &QTreeWidget::itemActivated, this, [this] { openContact(); });
    connect(&lista_, &Lista::Listed, count_, &QLabel::setText);
    connect(&lista_, &Lista::Erro, this, [this] {
        if (lista_.ErrorNumber != vb::errnum::AdoNoCurrentRecord)
            count_->setText(QStringLiteral("Não foi possível listar os contactos: ") +
                            lista_.ErrorDescription);
    });
    buildCommands();

    lista_.List = view_;
    lista_.Key_Field = QStringLiteral("contacto_id");
    lista_.IList = {badge(QColor(0x2f, 0x5d, 0x9e), QStringLiteral("P")),
                    badge(QColor(0x2e, 0x8b, 0x3e), QStringLiteral("I"))};
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

void HostWindow::buildHeaders()
{
    lista_.ClearHeaders();
    for (const Column& c : columns)
        lista_.AddHeader(QString::fromLatin1(c.field), QString::fromUtf8(c.caption), c.width);
    lista_.ClearConditions();
    lista_.AddCondition(QStringLiteral("genero_id"), vb::Variant(1), 1);
    lista_.AddCondition(QStringLiteral("genero_id"), vb::Variant(2), 2);
}

void HostWindow::refreshList()
{
    searchPause_->stop();
    if (readList(search_->text()))
        showSearch();
}

// Reads the contacts the typed text names (all of them for no text) in the
// order of the sorted column; false, and the reason on the status line, when
// the server could not be read.
bool HostWindow::readList(const QString& typed)
{
    const QHeaderView* header = view_->header();
    const int sorted = qBound(0, header->sortIndicatorSection(), int(std::size(columns)) - 1);
    ListQuery query;
    query.field = QString::fromLatin1(columns[sorted].field);
    query.order =
        QString::fromUtf16(header->sortIndicatorOrder() == Qt::AscendingOrder ? ascending : descending);
    // A user without a membership row may open nothing: the list stays empty.
    const QString openable = modCheckPermissions::OpenCondition(Conn().strUser);
    query.openable = openable.isEmpty() ? QStringLiteral("1 = 0") : openable;
    query.narrowed = narrowing();
    ado::BatchResult read;
    try {
        read = Data().SqlServer.run(statementFor(query, typed));
    } catch (const vb::Error& e) {
        count_->setText(QStringLiteral("Não foi possível listar os contactos: ") + e.description());
        return false;
    }
    query_ = query;
    snapshot_ =
        ListSnapshot(std::move(read.rows).value_or(ado::ResultSet{}), searchedColumns, numberColumns, typed);
    return true;
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

QString HostWindow::narrowing() const
{
    QString conditions;
    if (const int kind = kind_->currentData().toInt(); kind != 0)
        conditions += sql::compose(ofKind, {kind});
    if (const int file = file_->currentData().toInt(); file != 0)
        conditions += sql::compose(inFile, {file});
    return conditions;
}

QString HostWindow::statementFor(const ListQuery& query, const QString& typed)
{
    const QString pattern = modData::FormatSQLValue(typed, modData::kPattern);
    const QString phonePattern = modData::FormatSQLValue(QString(typed).remove(u' '), modData::kPattern);
    // Names alike are kept apart by name, or by number when sorted by name:
    // a column may be named only once in ORDER BY (the server refuses it twice).
    const QString tieBreak = query.field == QLatin1String(nameField) ? QStringLiteral("contacto_id")
                                                                     : QString::fromLatin1(nameField);
    return sql::compose(selectContacts, {pattern, query.field, query.order, query.openable, tieBreak,
                                         phonePattern, query.narrowed});
}

void HostWindow::searchList()
{
    searchPause_->stop();
    // A search wider than the last read (a letter taken away after the card
    // closed on a search) reads the whole list once; narrower ones need nothing.
    if (!snapshot_.covers(search_->text()) && !readList(QString()))
        return;
    showSearch();
}

void HostWindow::showSearch()
{
    // One reading of the typed text in memory and on the server; the
    // recordset the card moves through says which rows it holds.
    const QString typed = search_->text();
    const ado::Recordset rs =
        ado::Recordset::fromResult(Data().SqlServer, statementFor(query_, typed),
                                   snapshot_.matching(modData::SearchPattern(typed),
                                                      modData::SearchPattern(QString(typed).remove(u' '))));
    // The list is refilled with its headers: the user's widths and sort stay.
    // The first fill takes the layout kept from the last run.
    // The very first fill of a first run keeps the headers' own widths.
    const QByteArray layout = !restoredColumns_.isEmpty() ? std::exchange(restoredColumns_, QByteArray())
                              : listFilled_               ? view_->header()->saveState()
                                                          : QByteArray();
    lista_.Fill(rs);
    listFilled_ = true;
    const QSignalBlocker quiet(view_->header());
    if (!layout.isEmpty())
        view_->header()->restoreState(layout);
    if (view_->topLevelItemCount() > 0 && !view_->currentItem())
        view_->setCurrentItem(view_->topLevelItem(0));
}

void HostWindow::openContact(qint32 contactoId)
{
    // A window that decides what the card holds (the kind of a new
    // contact, a relation) is answered first: a row activated meanwhile
    // would put an existing contact under it.
    if (QApplication::activeModalWidget())
        return;
    QTreeWidgetItem* item =
        contactoId != 0 ? lista_.itemByKey(QString::number(contactoId) + u'#') : view_->currentItem();
    if (!item)
        return;
    const qint32 id = Lista::ConvertKey(Lista::keyOf(item)).toInt();
    const qint32 index = view_->indexOfTopLevelItem(item) + 1;
    ado::Recordset rs = lista_.Recordset;
    component_.ObjectOpen(rs, vb::Variant(id), QStringLiteral("tbContactos"), {}, caller_, index, 0, 0);
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
    if (QTreeWidgetItem* item = lista_.itemByKey(QString::number(contactoId) + u'#')) {
        view_->setCurrentItem(item);
        view_->scrollToItem(item);
    }
}

QString HostWindow::statusText() const
{
    return count_->text();
}
