#pragma once
// The contact's row in this component's file (tbTulvas_Contactos): date of
// entry, reference, active flag and the file's own notes.
#include "panels/IdentityPanel.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

class ucIDTulvas_Details : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDTulvas_Details(QWidget* parent = nullptr);
    // -1 when saved, 0 on failure (a date that is not one included).
    qint32 Save(QString& userName);
    QString Validate() override;
    // After the load event: the reference gets the focus when empty.
    void PostLoad();

  protected:
    void load() override;
    void clear() override;

  private:
    QLineEdit* entrada_;
    QLineEdit* referencia_;
    QCheckBox* activo_;
    QPlainTextEdit* observacoes_;
    vb::Variant storedEntrada_; // as read, to the second
    QString shownEntrada_;      // as the field showed it
};
