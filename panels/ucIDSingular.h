#pragma once
// The individual's identity: título, nome, apelidos, profissão, NIF, data de
// nascimento and nacionalidade, in tbContactos and tbContactos_Singulares.
#include "panels/IdentityPanel.h"

class QLineEdit;
class WordCompleter;

class ucIDSingular : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDSingular(QWidget* parent = nullptr);

    QString TaxNumber() const;
    // The name as the list shows it: nome and apelidos.
    QString nomeUnion() const;
    // The NIF as the contact was loaded (empty for a new one).
    QString LoadedTaxNumber() const { return loadedTaxNumber_; }
    // The typed NIF is now the stored one.
    void TaxNumberStored() { loadedTaxNumber_ = TaxNumber(); }
    // The new contacto_id when it created the contact, -1 when it saved an
    // existing one, 0 on failure.
    qint32 Save(QString& userName);
    QString Validate() override;
    // After the load event: gives the name field the focus.
    void PostLoad();

  signals:
    void NomeHasChanged(const QString& nome, const QString& apelido, const QString& titulo);

  protected:
    void load() override;
    void clear() override;

  private:
    QString refusal() const;
    vb::Variant birthDate() const; // Null when empty; refused when not a date or after today

    QList<WordCompleter*> words_;
    QLineEdit* titulo_;
    QLineEdit* nome_;
    QLineEdit* apelido_;
    QLineEdit* profissao_;
    QLineEdit* nif_;
    QLineEdit* nascimento_;
    QLineEdit* nacionalidade_;
    QString loadedTaxNumber_;
};
