#pragma once
// Test helper: the machine-wide hold on the local mirror addresses 127.0.0.2-6:8443. The port is fixed,
// and tests of other build trees run beside ours, so every process that starts a server there holds an
// exclusive flock on one file from before the start to after the stop. Taking it waits.

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class c_MirrorAddressesLock {
public:
    static constexpr const char* PATH = "/tmp/installer-mirror-addresses.lock";

    c_MirrorAddressesLock() {
        m_File = open(PATH, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        int result = -1;
        while (m_File >= 0 && (result = flock(m_File, LOCK_EX)) != 0 && errno == EINTR) {
        }
        m_Held = result == 0;
    }
    ~c_MirrorAddressesLock() {
        if (m_File >= 0) {
            // Closing lets go of the lock.
            close(m_File);
        }
    }
    c_MirrorAddressesLock(const c_MirrorAddressesLock&) = delete;
    c_MirrorAddressesLock& operator=(const c_MirrorAddressesLock&) = delete;

    bool IsHeld() const { return m_Held; }

private:
    int m_File = -1;
    bool m_Held = false;
};
