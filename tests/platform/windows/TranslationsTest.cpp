// Qt's own texts in European Portuguese: the catalogue from Qt's folder and
// our table for what it lacks.
#include "platform/windows/Translations.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(Translations, StandardButtonsAndTheFileDialogSpeakPortuguese)
{
    EXPECT_TRUE(platform::installPortugueseTranslations()) << "Qt's European Portuguese catalogue";
    EXPECT_TRUE(platform::installPortugueseTranslations()) << "a second call changes nothing";

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Sim"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&Não"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancelar"));
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Close);
    EXPECT_EQ(box.button(QMessageBox::Save)->text(), QStringLiteral("Gravar")) << "European, not Brazilian";

    // Texts only the older catalogue has, and texts only our table has.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("&Nome do Ficheiro:"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Procurar em:"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Not a text of Qt's"),
              QStringLiteral("Not a text of Qt's"));

    QFileDialog dialog(nullptr, QStringLiteral("Escolher"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Procurar em:"))) << labels.join(u'|').toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("&Nome do Ficheiro:"))) << labels.join(u'|').toStdString();
}
