#pragma once
// The exception family of the platform layer. Every error that reaches a user
// carries the message shown to that user; the application object's default
// handler displays it in a message box.

#include <exception>
#include <string>

namespace core {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    void SetMessage(std::string message) { message_ = std::move(message); }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Raised by Abort(): ends an operation silently, no message is shown.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

[[noreturn]] void Abort();

#define KONVERZE_EXCEPTION(Name, Base)              \
    class Name : public Base {                      \
    public:                                         \
        using Base::Base;                           \
    }

KONVERZE_EXCEPTION(EConvertError, Exception);
KONVERZE_EXCEPTION(EListError, Exception);
KONVERZE_EXCEPTION(EOleError, Exception);
KONVERZE_EXCEPTION(ENotSupportedException, Exception);
KONVERZE_EXCEPTION(EArgumentException, Exception);
KONVERZE_EXCEPTION(EComponentError, Exception);
KONVERZE_EXCEPTION(EStreamError, Exception);
KONVERZE_EXCEPTION(EReadError, EStreamError);
KONVERZE_EXCEPTION(EWriteError, EStreamError);
KONVERZE_EXCEPTION(EFileStreamError, EStreamError);
KONVERZE_EXCEPTION(EFOpenError, EFileStreamError);
KONVERZE_EXCEPTION(EFCreateError, EFileStreamError);
KONVERZE_EXCEPTION(EIniFileException, Exception);
KONVERZE_EXCEPTION(EOSError, Exception);

// An input/output failure with the error number of the operating system.
class EInOutError : public Exception {
public:
    EInOutError(std::string message, int errorCode)
        : Exception(std::move(message)), errorCode_(errorCode) {}
    int ErrorCode() const noexcept { return errorCode_; }

private:
    int errorCode_;
};

#undef KONVERZE_EXCEPTION

} // namespace core
