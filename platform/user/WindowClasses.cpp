// Window classes: RegisterClassExW, UnregisterClassW, GetClassInfoExW, GetClassInfoW and GetClassNameW.

#include "platform/user/WindowClasses.h"

#include "platform/kernel/LastError.h"
#include "platform/user/WindowTable.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

// Atoms of the names registered so far; a name keeps its atom when registered again.
constexpr ATOM FIRST_ATOM = 0xC000;

std::u16string FoldCase(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& unit : folded) {
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
    }
    return folded;
}

class c_ClassTable {
public:
    static c_ClassTable& Get() {
        static c_ClassTable* table = new c_ClassTable;
        return *table;
    }

    ATOM Register(const WNDCLASSEXW& description) {
        std::lock_guard<std::mutex> lock(m_Lock);
        const std::u16string name(description.lpszClassName);
        if (Find(name.c_str(), description.hInstance, false) != m_Classes.end()) {
            return n_Platform::FailWith<ATOM>(0, ERROR_CLASS_ALREADY_EXISTS);
        }
        const ATOM atom = AtomOf(name);
        if (atom == 0) {
            return n_Platform::FailWith<ATOM>(0, ERROR_NOT_ENOUGH_MEMORY);
        }
        auto windowClass = std::make_shared<n_Platform::s_WindowClass>();
        windowClass->m_Atom = atom;
        windowClass->m_Name = name;
        windowClass->m_Description = description;
        windowClass->m_Description.lpszClassName = windowClass->m_Name.c_str();
        m_Classes.push_back(std::move(windowClass));
        return atom;
    }

    BOOL Unregister(LPCWSTR name, HINSTANCE instance) {
        std::lock_guard<std::mutex> lock(m_Lock);
        const auto found = Find(name, instance, false);
        if (found == m_Classes.end()) {
            return n_Platform::FailWith(FALSE, ERROR_CLASS_DOES_NOT_EXIST);
        }
        if ((*found)->m_WindowCount > 0) {
            return n_Platform::FailWith(FALSE, ERROR_CLASS_HAS_WINDOWS);
        }
        m_Classes.erase(found);
        return TRUE;
    }

    std::shared_ptr<const n_Platform::s_WindowClass> Lookup(LPCWSTR name, HINSTANCE instance, bool anyInstance) {
        std::lock_guard<std::mutex> lock(m_Lock);
        const auto found = Find(name, instance, anyInstance);
        if (found == m_Classes.end()) {
            return nullptr;
        }
        return *found;
    }

    std::shared_ptr<const n_Platform::s_WindowClass> Acquire(LPCWSTR name, HINSTANCE instance) {
        std::lock_guard<std::mutex> lock(m_Lock);
        const auto found = Find(name, instance, true);
        if (found == m_Classes.end()) {
            return nullptr;
        }
        ++(*found)->m_WindowCount;
        return *found;
    }

    void Release(const n_Platform::s_WindowClass& windowClass) {
        std::lock_guard<std::mutex> lock(m_Lock);
        --windowClass.m_WindowCount;
    }

private:
    typedef std::vector<std::shared_ptr<n_Platform::s_WindowClass>> t_Classes;

    ATOM AtomOf(const std::u16string& name) {
        const std::u16string folded = FoldCase(name);
        const auto known = m_Atoms.find(folded);
        if (known != m_Atoms.end()) {
            return known->second;
        }
        if (m_Atoms.size() > 0xFFFFu - FIRST_ATOM) {
            return 0;
        }
        const ATOM atom = static_cast<ATOM>(FIRST_ATOM + m_Atoms.size());
        m_Atoms.emplace(folded, atom);
        return atom;
    }

    // The class of the instance; with anyInstance, failing that, the first of the name.
    t_Classes::iterator Find(LPCWSTR name, HINSTANCE instance, bool anyInstance) {
        if (name == nullptr) {
            return m_Classes.end();
        }
        const auto named = [&](const std::shared_ptr<n_Platform::s_WindowClass>& windowClass) {
            if (IS_INTRESOURCE(name)) {
                return windowClass->m_Atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
            }
            return FoldCase(windowClass->m_Name) == FoldCase(name);
        };
        const auto exact = std::find_if(m_Classes.begin(), m_Classes.end(), [&](const auto& windowClass) {
            return windowClass->m_Description.hInstance == instance && named(windowClass);
        });
        if (exact != m_Classes.end() || !anyInstance) {
            return exact;
        }
        return std::find_if(m_Classes.begin(), m_Classes.end(), named);
    }

    std::mutex m_Lock;
    t_Classes m_Classes;
    std::unordered_map<std::u16string, ATOM> m_Atoms;
};

std::shared_ptr<const n_Platform::s_WindowClass> LookupClass(LPCWSTR name, HINSTANCE instance) {
    std::shared_ptr<const n_Platform::s_WindowClass> windowClass = c_ClassTable::Get().Lookup(name, instance, false);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    }
    return windowClass;
}

} // namespace

namespace n_Platform {

std::shared_ptr<const s_WindowClass> AcquireWindowClass(LPCWSTR name, HINSTANCE instance) {
    std::shared_ptr<const s_WindowClass> windowClass = c_ClassTable::Get().Acquire(name, instance);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    }
    return windowClass;
}

void ReleaseWindowClass(const s_WindowClass& windowClass) {
    c_ClassTable::Get().Release(windowClass);
}

} // namespace n_Platform

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* description) {
    if (description == nullptr || description->cbSize != sizeof(WNDCLASSEXW) || description->lpszClassName == nullptr ||
        IS_INTRESOURCE(description->lpszClassName) || description->lpszClassName[0] == 0 ||
        description->cbClsExtra < 0 || description->cbWndExtra < 0) {
        return n_Platform::FailWith<ATOM>(0, ERROR_INVALID_PARAMETER);
    }
    return c_ClassTable::Get().Register(*description);
}

BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
    return c_ClassTable::Get().Unregister(className, instance);
}

BOOL WINAPI GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* description) {
    if (description == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    const std::shared_ptr<const n_Platform::s_WindowClass> windowClass = LookupClass(className, instance);
    if (windowClass == nullptr) {
        return FALSE;
    }
    *description = windowClass->m_Description;
    return windowClass->m_Atom;
}

BOOL WINAPI GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* description) {
    WNDCLASSEXW full{};
    if (description == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    full.cbSize = sizeof full;
    const BOOL atom = GetClassInfoExW(instance, className, &full);
    if (atom == FALSE) {
        return FALSE;
    }
    *description = {full.style, full.lpfnWndProc, full.cbClsExtra,    full.cbWndExtra,   full.hInstance,
                    full.hIcon, full.hCursor,     full.hbrBackground, full.lpszMenuName, full.lpszClassName};
    return atom;
}

int WINAPI GetClassNameW(HWND window, LPWSTR buffer, int units) {
    const std::shared_ptr<n_Platform::c_WindowObject> object = n_Platform::LookupWindowObject(window);
    if (object == nullptr) {
        return 0;
    }
    if (buffer == nullptr || units <= 0) {
        return n_Platform::FailWith(0, ERROR_INSUFFICIENT_BUFFER);
    }
    return n_Platform::CopyText(object->m_p_Class->m_Name, buffer, units);
}
