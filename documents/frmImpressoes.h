#pragma once
// The prints window of the record card: a personalised mailing (a letter
// made by the family's document generator) printed, opened, produced, mailed,
// saved or filed in the contact's archive, or a personalised e-mail. Every
// action closes the window; Escape closes it too.
#include <QDialog>
#include <QPointer>

class QAction;
class QGroupBox;
class QRadioButton;
class QTextEdit;
class QToolBar;

class frmImpressoes : public QDialog {
    Q_OBJECT
  public:
    explicit frmImpressoes(QWidget* owner = nullptr);
    ~frmImpressoes() override;

    // Set by the card before the window is shown.
    qint32 ContactId = 0;
    QPointer<QWidget> OwnerCard;

    QGroupBox* Frame_Contacto;
    QRadioButton* Option3; // personalised mailing
    QRadioButton* Option4; // personalised e-mail
    QToolBar* Toolbar2;
    QTextEdit* RichTextBox1; // only for StringRTF

    // Buttons 1 to 6 by position; the cancel button is keyed "btCancelar".
    QAction* button(int position) const;
    QAction* cancelButton() const;
    void Toolbar2_ButtonClick(QAction* button);

    void Imprimir_Mailings(qint32& position);
    void Imprimir_Emails(qint32& position);
    // The rich-text body of a plain text: the control's RTF form without its
    // first 101 and last 10 characters.
    QString StringRTF(const QString& text);

  signals:
    // A letter went into this contact's archive.
    void documentFiled(qint32 contactId);

  private:
    QString ownCopy(const QString& made);
    bool addressOrYes();
    void buildControls();
    void optionChosen();
    void mailDocument(const QString& document);
    void fileInArchive(const QString& document);
    QString chooseCopyName(const QString& document);
    QString saveCopy(const QString& document, const QString& chosen);
    void shell(const QString& verb, const QString& file);
    QList<QAction*> buttons_;
    QAction* cancel_ = nullptr;
};
