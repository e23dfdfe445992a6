// platform/forms/exceptions.h
// The exceptions of the form class library. Resource and file errors leave the operation as one
// of these; the program's entry point shows them in the exception box (TApplication).
#pragma once

#include <string>

class Exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    virtual ~Exception() = default;
    const std::string& Message() const { return message_; }

    // `format` with its one "%s" replaced by `argument`.
    static std::string Format(const char* format, const std::string& argument);

private:
    std::string message_;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// "Cannot create file %s"
class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(const std::string& fileName);
};

// "Stream write error": fewer bytes reached the file than were given.
class EWriteError : public EStreamError {
public:
    EWriteError();
};

// "Resource %s not found"
class EResNotFound : public Exception {
public:
    explicit EResNotFound(const std::string& resourceName);
};
