#pragma once
// The hidden owner form: loaded once per process by the start-up and never
// shown; GetNewParent makes one per card, tied to the host's window.
#include <QPointer>
#include <QWidget>
#include <QWindow>

class frmMainChilds : public QWidget {
    Q_OBJECT
  public:
    explicit frmMainChilds(QWidget* parent = nullptr);
    // Loads the form without showing it.
    void Load();
    bool isLoaded() const { return loaded_; }

    // The host's window this owner stands for, if any.
    void setHostWindow(QWindow* host);
    QWindow* hostWindow() const { return host_; }
    // Makes the window follow the host: above it, and with it.
    void own(QWidget* window) const;

  private:
    bool loaded_ = false;
    QPointer<QWindow> host_;
};
