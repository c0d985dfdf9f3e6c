#include "host/MergeDialog.h"

#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString title = QStringLiteral("Fundir contactos");
constexpr int defaultWidth = 760;
constexpr int defaultHeight = 440;
enum Column { ColField, ColFirst, ColSecond };

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

QString shown(const vb::Variant& v)
{
    return v.isNull() || v.isEmpty() ? QString() : vb::CStr(v);
}

QString named(qint32 id, const QString& name)
{
    return QStringLiteral("n.º ") + QString::number(id) + u' ' + name;
}

} // namespace

MergeDialog::MergeDialog(const QString& user, qint32 first, qint32 second, const QString& firstName,
                         const QString& secondName, QWidget* parent)
    : QDialog(parent), merge_(user), first_(first), second_(second)
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("frmFundir"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* explained =
        new QLabel(QStringLiteral("Fica um só contacto, com as moradas, telefones, e-mails, "
                                  "ficheiros, eventos, notas, documentos e relações dos dois. "
                                  "Escolha o contacto que fica e, onde diferem, o valor que fica "
                                  "(clique no valor)."),
                   this);
    explained->setWordWrap(true);
    layout->addWidget(explained);
    auto* keep = new QHBoxLayout;
    keep->addWidget(new QLabel(QStringLiteral("Fica:"), this));
    keepFirst_ = new QRadioButton(named(first, firstName), this);
    keepFirst_->setObjectName(QStringLiteral("optFicaPrimeiro"));
    keepSecond_ = new QRadioButton(named(second, secondName), this);
    keepSecond_->setObjectName(QStringLiteral("optFicaSegundo"));
    keepFirst_->setChecked(true); // the older record keeps its number
    keep->addWidget(keepFirst_);
    keep->addWidget(keepSecond_);
    keep->addStretch();
    layout->addLayout(keep);
    table_ = new QTableWidget(0, 3, this);
    table_->setObjectName(QStringLiteral("lstDiferencas"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Campo"), named(first, firstName), named(second, secondName)});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(table_, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&Fundir"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdFundir"));
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancelar"));
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &MergeDialog::mergeNow);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(keepFirst_, &QRadioButton::toggled, this, [this] { load(); });
    connect(table_, &QTableWidget::cellClicked, this, &MergeDialog::chooseCell);
    resize(defaultWidth, defaultHeight);
}

qint32 MergeDialog::kept() const
{
    return keepFirst_->isChecked() ? first_ : second_;
}

qint32 MergeDialog::other() const
{
    return keepFirst_->isChecked() ? second_ : first_;
}

bool MergeDialog::load()
{
    try {
        choices_ = merge_.differences(kept(), other());
    } catch (const vb::Error& e) {
        windows().messageBox(QStringLiteral("Não foi possível ler os dois contactos: ") + e.description(),
                             platform::msgbox::Exclamation, title);
        return false;
    }
    table_->setRowCount(int(choices_.size()));
    const bool firstKept = kept() == first_;
    for (int row = 0; row < choices_.size(); ++row) {
        const duplicates::FieldChoice& c = choices_[row];
        table_->setItem(row, ColField, new QTableWidgetItem(c.caption));
        const QString keptValue = shown(c.kept);
        const QString otherValue = shown(c.other);
        table_->setItem(row, ColFirst, new QTableWidgetItem(firstKept ? keptValue : otherValue));
        table_->setItem(row, ColSecond, new QTableWidgetItem(firstKept ? otherValue : keptValue));
        const int keptColumn = firstKept ? ColFirst : ColSecond;
        const int otherColumn = firstKept ? ColSecond : ColFirst;
        table_->item(row, keptColumn)->setCheckState(c.takeOther ? Qt::Unchecked : Qt::Checked);
        table_->item(row, otherColumn)->setCheckState(c.takeOther ? Qt::Checked : Qt::Unchecked);
    }
    return true;
}

// A click on a value makes it the one that stays.
void MergeDialog::chooseCell(int row, int column)
{
    if (column == ColField || row < 0 || row >= choices_.size())
        return;
    const bool firstKept = kept() == first_;
    choices_[row].takeOther = (column == ColFirst) != firstKept;
    table_->item(row, ColFirst)->setCheckState(column == ColFirst ? Qt::Checked : Qt::Unchecked);
    table_->item(row, ColSecond)->setCheckState(column == ColSecond ? Qt::Checked : Qt::Unchecked);
}

void MergeDialog::mergeNow()
{
    using namespace platform::msgbox;
    const QString question =
        QStringLiteral("O contacto n.º ") + QString::number(other()) + QStringLiteral(" passa para o n.º ") +
        QString::number(kept()) +
        QStringLiteral(" e deixa de existir. Pode desfazer a fusão enquanto ninguém alterar o "
                       "n.º ") +
        QString::number(kept()) + QStringLiteral(". Fundir?");
    if (windows().messageBox(question, Question | YesNo | DefaultButton2, title) != AnswerYes)
        return;
    try {
        mergeId_ = merge_.merge(kept(), other(), choices_);
    } catch (const vb::Error& e) {
        windows().messageBox(QStringLiteral("Os contactos não foram fundidos: ") + e.description(),
                             Exclamation, title);
        return;
    }
    accept();
}
