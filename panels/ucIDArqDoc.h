#pragma once
// The contact's document archive: the files recorded in tbArquivo_Documental.
// Documents are attached (a file dialog, or files dropped on the list), opened
// with the desktop's "open" verb, and removed: the row goes and the file is
// moved to a "removidos" folder beside it, never deleted outright.
#include "panels/IdentityPanel.h"

class GridTable;
class QPushButton;

class ucIDArqDoc : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDArqDoc(QWidget* parent = nullptr);

    // The host product's settings key name.
    QString DataServer;
    // True: the archive is only shown (no opening, attaching or removing); the card sets false.
    bool ReadOnlyMode = false;

    void LoadContact(qint32& contactoId);
    using IdentityPanel::LoadContact;
    int documentCount() const;
    QString documentPath(int row) const; // folder + file name
    bool openDocument(int row);
    // Files chosen in the open dialog, filed one by one; the number filed.
    int attachChosen();
    // Files filed in the archive (a drop, or the dialog's choice).
    int attachFiles(const QStringList& paths);
    // Asks first; false when not removed.
    bool removeDocument(int row);

  protected:
    void load() override;
    void clear() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void reload();
    GridTable* table_;
    QStringList paths_;
    QList<qint32> ids_;
};
