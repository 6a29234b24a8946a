// c_ChildAnchorLayout: the captured layout and its replay for a new parent size.

#include "oslayer/windows/c_ChildAnchorLayout.h"

void c_ChildAnchorLayout::SetAnchor(HWND child, int horizontalMode, int verticalMode) {
    if (child == nullptr) {
        return;
    }
    s_Entry& entry = m_Children[child];
    entry.m_HorizontalMode = horizontalMode;
    entry.m_VerticalMode = verticalMode;
}

void c_ChildAnchorLayout::CaptureLayout() {
    GetClientRect(m_Parent, &m_ParentClient);
    for (auto& [child, entry] : m_Children) {
        RECT rect = {};
        GetWindowRect(child, &rect);
        POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
        ScreenToClient(m_Parent, &corners[0]);
        ScreenToClient(m_Parent, &corners[1]);
        entry.m_Rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    }
}

void c_ChildAnchorLayout::OnParentSized(UINT sizeType, int width, int height) {
    if (sizeType == SIZE_MINIMIZED) {
        return;
    }
    const int dx = width - (m_ParentClient.right - m_ParentClient.left);
    const int dy = height - (m_ParentClient.bottom - m_ParentClient.top);
    for (const auto& [child, entry] : m_Children) {
        if (!IsWindow(child)) {
            continue;
        }
        int left = entry.m_Rect.left;
        int top = entry.m_Rect.top;
        int childWidth = entry.m_Rect.right - entry.m_Rect.left;
        int childHeight = entry.m_Rect.bottom - entry.m_Rect.top;
        if (entry.m_HorizontalMode == ANCHOR_STRETCH) {
            childWidth += dx;
        } else if (entry.m_HorizontalMode == ANCHOR_MOVE) {
            left += dx;
        }
        if (entry.m_VerticalMode == ANCHOR_STRETCH) {
            childHeight += dy;
        } else if (entry.m_VerticalMode == ANCHOR_MOVE) {
            top += dy;
        }
        SetWindowPos(child, nullptr, left, top, childWidth, childHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}
