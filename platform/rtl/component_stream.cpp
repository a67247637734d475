#include "platform/rtl/component_stream.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

#include <cstring>
#include <vector>

namespace rtl {

namespace {

constexpr int kMaxNesting = 64;

void WriteComponentData(TWriter &writer, TComponent &component)
{
    writer.WriteStr(component.ClassName());
    writer.WriteProperties(component);
    writer.WriteListEnd();
    for (int i = 0; i < component.ComponentCount(); ++i)
        WriteComponentData(writer, *component.Components(i));
    writer.WriteListEnd();
}

class TComponentReader {
public:
    TComponentReader(TStream &stream, TComponent &root, const TComponentReadRules &rules)
        : FStream(stream), FReader(stream, &root), FRules(rules)
    {
    }

    void Read(TComponent &instance)
    {
        char signature[sizeof kComponentSignature];
        if (FStream.Read(signature, sizeof signature) != sizeof signature ||
            std::memcmp(signature, kComponentSignature, sizeof signature) != 0)
            throw EReadError("Invalid stream format");
        const std::string className = FReader.ReadStr();
        if (!SameText(className, instance.ClassName()))
            throw EReadError(Format("The stream holds a %s, not a %s", className.c_str(),
                                    instance.ClassName().c_str()));
        ReadBody(instance, 1);
    }

    // Every component read, in reading order (the root first).
    std::vector<TComponent *> Loading;
    std::vector<TComponent *> Created;

private:
    void ReadBody(TComponent &component, int depth)
    {
        component.Loading();
        Loading.push_back(&component);
        component.SetReading(true);
        FReader.ReadProperties(component);
        component.SetReading(false);
        while (!FReader.EndOfList()) {
            if (!FRules.OwnedComponents)
                throw EReadError(
                    Format("%s may not own components in a stream", component.ClassName().c_str()));
            if (depth >= kMaxNesting)
                throw EReadError("Stored components nest too deep");
            ReadOwned(component, depth + 1);
        }
        FReader.ReadListEnd();
    }

    void ReadOwned(TComponent &owner, int depth)
    {
        const std::string className = FReader.ReadStr();
        TComponent *child = nullptr;
        try {
            child = CreateComponent(className, &owner);
        } catch (const Exception &e) {
            throw EReadError(
                Format("Cannot create a %s: %s", className.c_str(), e.Message().c_str()));
        }
        Created.push_back(child);
        ReadBody(*child, depth);
    }

    TStream &FStream;
    TReader FReader;
    const TComponentReadRules &FRules;
};

} // namespace

void WriteComponent(TStream &stream, TComponent &component)
{
    stream.WriteBuffer(kComponentSignature, sizeof kComponentSignature);
    TWriter writer(stream);
    WriteComponentData(writer, component);
}

TComponent *ReadComponent(TStream &stream, TComponent &instance, const TComponentReadRules &rules)
{
    TComponentReader reader(stream, instance, rules);
    try {
        reader.Read(instance);
    } catch (...) {
        for (TComponent *c : reader.Loading)
            c->SetReading(false);
        // Newest first: a created component may own later ones.
        for (auto it = reader.Created.rbegin(); it != reader.Created.rend(); ++it)
            delete *it;
        if (!reader.Loading.empty())
            instance.Loaded();
        throw;
    }
    for (TComponent *c : reader.Loading)
        c->Loaded();
    return &instance;
}

} // namespace rtl
