// Exception classes of the class-library core. Every failure the class
// library reports is an Exception (or below it) carrying a message.
#pragma once

#include <cstdarg>
#include <exception>
#include <string>

namespace rtl {

// printf-style formatting into a std::string.
std::string Format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char *fmt, va_list args);

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string &Message() const noexcept { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    const char *what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define RTL_EXCEPTION(Name, Base)                                                                  \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

RTL_EXCEPTION(EListError, Exception);       // index out of bounds in lists
RTL_EXCEPTION(EStringListError, Exception); // sorted-list and duplicate rules
RTL_EXCEPTION(EStreamError, Exception);
RTL_EXCEPTION(EReadError, EStreamError);    // short read
RTL_EXCEPTION(EWriteError, EStreamError);   // short write
RTL_EXCEPTION(EFOpenError, EStreamError);   // file cannot be opened
RTL_EXCEPTION(EFCreateError, EStreamError); // file cannot be created
RTL_EXCEPTION(EConvertError, Exception);    // text or date-time conversion
RTL_EXCEPTION(ERegistryError, Exception);   // missing value or wrong type
RTL_EXCEPTION(EInvalidCast, Exception);     // object of the wrong class
RTL_EXCEPTION(EComponentError, Exception);  // component names and ownership
RTL_EXCEPTION(EClassNotFound, Exception);   // class registry look-up
RTL_EXCEPTION(EPropertyError, Exception);   // reflection: unknown or read-only property

#undef RTL_EXCEPTION

} // namespace rtl
