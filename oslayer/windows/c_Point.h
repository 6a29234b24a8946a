#pragma once
// n_OSLayer::c_Point: a point of two 32-bit coordinates.

#include <cstdint>
#include <utility>

namespace n_OSLayer {

class c_Point {
public:
    c_Point() = default;
    c_Point(std::int32_t x, std::int32_t y) : m_X(x), m_Y(y) {}
    explicit c_Point(const std::pair<int, int>& xy) : m_X(xy.first), m_Y(xy.second) {}

    void Set(std::int32_t x, std::int32_t y) {
        m_X = x;
        m_Y = y;
    }
    void Offset(std::int32_t dx, std::int32_t dy) {
        m_X += dx;
        m_Y += dy;
    }
    std::int32_t GetX() const { return m_X; }
    std::int32_t GetY() const { return m_Y; }

    friend c_Point operator+(const c_Point& a, const c_Point& b) { return c_Point(a.m_X + b.m_X, a.m_Y + b.m_Y); }
    friend c_Point operator-(const c_Point& a, const c_Point& b) { return c_Point(a.m_X - b.m_X, a.m_Y - b.m_Y); }
    friend bool operator==(const c_Point& a, const c_Point& b) = default;

private:
    std::int32_t m_X = 0;
    std::int32_t m_Y = 0;
};

} // namespace n_OSLayer
