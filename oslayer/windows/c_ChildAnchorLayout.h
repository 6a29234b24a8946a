#pragma once
// c_ChildAnchorLayout: keeps child windows in place when their parent is resized. Each child is
// anchored in each direction: mode 1 stretches it by the parent's change, mode 2 moves it by the
// change, any other mode leaves it as captured. Every resize starts again from the captured
// rectangles, so the result depends only on the parent's current size.

#include <windows.h>

#include <map>

class c_ChildAnchorLayout {
public:
    static constexpr int ANCHOR_STRETCH = 1;
    static constexpr int ANCHOR_MOVE = 2;

    explicit c_ChildAnchorLayout(HWND parent) : m_Parent(parent) {}

    // Adds the child when new; a null child is ignored.
    void SetAnchor(HWND child, int horizontalMode, int verticalMode);
    void SetAnchor(HWND child, int mode) { SetAnchor(child, mode, mode); }
    // Stores the parent's client rectangle and every child's rectangle in its client coordinates.
    void CaptureLayout();
    // Places the children for the parent's new client size; nothing for SIZE_MINIMIZED.
    void OnParentSized(UINT sizeType, int width, int height);

private:
    struct s_Entry {
        RECT m_Rect = {};
        int m_HorizontalMode = 0;
        int m_VerticalMode = 0;
    };

    HWND m_Parent;
    RECT m_ParentClient = {};
    std::map<HWND, s_Entry> m_Children;
};
