#pragma once
// Resources as C++ tables: the dialog templates, menus and icons that the program registers by id at
// start-up, before it makes a dialog. The tables must live as long as the process (static data).

#include "win32/types.h"

namespace n_Platform {

// One control; its rectangle is in dialog units.
struct s_DialogItemTemplate {
    int m_Id;
    LPCWSTR m_ClassName;
    DWORD m_Style;
    LPCWSTR m_Text;
    short m_X;
    short m_Y;
    short m_Width;
    short m_Height;
};

struct s_DialogTemplate {
    WORD m_Id;
    DWORD m_Style;
    LPCWSTR m_Caption;
    short m_Width;
    short m_Height;
    LPCWSTR m_FontName;
    WORD m_FontPoints;
    // 0 for none.
    WORD m_MenuId;
    const s_DialogItemTemplate* m_p_Items;
    int m_ItemCount;
};

// An item with m_p_Items is a popup of those items; its id is unused.
struct s_MenuItemTemplate {
    UINT m_Id;
    LPCWSTR m_Text;
    const s_MenuItemTemplate* m_p_Items;
    int m_ItemCount;
};

struct s_MenuTemplate {
    WORD m_Id;
    const s_MenuItemTemplate* m_p_Items;
    int m_ItemCount;
};

// Pixels are 0xAARRGGBB, top row first; drawing them comes with the drawing library.
struct s_IconTemplate {
    WORD m_Id;
    int m_Width;
    int m_Height;
    const DWORD* m_p_Pixels;
};

// A later registration of the same id replaces the earlier one.
void RegisterDialogTemplate(const s_DialogTemplate& dialogTemplate);
void RegisterMenuTemplate(const s_MenuTemplate& menuTemplate);
void RegisterIconTemplate(const s_IconTemplate& iconTemplate);

} // namespace n_Platform
