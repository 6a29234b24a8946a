#pragma once
// c_NoCaseString: what a case-insensitive owning string adds to its string type.
//
// c_StringNoCase and c_WStringNoCase derive from it. It adds no data: it takes the read-only members
// from a second c_StringQueries answered by the NoCase view, so that every comparison and search
// ignores case and every piece is a NoCase view, and it gives the in-place edits that compare
// (RemovePrefix, RemoveSuffix) their case-insensitive form.

#include "strings/internal/StringQueries.h"

namespace n_StringCore {

template <typename Derived, typename Base, typename ViewNoCase>
class c_NoCaseString : public Base, public c_StringQueries<Derived, ViewNoCase> {
    using t_Queries = c_StringQueries<Derived, ViewNoCase>;
    using T = typename ViewNoCase::t_Unit;

public:
    using Base::Base;

    using t_Queries::Contains;
    using t_Queries::CountLeadingSpaces;
    using t_Queries::CountTrailingSpaces;
    using t_Queries::EndsWith;
    using t_Queries::Find;
    using t_Queries::FindFirstOf;
    using t_Queries::FindLastOf;
    using t_Queries::GetTrimmedLeftView;
    using t_Queries::GetTrimmedView;
    using t_Queries::GetView;
    using t_Queries::IsAllDigits;
    using t_Queries::IsAllLetters;
    using t_Queries::IsDigitAt;
    using t_Queries::IsLetterAt;
    using t_Queries::Left;
    using t_Queries::Mid;
    using t_Queries::ReverseFind;
    using t_Queries::Right;
    using t_Queries::RightFrom;
    using t_Queries::SplitString;
    using t_Queries::StartsWith;
    using t_Queries::WithoutPrefix;
    using t_Queries::WithoutSuffix;

    template <typename X>
    requires TextOperand<T, X> Derived& RemovePrefix(const X& prefix) {
        if (GetView().StartsWith(prefix)) {
            this->DropFront(OperandText<T>(prefix).m_Length);
        }
        return Self();
    }
    template <typename X>
    requires TextOperand<T, X> Derived& RemoveSuffix(const X& suffix) {
        if (GetView().EndsWith(suffix)) {
            this->SetLength(this->GetLength() - OperandText<T>(suffix).m_Length);
        }
        return Self();
    }
    Derived& MakeUpper() {
        Base::MakeUpper();
        return Self();
    }
    Derived& MakeLower() {
        Base::MakeLower();
        return Self();
    }

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
};

} // namespace n_StringCore
