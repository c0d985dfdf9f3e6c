#include "settings/frmMainChilds.h"

#include <QWindow>

frmMainChilds::frmMainChilds(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMainChilds"));
}

void frmMainChilds::Load()
{
    ensurePolished();
    loaded_ = true;
}

void frmMainChilds::setHostWindow(QWindow* host)
{
    host_ = host;
    if (host)
        host->QObject::setParent(this); // the foreign window's wrapper lives with its owner
}

void frmMainChilds::own(QWidget* window) const
{
    if (!window || !host_)
        return;
    window->winId(); // a native window, so it can carry the hint
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(host_);
}
