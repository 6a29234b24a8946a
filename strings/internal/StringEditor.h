#pragma once
// c_StringEditor: the edits shared by the narrow and wide owning strings, on runs of units.
//
// The owning strings wrap these in members of their own types. Every edit that builds a new text
// (insertion, replacement, joining) builds it apart from the string and takes it only when whole,
// so an operand may point into the string being changed and a failed allocation changes nothing.

#include "strings/internal/StringStorage.h"

namespace n_StringCore {

template <typename T> class c_StringEditor : public c_StringStorage<T> {
public:
    using c_StringStorage<T>::c_StringStorage;

    // One allocation for the pieces (runs or views) with the separator between each two; false,
    // leaving this storage untouched, when the total cannot be stored. This storage must be in the
    // default state.
    template <typename Piece> bool JoinTexts(const Piece* pieces, int count, t_Text<T> separator) {
        std::int64_t total = count > 1 ? std::int64_t(separator.m_Length) * (count - 1) : 0;
        for (int i = 0; i < count; ++i) {
            total += TextOf(pieces[i]).m_Length;
        }
        if (total >= INT_MAX || !this->SetSize(static_cast<int>(total) + 1)) {
            return false;
        }
        T* out = this->GetBuffer();
        for (int i = 0; i < count; ++i) {
            if (i != 0) {
                out = CopyPiece(out, separator);
            }
            out = CopyPiece(out, TextOf(pieces[i]));
        }
        *out = 0;
        return true;
    }

protected:
    static t_Text<T> TextOf(const t_Text<T>& text) { return text; }
    template <typename View> static t_Text<T> TextOf(const View& view) { return view.Text(); }

    // Copies a piece to out and returns the end of the copy; an empty piece may have a null pointer.
    static T* CopyPiece(T* out, t_Text<T> piece) {
        if (piece.m_Length == 0) {
            return out;
        }
        std::memcpy(out, piece.m_p_Data, static_cast<std::size_t>(piece.m_Length) * sizeof(T));
        return out + piece.m_Length;
    }

    void InsertText(int position, t_Text<T> text);
    void EraseUnits(int start, int count);
    void RemoveUnit(T unit);
    void ReplaceUnit(T find, T replacement);
    void ReplaceAllTexts(t_Text<T> find, t_Text<T> replacement);
    void ChangeCase(bool upper);
    // The text becomes the piece, a run inside it; an empty piece leaves the empty text.
    void KeepPiece(t_Text<T> piece);
    void DropFront(int count) { KeepPiece({this->GetBuffer() + count, this->GetLength() - count}); }
    void TruncateTo(int length) {
        if (length < this->GetLength()) {
            this->SetLength(length < 0 ? 0 : length);
        }
    }
};

// The builders that the narrow and wide strings share, written once over the string type.

// operator+ with an rvalue on the left: the result takes the left operand's block and appends in
// place; when the append fails the result is the default (empty) string, never the left alone.
template <typename String, typename View> String AppendToRvalue(String&& left, const View& right) {
    String text(static_cast<String&&>(left));
    const int length = text.GetLength();
    text.Append(right);
    if (text.GetLength() != length + right.GetLength()) {
        text.Free();
    }
    return text;
}

// operator+ of two views: one allocation, the default state when it fails.
template <typename String, typename View> String JoinTwo(const View& left, const View& right) {
    String text;
    const t_Text<typename View::t_Unit> pieces[] = {left.Text(), right.Text()};
    text.JoinTexts(pieces, 2, {});
    return text;
}

// A view of a string's storage, up to maxLength units and its stored size, cut at the first 0.
template <typename View, typename String> View StorageView(const String& text, int maxLength) {
    const int size = text.GetStoredSize();
    const int limit = maxLength < size ? maxLength : size;
    return View(text.GetBuffer(), limit < 0 ? 0 : limit, true);
}

// With the cut, the storage up to the stored size cut at the first 0; without it, the text.
template <typename View, typename String> View CutStorageView(const String& text, bool cutAtNul) {
    return cutAtNul ? StorageView<View>(text, text.GetStoredSize()) : View(text.GetText());
}

extern template class c_StringEditor<char>;
extern template class c_StringEditor<char16_t>;

} // namespace n_StringCore
