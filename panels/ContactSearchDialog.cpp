#include "panels/ContactSearchDialog.h"

#include "data/modData.h"
#include "panels/GridTable.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// %1 the user's open condition over the permissions row, %2 the name pattern.
// Accents and case aside, as the host's search: "conceicao" finds Conceição.
const char16_t selectOpenable[] =
    u"SELECT TOP 200 c.contacto_id, c.nome_union, c.no_contribuinte FROM tbContactos c INNER JOIN "
    u"tbTulvas_Contactos_Permitions p ON p.contacto_id = c.contacto_id WHERE (%1) AND c.nome_union COLLATE "
    u"Latin1_General_CI_AI LIKE %2 "
    u"AND c.contacto_id <> %3 ORDER BY c.nome_union";
constexpr int typingPauseMs = 250;
constexpr int relationWidth = 60; // tbContactos_Relacionados.descrit

} // namespace

ContactSearchDialog::ContactSearchDialog(const ado::Connection& connection, const QString& userName,
                                         qint32 excluded, QWidget* parent)
    : QDialog(parent), connection_(connection), userName_(userName), excluded_(excluded)
{
    setObjectName(QStringLiteral("dlgRelacionar"));
    setWindowTitle(QStringLiteral("Relacionar contacto"));
    setWindowModality(Qt::ApplicationModal); // what it returns goes onto the card
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("txtPesquisa"));
    search_->setPlaceholderText(QStringLiteral("Parte do nome…"));
    search_->setAccessibleName(QStringLiteral("Pesquisar contacto"));
    form->addRow(QStringLiteral("&Pesquisar:"), search_);
    layout->addLayout(form);
    results_ = new GridTable(0, 3, this);
    results_->setObjectName(QStringLiteral("lstResultados"));
    results_->setHorizontalHeaderLabels(
        {QStringLiteral("N.º"), QStringLiteral("Nome"), QStringLiteral("NIF")});
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setSelectionMode(QAbstractItemView::SingleSelection);
    results_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    results_->setAccessibleName(QStringLiteral("Contactos encontrados"));
    layout->addWidget(results_);
    auto* relationForm = new QFormLayout;
    relation_ = new QLineEdit(this);
    relation_->setObjectName(QStringLiteral("txtRelacao"));
    relation_->setMaxLength(relationWidth);
    relation_->setAccessibleName(QStringLiteral("Relação"));
    relation_->setPlaceholderText(QStringLiteral("Por exemplo: cônjuge, sócio, contabilista"));
    relationForm->addRow(QStringLiteral("Re&lação:"), relation_);
    layout->addLayout(relationForm);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Relacionar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    layout->addWidget(buttons);
    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(typingPauseMs);
    connect(search_, &QLineEdit::textEdited, pause_, qOverload<>(&QTimer::start));
    connect(pause_, &QTimer::timeout, this, [this] { search(search_->text()); });
    connect(results_, &QTableWidget::itemSelectionChanged, this,
            [this, buttons] { buttons->button(QDialogButtonBox::Ok)->setEnabled(chosenContact() != 0); });
    connect(results_, &GridTable::rowActivated, this, [this](int) { relation_->setFocus(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 420);
}

void ContactSearchDialog::search(const QString& text)
{
    results_->setRowCount(0);
    const QString condition = modCheckPermissions::OpenCondition(userName_);
    if (condition.isEmpty())
        return; // a user in no group may open nothing
    try {
        ado::Recordset rs;
        rs.Open(sql::compose(selectOpenable,
                             {condition, modData::FormatSQLValue(text, modData::kPattern), excluded_}),
                connection_);
        for (; !rs.Eof(); rs.MoveNext()) {
            const int row = results_->rowCount();
            results_->insertRow(row);
            for (int c = 0; c < 3; ++c) {
                const vb::Variant v = rs.Fields(c).Value();
                results_->setItem(row, c, new QTableWidgetItem(v.isNull() ? QString() : vb::CStr(v)));
            }
        }
        rs.Close();
    } catch (const vb::Error&) {
        // nothing listed: the search box stays for another try
    }
    if (results_->rowCount() > 0)
        results_->selectRow(0);
}

int ContactSearchDialog::resultCount() const
{
    return results_->rowCount();
}

void ContactSearchDialog::choose(int row)
{
    results_->selectRow(row);
}

qint32 ContactSearchDialog::chosenContact() const
{
    const int row = results_->currentRow();
    if (row < 0 || !results_->item(row, 0) || results_->selectedItems().isEmpty())
        return 0;
    return results_->item(row, 0)->text().toInt();
}

QString ContactSearchDialog::relation() const
{
    return relation_->text();
}
