#pragma once
// The chooser of a new contact's kind, "Novo Registo": individual
// ("Particular") or institution ("Empresarial"). Modeless; each way out
// calls the opening card's Novo back with the answer (OK, Cancelar and the
// window's own closing, which follows both buttons too).
#include <QDialog>
#include <QPointer>

class QPushButton;
class QRadioButton;
class frmInicial;

class frmNovo : public QDialog {
    Q_OBJECT
  public:
    explicit frmNovo(QWidget* owner = nullptr);
    ~frmNovo() override;

    // Public state: the owner window it was opened for, the card that opened
    // it, and whether the user cancelled.
    QPointer<QWidget> Owner;
    QPointer<frmInicial> Card;
    bool Cancelled = false;

    QRadioButton* Option1; // "Particular"
    QRadioButton* Option2; // "Empresarial"
    QPushButton* Command1; // "OK"
    QPushButton* Command2; // "Cancelar"

    void Command1_Click();
    void Command2_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape: as Cancelar

  private:
    void callBack();
    void Form_Unload();
    bool unloaded_ = false;
};
