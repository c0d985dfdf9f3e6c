#pragma once
// Free notes about the contact (its first row of tbContactos_Notas).
#include "panels/IdentityPanel.h"

class QPlainTextEdit;

class ucIDObs : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDObs(QWidget* parent = nullptr);

    // The notes' font size in points (the card sets 12).
    qint16 FontSize() const { return fontSize_; }
    void setFontSize(qint16 points);
    QString notes() const;
    bool Save(QString& userName);

  protected:
    void load() override;
    void clear() override;

  private:
    QPlainTextEdit* text_;
    qint16 fontSize_ = 0;
};
