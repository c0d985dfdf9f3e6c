#include "host/HostWindow.h"

#include "component/ConnectionState.h"
#include "component/General.h"
#include "component/HostCallback.h"
#include "data/modData.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const char16_t selectContacts[] =
    u"SELECT contacto_id, genero_id, nome_union, no_contribuinte, telefone, email, localidade "
    u"FROM vwContactos_Quarvenses_Completos WHERE nome_union LIKE %1 ORDER BY nome_union";

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

HostWindow::HostWindow(General& component, QWidget* parent) : QMainWindow(parent), component_(component)
{
    setObjectName(QStringLiteral("HostWindow"));
    setWindowTitle(QStringLiteral("Contactos Quarvenses"));
    caller_ = std::make_shared<HostCaller>(this);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    search_ = new QLineEdit(central);
    search_->setObjectName(QStringLiteral("txtPesquisa"));
    search_->setPlaceholderText(QStringLiteral("Pesquisar por nome…"));
    search_->setClearButtonEnabled(true);
    layout->addWidget(search_);
    view_ = new QTreeWidget(central);
    view_->setObjectName(QStringLiteral("lstContactos"));
    view_->setRootIsDecorated(false);
    view_->setAlternatingRowColors(true);
    view_->setUniformRowHeights(true);
    layout->addWidget(view_);
    setCentralWidget(central);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("lblContagem"));
    statusBar()->addWidget(count_, 1);

    QToolBar* tools = addToolBar(QStringLiteral("Contactos"));
    tools->setObjectName(QStringLiteral("tbContactos"));
    tools->setMovable(false);
    QAction* open = tools->addAction(QStringLiteral("&Abrir"));
    open->setObjectName(QStringLiteral("actAbrir"));
    QAction* create = tools->addAction(QStringLiteral("&Novo"));
    create->setObjectName(QStringLiteral("actNovo"));
    QAction* reload = tools->addAction(QStringLiteral("A&ctualizar"));
    reload->setObjectName(QStringLiteral("actActualizar"));
    connect(open, &QAction::triggered, this, [this] { openContact(); });
    connect(create, &QAction::triggered, this, &HostWindow::newContact);
    connect(reload, &QAction::triggered, this, &HostWindow::refreshList);
    connect(search_, &QLineEdit::textChanged, this, &HostWindow::refreshList);
    connect(view_, &QTreeWidget::itemActivated, this, [this] { openContact(); });
    connect(&lista_, &Lista::Listed, count_, &QLabel::setText);
    connect(&lista_, &Lista::Erro, this, [this] {
        if (lista_.ErrorNumber != vb::errnum::AdoNoCurrentRecord)
            count_->setText(QStringLiteral("Não foi possível listar os contactos: ") +
                            lista_.ErrorDescription);
    });

    lista_.List = view_;
    lista_.Key_Field = QStringLiteral("contacto_id");
    lista_.IList = {badge(QColor(0x2f, 0x5d, 0x9e), QStringLiteral("P")),
                    badge(QColor(0x2e, 0x8b, 0x3e), QStringLiteral("I"))};
    buildHeaders();
    resize(980, 620);
}

HostWindow::~HostWindow() = default;

void HostWindow::buildHeaders()
{
    lista_.ClearHeaders();
    lista_.AddHeader(QStringLiteral("nome_union"), QStringLiteral("Nome"), 4800);
    lista_.AddHeader(QStringLiteral("no_contribuinte"), QStringLiteral("NIF"), 1700);
    lista_.AddHeader(QStringLiteral("telefone"), QStringLiteral("Telefone"), 1800);
    lista_.AddHeader(QStringLiteral("email"), QStringLiteral("Correio electrónico"), 3600);
    lista_.AddHeader(QStringLiteral("localidade"), QStringLiteral("Localidade"), 1800);
    lista_.ClearConditions();
    lista_.AddCondition(QStringLiteral("genero_id"), vb::Variant(1), 1);
    lista_.AddCondition(QStringLiteral("genero_id"), vb::Variant(2), 2);
}

void HostWindow::refreshList()
{
    ado::Recordset rs;
    try {
        rs.Open(sql::compose(selectContacts, {modData::FormatSQLValue(search_->text(), modData::kPattern)}),
                Data().SqlServer);
    } catch (const vb::Error& e) {
        count_->setText(QStringLiteral("Não foi possível listar os contactos: ") + e.description());
        return;
    }
    lista_.Fill(rs);
    if (view_->topLevelItemCount() > 0 && !view_->currentItem())
        view_->setCurrentItem(view_->topLevelItem(0));
}

void HostWindow::openContact(qint32 contactoId)
{
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
