#pragma once
// The back end: what shows the layer's windows, and how a thread sleeps on its queue.
//
// Window state lives in the layer; a back end is told when a window's shown state changes (text,
// styles, position, show state) and when it goes. Threads sleep on their queues through it, so a
// display back end can run its main loop on the thread that owns its windows and be woken by posts.
// The back end also shows message boxes and folder pickers and takes their answers; the headless
// one (HeadlessBackend.h), the default, shows nothing, answers from a script and sleeps on the
// queue's condition.

#include <windows.h>

#include <mutex>
#include <string_view>

namespace n_Platform {

class c_MessageQueue;
struct s_MessageBox;
struct s_FolderPickerRequest;

// A font's average character width and height, in eighths of a pixel.
struct s_FontCell {
    int m_Width;
    int m_Height;
};

class c_UserBackend {
public:
    virtual ~c_UserBackend() = default;

    virtual void OnWindowChanged(HWND window) = 0;
    virtual void OnWindowDestroyed(HWND window) = 0;
    // The owning thread sleeps until woken (or spuriously); lock holds the queue's lock on entry and
    // on return.
    virtual void WaitForInput(c_MessageQueue& queue, std::unique_lock<std::mutex>& lock) = 0;
    // Any thread, with or without the queue's lock: new input for a sleeping owner.
    virtual void WakeQueue(c_MessageQueue& queue) = 0;

    // Any thread: the pointer is over the window and not over one of its children, for mouse
    // tracking. By default the layer's cursor and rectangles say (IsCursorOverWindow).
    virtual bool IsPointerOver(HWND window);
    // The dialog font's cell, from which dialog units become pixels. By default a 6 x 13 pixel font at 8 points,
    // growing with the size.
    virtual s_FontCell GetDialogFontCell(LPCWSTR face, WORD points);
    // On the control's thread: a line added to a list box, a progress bar's new position.
    virtual void OnListLineAdded(HWND list, std::u16string_view line);
    virtual void OnProgressChanged(HWND bar, int position, int low, int high);
    // On the box's thread, once it is open and its owner disabled. The box runs its modal loop until
    // it is answered (AnswerMessageBox), here or later from the thread's messages. By default it
    // takes its default button at once.
    virtual void OnMessageBoxOpened(s_MessageBox& box);
    // Before the box object goes.
    virtual void OnMessageBoxClosed(s_MessageBox& box);
    // The same for a folder picker (EndFolderPicker); by default it is cancelled at once.
    virtual void OnFolderPickerOpened(s_FolderPickerRequest& request);
    virtual void OnFolderPickerClosed(s_FolderPickerRequest& request);
};

c_UserBackend& GetUserBackend();
// Installs a back end (null: the headless one) before any window exists; returns the previous one.
c_UserBackend* SetUserBackend(c_UserBackend* backend);

} // namespace n_Platform
