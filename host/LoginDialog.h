#pragma once
// Signing in: user and password, prefilled with the demonstration login.
#include <QDialog>

class QLabel;
class QLineEdit;

class LoginDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LoginDialog(QWidget* parent = nullptr);
    QString user() const;
    QString password() const;
    void showProblem(const QString& text);

  private:
    QLineEdit* user_;
    QLineEdit* password_;
    QLabel* problem_;
};
