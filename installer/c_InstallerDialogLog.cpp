// c_InstallerDialog's log: the sink, the pending lines and the log file.

#include "installer/c_InstallerDialog.h"

#include "oslayer/files/FileCalls.h"
#include "oslayer/files/PathCalls.h"
#include "oslayer/windows/ControlTexts.h"
#include "textutil/LogFileText.h"
#include "textutil/c_DateTime.h"

void c_InstallerDialog::AddToLog(const c_StringView& text) {
    c_CriticalSectionLock lock(m_PendingLogLock);
    m_PendingLogLines.emplace_back(text);
    if (m_GUIThreadID != 0 && GetCurrentThreadId() == m_GUIThreadID) {
        FlushPendingLogLines(lock);
    }
    // After any file error this run writes no more lines to the file.
    if (m_LogFile.HasError()) {
        return;
    }
    if (!m_LogFile.IsOpen() && !OpenLogFile()) {
        return;
    }
    const c_String line = MakeLogFileLine(text, GetCurrentDateTimeUTC());
    m_LogFile.Write(line.GetBuffer(), static_cast<std::uint32_t>(line.GetLength()), nullptr);
}

bool c_InstallerDialog::OpenLogFile() {
    m_LogFileName = MakeLogFileName(GetCurrentDateTimeUTC());
    // Beside the program as it is now, so that each test or build with its own path has its own.
    const c_String folder = n_OSLayer::GetProgramFolder() + "Logs\\";
    std::int32_t ignored = 0;
    n_OSLayer::CreateDirectory(folder, &ignored);
    m_LogFile.SetPathAndFileName(folder + m_LogFileName);
    if (m_LogFile.OpenForAppend()) {
        return true;
    }
    m_PendingLogLines.emplace_back(c_String("Error opening log file.   ") + m_LogFile.GetLastErrorText());
    return false;
}

void c_InstallerDialog::FlushPendingLogLines(c_CriticalSectionLock& lock) {
    lock.Lock(m_PendingLogLock);
    if (m_PendingLogLines.empty() || !IsWindow(m_LogList.m_hWnd)) {
        return;
    }
    const int selection = static_cast<int>(m_LogList.SendMessage(LB_GETCURSEL));
    const int count = m_LogList.GetCount();
    for (const c_String& line : m_PendingLogLines) {
        n_OSLayer::ListBoxAddString(m_LogList.m_hWnd, line);
    }
    m_PendingLogLines.clear();
    // The list follows new lines while its last line is selected, or while it was empty.
    if (selection + 1 == count) {
        m_LogList.SendMessage(LB_SETCURSEL, static_cast<WPARAM>(m_LogList.GetCount() - 1));
    }
}
