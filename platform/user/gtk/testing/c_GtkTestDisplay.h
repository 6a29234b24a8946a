#pragma once
// c_GtkTestDisplay: the display of a GTK test program: an Xvfb of its own and one UI thread that
// runs GTK with the GTK back end installed, for the whole program (GTK starts once per process).
//
// Register it in the test file with testing::AddGlobalTestEnvironment(&c_GtkTestDisplay::Get()),
// and skip with GetProblem() where it is not ready. Work for the UI thread goes there as user input,
// so it runs from whatever loop the thread is in; GTK is touched there only.

#include "platform/user/gtk/testing/c_XvfbDisplay.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace n_TestWindows {
class c_LoopThread;
}

namespace n_Platform {

class c_GtkBackend;
class c_UserBackend;

class c_GtkTestDisplay : public testing::Environment {
public:
    // Made at the first call; GoogleTest owns it once registered.
    static c_GtkTestDisplay& Get();
    ~c_GtkTestDisplay() override;

    void SetUp() override;
    void TearDown() override;

    // Empty when ready.
    const std::string& GetProblem() const { return m_Problem; }
    const c_XvfbDisplay& GetDisplay() const { return *m_p_Display; }
    DWORD GetUiThreadId() const;

    // Runs work on the UI thread and waits for it; false when it did not run promptly.
    bool Run(const std::function<void()>& work) const;
    // Hands work that runs a modal loop to the UI thread without waiting.
    bool Post(std::function<void()> work) const;
    // On the UI thread: the widget that stands for the window, once it has one.
    GtkWidget* FindWidget(HWND window) const;
    // From the test thread: the widget once it stands for the window and GTK gave it its size.
    GtkWidget* WaitForShownWidget(HWND window) const;
    // From the test thread: the GTK dialog of the open box or picker, once there is one.
    GtkWidget* WaitForOpenDialog() const;

private:
    c_GtkTestDisplay() = default;
    void StartGtk();

    std::unique_ptr<c_XvfbDisplay> m_p_Display;
    std::unique_ptr<n_TestWindows::c_LoopThread> m_p_UiThread;
    c_GtkBackend* m_p_Backend = nullptr;
    c_UserBackend* m_p_Previous = nullptr;
    std::string m_Problem = "not set up";
};

} // namespace n_Platform
