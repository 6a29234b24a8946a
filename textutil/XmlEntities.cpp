// XML entity encoding into a text sized once, and decoding in place.

#include "textutil/XmlEntities.h"

#include <climits>
#include <cstring>
#include <utility>

namespace {

struct s_Entity {
    char m_Character;
    const char* m_p_Text;
    int m_Length;
};

constexpr s_Entity ENTITIES[] = {
    {'&', "&amp;", 5}, {'<', "&lt;", 4}, {'>', "&gt;", 4}, {'"', "&quot;", 6}, {'\'', "&apos;", 6},
};

const s_Entity* FindByCharacter(char c) {
    for (const s_Entity& entity : ENTITIES) {
        if (entity.m_Character == c) {
            return &entity;
        }
    }
    return nullptr;
}

const s_Entity* FindByText(const char* position, int available) {
    for (const s_Entity& entity : ENTITIES) {
        if (entity.m_Length <= available && std::memcmp(position, entity.m_p_Text, entity.m_Length) == 0) {
            return &entity;
        }
    }
    return nullptr;
}

} // namespace

bool XmlEncodeEntities(c_String& text) {
    const c_StringView source(text);
    std::int64_t length = 0;
    for (const char c : source) {
        const s_Entity* entity = FindByCharacter(c);
        length += entity == nullptr ? 1 : entity->m_Length;
    }
    if (length == source.GetLength()) {
        return true;
    }
    c_String encoded;
    if (length >= INT_MAX || !encoded.SetLength(static_cast<int>(length))) {
        return false;
    }
    char* out = encoded.GetBuffer();
    for (const char c : source) {
        const s_Entity* entity = FindByCharacter(c);
        if (entity == nullptr) {
            *out++ = c;
        } else {
            std::memcpy(out, entity->m_p_Text, static_cast<std::size_t>(entity->m_Length));
            out += entity->m_Length;
        }
    }
    text = std::move(encoded);
    return true;
}

void XmlDecodeEntities(c_String& text) {
    char* buffer = text.GetBuffer();
    const int length = text.GetLength();
    int kept = 0;
    for (int i = 0; i < length;) {
        const s_Entity* entity = buffer[i] == '&' ? FindByText(buffer + i, length - i) : nullptr;
        buffer[kept++] = entity == nullptr ? buffer[i] : entity->m_Character;
        i += entity == nullptr ? 1 : entity->m_Length;
    }
    text.Truncate(kept);
}
