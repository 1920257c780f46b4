#pragma once

#include <exception>

#include "vythread/VyString.h"

// The framework's error: one message text that reads like a call stack, outermost context first.
// Each layer that adds context puts one line in front of the text:
//     "*Class::Method[ : message][ -> File: name]"
// and a line feed separates it from the text already held, e.g.
//     "*VyPlatform::GetResourceFile : Could not locate resource file -> File: Colors\Default.Color".
// Thrown by value and caught by reference; a handler that adds context calls AddContext and rethrows
// with `throw;` so the dynamic type (VyFileException) is kept.
class VyException : public std::exception
{
public:
    VyException(std::string_view className, std::string_view method, std::string_view message = {},
                std::string_view fileName = {});
    ~VyException() override = default;

    // Puts the line for this context in front of the text held so far.
    void AddContext(std::string_view className, std::string_view method, std::string_view message = {},
                    std::string_view fileName = {});
    // Appends " -> File: " and the name to the end of the text (used by the image loaders).
    void AppendFile(std::string_view fileName);

    const VyString& GetMessage() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

    // Hands the text to the framework's trace output.
    void Report() const;

private:
    VyString m_message;
};

// Marks file and resource errors. One raised where a system call failed also carries that call's
// error number, whose text is kept apart from the message (which reads the same with or without it).
class VyFileException : public VyException
{
public:
    using VyException::VyException;
    VyFileException(std::string_view className, std::string_view method, std::string_view message,
                    std::string_view fileName, int systemError);

    // The errno of the failed system call; 0 when none was given.
    int GetSystemError() const { return m_systemError; }
    // The system's text for it ("No space left on device"); empty when none was given.
    VyString GetReason() const;

private:
    int m_systemError = 0;
};
