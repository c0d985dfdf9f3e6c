#include "connection/ConnectionState.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDFotos.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDMoradas.h"
#include "panels/ucIDObs.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "platform/objects/HostCallback.h"
#include "settings/modControls.h"
#include "settings/modParentsForm.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/RecordingReporter.h"
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Panels : public ::testing::Test {
  protected:
    testsupport::DemoDatabase db;
    testsupport::RecordingReporter reporter;
    QString user = QStringLiteral("ana");

    template <class Panel> void load(Panel& panel, qint32 id)
    {
        panel.setConnection(Data().SqlServer);
        panel.LoadContact(id);
    }
    static QLineEdit* field(QWidget& panel, const char* name)
    {
        return panel.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void retype(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        type(edit, text);
    }
    // Key presses as a keyboard sends them, Portuguese letters included.
    static void type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &release);
        }
    }
};

class NoWindowHost : public HostCallback {};
class NamedHost : public HostCallback {
  public:
    vb::Variant hwnd() override { return vb::Variant(QStringLiteral("janela")); }
};

} // namespace

// What the card's tests do not reach: the birth date read back as typed, the
// panel's own save refusing an impossible date, and a new institution
// refused without its name.
TEST_F(Panels, EveryIdentificationPanelReadsAndWritesItsPart)
{
    ucIDSingular panel;
    load(panel, 13);
    retype(field(panel, "txtApelido"), QStringLiteral("d'Ávila Conceição €"));
    retype(field(panel, "txtNascimento"), QStringLiteral("05-03-1980"));
    EXPECT_EQ(panel.Save(user), -1);

    ucIDSingular again;
    load(again, 13);
    EXPECT_EQ(field(again, "txtApelido")->text(), QStringLiteral("d'Ávila Conceição €"));
    EXPECT_EQ(field(again, "txtNascimento")->text(), QStringLiteral("05-03-1980"));

    // A date that is not one is refused and nothing is written.
    QSignalSpy errors(&again, &IdentityPanel::Error);
    retype(field(again, "txtNascimento"), QStringLiteral("31-02-1980"));
    retype(field(again, "txtNome"), QStringLiteral("Outro"));
    EXPECT_EQ(again.Save(user), 0);
    EXPECT_EQ(errors.count(), 1);
    EXPECT_NE(db.value("SELECT nome FROM tbContactos_Singulares WHERE contacto_id = 13"),
              QStringLiteral("Outro"));

    ucIDInstitucional firm;
    QSignalSpy refused(&firm, &IdentityPanel::Error);
    load(firm, 1);
    EXPECT_EQ(firm.findChild<QComboBox*>(QStringLiteral("cboArea"))->currentText(),
              QStringLiteral("Informática"));
    firm.NewRecord();
    EXPECT_EQ(firm.Save(user), 0);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused[0][1].toString(), QStringLiteral("Tem de indicar o nome da instituição."));

    // The configured font, and the owner window of a host without one.
    const QString installed = QFontDatabase::families().value(0);
    ASSERT_FALSE(installed.isEmpty());
    modControls::ConfiguredFontName().clear();
    Data().SqlServer.Execute(
        QStringLiteral("UPDATE tbConfig SET valor = 'Tipo Que Não Existe' WHERE variavel = 'FXFontName'"));
    QWidget form;
    auto* label = new QLabel(QStringLiteral("Nome"), &form);
    auto* edit = new QLineEdit(&form);
    auto* button = new QPushButton(QStringLiteral("OK"), &form);
    const QFont buttonFont = button->font();
    EXPECT_FALSE(modControls::ApplyConfiguredFont(&form));
    EXPECT_TRUE(modControls::ConfiguredFontName().isEmpty()) << "asked again next time";
    Data().SqlServer.Execute(QStringLiteral("UPDATE tbConfig SET valor = '%1' WHERE variavel = 'FXFontName'")
                                 .arg(installed.toUpper()));
    EXPECT_TRUE(modControls::ApplyConfiguredFont(&form));
    EXPECT_EQ(label->font().family(), installed.toUpper());
    EXPECT_EQ(edit->font().family(), installed.toUpper());
    EXPECT_EQ(button->font(), buttonFont);
    modControls::ConfiguredFontName().clear();
    EXPECT_FALSE(modControls::ApplyConfiguredFont(nullptr));

    EXPECT_EQ(modParentsForm::GetNewParent(nullptr), nullptr);
    EXPECT_EQ(modParentsForm::GetNewParent(std::make_shared<NoWindowHost>()), nullptr);
    EXPECT_EQ(modParentsForm::GetNewParent(std::make_shared<NamedHost>()), nullptr);
    EXPECT_TRUE(reporter.reports().empty());

    // The lists of addresses, telephones and e-mails.
    ucIDMoradas addresses;
    load(addresses, 5);
    ASSERT_EQ(addresses.rowCount(), 1);
    EXPECT_TRUE(addresses.isDefaultRow(0));
    QSignalSpy changed(&addresses, &IdentityPanel::Changed);
    QTest::mouseClick(addresses.findChild<QPushButton*>(QStringLiteral("cmdAdicionar")), Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    auto* table = addresses.findChild<QTableWidget*>(QStringLiteral("lstRows"));
    table->item(1, 0)->setText(QStringLiteral("Rua D'Ouro, 3.º"));
    table->item(1, 2)->setText(QStringLiteral("Lisboa"));
    table->item(1, 4)->setCheckState(Qt::Checked); // the new one becomes the default
    EXPECT_FALSE(addresses.isDefaultRow(0));
    ASSERT_TRUE(addresses.Save(user));
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbContactos_Moradas WHERE contacto_id = 5"), 2);

    ucIDTelefones phones;
    load(phones, 5);
    const int before = phones.rowCount();
    phones.AddNumber(QStringLiteral("+351 912 345 678"));
    phones.AddNumber(QStringLiteral("não é número"));
    QSignalSpy phoneRefused(&phones, &IdentityPanel::Error);
    EXPECT_FALSE(phones.Save(user));
    EXPECT_EQ(phoneRefused.count(), 1);
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbContactos_Telefones WHERE contacto_id = 5"), before)
        << "nothing written";
    phones.findChild<QTableWidget*>(QStringLiteral("lstRows"))->setCurrentCell(before + 1, 0);
    phones.removeSelectedRow();
    ASSERT_TRUE(phones.Save(user));
    phones.Refresh();
    EXPECT_EQ(phones.rowCount(), before + 1);

    ucIDEmails mails;
    load(mails, 20); // the contact without an address
    EXPECT_EQ(mails.rowCount(), 0);
    mails.addRow({QStringLiteral("sem-arroba.pt"), QString()}, true);
    EXPECT_FALSE(mails.Save(user));
    mails.findChild<QTableWidget*>(QStringLiteral("lstRows"))
        ->item(0, 0)
        ->setText(QStringLiteral("joão.sousa@exemplo.pt"));
    ASSERT_TRUE(mails.Save(user));
    EXPECT_EQ(db.value("SELECT email FROM tbContactos_Emails WHERE contacto_id = 20 AND email_default = 1"),
              QStringLiteral("joão.sousa@exemplo.pt"));

    // Notes, and a photo made to fit.
    ucIDObs notes;
    load(notes, 1);
    EXPECT_EQ(notes.notes(), db.value("SELECT nota FROM tbContactos_Notas WHERE contacto_id = 1"));
    notes.setFontSize(12);
    EXPECT_EQ(notes.findChild<QPlainTextEdit*>()->font().pointSize(), 12);
    QSignalSpy typed(&notes, &IdentityPanel::Changed);
    notes.findChild<QPlainTextEdit*>()->moveCursor(QTextCursor::End);
    type(notes.findChild<QPlainTextEdit*>(), QStringLiteral(" Ligar às 9h; 'urgente' — €"));
    EXPECT_GT(typed.count(), 0);
    ASSERT_TRUE(notes.Save(user));
    EXPECT_TRUE(db.value("SELECT nota FROM tbContactos_Notas WHERE contacto_id = 1")
                    .endsWith(QStringLiteral("'urgente' — €")));
    // A NUL pasted in is no text a server keeps: it is taken out, and told.
    QSignalSpy notices(&notes, &IdentityPanel::Notice);
    notes.findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("antes") + QChar(u'\0') +
                                                     QStringLiteral("depois"));
    EXPECT_EQ(notes.notes(), QStringLiteral("antesdepois"));
    ASSERT_EQ(notices.count(), 1);
    EXPECT_EQ(notices[0][0].toString(),
              QStringLiteral(
                  "O campo «Observações» não admite o carácter nulo (código 0): foi retirado do texto."));

    QTemporaryDir dir;
    QImage big(400, 200, QImage::Format_RGB32);
    big.fill(Qt::red);
    ASSERT_TRUE(big.save(dir.filePath(QStringLiteral("foto.png"))));
    ucIDFotos photo;
    load(photo, 3);
    EXPECT_TRUE(photo.image().isNull());
    ASSERT_TRUE(photo.LoadFromFile(dir.filePath(QStringLiteral("foto.png"))));
    ucIDFotos reread;
    load(reread, 3);
    EXPECT_EQ(reread.image().size(), QSize(160, 80));
    QSignalSpy photoErrors(&reread, &IdentityPanel::Error);
    EXPECT_FALSE(reread.LoadFromFile(dir.filePath(QStringLiteral("nada.png"))));
    EXPECT_EQ(photoErrors.count(), 1);
}
