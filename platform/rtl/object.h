// The root classes of the class library: TObject with its class
// information, and TPersistent with Assign.
#pragma once

#include <string>

namespace rtl {

// Run-time class information: one static instance per class, linked to the
// parent's. Reflection (published properties) hangs off it; see typinfo.h.
struct TClassInfo {
    const char *Name;
    const TClassInfo *Parent;
};

// Inside a class body: declares the class information of Class.
#define RTL_DECLARE_CLASS(Class)                                                                   \
public:                                                                                            \
    static const ::rtl::TClassInfo &StaticClassInfo();                                             \
    const ::rtl::TClassInfo &ClassType() const override { return StaticClassInfo(); }

// In the class's .cpp file: defines the class information of Class below Parent.
#define RTL_IMPLEMENT_CLASS(Class, Parent)                                                         \
    const ::rtl::TClassInfo &Class::StaticClassInfo()                                              \
    {                                                                                              \
        static const ::rtl::TClassInfo info{#Class, &Parent::StaticClassInfo()};                  \
        return info;                                                                               \
    }

class TObject {
public:
    virtual ~TObject() = default;
    static const TClassInfo &StaticClassInfo();
    virtual const TClassInfo &ClassType() const { return StaticClassInfo(); }
    std::string ClassName() const { return ClassType().Name; }
    bool InheritsFrom(const TClassInfo &cls) const;
    // Case-insensitive class-name membership, as the translation walks test it.
    bool InheritsFrom(const std::string &className) const;
};

class EConvertError;

class TPersistent : public TObject {
    RTL_DECLARE_CLASS(TPersistent)
public:
    // Copies source into this object; raises EConvertError when neither side
    // knows how ("Cannot assign a X to a Y").
    virtual void Assign(const TPersistent &source);

protected:
    virtual void AssignTo(TPersistent &dest) const;
};

} // namespace rtl
