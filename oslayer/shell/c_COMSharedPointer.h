#pragma once
// n_OSLayer::c_COMSharedPointer: the owner of one reference to a COM interface, released once when
// the holder goes. Made by creating an object of a class, or by asking another holder's object for
// this holder's interface; a failure leaves the holder empty.

#include <objbase.h>
#include <shlobj.h>

#include <compare>
#include <utility>

namespace n_OSLayer {

// The interface id of each interface that a holder can hold.
template <typename T> struct s_InterfaceId;
template <> struct s_InterfaceId<IShellLinkW> {
    static const IID& Get() { return IID_IShellLinkW; }
};
template <> struct s_InterfaceId<IPersistFile> {
    static const IID& Get() { return IID_IPersistFile; }
};

template <typename T> class c_COMSharedPointer {
public:
    c_COMSharedPointer() = default;

    // CoCreateInstance of the class in process, asking for T.
    explicit c_COMSharedPointer(REFCLSID classId) {
        void* object = nullptr;
        if (SUCCEEDED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, s_InterfaceId<T>::Get(), &object))) {
            m_p_Interface = static_cast<T*>(object);
        }
    }

    // QueryInterface for T on the other holder's object; empty when that holder is.
    template <typename U> explicit c_COMSharedPointer(const c_COMSharedPointer<U>& other) {
        void* object = nullptr;
        if (other.IsSet() && SUCCEEDED(other->QueryInterface(s_InterfaceId<T>::Get(), &object))) {
            m_p_Interface = static_cast<T*>(object);
        }
    }

    c_COMSharedPointer(c_COMSharedPointer&& other) noexcept
        : m_p_Interface(std::exchange(other.m_p_Interface, nullptr)) {}
    c_COMSharedPointer(const c_COMSharedPointer&) = delete;
    c_COMSharedPointer& operator=(const c_COMSharedPointer&) = delete;

    virtual ~c_COMSharedPointer() {
        if (m_p_Interface != nullptr) {
            m_p_Interface->Release();
        }
    }

    T* Get() const { return m_p_Interface; }
    T* operator->() const { return m_p_Interface; }
    bool IsSet() const { return m_p_Interface != nullptr; }
    bool IsEmpty() const { return m_p_Interface == nullptr; }

    void Swap(c_COMSharedPointer& other) noexcept { std::swap(m_p_Interface, other.m_p_Interface); }

    friend bool operator==(const c_COMSharedPointer& a, const c_COMSharedPointer& b) {
        return a.m_p_Interface == b.m_p_Interface;
    }
    friend std::strong_ordering operator<=>(const c_COMSharedPointer& a, const c_COMSharedPointer& b) {
        return std::compare_three_way()(a.m_p_Interface, b.m_p_Interface);
    }

private:
    T* m_p_Interface = nullptr;
};

} // namespace n_OSLayer
