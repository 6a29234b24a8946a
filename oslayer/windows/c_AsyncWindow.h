#pragma once
// c_AsyncWindow: a hidden window, owned by one object, that carries messages posted from any thread
// to the thread that created it.
//
// All such windows share the class "DARezazIzudud" and its procedure AsyncWindowProc, which finds
// the object behind a window through a process-wide map (handle to object) under one lock, and calls
// the object's WindowProc with no lock held. The application registers the class at start-up
// (Initialize) and removes it at shutdown (Uninitialize). An object's window belongs to the thread
// that made it: destroy the object there. From another thread, destruction only unhooks the object
// from the map; the window itself stays until its thread ends. A created object must not move.

#include "strings/c_String.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

class c_AsyncWindow {
public:
    static constexpr const char* CLASS_NAME = "DARezazIzudud";

    explicit c_AsyncWindow(c_String name);
    virtual ~c_AsyncWindow();
    c_AsyncWindow(const c_AsyncWindow&) = delete;
    c_AsyncWindow& operator=(const c_AsyncWindow&) = delete;

    // Handles a message of the object's window, on the creating thread. The base gives it to
    // DefWindowProcW.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // True when the class is registered, by this call or before.
    static bool Initialize(HINSTANCE instance);
    // Logs the number of windows still in the map, empties it (the objects are not touched) and
    // unregisters the class.
    static void Uninitialize();
    // The object whose window the handle is, or null.
    static c_AsyncWindow* GetAsyncWindowFromHandle(HWND window);

    // Makes the window on the calling thread; true only when this call made it. A failure is logged.
    bool CreateAsyncWindow();
    void DestroyAsyncWindow();
    // False, with a log line, without a window or when the post fails.
    bool PostMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND GetWindowHandle() const { return m_Window.load(std::memory_order_acquire); }
    bool IsCreated() const { return GetWindowHandle() != nullptr; }
    // The object's name, " | " and the text, through the program's LogMessage.
    void LogMessage(const c_StringView& text) const;

private:
    // Read by posting threads and by the lookup while the owner changes them.
    std::atomic<HWND> m_Window{nullptr};
    std::atomic<std::uint32_t> m_ThreadId{0};
    c_String m_Name;
};

// The procedure of the class "DARezazIzudud". An exception from an object's WindowProc stops here:
// it is logged and the message gets DefWindowProcW.
LRESULT CALLBACK AsyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
