#pragma once
// c_TextOutput: a named destination of text lines, such as the thread listing.
//
// Each line goes to the callable with the output's prefix, its name followed by " | ", in front.
// The flag and number are handed to the callable as they are given.

#include "strings/c_String.h"

#include <cstdint>
#include <functional>

class c_TextOutput {
public:
    typedef std::function<void(const c_StringView& text, bool flag, std::int32_t number)> t_Write;

    c_TextOutput(const c_StringView& name, t_Write write);

    // Nothing happens when the output holds no callable.
    void Output(const c_StringView& line, bool flag, std::int32_t number) const;

private:
    t_Write m_Write;
    c_String m_Prefix;
};
