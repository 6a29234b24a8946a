// c_StringEditor: insertion, erasure, replacement, case changes and joining on runs of units.

#include "strings/internal/StringEditor.h"

namespace n_StringCore {

template <typename T> void c_StringEditor<T>::InsertText(int position, t_Text<T> text) {
    const t_Text<T> current = this->GetText();
    if (position < 0 || position > current.m_Length || text.m_Length == 0) {
        return;
    }
    if (position == current.m_Length) {
        this->AppendUnits(text.m_p_Data, text.m_Length);
        return;
    }
    const t_Text<T> pieces[] = {Left(current, position), text, RightFrom(current, position)};
    c_StringEditor built;
    if (built.JoinTexts(pieces, 3, {})) {
        this->SwapStorage(built);
    }
}

template <typename T> void c_StringEditor<T>::EraseUnits(int start, int count) {
    if (count < 1) {
        return;
    }
    const std::int64_t length = this->GetLength();
    const std::int64_t from = start < 0 ? 0 : start;
    const std::int64_t end = std::int64_t(start) + count;
    const std::int64_t to = end > length ? length : end;
    if (to <= from) {
        return;
    }
    T* buffer = this->GetBuffer();
    std::memmove(buffer + from, buffer + to, static_cast<std::size_t>(length - to) * sizeof(T));
    this->SetLength(static_cast<int>(length - (to - from)));
}

template <typename T> void c_StringEditor<T>::RemoveUnit(T unit) {
    T* buffer = this->GetBuffer();
    const int length = this->GetLength();
    int kept = 0;
    for (int i = 0; i < length; ++i) {
        if (buffer[i] != unit) {
            buffer[kept++] = buffer[i];
        }
    }
    if (kept != length) {
        this->SetLength(kept);
    }
}

template <typename T> void c_StringEditor<T>::ReplaceUnit(T find, T replacement) {
    T* buffer = this->GetBuffer();
    for (int i = 0, length = this->GetLength(); i < length; ++i) {
        if (buffer[i] == find) {
            buffer[i] = replacement;
        }
    }
}

// The matches are those of a left-to-right search that goes on after each match, so a replacement
// that contains find never loops. Counted first, so the result takes one allocation.
template <typename T> void c_StringEditor<T>::ReplaceAllTexts(t_Text<T> find, t_Text<T> replacement) {
    if (find.m_Length == 0 ||
        (find.m_Length == replacement.m_Length &&
         std::memcmp(find.m_p_Data, replacement.m_p_Data, static_cast<std::size_t>(find.m_Length) * sizeof(T)) == 0)) {
        return;
    }
    const t_Text<T> text = this->GetText();
    std::int64_t matches = 0;
    for (int at = Find<T, false>(text, find, 0); at >= 0; at = Find<T, false>(text, find, at + find.m_Length)) {
        ++matches;
    }
    if (matches == 0) {
        return;
    }
    const std::int64_t total = text.m_Length + matches * (std::int64_t(replacement.m_Length) - find.m_Length);
    c_StringEditor result;
    if (total >= INT_MAX || !result.SetSize(static_cast<int>(total) + 1)) {
        return;
    }
    T* out = result.GetBuffer();
    int copied = 0;
    for (int at = Find<T, false>(text, find, 0); at >= 0; at = Find<T, false>(text, find, copied)) {
        out = CopyPiece(out, Mid(text, copied, at - copied));
        out = CopyPiece(out, replacement);
        copied = at + find.m_Length;
    }
    *CopyPiece(out, RightFrom(text, copied)) = 0;
    this->SwapStorage(result);
}

template <typename T> void c_StringEditor<T>::ChangeCase(bool upper) {
    T* buffer = this->GetBuffer();
    const unsigned first = upper ? 'a' : 'A';
    for (int i = 0, length = this->GetLength(); i < length; ++i) {
        if (ToUnsigned(buffer[i]) - first < 26u) {
            buffer[i] = static_cast<T>(upper ? buffer[i] - 32 : buffer[i] + 32);
        }
    }
}

template <typename T> void c_StringEditor<T>::KeepPiece(t_Text<T> piece) {
    if (piece.m_Length == 0) {
        this->SetLength(0);
        return;
    }
    std::memmove(this->GetBuffer(), piece.m_p_Data, static_cast<std::size_t>(piece.m_Length) * sizeof(T));
    this->SetLength(piece.m_Length);
}

template class c_StringEditor<char>;
template class c_StringEditor<char16_t>;

} // namespace n_StringCore
