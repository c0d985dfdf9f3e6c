#include "settings/modParentsForm.h"

#include "connection/ErrorReport.h"
#include "platform/objects/HostCallback.h"
#include "platform/values/Conversions.h"
#include "settings/frmMainChilds.h"

#include <QPointer>
#include <QWindow>

namespace modParentsForm {

namespace {

struct OwnerState {
    qint32 handle = 0;
    QPointer<frmMainChilds> owner; // its card may delete it when it moves to a newer one
};

// Process-wide: each new request replaces them.
OwnerState& state()
{
    static OwnerState s;
    return s;
}

vb::Variant hwndOf(const vb::ObjectRef& object)
{
    auto* host = dynamic_cast<HostCallback*>(object.get());
    if (!host)
        return {};
    try {
        return host->hwnd();
    } catch (const vb::Error&) {
        return {};
    }
}

} // namespace

frmMainChilds* GetNewParent(const vb::ObjectRef& object)
{
    try {
        if (!object)
            return nullptr;
        const vb::Variant handle = hwndOf(object);
        if (handle.isEmpty() || !vb::IsNumeric(handle))
            return nullptr;
        state().handle = vb::CLng(handle);
        auto* owner = new frmMainChilds();
        owner->Load();
        owner->setHostWindow(QWindow::fromWinId(WId(quint32(state().handle))));
        state().owner = owner;
        return owner;
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Origin::OwnerWindow, QStringLiteral("GetNewParent"), e);
    }
    return nullptr;
}

qint32 LastHostHandle()
{
    return state().handle;
}

frmMainChilds* LastOwner()
{
    return state().owner;
}

} // namespace modParentsForm
