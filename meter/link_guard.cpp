#include "meter/link_guard.h"

#include <algorithm>

namespace meter {

TLinkGuard &TLinkGuard::Instance()
{
    static TLinkGuard guard;
    return guard;
}

bool TLinkGuard::TryAcquire(const std::string &holder)
{
    if (FHeld)
        return false;
    FHeld = true;
    FHolder = holder;
    return true;
}

void TLinkGuard::Release()
{
    FHeld = false;
    FHolder.clear();
    FProtected.clear();
}

void TLinkGuard::Protect(const void *window)
{
    if (FHeld && window != nullptr && !Protects(window))
        FProtected.push_back(window);
}

bool TLinkGuard::Protects(const void *window) const
{
    return FHeld && std::find(FProtected.begin(), FProtected.end(), window) != FProtected.end();
}

TLinkHold::TLinkHold(const std::string &holder, TLinkGuard &guard)
    : FGuard(guard), FAcquired(guard.TryAcquire(holder))
{
}

TLinkHold::~TLinkHold()
{
    Release();
}

void TLinkHold::Protect(const void *window)
{
    if (FAcquired)
        FGuard.Protect(window);
}

void TLinkHold::Release()
{
    if (FAcquired) {
        FAcquired = false;
        FGuard.Release();
    }
}

} // namespace meter
