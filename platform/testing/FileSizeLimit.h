#pragma once
// Test helper: a limit on the size of the files the process writes (RLIMIT_FSIZE), so that a write
// past it fails part-way through a copy, as on a disk that fills up. SIGXFSZ is ignored while the
// limit holds, so the write fails instead of the process.

#include <csignal>
#include <sys/resource.h>

class c_FileSizeLimit {
public:
    explicit c_FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_Previous);
        m_PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_Previous.rlim_max};
        m_Set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~c_FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_Previous);
        std::signal(SIGXFSZ, m_PreviousHandler);
    }
    c_FileSizeLimit(const c_FileSizeLimit&) = delete;
    c_FileSizeLimit& operator=(const c_FileSizeLimit&) = delete;

    bool IsSet() const { return m_Set; }

private:
    rlimit m_Previous{};
    void (*m_PreviousHandler)(int) = SIG_DFL;
    bool m_Set = false;
};
