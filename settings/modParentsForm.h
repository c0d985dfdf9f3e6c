#pragma once
// An owner window tied to the host's window, so that the record card stays
// above the host and goes with it. On X11 the tie is the transient-parent
// hint of the host's native window (QWindow::fromWinId); Wayland does not
// let one client parent another's window, so there the card opens without
// an owner.
#include "platform/values/Variant.h"

class frmMainChilds;
class QWindow;

namespace modParentsForm {

// Nothing when the object is nothing or has no numeric hwnd.
frmMainChilds* GetNewParent(const vb::ObjectRef& object);

// The last host window handle and owner made for it.
qint32 LastHostHandle();
frmMainChilds* LastOwner();

} // namespace modParentsForm
