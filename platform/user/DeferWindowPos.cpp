// Deferred window positions: gathered under a checked handle, applied together at the end.

#include "platform/kernel/LastError.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace {

struct s_Position {
    HWND m_Window;
    HWND m_InsertAfter;
    int m_X;
    int m_Y;
    int m_Width;
    int m_Height;
    UINT m_Flags;
};

struct s_Gatherings {
    std::mutex m_Lock;
    std::uintptr_t m_Last = 0;
    std::map<HDWP, std::vector<s_Position>> m_Open;
};

s_Gatherings& GetGatherings() {
    static s_Gatherings* gatherings = new s_Gatherings;
    return *gatherings;
}

// The gathering's positions, taken out of the table; false for an unknown handle.
bool TakeGathering(HDWP positions, std::vector<s_Position>* taken) {
    s_Gatherings& gatherings = GetGatherings();
    std::lock_guard<std::mutex> lock(gatherings.m_Lock);
    const auto found = gatherings.m_Open.find(positions);
    if (found == gatherings.m_Open.end()) {
        return false;
    }
    taken->swap(found->second);
    gatherings.m_Open.erase(found);
    return true;
}

} // namespace

HDWP WINAPI BeginDeferWindowPos(int count) {
    if (count < 0) {
        return n_Platform::FailWith<HDWP>(nullptr, ERROR_INVALID_PARAMETER);
    }
    s_Gatherings& gatherings = GetGatherings();
    std::lock_guard<std::mutex> lock(gatherings.m_Lock);
    // Values of their own, far from window handles, never reused.
    const HDWP positions = reinterpret_cast<HDWP>((++gatherings.m_Last << 4) | 0xD000000000000ull);
    gatherings.m_Open[positions].reserve(static_cast<std::size_t>(count));
    return positions;
}

HDWP WINAPI DeferWindowPos(HDWP positions, HWND window, HWND insertAfter, int x, int y, int width, int height,
                           UINT flags) {
    if (IsWindow(window) == FALSE) {
        std::vector<s_Position> dropped;
        TakeGathering(positions, &dropped);
        return n_Platform::FailWith<HDWP>(nullptr, ERROR_INVALID_WINDOW_HANDLE);
    }
    s_Gatherings& gatherings = GetGatherings();
    std::lock_guard<std::mutex> lock(gatherings.m_Lock);
    const auto found = gatherings.m_Open.find(positions);
    if (found == gatherings.m_Open.end()) {
        return n_Platform::FailWith<HDWP>(nullptr, ERROR_INVALID_HANDLE);
    }
    found->second.push_back({window, insertAfter, x, y, width, height, flags});
    return positions;
}

BOOL WINAPI EndDeferWindowPos(HDWP positions) {
    std::vector<s_Position> taken;
    if (!TakeGathering(positions, &taken)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_HANDLE);
    }
    BOOL all = TRUE;
    for (const s_Position& position : taken) {
        if (SetWindowPos(position.m_Window, position.m_InsertAfter, position.m_X, position.m_Y, position.m_Width,
                         position.m_Height, position.m_Flags) == FALSE) {
            all = FALSE;
        }
    }
    return all;
}
