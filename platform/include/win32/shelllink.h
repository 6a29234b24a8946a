#pragma once
// The shell link object: a shortcut, saved through its IPersistFile as a Shell Link (.lnk) file.
//
// The texts are kept as set; SetPath makes the path full and answers S_FALSE when no file or
// folder is there. Each text holds at most 65535 units, as the file format does.

#include "win32/com.h"
#include "win32/files.h"

typedef WCHAR* PWSTR;

extern const CLSID CLSID_ShellLink;
extern const IID IID_IShellLinkW;

// The members of IShellLinkW that the program and its tests call. A getter copies at most size - 1
// units and the NUL.
struct IShellLinkW : IUnknown {
    // The target; S_FALSE and an empty text when none is set. With data, its attributes, times,
    // size and file name are those of the target when it was set.
    virtual HRESULT STDMETHODCALLTYPE GetPath(LPWSTR file, int size, WIN32_FIND_DATAW* data, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDescription(LPWSTR name, int size) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDescription(LPCWSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPWSTR folder, int size) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCWSTR folder) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetArguments(LPWSTR arguments, int size) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetArguments(LPCWSTR arguments) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIconLocation(LPWSTR iconPath, int size, int* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetIconLocation(LPCWSTR iconPath, int index) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPath(LPCWSTR file) = 0;
};
