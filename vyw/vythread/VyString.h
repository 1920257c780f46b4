#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

// The framework's string of 8-bit characters. A thin layer over std::string: everything std::string
// offers works on it, and it adds the few helpers the framework needs everywhere.
class VyString : public std::string
{
public:
    using std::string::string;
    VyString() = default;
    VyString(const std::string& text) : std::string(text) {}
    VyString(std::string&& text) noexcept : std::string(std::move(text)) {}
    VyString(std::string_view text) : std::string(text) {}

    // printf-style formatting into a new string.
    static VyString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

    // A byte is blank when, read as a signed 8-bit number, it is at most 32: control characters,
    // the space and every byte from 0x80 up.
    static bool IsBlank(char c) { return static_cast<signed char>(c) <= 32; }

    // Copy without blank bytes at either end.
    VyString Trimmed() const;
    // Copies with the ASCII letters changed; other bytes stay as they are.
    VyString Lower() const;
    VyString Upper() const;
    // ASCII case-insensitive equality.
    bool EqualsNoCase(std::string_view other) const;
    // The number the C library's atoi reads: leading blanks, optional sign, digits; 0 without digits.
    int ToInt() const;

    const char* c() const { return c_str(); }
};

// Prints a string as text in test failure messages.
void PrintTo(const VyString& text, std::ostream* out);
