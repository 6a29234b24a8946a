// The split of every view type, out of line so that the views' users need not see its exceptions.

#include "strings/c_StringView.h"
#include "strings/c_WStringView.h"

#include <new>
#include <stdexcept>

namespace n_StringCore {

namespace {

template <typename Derived, typename T>
void AppendPieces(const Derived& view, t_Text<T> separator, std::vector<Derived>& out) {
    if (view.IsEmpty()) {
        return;
    }
    int start = 0;
    for (int hit = Find<T, false>(view.Text(), separator, 0); hit >= 0;
         hit = Find<T, false>(view.Text(), separator, start)) {
        out.push_back(view.Mid(start, hit - start));
        start = hit + separator.m_Length;
    }
    out.push_back(view.RightFrom(start));
}

} // namespace

template <typename Derived, typename T, bool NO_CASE>
bool c_ViewBase<Derived, T, NO_CASE>::SplitPieces(t_Text<T> separator, std::vector<Derived>& out) const {
    const std::size_t before = out.size();
    try {
        AppendPieces(Self(), separator, out);
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    out.resize(before);
    return false;
}

template bool c_ViewBase<c_StringView, char, false>::SplitPieces(t_Text<char>, std::vector<c_StringView>&) const;
template bool c_ViewBase<c_StringViewNoCase, char, true>::SplitPieces(t_Text<char>,
                                                                      std::vector<c_StringViewNoCase>&) const;
template bool c_ViewBase<c_WStringView, char16_t, false>::SplitPieces(t_Text<char16_t>,
                                                                      std::vector<c_WStringView>&) const;
template bool c_ViewBase<c_WStringViewNoCase, char16_t, true>::SplitPieces(t_Text<char16_t>,
                                                                           std::vector<c_WStringViewNoCase>&) const;

} // namespace n_StringCore
