#pragma once
// COM as the program uses it: results, interface ids, IUnknown, IPersistFile, start-up per thread,
// objects made by class id, and task memory.
//
// CoInitialize counts per thread: S_OK the first time, S_FALSE after; CoUninitialize takes one
// back. CoCreateInstance fails with CO_E_NOTINITIALIZED on a thread that has not initialised, and
// knows one class, the shell link (shlobj.h). Task memory is the C library's heap.

#include "win32/errors.h"
#include "win32/types.h"

#include <cstring>

typedef std::uint32_t ULONG;
typedef LONG HRESULT;
typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;

#define STDMETHODCALLTYPE

#define S_OK (static_cast<HRESULT>(0))
#define S_FALSE (static_cast<HRESULT>(1))
#define E_NOTIMPL (static_cast<HRESULT>(0x80004001))
#define E_NOINTERFACE (static_cast<HRESULT>(0x80004002))
#define E_POINTER (static_cast<HRESULT>(0x80004003))
#define E_FAIL (static_cast<HRESULT>(0x80004005))
#define E_ACCESSDENIED (static_cast<HRESULT>(0x80070005))
#define E_OUTOFMEMORY (static_cast<HRESULT>(0x8007000E))
#define E_INVALIDARG (static_cast<HRESULT>(0x80070057))
#define CLASS_E_NOAGGREGATION (static_cast<HRESULT>(0x80040110))
#define REGDB_E_CLASSNOTREG (static_cast<HRESULT>(0x80040154))
#define CO_E_NOTINITIALIZED (static_cast<HRESULT>(0x800401F0))

#define SUCCEEDED(result) (static_cast<HRESULT>(result) >= 0)
#define FAILED(result) (static_cast<HRESULT>(result) < 0)
#define HRESULT_CODE(result) ((result)&0xFFFF)

// A Windows error number in the Win32 facility; 0 stays S_OK.
inline HRESULT HRESULT_FROM_WIN32(DWORD error) {
    return error == 0 ? S_OK : static_cast<HRESULT>((error & 0xFFFF) | 0x80070000u);
}

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    unsigned char Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b);
}

#define CLSCTX_INPROC_SERVER 0x1

extern const IID IID_IUnknown;
extern const IID IID_IPersistFile;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;

// The members of IPersistFile that the program calls.
struct IPersistFile : IUnknown {
    // Reads the file; the mode is not looked at.
    virtual HRESULT STDMETHODCALLTYPE Load(LPCOLESTR fileName, DWORD mode) = 0;
    // Writes the file, replacing one that exists; remember makes it the object's file.
    virtual HRESULT STDMETHODCALLTYPE Save(LPCOLESTR fileName, BOOL remember) = 0;
};

HRESULT WINAPI CoInitialize(LPVOID reserved);
void WINAPI CoUninitialize();
HRESULT WINAPI CoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID id, LPVOID* object);

LPVOID WINAPI CoTaskMemAlloc(SIZE_T size);
// Null is allowed.
void WINAPI CoTaskMemFree(LPVOID block);
