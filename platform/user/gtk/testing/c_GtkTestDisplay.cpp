// c_GtkTestDisplay: Xvfb, the UI thread and GTK for a test program.

#include "platform/user/gtk/testing/c_GtkTestDisplay.h"

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestWindows.h"
#include "platform/user/UserInput.h"
#include "platform/user/gtk/GtkBackend.h"

#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <future>

namespace n_Platform {

c_GtkTestDisplay& c_GtkTestDisplay::Get() {
    static c_GtkTestDisplay* display = new c_GtkTestDisplay;
    return *display;
}

c_GtkTestDisplay::~c_GtkTestDisplay() = default;

void c_GtkTestDisplay::SetUp() {
    m_p_Display = std::make_unique<c_XvfbDisplay>();
    if (!m_p_Display->IsRunning()) {
        m_Problem = m_p_Display->GetProblem();
        return;
    }
    m_p_UiThread = std::make_unique<n_TestWindows::c_LoopThread>(n_TestWindows::Default);
    StartGtk();
}

// The back end changes on the UI thread itself, which sleeps on its queue through the back end.
void c_GtkTestDisplay::StartGtk() {
    bool started = false;
    m_Problem.clear();
    // The file chooser keeps its settings in memory, not in a desktop session's store.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    Run([&] {
        if (gtk_init_check(nullptr, nullptr) != FALSE) {
            m_p_Backend = new c_GtkBackend;
            m_p_Previous = SetUserBackend(m_p_Backend);
            started = true;
        }
    });
    if (!started) {
        m_Problem = "GTK does not start on " + m_p_Display->GetName();
    }
}

void c_GtkTestDisplay::TearDown() {
    if (m_p_Backend != nullptr) {
        Run([&] {
            SetUserBackend(m_p_Previous);
            delete m_p_Backend;
        });
        m_p_Backend = nullptr;
    }
    m_p_UiThread.reset();
    m_p_Display.reset();
}

DWORD c_GtkTestDisplay::GetUiThreadId() const {
    return m_p_UiThread->GetThreadId();
}

bool c_GtkTestDisplay::Run(const std::function<void()>& work) const {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ran = done->get_future();
    return Post([work, done] {
               work();
               done->set_value();
           }) &&
           ran.wait_for(std::chrono::milliseconds(PROMPTLY_MS)) == std::future_status::ready;
}

bool c_GtkTestDisplay::Post(std::function<void()> work) const {
    return PostUserInput(GetUiThreadId(), std::move(work));
}

GtkWidget* c_GtkTestDisplay::FindWidget(HWND window) const {
    return m_p_Backend->FindWidget(window);
}

GtkWidget* c_GtkTestDisplay::WaitForShownWidget(HWND window) const {
    GtkWidget* widget = nullptr;
    WaitUntil([&] {
        Run([&] {
            widget = FindWidget(window);
            if (widget != nullptr && gtk_widget_get_allocated_width(widget) <= 1) {
                widget = nullptr;
            }
        });
        return widget != nullptr;
    });
    return widget;
}

GtkWidget* c_GtkTestDisplay::WaitForOpenDialog() const {
    GtkWidget* dialog = nullptr;
    WaitUntil([&] {
        Run([&] { dialog = m_p_Backend->FindOpenDialog(); });
        return dialog != nullptr;
    });
    return dialog;
}

} // namespace n_Platform
