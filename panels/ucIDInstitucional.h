#pragma once
// The institution's identity: its name (nome_union), business area and NIF.
#include "panels/IdentityPanel.h"

class QComboBox;
class QLineEdit;

class ucIDInstitucional : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDInstitucional(QWidget* parent = nullptr);

    QString TaxNumber() const;
    // The name as typed.
    QString Nome() const;
    // The NIF as the contact was loaded (empty for a new one).
    QString LoadedTaxNumber() const { return loadedTaxNumber_; }
    // The typed NIF is now the stored one.
    void TaxNumberStored() { loadedTaxNumber_ = TaxNumber(); }
    // As the individual's panel: new contacto_id, -1 saved, 0 refused or failed.
    qint32 Save(QString& userName);
    QString Validate() override;

  signals:
    void NomeHasChanged(const QString& name);

  protected:
    void load() override;
    void clear() override;

  private:
    void fillAreas();
    QLineEdit* nome_;
    QComboBox* area_;
    QLineEdit* nif_;
    QString loadedTaxNumber_;
};
