#pragma once
// The class table: window classes registered per module instance, found by name or atom.

#include <windows.h>

#include <memory>
#include <string>

namespace n_Platform {

struct s_WindowClass {
    ATOM m_Atom;
    std::u16string m_Name;
    // lpszClassName points at m_Name.
    WNDCLASSEXW m_Description;
    // Live windows of the class, under the table's lock; a class with windows cannot go.
    mutable int m_WindowCount = 0;
};

// The class of a new window, counted as having one more window: the class of that instance, else
// one of that name of any instance. Null with ERROR_CANNOT_FIND_WND_CLASS.
std::shared_ptr<const s_WindowClass> AcquireWindowClass(LPCWSTR name, HINSTANCE instance);
void ReleaseWindowClass(const s_WindowClass& windowClass);

} // namespace n_Platform
