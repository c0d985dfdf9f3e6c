#pragma once
// The contact files the contact belongs to (tbContactos_Tipos_Links with the
// files' names), and its removal from one of them.
#include "panels/IdentityPanel.h"

class QListWidget;

class ucIDTipos_Links : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDTipos_Links(QWidget* parent = nullptr);

    // The contact lives in the inactive files.
    bool InactiveFiles = false;

    // Removes the membership and the contact's row (and rights row) in that
    // file's table; false when it cannot.
    bool RemoveFromFile(qint32 contactoId, const QString& file);
    QStringList files() const;

  protected:
    void load() override;
    void clear() override;

  private:
    QListWidget* list_;
};
