#pragma once
// The host's own object as the component sees it: the card calls it back by
// name when it closes, and its window id gives the card its owner window. A
// host implements what it answers; a member left out fails as a late-bound
// call to a missing member does (error 438), which the component ignores.
#include "platform/values/Variant.h"
#include "platform/values/VbError.h"

class HostCallback : public vb::Object {
  public:
    // The card closed on `contactoId`; the three list values come back as the
    // host gave them.
    virtual void RemoteActivate(qint32& /*contactoId*/, qint32& /*currentIndex*/, qint32& /*currentObject*/,
                                qint32& /*lastRelatedId*/)
    {
        throw vb::Error::notSupported(QStringLiteral("RemoteActivate"));
    }
    virtual void RemoteKey(qint32& /*contactoId*/)
    {
        throw vb::Error::notSupported(QStringLiteral("RemoteKey"));
    }
    // The native id of the host's window (X11 window id, or any WId), as a
    // number; anything that is not numeric gives the card no owner.
    virtual vb::Variant hwnd() { throw vb::Error::notSupported(QStringLiteral("hwnd")); }
};
