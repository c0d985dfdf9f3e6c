#include "panels/LookupTableEditor.h"

#include "connection/ConnectionState.h"
#include "data/TransactionScope.h"
#include "data/modData.h"
#include "permissions/ContactsFile.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

namespace {

const char16_t selectWords[] = u"SELECT %2, descrit FROM %1 ORDER BY descrit";
const char16_t countUses[] = u"SELECT COUNT(*) AS usos FROM %1 WHERE %2 = %3";
const char16_t insertWord[] = u"INSERT INTO %1 (descrit) VALUES (%2)";
const char16_t updateWord[] = u"UPDATE %1 SET descrit = %2 WHERE %3 = %4";
const char16_t deleteWord[] = u"DELETE FROM %1 WHERE %2 = %3";

// A word that contacts hold may not go: thrown inside the save's unit.
struct InUse {
    QString word;
    int uses = 0;
};

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

QString literal(const QString& text)
{
    return modData::FormatSQLValue(vb::Variant(text), modData::kText);
}

QString inUseText(const QString& word, int uses)
{
    return QStringLiteral("«") + word + QStringLiteral("» é usado por ") + QString::number(uses) +
           (uses == 1 ? QStringLiteral(" contacto") : QStringLiteral(" contactos")) +
           QStringLiteral(": não pode ser apagado.");
}

} // namespace

const QList<LookupTable>& lookupTables()
{
    static const QList<LookupTable> tables{
        {QStringLiteral("Títulos"), QStringLiteral("tbTabelas_Titulos"), QStringLiteral("titulo_id"), 30,
         QStringLiteral("tbContactos_Singulares"), QStringLiteral("titulo")},
        {QStringLiteral("Profissões"), QStringLiteral("tbTabelas_Profissoes"), QStringLiteral("profissao_id"),
         60, QStringLiteral("tbContactos_Singulares"), QStringLiteral("profissao")},
        {QStringLiteral("Nacionalidades"), QStringLiteral("tbTabelas_Nacionalidades"),
         QStringLiteral("nacionalidade_id"), 40, QStringLiteral("tbContactos_Singulares"),
         QStringLiteral("nacionalidade")},
        {QStringLiteral("Países"), QStringLiteral("tbTabelas_Paises"), QStringLiteral("pais_id"), 60,
         QStringLiteral("tbContactos_Moradas"), QStringLiteral("pais")}};
    return tables;
}

LookupTableEditor::LookupTableEditor(const LookupTable& table, const QString& user, QWidget* parent)
    : QDialog(parent), table_(table)
{
    setObjectName(QStringLiteral("frmTabela"));
    setWindowTitle(table.title);
    setModal(true);
    // Growing the card's words is creating what contacts are filed with.
    mayChange_ =
        modCheckPermissions::CheckObjectSecurity(user, 0, contactsfile::kind, modCheckPermissions::Create);
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstPalavras"));
    list_->setAccessibleName(table.title);
    layout->addWidget(list_);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lblNota"));
    note_->setWordWrap(true);
    note_->setVisible(!mayChange_);
    note_->setText(QStringLiteral("Só pode consultar esta tabela: não tem permissão para criar contactos."));
    layout->addWidget(note_);
    auto* row = new QHBoxLayout;
    add_ = new QPushButton(QStringLiteral("&Adicionar"), this);
    delete_ = new QPushButton(QStringLiteral("A&pagar"), this);
    row->addWidget(add_);
    row->addWidget(delete_);
    row->addStretch();
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(this);
    save_ = buttons->addButton(QStringLiteral("&Gravar"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    for (QPushButton* b : {add_, delete_, save_})
        b->setEnabled(mayChange_);
    connect(add_, &QPushButton::clicked, this, &LookupTableEditor::addWord);
    connect(delete_, &QPushButton::clicked, this, &LookupTableEditor::deleteSelected);
    connect(save_, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void LookupTableEditor::readWords()
{
    list_->clear();
    words_.clear();
    deleted_.clear();
    ado::Recordset rs;
    for (rs.Open(sql::compose(selectWords, {table_.table, table_.key}), Data().SqlServer); !rs.Eof();
         rs.MoveNext()) {
        const QString word = vb::CStr(rs(QStringLiteral("descrit")));
        words_.append({vb::CLng(rs(table_.key)), word});
        auto* item = new QListWidgetItem(word, list_);
        if (mayChange_)
            item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    rs.Close();
}

bool LookupTableEditor::load()
{
    try {
        readWords();
        return true;
    } catch (const vb::Error& e) {
        windows().messageBox(QStringLiteral("Não foi possível ler a tabela «") + table_.title +
                                 QStringLiteral("»: ") + e.description() +
                                 QStringLiteral("\n\nSe a tabela não existe nesta base de dados, peça ao "
                                                "administrador que a crie."),
                             platform::msgbox::Exclamation, table_.title);
        return false;
    }
}

void LookupTableEditor::addWord()
{
    auto* item = new QListWidgetItem(QString(), list_);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    words_.append(Word{});
    list_->setCurrentItem(item);
    list_->editItem(item);
}

int LookupTableEditor::uses(const QString& word) const
{
    ado::Recordset rs;
    rs.Open(sql::compose(countUses, {table_.usedIn, table_.usedBy, literal(word)}), Data().SqlServer);
    const int n = vb::CLng(rs(QStringLiteral("usos")));
    rs.Close();
    return n;
}

void LookupTableEditor::refuse(const QString& text)
{
    windows().messageBox(text, platform::msgbox::Exclamation, table_.title);
}

void LookupTableEditor::deleteSelected()
{
    const int row = list_->currentRow();
    if (row < 0)
        return;
    const Word word = words_.at(row);
    try {
        if (word.id != 0) {
            if (const int n = uses(word.stored); n > 0) {
                refuse(inUseText(word.stored, n));
                return;
            }
            deleted_.append(word);
        }
    } catch (const vb::Error& e) {
        refuse(QStringLiteral("Não foi possível saber se a palavra é usada: ") + e.description());
        return;
    }
    words_.removeAt(row);
    delete list_->takeItem(row);
}

// Every word whole and once; then the deletions, changes and additions in
// one unit, each deletion checked again against the contacts inside it.
bool LookupTableEditor::save()
{
    QSet<QString> seen;
    for (int row = 0; row < list_->count(); ++row) {
        const QString word = list_->item(row)->text().trimmed();
        if (word.isEmpty()) {
            list_->setCurrentRow(row);
            refuse(QStringLiteral("Há uma linha vazia: escreva a palavra ou apague a linha."));
            return false;
        }
        if (word.size() > table_.width) {
            list_->setCurrentRow(row);
            refuse(QStringLiteral("«") + word + QStringLiteral("» tem mais de ") +
                   QString::number(table_.width) + QStringLiteral(" caracteres."));
            return false;
        }
        if (seen.contains(word.toCaseFolded())) {
            list_->setCurrentRow(row);
            refuse(QStringLiteral("«") + word + QStringLiteral("» está na tabela mais de uma vez."));
            return false;
        }
        seen.insert(word.toCaseFolded());
    }
    TransactionScope unit;
    try {
        unit.begin();
        ado::Connection& shared = Data().SqlServer;
        for (const Word& gone : std::as_const(deleted_)) {
            if (const int n = uses(gone.stored); n > 0)
                throw InUse{gone.stored, n};
            shared.Execute(sql::compose(deleteWord, {table_.table, table_.key, gone.id}));
        }
        for (int row = 0; row < list_->count(); ++row) {
            const QString word = list_->item(row)->text().trimmed();
            const Word& was = words_.at(row);
            if (was.id == 0)
                shared.Execute(sql::compose(insertWord, {table_.table, literal(word)}));
            else if (word != was.stored)
                shared.Execute(sql::compose(updateWord, {table_.table, literal(word), table_.key, was.id}));
        }
        unit.commit();
    } catch (const InUse& used) {
        unit.rollback();
        refuse(inUseText(used.word, used.uses) + QStringLiteral(" Nada foi gravado."));
        return false;
    } catch (const vb::Error& e) {
        unit.rollback();
        refuse(QStringLiteral("Nada foi gravado: ") + e.description());
        return false;
    }
    // Stored: a reading that fails now does not make the save a failure
    // (a retry would add the new words twice).
    try {
        readWords();
    } catch (const vb::Error& e) {
        refuse(QStringLiteral("As alterações foram gravadas, mas não foi possível ler a tabela de novo: ") +
               e.description());
    }
    return true;
}
