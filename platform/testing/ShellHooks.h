#pragma once
// Test helpers over the shell's test hooks: a recorder of ShellExecuteExW calls that opens nothing,
// and a failure of one kind of shell call for as long as the object lives.

#include "platform/files/PathText.h"
#include "platform/files/ShellExecuteHook.h"
#include "platform/shell/ShellFaults.h"

#include <mutex>
#include <string>
#include <vector>

class c_ShellExecuteRecorder {
public:
    struct s_Call {
        std::string m_Verb;
        std::string m_File;
        std::string m_Parameters;
        std::string m_Folder;
        ULONG m_Mask;
        int m_Show;
    };

    c_ShellExecuteRecorder() {
        n_Platform::SetShellExecuteHook([this](const SHELLEXECUTEINFOW& information) {
            std::lock_guard<std::mutex> lock(m_Lock);
            m_Calls.push_back({Text(information.lpVerb), Text(information.lpFile), Text(information.lpParameters),
                               Text(information.lpDirectory), information.fMask, information.nShow});
            return true;
        });
    }
    ~c_ShellExecuteRecorder() { n_Platform::SetShellExecuteHook(nullptr); }
    c_ShellExecuteRecorder(const c_ShellExecuteRecorder&) = delete;
    c_ShellExecuteRecorder& operator=(const c_ShellExecuteRecorder&) = delete;

    std::vector<s_Call> GetCalls() {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Calls;
    }

private:
    static std::string Text(LPCWSTR text) { return n_Platform::ToUtf8(n_Platform::ReadArgument(text)); }

    std::mutex m_Lock;
    std::vector<s_Call> m_Calls;
};

class c_InjectedShellFault {
public:
    c_InjectedShellFault(n_Platform::e_ShellCall call, HRESULT result) : m_Call(call) {
        n_Platform::InjectShellFault(call, result);
    }
    ~c_InjectedShellFault() { n_Platform::InjectShellFault(m_Call, S_OK); }
    c_InjectedShellFault(const c_InjectedShellFault&) = delete;
    c_InjectedShellFault& operator=(const c_InjectedShellFault&) = delete;

private:
    n_Platform::e_ShellCall m_Call;
};
