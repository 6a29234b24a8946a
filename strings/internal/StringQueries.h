#pragma once
// c_StringQueries: the read-only members of an owning string, taken from its view.
//
// An owning string derives from c_StringQueries<itself, its view type>. Each member builds the view
// of the string's text and asks it, so the string compares and searches exactly as its view does:
// c_String through c_StringView (with case unless the argument ignores case), c_StringNoCase
// through c_StringViewNoCase (always without case). Pieces are views into the string itself.

#include "strings/internal/ViewBase.h"

#include <new>
#include <stdexcept>

namespace n_StringCore {

template <typename Derived, typename View> class c_StringQueries {
public:
    using t_Unit = typename View::t_Unit;

    View GetView() const { return View(static_cast<const Derived&>(*this).GetText()); }

    template <typename X>
    requires TextOperand<t_Unit, X>
    int Find(const X& pattern, int start = 0) const { return GetView().Find(pattern, start); }
    template <typename X>
    requires TextOperand<t_Unit, X>
    int ReverseFind(const X& pattern, int start = INT_MAX) const { return GetView().ReverseFind(pattern, start); }
    template <typename X>
    requires TextOperand<t_Unit, X>
    bool Contains(const X& pattern) const { return GetView().Contains(pattern); }
    template <typename X>
    requires TextOperand<t_Unit, X>
    bool StartsWith(const X& prefix) const { return GetView().StartsWith(prefix); }
    template <typename X>
    requires TextOperand<t_Unit, X>
    bool EndsWith(const X& suffix) const { return GetView().EndsWith(suffix); }
    int FindFirstOf(std::initializer_list<t_Unit> units, int start = 0) const {
        return GetView().FindFirstOf(units, start);
    }
    int FindFirstOf(const c_UnitSet<t_Unit>& units, int start = 0) const { return GetView().FindFirstOf(units, start); }
    int FindLastOf(std::initializer_list<t_Unit> units, int start = INT_MAX) const {
        return GetView().FindLastOf(units, start);
    }
    int FindLastOf(const c_UnitSet<t_Unit>& units, int start = INT_MAX) const {
        return GetView().FindLastOf(units, start);
    }

    View Left(int count) const { return GetView().Left(count); }
    View Right(int count) const { return GetView().Right(count); }
    View Mid(int start, int count) const { return GetView().Mid(start, count); }
    View RightFrom(int start) const { return GetView().RightFrom(start); }
    template <typename X>
    requires TextOperand<t_Unit, X> View WithoutPrefix(const X& prefix)
    const { return GetView().WithoutPrefix(prefix); }
    template <typename X>
    requires TextOperand<t_Unit, X> View WithoutSuffix(const X& suffix)
    const { return GetView().WithoutSuffix(suffix); }
    View GetTrimmedView() const { return GetView().Trimmed(); }
    View GetTrimmedLeftView() const { return GetView().TrimmedLeft(); }
    View GetTrimmedView(t_Unit unit) const { return GetView().Trimmed(unit); }
    int CountLeadingSpaces() const { return GetView().CountLeadingSpaces(); }
    int CountTrailingSpaces() const { return GetView().CountTrailingSpaces(); }

    bool IsAllLetters() const { return GetView().IsAllLetters(); }
    bool IsAllDigits() const { return GetView().IsAllDigits(); }
    bool IsLetterAt(int position) const { return GetView().IsLetterAt(position); }
    bool IsDigitAt(int position) const { return GetView().IsDigitAt(position); }

    // Clears out and fills it with owned pieces: those between separators stay even when empty, a
    // separator at the very end adds no empty last piece, an empty text gives none and an empty
    // separator the whole text. The separator is found by this string's case rule. Returns the
    // number of pieces; when memory runs out, 0 with out empty, never a shortened list.
    template <typename X, typename String>
    requires TextOperand<t_Unit, X>
    int SplitString(const X& separator, std::vector<String>& out) const {
        out.clear();
        try {
            if (AppendOwnedPieces(OperandText<t_Unit>(separator), out)) {
                return static_cast<int>(out.size());
            }
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
        out.clear();
        return 0;
    }

    template <typename X>
    requires TextOperand<t_Unit, X>
    friend bool operator==(const Derived& left, const X& right) { return left.GetView() == right; }
    template <typename X>
    requires TextOperand<t_Unit, X>
    friend std::weak_ordering operator<=>(const Derived& left, const X& right) { return left.GetView() <=> right; }

private:
    // False when a piece could not be stored whole.
    template <typename String> bool AppendOwnedPieces(t_Text<t_Unit> separator, std::vector<String>& out) const {
        const View text = GetView();
        const View separatorView(separator);
        int start = 0;
        while (start < text.GetLength()) {
            const int hit = text.Find(separatorView, start);
            const View piece = hit < 0 ? text.RightFrom(start) : text.Mid(start, hit - start);
            out.emplace_back(piece);
            if (out.back().GetLength() != piece.GetLength()) {
                return false;
            }
            if (hit < 0) {
                break;
            }
            start = hit + separatorView.GetLength();
        }
        return true;
    }
};

} // namespace n_StringCore
