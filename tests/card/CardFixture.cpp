#include "tests/card/CardFixture.h"

#include "card/CardSettings.h"
#include "card/WindowPlace.h"
#include "platform/values/Variant.h"
#include "settings/modRegistry.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>

namespace cardtest {

void CardFixture::SetUp()
{
    ASSERT_TRUE(modRegistry::GarantirShadow());
    storeWindow(1);
    hostList.Open(QStringLiteral("SELECT contacto_id, nome_union FROM tbContactos ORDER BY contacto_id"),
                  Data().SqlServer);
}

void CardFixture::TearDown()
{
    EXPECT_TRUE(reporter.reports().empty()) << reporter.reports().front().join(u'|').toStdString();
}

void CardFixture::storeWindow(int frame)
{
    card::keepWindowPlace({600, 600, card::designWidth, card::designHeight, frame});
}

frmInicial& CardFixture::open(int id)
{
    general.ObjectOpen(hostList, vb::Variant(id));
    return *general.card();
}

void CardFixture::choose(bool singular)
{
    frmNovo* c = chooser();
    ASSERT_NE(c, nullptr) << "no chooser shown";
    (singular ? c->Option1 : c->Option2)->setChecked(true);
    c->Command1->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QLineEdit* CardFixture::field(QWidget* panel, const char* name)
{
    return panel->findChild<QLineEdit*>(QString::fromLatin1(name));
}

void CardFixture::type(QWidget* panel, const char* name, const QString& text)
{
    QLineEdit* edit = field(panel, name);
    ASSERT_NE(edit, nullptr) << name;
    edit->setText(text);
    emit edit->textEdited(text);
}

ado::Recordset CardFixture::sql(const QString& statement)
{
    return Data().SqlServer.Execute(statement);
}

bool CardFixture::save(frmInicial& card, qint32 tab)
{
    return card.GravarCampos(tab);
}

QString CardFixture::stored(const char* column, const char* table, qint32 id) const
{
    return db.value(QStringLiteral("SELECT %1 FROM %2 WHERE contacto_id = %3")
                        .arg(QString::fromLatin1(column), QString::fromLatin1(table))
                        .arg(id));
}

int CardFixture::rows(const char* table, qint32 id) const
{
    return db.count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE contacto_id = %2")
                        .arg(QString::fromLatin1(table))
                        .arg(id));
}

} // namespace cardtest
