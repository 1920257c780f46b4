#include "vythread/VyException.h"

#include <cstring>

#include "vythread/VyTrace.h"

namespace
{
VyString ContextLine(std::string_view className, std::string_view method, std::string_view message,
                     std::string_view fileName)
{
    VyString line("*");
    line.append(className);
    line.append("::");
    line.append(method);
    if (!message.empty())
    {
        line.append(" : ");
        line.append(message);
    }
    if (!fileName.empty())
    {
        line.append(" -> File: ");
        line.append(fileName);
    }
    return line;
}
} // namespace

VyException::VyException(std::string_view className, std::string_view method, std::string_view message,
                         std::string_view fileName)
    : m_message(ContextLine(className, method, message, fileName))
{
}

void VyException::AddContext(std::string_view className, std::string_view method, std::string_view message,
                             std::string_view fileName)
{
    VyString line = ContextLine(className, method, message, fileName);
    if (!m_message.empty())
        line.push_back('\n');
    m_message = line + m_message;
}

void VyException::AppendFile(std::string_view fileName)
{
    m_message.append(" -> File: ");
    m_message.append(fileName);
}

void VyException::Report() const
{
    VyTrace::Write(m_message + "\n");
}

VyFileException::VyFileException(std::string_view className, std::string_view method, std::string_view message,
                                 std::string_view fileName, int systemError)
    : VyException(className, method, message, fileName), m_systemError(systemError)
{
}

VyString VyFileException::GetReason() const
{
    if (m_systemError == 0)
        return {};
    char text[256] = {};
    // The GNU strerror_r may hand back a text of its own instead of filling the buffer.
    return VyString(strerror_r(m_systemError, text, sizeof text));
}
