// The ini classes of the translation files: TlxCustomIniFile, the reading
// and writing of typed values over sections and keys, and TlxMemIniFile,
// which keeps the whole file in memory (sections and keys sorted, names
// compared ignoring case).
//
// Text is handled byte for byte: an ini file holds 8-bit text, in the
// system code page or (as its OPTIONS say) UTF-8.
#pragma once

#include "platform/rtl/datetime.h"
#include "platform/rtl/strings.h"

#include <string>

namespace rtl {
class TStream;
}

namespace i18n {

class TlxCustomIniFile : public rtl::TObject {
public:
    explicit TlxCustomIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

    const std::string &FileName() const { return FFileName; }

    virtual std::string ReadString(const std::string &section, const std::string &ident,
                                   const std::string &defaultValue) = 0;
    virtual void WriteString(const std::string &section, const std::string &ident,
                             const std::string &value) = 0;
    // Decimal, or hexadecimal when the value is longer than 2 characters and
    // starts with "0x" or "0X" ("0x1F" reads 31); defaultValue for any other
    // text.
    virtual int ReadInteger(const std::string &section, const std::string &ident, int defaultValue);
    virtual void WriteInteger(const std::string &section, const std::string &ident, int value);
    // ReadInteger not 0; written as "1" or "0".
    virtual bool ReadBool(const std::string &section, const std::string &ident, bool defaultValue);
    virtual void WriteBool(const std::string &section, const std::string &ident, bool value);
    // In the locale's formats; defaultValue for an empty value or one that
    // does not convert.
    virtual rtl::TDateTime ReadDate(const std::string &section, const std::string &ident,
                                    rtl::TDateTime defaultValue);
    virtual rtl::TDateTime ReadDateTime(const std::string &section, const std::string &ident,
                                        rtl::TDateTime defaultValue);
    virtual double ReadFloat(const std::string &section, const std::string &ident,
                             double defaultValue);
    virtual rtl::TDateTime ReadTime(const std::string &section, const std::string &ident,
                                    rtl::TDateTime defaultValue);
    virtual void WriteDate(const std::string &section, const std::string &ident,
                           rtl::TDateTime value);
    virtual void WriteDateTime(const std::string &section, const std::string &ident,
                               rtl::TDateTime value);
    virtual void WriteFloat(const std::string &section, const std::string &ident, double value);
    virtual void WriteTime(const std::string &section, const std::string &ident,
                           rtl::TDateTime value);
    // The keys of a section (replacing the contents of strings).
    virtual void ReadSection(const std::string &section, rtl::TStrings &strings) = 0;
    virtual void ReadSections(rtl::TStrings &strings) = 0;
    // The values of a section, in the order of its keys.
    virtual void ReadSectionValues(const std::string &section, rtl::TStrings &strings) = 0;
    virtual void EraseSection(const std::string &section) = 0;
    virtual void DeleteKey(const std::string &section, const std::string &ident) = 0;
    // Writes the contents to the file; raises the stream errors of the class
    // library when it cannot (the old file stays as it was).
    virtual void UpdateFile() = 0;

    // True when the section has at least one key.
    bool SectionExists(const std::string &section);

private:
    std::string FFileName;
};

// One key's value.
class TMemIniValue : public rtl::TObject {
public:
    explicit TMemIniValue(std::string value) : Value(std::move(value)) {}
    std::string Value;
};

// The keys of one section, sorted ignoring case (a key may stand twice; the
// first answers), each with its TMemIniValue.
class TMemIniEntry : public rtl::TObject {
public:
    TMemIniEntry();
    rtl::TStringList &Keys() { return FKeys; }
    const rtl::TStringList &Keys() const { return FKeys; }
    // Index of the first key named ident; -1 when none.
    int IndexOfKey(const std::string &ident) const;
    const std::string &ValueAt(int index) const;
    void Add(const std::string &ident, const std::string &value);

private:
    rtl::TStringList FKeys;
};

class TlxMemIniFile : public TlxCustomIniFile {
public:
    // Loads the file when it exists and can be read; else starts empty.
    explicit TlxMemIniFile(const std::string &fileName);
    ~TlxMemIniFile() override;

    std::string ReadString(const std::string &section, const std::string &ident,
                           const std::string &defaultValue) override;
    void WriteString(const std::string &section, const std::string &ident,
                     const std::string &value) override;
    void ReadSection(const std::string &section, rtl::TStrings &strings) override;
    void ReadSections(rtl::TStrings &strings) override;
    void ReadSectionValues(const std::string &section, rtl::TStrings &strings) override;
    void EraseSection(const std::string &section) override;
    void DeleteKey(const std::string &section, const std::string &ident) override;
    void UpdateFile() override;

    void Clear();
    // Replaces the contents from the lines of an ini file: empty lines and
    // lines starting with ';' are skipped, "[name]" opens a section, any
    // other line inside a section is a key, split at its first '=' (a line
    // without '=' is a key with an empty value). Lines before the first
    // section are ignored.
    void SetStrings(const rtl::TStrings &lines);
    // The contents as lines: each section in sorted order, "[name]", its
    // "key=value" lines, then an empty line.
    void GetStrings(rtl::TStrings &lines) const;
    // Replaces the contents from the stream's position to its end.
    void LoadFromStream(rtl::TStream &stream);
    bool Modified() const { return FModified; }

private:
    TMemIniEntry *Entry(const std::string &section) const;
    TMemIniEntry &AddSection(const std::string &section);

    rtl::TStringList FSections; // objects: TMemIniEntry, owned
    bool FModified = false;
};

} // namespace i18n
