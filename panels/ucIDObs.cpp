#include "panels/ucIDObs.h"

#include "data/modData.h"
#include "platform/ado/SqlCompose.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

const char16_t selectNotes[] = u"SELECT nota FROM tbContactos_Notas WHERE contacto_id = %1 ORDER BY nota_id";
const char16_t selectFirstNote[] =
    u"SELECT nota_id FROM tbContactos_Notas WHERE contacto_id = %1 ORDER BY nota_id";
const char16_t insertNote[] = u"INSERT INTO tbContactos_Notas (contacto_id, nota, created_by, created_date) "
                              u"VALUES (%1, %2, %3, GETDATE())";
const char16_t updateNote[] = u"UPDATE tbContactos_Notas SET nota = %1 WHERE nota_id = %2";

} // namespace

ucIDObs::ucIDObs(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDObs1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("txtObs"));
    text_->setPlaceholderText(QStringLiteral("Observações"));
    text_->setAccessibleName(QStringLiteral("Observações"));
    watchForNul(text_, text_->accessibleName());
    text_->setTabChangesFocus(true);
    layout->addWidget(text_);
    connect(text_, &QPlainTextEdit::textChanged, this, &ucIDObs::userChanged);
}

void ucIDObs::setFontSize(qint16 points)
{
    fontSize_ = points;
    if (points > 0) {
        QFont font = text_->font();
        font.setPointSize(points);
        text_->setFont(font);
    }
}

QString ucIDObs::notes() const
{
    return text_->toPlainText();
}

void ucIDObs::clear()
{
    text_->clear();
}

void ucIDObs::load()
{
    ado::Recordset rs = query(sql::compose(selectNotes, {ContactNumber}));
    if (!rs.Eof())
        text_->setPlainText(text(rs, QStringLiteral("nota")));
    rs.Close();
}

bool ucIDObs::Save(QString& userName)
{
    try {
        if (ContactNumber == 0 || !connectionReady())
            return false;
        ado::Recordset rs = query(sql::compose(selectFirstNote, {ContactNumber}));
        const QString id = rs.Eof() ? QString() : text(rs, QStringLiteral("nota_id"));
        rs.Close();
        // Spaces and line breaks stay as typed: the text literal keeps every character.
        const QString note = QStringLiteral("N'") + sql::doubled(notes()) + u'\'';
        if (id.isEmpty())
            execute(sql::compose(insertNote,
                                 {ContactNumber, note, modData::FormatSQLValue(userName, modData::kText)}));
        else
            execute(sql::compose(updateNote, {note, id}));
        return true;
    } catch (const vb::Error& e) {
        report(QStringLiteral("Save"), e);
        return false;
    }
}
