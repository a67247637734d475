// The root classes of the class library: TObject with its class
// information, and TPersistent with Assign.
#pragma once

#include <string>
#include <string_view>

namespace rtl {

class TFiler;                            // reads or writes a stored form (filer.h)
struct TPublishedTable;                  // published properties of one class (typinfo.h)
template <class Class> class TPublisher; // declares them (typinfo.h)

// Run-time class information: one static instance per class, linked to the
// parent's. Published holds the properties the class itself publishes (none
// when it publishes nothing); inherited ones are found through Parent.
struct TClassInfo {
    const char *Name;
    const TClassInfo *Parent;
    const TPublishedTable *Published;

    // True when this class is cls or derives from it.
    bool InheritsFrom(const TClassInfo &cls) const;
    // The same by class name, ignoring case.
    bool InheritsFrom(std::string_view className) const;
};

// Inside a class body: declares the class information of Class.
#define RTL_DECLARE_CLASS(Class)                                                                   \
public:                                                                                            \
    static const ::rtl::TClassInfo &StaticClassInfo();                                             \
    const ::rtl::TClassInfo &ClassType() const override                                            \
    {                                                                                              \
        return StaticClassInfo();                                                                  \
    }                                                                                              \
    static void DefinePublished(::rtl::TPublisher<Class> &P);

// In the class's .cpp file: defines the class information of Class below
// Parent, for a class that publishes no properties of its own.
#define RTL_IMPLEMENT_CLASS(Class, Parent)                                                         \
    const ::rtl::TClassInfo &Class::StaticClassInfo()                                              \
    {                                                                                              \
        static const ::rtl::TClassInfo info{#Class, &Parent::StaticClassInfo(), nullptr};          \
        return info;                                                                               \
    }

class TObject {
public:
    virtual ~TObject() = default;

    static const TClassInfo &StaticClassInfo();
    virtual const TClassInfo &ClassType() const { return StaticClassInfo(); }
    std::string ClassName() const { return ClassType().Name; }
    bool InheritsFrom(const TClassInfo &cls) const { return ClassType().InheritsFrom(cls); }
    // Case-insensitive class-name membership, as the translation walks test it.
    bool InheritsFrom(const std::string &className) const
    {
        return ClassType().InheritsFrom(className);
    }
};

class TPersistent : public TObject {
    RTL_DECLARE_CLASS(TPersistent)
public:
    // Copies source into this object; raises EConvertError when neither side
    // knows how ("Cannot assign a X to a Y").
    virtual void Assign(const TPersistent &source);

    // The object's path for messages and translation keys: the class name,
    // preceded by the owner's path and "." when the owner has one.
    virtual std::string GetNamePath() const;

    // The object this one belongs to (a component's owner, a collection's
    // owner, an item's collection); nullptr when none.
    virtual TPersistent *GetOwner() const { return nullptr; }

    // Names the data this object stores beside its published properties
    // (filer.DefineProperty, filer.DefineBinaryProperty); nothing by default.
    virtual void DefineProperties(TFiler &filer) { (void)filer; }

protected:
    virtual void AssignTo(TPersistent &dest) const;
};

} // namespace rtl
