// c_TextOutput: prefixing and handing on each line.

#include "oslayer/system/c_TextOutput.h"

#include <utility>

c_TextOutput::c_TextOutput(const c_StringView& name, t_Write write)
    : m_Write(std::move(write)), m_Prefix(Concat({name, " | "})) {}

void c_TextOutput::Output(const c_StringView& line, bool flag, std::int32_t number) const {
    if (m_Write) {
        m_Write(Concat({m_Prefix, line}), flag, number);
    }
}
