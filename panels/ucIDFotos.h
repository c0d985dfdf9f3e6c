#pragma once
// The contact's photograph, kept in the database (PNG, base64) and scaled to fit.
#include "panels/IdentityPanel.h"
#include <QImage>

class QLabel;

class ucIDFotos : public IdentityPanel {
    Q_OBJECT
  public:
    explicit ucIDFotos(QWidget* parent = nullptr);

    // Stores the picture of that file for the contact; false (with a message
    // by Error) when it is not a picture or the contact is not stored yet.
    bool LoadFromFile(const QString& path);
    const QImage& image() const { return image_; }

  protected:
    void load() override;
    void clear() override;

  private:
    void show(const QImage& image);
    QLabel* picture_;
    QImage image_;
};
