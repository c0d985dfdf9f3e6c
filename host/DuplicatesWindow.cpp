#include "host/DuplicatesWindow.h"
#include "host/MergeDialog.h"

#include "platform/values/VbError.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString title = QStringLiteral("Possíveis duplicados");
constexpr int idRole = Qt::UserRole;
constexpr int defaultWidth = 860;
constexpr int defaultHeight = 520;
enum Column { ColName, ColNumber, ColNif, ColPhone, ColEmail };
// Room for a number, a NIF, a telephone and an address before any is read.
constexpr int columnWidths[] = {0, 60, 100, 120, 240};

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

// A wait cursor while the catalog is read.
class Waiting {
  public:
    Waiting() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Waiting() { QApplication::restoreOverrideCursor(); }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;
};

} // namespace

DuplicatesWindow::DuplicatesWindow(const QString& user, QWidget* parent)
    : QDialog(parent), finder_(user), user_(user)
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("frmDuplicados"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblResumo"));
    layout->addWidget(summary_);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("lstDuplicados"));
    tree_->setAccessibleName(title);
    tree_->setHeaderLabels({QStringLiteral("Nome"), QStringLiteral("N.º"), QStringLiteral("NIF"),
                            QStringLiteral("Telefone"), QStringLiteral("E-mail")});
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree_->setAllColumnsShowFocus(true);
    tree_->setUniformRowHeights(true);
    tree_->header()->setSectionResizeMode(ColName, QHeaderView::Stretch);
    tree_->header()->setStretchLastSection(false);
    layout->addWidget(tree_, 1);
    auto* buttons = new QDialogButtonBox(this);
    open_ = buttons->addButton(QStringLiteral("&Abrir"), QDialogButtonBox::ActionRole);
    open_->setObjectName(QStringLiteral("cmdAbrir"));
    dismiss_ = buttons->addButton(QStringLiteral("&Não são o mesmo"), QDialogButtonBox::ActionRole);
    dismiss_->setObjectName(QStringLiteral("cmdNaoSaoOMesmo"));
    merge_ = buttons->addButton(QStringLiteral("F&undir…"), QDialogButtonBox::ActionRole);
    merge_->setObjectName(QStringLiteral("cmdFundir"));
    QPushButton* undo = buttons->addButton(QStringLiteral("&Desfazer fusão…"), QDialogButtonBox::ActionRole);
    undo->setObjectName(QStringLiteral("cmdDesfazerFusao"));
    QPushButton* refresh = buttons->addButton(QStringLiteral("A&ctualizar"), QDialogButtonBox::ActionRole);
    refresh->setObjectName(QStringLiteral("cmdActualizar"));
    QPushButton* close = buttons->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdFechar"));
    layout->addWidget(buttons);
    connect(open_, &QPushButton::clicked, this, &DuplicatesWindow::openCurrent);
    connect(dismiss_, &QPushButton::clicked, this, &DuplicatesWindow::dismissSelected);
    connect(refresh, &QPushButton::clicked, this, &DuplicatesWindow::refill);
    connect(merge_, &QPushButton::clicked, this, &DuplicatesWindow::mergeSelected);
    connect(undo, &QPushButton::clicked, this, &DuplicatesWindow::undoLastMerge);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(tree_, &QTreeWidget::itemActivated, this, &DuplicatesWindow::openCurrent);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &DuplicatesWindow::updateButtons);
    resize(defaultWidth, defaultHeight);
    updateButtons();
}

bool DuplicatesWindow::refill()
{
    QList<duplicates::Group> groups;
    try {
        Waiting waiting;
        groups = finder_.find();
    } catch (const vb::Error& e) {
        tree_->clear();
        summary_->setText(QStringLiteral("Não foi possível procurar duplicados."));
        windows().messageBox(QStringLiteral("Não foi possível procurar duplicados: ") + e.description(),
                             platform::msgbox::Exclamation, title);
        updateButtons();
        return false;
    }
    fill(groups);
    return true;
}

void DuplicatesWindow::fill(const QList<duplicates::Group>& groups)
{
    // Made apart and given to the view at once: item by item, the view laid
    // itself out again for each of thousands of groups.
    QList<QTreeWidgetItem*> heads;
    heads.reserve(groups.size());
    for (const duplicates::Group& group : groups) {
        auto* head = new QTreeWidgetItem({group.description()});
        head->setFlags(Qt::ItemIsEnabled);
        for (const qint32 id : group.members) {
            const duplicates::Contact& c = finder_.contact(id);
            auto* row = new QTreeWidgetItem(head, {c.name, QString::number(id), c.nif, c.phone, c.email});
            row->setData(ColName, idRole, id);
        }
        heads << head;
    }
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    tree_->addTopLevelItems(heads);
    for (QTreeWidgetItem* head : heads)
        head->setFirstColumnSpanned(true);
    tree_->expandAll();
    tree_->setUpdatesEnabled(true);
    for (int column = ColNumber; column <= ColEmail; ++column) {
        tree_->resizeColumnToContents(column);
        tree_->setColumnWidth(column, std::max(columnWidths[column], tree_->columnWidth(column)));
    }
    summary_->setText(summary());
    updateButtons();
}

QString DuplicatesWindow::summary() const
{
    const int count = tree_->topLevelItemCount();
    if (count == 0)
        return QStringLiteral("Não há possíveis duplicados entre os contactos que pode abrir.");
    return count == 1 ? QStringLiteral("1 grupo de possíveis duplicados.")
                      : QString::number(count) + QStringLiteral(" grupos de possíveis duplicados.");
}

QList<QTreeWidgetItem*> DuplicatesWindow::selectedContacts() const
{
    QList<QTreeWidgetItem*> contacts;
    for (QTreeWidgetItem* item : tree_->selectedItems())
        if (item->parent())
            contacts << item;
    return contacts;
}

void DuplicatesWindow::updateButtons()
{
    const QList<QTreeWidgetItem*> chosen = selectedContacts();
    open_->setEnabled(chosen.size() == 1);
    const bool pair = chosen.size() == 2 && chosen[0]->parent() == chosen[1]->parent();
    dismiss_->setEnabled(pair);
    merge_->setEnabled(pair);
}

void DuplicatesWindow::openCurrent()
{
    const QList<QTreeWidgetItem*> chosen = selectedContacts();
    if (chosen.size() != 1)
        return;
    QTreeWidgetItem* head = chosen.first()->parent();
    QList<qint32> group;
    for (int i = 0; i < head->childCount(); ++i)
        group << head->child(i)->data(ColName, idRole).toInt();
    emit openRequested(chosen.first()->data(ColName, idRole).toInt(), group);
}

void DuplicatesWindow::dismissSelected()
{
    const QList<QTreeWidgetItem*> chosen = selectedContacts();
    if (chosen.size() != 2)
        return;
    const qint32 first = chosen[0]->data(ColName, idRole).toInt();
    const qint32 second = chosen[1]->data(ColName, idRole).toInt();
    try {
        finder_.dismiss(first, second);
    } catch (const vb::Error& e) {
        windows().messageBox(QStringLiteral("Não foi possível guardar que os contactos n.º ") +
                                 QString::number(first) + QStringLiteral(" e n.º ") +
                                 QString::number(second) + QStringLiteral(" não são o mesmo: ") +
                                 e.description(),
                             platform::msgbox::Exclamation, title);
        return;
    }
    refill();
}

void DuplicatesWindow::mergeSelected()
{
    QList<QTreeWidgetItem*> chosen = selectedContacts();
    if (chosen.size() != 2)
        return;
    std::sort(chosen.begin(), chosen.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return a->data(ColName, idRole).toInt() < b->data(ColName, idRole).toInt();
    });
    for (QTreeWidgetItem* item : chosen)
        if (const qint32 id = item->data(ColName, idRole).toInt(); openOnCard_ && openOnCard_(id)) {
            windows().messageBox(QStringLiteral("O contacto n.º ") + QString::number(id) +
                                     QStringLiteral(" está aberto na ficha: feche-a antes de fundir."),
                                 platform::msgbox::Exclamation, title);
            return;
        }
    MergeDialog dialog(user_, chosen[0]->data(ColName, idRole).toInt(),
                       chosen[1]->data(ColName, idRole).toInt(), chosen[0]->text(ColName),
                       chosen[1]->text(ColName), this);
    if (!dialog.load() || dialog.exec() != QDialog::Accepted)
        return;
    windows().messageBox(QStringLiteral("Os contactos foram fundidos: o n.º ") +
                             QString::number(dialog.other()) + QStringLiteral(" está agora no n.º ") +
                             QString::number(dialog.kept()) + u'.',
                         platform::msgbox::Information, title);
    emit contactsChanged();
    refill();
}

void DuplicatesWindow::undoLastMerge()
{
    using namespace platform::msgbox;
    duplicates::ContactMerge merge(user_);
    duplicates::MergeRecord last;
    try {
        for (const duplicates::MergeRecord& record : merge.merges())
            if (!record.undone) {
                last = record;
                break;
            }
    } catch (const vb::Error& e) {
        windows().messageBox(QStringLiteral("Não foi possível ler as fusões: ") + e.description(),
                             Exclamation, title);
        return;
    }
    if (last.id == 0) {
        windows().messageBox(QStringLiteral("Não há fusões por desfazer."), Information, title);
        return;
    }
    if (openOnCard_ && openOnCard_(last.kept)) {
        windows().messageBox(QStringLiteral("O contacto n.º ") + QString::number(last.kept) +
                                 QStringLiteral(" está aberto na ficha: feche-a antes de desfazer a fusão."),
                             Exclamation, title);
        return;
    }
    const QString pair = QStringLiteral("n.º ") + QString::number(last.other) + QStringLiteral(" no n.º ") +
                         QString::number(last.kept);
    if (windows().messageBox(QStringLiteral("Desfazer a fusão do ") + pair + QStringLiteral(", feita por ") +
                                 last.by + QStringLiteral(" em ") + last.when + u'?',
                             Question | YesNo | DefaultButton2, title) != AnswerYes)
        return;
    try {
        merge.undo(last.id);
    } catch (const vb::Error& e) {
        windows().messageBox(QStringLiteral("A fusão não foi desfeita: ") + e.description() + u'.',
                             Exclamation, title);
        return;
    }
    windows().messageBox(QStringLiteral("A fusão foi desfeita: os contactos n.º ") +
                             QString::number(last.kept) + QStringLiteral(" e n.º ") +
                             QString::number(last.other) + QStringLiteral(" estão como antes dela."),
                         Information, title);
    emit contactsChanged();
    refill();
}
