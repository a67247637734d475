// The class library's binary streaming of an object's properties: TWriter
// writes the published properties of an object (and the data it defines in
// DefineProperties) as typed values; TReader reads them back into an object
// of the same class. Sub-objects are written as "Prop.Sub" names,
// collections item by item, string lists as their "Strings" list, and
// references to components by their names.
//
// A value starts with its type byte (TValueType); integers are little-endian.
//
//   names          a length byte and that many bytes
//   vaInt8/16/32/64 the integer in the smallest of these that holds it
//   vaExtended     a 10-byte x87 extended float
//   vaString       a length byte, the 8-bit text; vaLString: a 32-bit length
//   vaWString      a 32-bit count of UTF-16 code units, then the units
//   vaIdent        a name (an enumeration value, a component reference)
//   vaFalse/vaTrue Booleans; vaNil: no object
//   vaSet          the element names, ended by an empty name
//   vaBinary       a 32-bit byte count, then the bytes
//   vaList         values up to vaNull; vaCollection: items up to vaNull,
//                  each a vaList of properties
//   properties     name and value pairs up to vaNull
//
// A property is written unless its stored rule says no, an ordinal property
// equals its default, or an object property holds nothing.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"

#include <cstdint>
#include <functional>
#include <string>

namespace rtl {

class TComponent;
class TReader;
class TStream;
class TWriter;

enum TValueType : uint8_t {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String,
    vaDouble,
};

// What the writer and the reader offer an object for the data it stores
// beside its published properties (TPersistent::DefineProperties).
class TFiler {
public:
    using TReaderProc = std::function<void(TReader &)>;
    using TWriterProc = std::function<void(TWriter &)>;
    using TStreamProc = std::function<void(TStream &)>;

    virtual ~TFiler() = default;

    // A property stored as values: read or written through the filer.
    virtual void DefineProperty(const std::string &name, const TReaderProc &readData,
                                const TWriterProc &writeData, bool hasData) = 0;
    // A property stored as a block of bytes: readData gets a stream of the
    // stored bytes, writeData writes them into one.
    virtual void DefineBinaryProperty(const std::string &name, const TStreamProc &readData,
                                      const TStreamProc &writeData, bool hasData) = 0;

    // The same object of the form this one inherits from; there is none in
    // what is streamed here.
    TPersistent *Ancestor() const { return nullptr; }
};

class TWriter : public TFiler {
public:
    explicit TWriter(TStream &stream) : FStream(stream) {}

    // The properties of instance, without the closing vaNull.
    void WriteProperties(TPersistent &instance);

    void WriteValue(TValueType value);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteInteger(int64_t value);
    void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
    void WriteFloat(double value);
    void WriteString(const std::string &value);
    void WriteWideString(const std::u16string &value);
    void WriteIdent(const std::string &ident);
    void WriteBinary(const std::string &bytes);
    // A name: its length (at most 255) and its bytes.
    void WriteStr(const std::string &name);

    void DefineProperty(const std::string &name, const TReaderProc &readData,
                        const TWriterProc &writeData, bool hasData) override;
    void DefineBinaryProperty(const std::string &name, const TStreamProc &readData,
                              const TStreamProc &writeData, bool hasData) override;

private:
    void WriteProperty(TPersistent &instance, const class TPropInfo &prop);
    void WriteCollection(class TCollection &collection);
    void WriteBytes(const void *data, int64_t count);

    TStream &FStream;
    std::string FPrefix; // "Font." while the properties of a sub-object are written
    int FDepth = 0;
};

// Reading raises EReadError for a stream that ends early, a value of the
// wrong type, an unknown property or nesting deeper than 64 objects; what
// was read before stays in the object.
class TReader : public TFiler {
public:
    // Component references are looked up among root and the components it
    // owns; without a root they are left as they are.
    explicit TReader(TStream &stream, TComponent *root = nullptr) : FStream(stream), FRoot(root) {}

    // Properties up to and including the closing vaNull.
    void ReadProperties(TPersistent &instance);

    TValueType ReadValue();
    // The next byte, left in the stream: a value's type, or where names are
    // read, the closing vaNull or a name's length.
    TValueType NextValue();
    bool EndOfList() { return NextValue() == vaNull; }
    void ReadListBegin();
    void ReadListEnd();
    int64_t ReadInteger();
    bool ReadBoolean();
    double ReadFloat();
    std::string ReadString();
    std::u16string ReadWideString();
    std::string ReadIdent();
    std::string ReadBinary();
    std::string ReadStr();
    void SkipValue();

    void DefineProperty(const std::string &name, const TReaderProc &readData,
                        const TWriterProc &writeData, bool hasData) override;
    void DefineBinaryProperty(const std::string &name, const TStreamProc &readData,
                              const TStreamProc &writeData, bool hasData) override;

private:
    void ReadProperty(TPersistent &instance);
    void ReadPropValue(TPersistent &instance, const class TPropInfo &prop);
    void ReadCollection(class TCollection &collection);
    void ReadBytes(void *data, int64_t count);
    int64_t ReadCount();
    [[noreturn]] void Invalid(const std::string &what);

    TStream &FStream;
    TComponent *FRoot;
    std::string FPropName; // the defined property being looked for
    bool FFound = false;
    int FDepth = 0;
};

} // namespace rtl
