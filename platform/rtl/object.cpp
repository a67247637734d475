#include "platform/rtl/object.h"

#include "platform/rtl/exceptions.h"

#include <strings.h>

namespace rtl {

const TClassInfo &TObject::StaticClassInfo()
{
    static const TClassInfo info{"TObject", nullptr};
    return info;
}

bool TObject::InheritsFrom(const TClassInfo &cls) const
{
    for (const TClassInfo *c = &ClassType(); c; c = c->Parent)
        if (c == &cls)
            return true;
    return false;
}

bool TObject::InheritsFrom(const std::string &className) const
{
    for (const TClassInfo *c = &ClassType(); c; c = c->Parent)
        if (strcasecmp(c->Name, className.c_str()) == 0)
            return true;
    return false;
}

RTL_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent &source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent &dest) const
{
    throw EConvertError(Format("Cannot assign a %s to a %s", ClassName().c_str(),
                               dest.ClassName().c_str()));
}

} // namespace rtl
