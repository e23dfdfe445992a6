// platform/forms/exceptions.cpp
#include "platform/forms/exceptions.h"

std::string Exception::Format(const char* format, const std::string& argument)
{
    std::string text(format);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

EFCreateError::EFCreateError(const std::string& fileName)
    : EStreamError(Format("Cannot create file %s", fileName))
{
}

EWriteError::EWriteError() : EStreamError("Stream write error") {}

EResNotFound::EResNotFound(const std::string& resourceName)
    : Exception(Format("Resource %s not found", resourceName))
{
}
