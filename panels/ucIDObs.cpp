#include "panels/ucIDObs.h"

#include "data/modData.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

ucIDObs::ucIDObs(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDObs1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("txtObs"));
    text_->setPlaceholderText(QStringLiteral("Observações"));
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
    ado::Recordset rs = query(QStringLiteral("SELECT nota FROM tbContactos_Notas WHERE contacto_id = %1 ORDER BY nota_id").arg(ContactNumber));
    if (!rs.Eof())
        text_->setPlainText(text(rs, QStringLiteral("nota")));
    rs.Close();
}

bool ucIDObs::Save(QString& userName)
{
    try {
        if (ContactNumber == 0 || !connectionReady())
            return false;
        ado::Recordset rs = query(QStringLiteral("SELECT nota_id FROM tbContactos_Notas WHERE contacto_id = %1 ORDER BY nota_id").arg(ContactNumber));
        const QString id = rs.Eof() ? QString() : text(rs, QStringLiteral("nota_id"));
        rs.Close();
        // Line breaks stay as typed: the text literal keeps every character.
        const QString note = u'\'' + QString(notes()).replace(u'\'', QStringLiteral("''")) + u'\'';
        if (id.isEmpty())
            execute(QStringLiteral("INSERT INTO tbContactos_Notas (contacto_id, nota, created_by, created_date) VALUES (%1, %2, %3, GETDATE())")
                        .arg(ContactNumber)
                        .arg(note, modData::FormatSQLValue(userName, modData::kText)));
        else
            execute(QStringLiteral("UPDATE tbContactos_Notas SET nota = %1 WHERE nota_id = %2").arg(note, id));
        return true;
    } catch (const vb::Error& e) {
        report(QStringLiteral("Save"), e);
        return false;
    }
}
