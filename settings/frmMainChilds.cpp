#include "settings/frmMainChilds.h"

frmMainChilds::frmMainChilds(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMainChilds"));
}

void frmMainChilds::Load()
{
    ensurePolished();
    loaded_ = true;
}
