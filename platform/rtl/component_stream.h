// Binary streaming of whole components: a component with its class name,
// its properties (through TWriter/TReader, filer.h) and the components it
// owns. The layout is described in platform/rtl/README.md.
#pragma once

#include "platform/rtl/exceptions.h"

#include <cstdint>

namespace rtl {

class TComponent;
class TStream;

// The four bytes every streamed component starts with.
inline constexpr char kComponentSignature[4] = {'N', 'V', 'C', '1'};

// Writes component (and every component it owns, in order) at the stream's
// position.
void WriteComponent(TStream &stream, TComponent &component);

// What ReadComponent may do besides reading into the component it is given.
struct TComponentReadRules {
    // Create the owned components the stream holds (through the class
    // registry); when false, a stream that holds any is refused.
    bool OwnedComponents = true;
};

// Reads a streamed component from the stream's position into instance,
// whose class must be the one the stream names (ignoring case). Its owned
// components are created below it by their registered classes. Every
// component read is marked loading while it is read and gets Loaded() once
// all are read. Returns instance.
//
// Raises EReadError for a stream that is not a streamed component ("Invalid
// stream format"), names another class, ends early, holds an unknown
// property or a value a property refuses, nests deeper than 64 components,
// or holds owned components the rules refuse or whose class is not
// registered. Components created before the error are destroyed again;
// instance keeps what was read before it (it ends loading all the same).
TComponent *ReadComponent(TStream &stream, TComponent &instance,
                          const TComponentReadRules &rules = {});

} // namespace rtl
