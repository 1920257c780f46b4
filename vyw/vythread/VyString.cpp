#include "vythread/VyString.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ostream>

VyString VyString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    VyString result;
    if (length > 0)
    {
        result.resize(static_cast<size_t>(length));
        std::vsnprintf(result.data(), result.size() + 1, format, args);
    }
    va_end(args);
    return result;
}

VyString VyString::Trimmed() const
{
    size_t begin = 0;
    size_t end = size();
    while (begin < end && IsBlank((*this)[begin]))
        ++begin;
    while (end > begin && IsBlank((*this)[end - 1]))
        --end;
    return VyString(substr(begin, end - begin));
}

VyString VyString::Lower() const
{
    VyString result(*this);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

VyString VyString::Upper() const
{
    VyString result(*this);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

bool VyString::EqualsNoCase(std::string_view other) const
{
    if (other.size() != size())
        return false;
    for (size_t i = 0; i < size(); ++i)
    {
        char a = (*this)[i];
        char b = other[i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

int VyString::ToInt() const
{
    return std::atoi(c_str());
}

void PrintTo(const VyString& text, std::ostream* out)
{
    *out << '"' << static_cast<const std::string&>(text) << '"';
}
