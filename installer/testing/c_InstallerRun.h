#pragma once
// Test helper: the real application object run as the program runs it (AfxWinMain on a UI thread
// of its own), in a drive map of the test's own, with the program at C:\<folder>\<run>\, where the
// run's name is unique among the user's processes, so that its files ("Logs", "Username.txt") and
// its single-instance mutex (named after the path, seen by every process) are the test's own. The test drives the
// dialog through the driver; the run ends with Escape unless the test ended it.

#include "installer/InstallerResourceIds.h"
#include "installer/c_InstallerApp.h"
#include "platform/files/DrivePaths.h"
#include "platform/files/PathText.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/user/testing/c_DialogDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>

class c_InstallerRun {
public:
    // Hands work that runs a message loop to a thread of the test's own (a display's UI thread);
    // false when it cannot.
    typedef std::function<bool(std::function<void()>)> t_UiThreadPost;

    // The program runs on a thread of the run's own, or through uiThread when one is given; then the
    // back end in place (a display's) stays, and boxes are the display's to answer.
    explicit c_InstallerRun(const std::string& programFolder = "Downloads", t_UiThreadPost uiThread = nullptr)
        : m_UiThread(std::move(uiThread)), m_Driver(m_UiThread != nullptr) {
        static int runs = 0;
        const std::string run = "run" + std::to_string(getpid()) + "-" + std::to_string(++runs);
        const std::string folder = m_Drives.GetC() + "/" + programFolder + "/" + run;
        m_DriveFolder = "C:\\" + programFolder + "\\" + run + "\\";
        std::filesystem::create_directories(folder);
        m_ProgramFolder = folder + "/";
        setenv(n_Platform::MODULE_PATH_VARIABLE, (folder + "/DovrikChartInstaller.exe").c_str(), 1);
    }
    ~c_InstallerRun() {
        End();
        unsetenv(n_Platform::MODULE_PATH_VARIABLE);
    }
    c_InstallerRun(const c_InstallerRun&) = delete;
    c_InstallerRun& operator=(const c_InstallerRun&) = delete;

    // Runs the program with the command line; false when its dialog does not come.
    bool Start(const std::u16string& commandLine = u"") {
        m_CommandLine = commandLine;
        const auto run = [this] {
            m_Result = AfxWinMain(nullptr, nullptr, m_CommandLine.data(), SW_SHOWDEFAULT);
            m_Ended = true;
        };
        if (m_UiThread == nullptr) {
            m_Thread = std::thread(run);
        } else if (!(m_PostedToUiThread = m_UiThread(run))) {
            return false;
        }
        m_Dialog = m_Driver.WaitForDialog(IDD_INSTALLER_DIALOG);
        // The window exists before its start-up has run; its version line comes near the end.
        return m_Dialog != nullptr &&
               n_Platform::WaitUntil([this] { return !m_Driver.GetListLines(m_Dialog, IDC_LOG_LIST).empty(); });
    }
    // The framework's Cancel (what Escape sends) when the dialog is still there, and the end of the
    // run. Posted by the program, so that a focus on a disabled control cannot refuse it.
    void End() {
        if (m_Dialog != nullptr && IsWindow(m_Dialog)) {
            PostMessageW(m_Dialog, WM_COMMAND, IDCANCEL, 0);
        }
        if (m_Thread.joinable()) {
            m_Thread.join();
        }
        if (m_PostedToUiThread) {
            WaitUntilEnded();
        }
    }
    bool WaitUntilEnded() {
        return n_Platform::WaitUntil([this] { return m_Ended.load(); });
    }

    n_Platform::c_DialogDriver& Driver() { return m_Driver; }
    c_InstallerApp& App() { return m_App; }
    HWND Dialog() const { return m_Dialog; }
    // The Linux folder of the program, with its '/'.
    const std::string& GetProgramFolder() const { return m_ProgramFolder; }
    // The same in the program's own form: C:\<folder>\<run>\.
    const std::string& GetProgramFolderInDriveForm() const { return m_DriveFolder; }
    const c_TemporaryDrives& Drives() const { return m_Drives; }
    int GetResult() const { return m_Result; }

private:
    c_TemporaryDrives m_Drives;
    std::string m_ProgramFolder;
    std::string m_DriveFolder;
    t_UiThreadPost m_UiThread;
    bool m_PostedToUiThread = false;
    n_Platform::c_DialogDriver m_Driver;
    c_InstallerApp m_App;
    std::u16string m_CommandLine;
    std::thread m_Thread;
    std::atomic<bool> m_Ended{false};
    std::atomic<int> m_Result{-2};
    HWND m_Dialog = nullptr;
};
