#pragma once
// The hidden owner form: loaded once per process by the start-up and never
// shown. Each record card gets its own instance tied to the host's window.
#include <QWidget>

class frmMainChilds : public QWidget {
    Q_OBJECT
public:
    explicit frmMainChilds(QWidget* parent = nullptr);
    // Loads the form without showing it.
    void Load();
    bool isLoaded() const { return loaded_; }

private:
    bool loaded_ = false;
};
