#pragma once
// The contact's type in this component's file: chosen from the types table
// (tbTulvas_Contactos_Tipos), kept in the file table (tbTulvas_Contactos).
#include "panels/IdentityPanel.h"

class QComboBox;

class ucIDTulvas : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDTulvas(QWidget* parent = nullptr);

    QString TypesTable;
    QString FileTable;
    // Reads the types; call once the tables are set.
    void Initialise();
    bool HasChanges() const { return changed_; }
    // Opens the choice of types (the two arguments are not used).
    void ShowTypes(qint16 = 0, qint16 = 0);
    QString currentType() const;
    void chooseType(const QString& name);
    // -1 when saved, 0 on failure.
    qint32 Save(QString& userName);

  signals:
    void TipoChanged(const QString& text);

  protected:
    void load() override;
    void clear() override;

  private:
    QComboBox* types_;
    bool changed_ = false;
};
