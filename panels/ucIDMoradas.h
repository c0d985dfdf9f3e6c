#pragma once
// The contact's addresses: morada, código postal, localidade, país; one default.
#include "panels/RowListPanel.h"

class ucIDMoradas : public RowListPanel {
    Q_OBJECT
  public:
    explicit ucIDMoradas(QWidget* parent = nullptr);

    QuickAction quickAction(int row) const override;

  protected:
    QString refusal(const QStringList& values, int* column) const override;
};
