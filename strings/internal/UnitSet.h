#pragma once
// c_UnitSet: an ordered set of units with unique members, as a bitmap over every unit value.
//
// The set taken by FindFirstOf and FindLastOf. A bitmap never allocates, so building one from a
// list of units cannot fail.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace n_StringCore {

template <typename T> class c_UnitSet {
public:
    c_UnitSet() = default;
    c_UnitSet(std::initializer_list<T> units) {
        for (T unit : units) {
            Insert(unit);
        }
    }

    void Insert(T unit) { m_Bits[Index(unit) / 64] |= std::uint64_t(1) << (Index(unit) % 64); }
    bool Contains(T unit) const { return (m_Bits[Index(unit) / 64] >> (Index(unit) % 64)) & 1u; }

private:
    static constexpr std::size_t VALUES = std::size_t(1) << (8 * sizeof(T));
    static std::size_t Index(T unit) { return static_cast<std::make_unsigned_t<T>>(unit); }

    std::uint64_t m_Bits[VALUES / 64] = {};
};

} // namespace n_StringCore

using c_CharSet = n_StringCore::c_UnitSet<char>;
