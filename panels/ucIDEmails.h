#pragma once
// The contact's e-mail addresses; the default one is where mailings go.
#include "panels/RowListPanel.h"

class ucIDEmails : public RowListPanel {
    Q_OBJECT
  public:
    explicit ucIDEmails(QWidget* parent = nullptr);

    QuickAction quickAction(int row) const override;

  protected:
    QString refusal(const QStringList& values, int* column) const override;
};
