#include "platform/rtl/object.h"

#include "platform/rtl/exceptions.h"

#include <strings.h>

namespace rtl {

bool TClassInfo::InheritsFrom(const TClassInfo &cls) const
{
    for (const TClassInfo *c = this; c; c = c->Parent)
        if (c == &cls)
            return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const
{
    for (const TClassInfo *c = this; c; c = c->Parent) {
        std::string_view name(c->Name);
        if (name.size() == className.size() &&
            strncasecmp(name.data(), className.data(), name.size()) == 0)
            return true;
    }
    return false;
}

const TClassInfo &TObject::StaticClassInfo()
{
    static const TClassInfo info{"TObject", nullptr, nullptr};
    return info;
}

RTL_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent &source)
{
    source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent &dest) const
{
    throw EConvertError(
        Format("Cannot assign a %s to a %s", ClassName().c_str(), dest.ClassName().c_str()));
}

std::string TPersistent::GetNamePath() const
{
    std::string result = ClassName();
    if (const TPersistent *owner = GetOwner()) {
        std::string path = owner->GetNamePath();
        if (!path.empty())
            result = path + "." + result;
    }
    return result;
}

} // namespace rtl
