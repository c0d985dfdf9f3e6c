#pragma once
// The record's rights: the user mask and the group mask shown as a table of
// entries (who, and each of the four rights granted, not granted or denied).
// A mask nobody edited is handed back byte for byte.
#include "panels/IdentityPanel.h"
#include "panels/PermissionMask.h"
#include <QMap>
#include <functional>

class QTableWidget;

class ucIDPermitions : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDPermitions(QWidget* parent = nullptr);

    QString DefaultGroupCode;
    QString TableName;

    QString UserMask() const;
    QString GroupMask() const;
    void setUserMask(const QString& mask);
    void setGroupMask(const QString& mask);

    // The buttons "Inserir Utilizador", "Inserir &Grupo" and "&Remover".
    void AddUser();
    void AddGroup();
    void RemoveEntry();

    // Asks the user to pick one of the names; empty when cancelled. A
    // dialog by default; tests answer it themselves.
    std::function<QString(const QString& title, const QStringList& names)> chooser;

    // The card has buttons of its own for these three; it hides the panel's.
    void setButtonsVisible(bool visible);

    int entryCount() const;
    // Row r: "U" or "G", the code, the name shown, the four digits.
    QStringList entry(int row) const;
    void setRight(int row, int right, QChar digit); // right 0..3

  protected:
    void load() override;
    void clear() override;

  private:
    struct Row {
        bool group;
        MaskEntry entry;
    };
    void rebuild();
    void addChosen(bool group);
    QString nameOf(bool group, const QString& code) const;
    QMap<QString, QString> directory(bool group) const;

    QTableWidget* table_;
    QList<Row> rows_;
    QString userMask_;
    QString groupMask_;
    QMap<QString, QString> userNames_; // code → name, of every user and of every group
    QMap<QString, QString> groupNames_;
    bool edited_ = false;
};
