#pragma once
// The contact's telephone numbers with their kind (telefone, telemóvel, fax); one default.
#include "panels/RowListPanel.h"

class ucIDTelefones : public RowListPanel {
    Q_OBJECT
  public:
    explicit ucIDTelefones(QWidget* parent = nullptr);
    // Pre-fills a number (a new contact created from a telephone call).
    void AddNumber(const QString& number);
    // Reads the stored numbers again.
    void Refresh();

    QuickAction quickAction(int row) const override;

  protected:
    QString refusal(const QStringList& values, int* column) const override;
};
