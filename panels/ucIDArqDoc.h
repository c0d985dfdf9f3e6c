#pragma once
// The contact's document archive: the files recorded in tbArquivo_Documental,
// opened with the desktop's "open" verb.
#include "panels/IdentityPanel.h"

class GridTable;

class ucIDArqDoc : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDArqDoc(QWidget* parent = nullptr);

    // The host product's settings key name.
    QString DataServer;
    // True: the archive is only shown (no opening of documents); the card sets false.
    bool ReadOnlyMode = false;

    void LoadContact(qint32& contactoId);
    using IdentityPanel::LoadContact;
    int documentCount() const;
    QString documentPath(int row) const; // folder + file name
    bool openDocument(int row);

  protected:
    void load() override;
    void clear() override;

  private:
    GridTable* table_;
    QStringList paths_;
};
