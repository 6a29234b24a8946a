// The reactor over epoll: the only file that knows it. An eventfd wakes it when a deadline is set
// or the test clock moves.

#include "platform/net/Reactor.h"

#include "platform/kernel/Clock.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace n_Platform {

namespace {

constexpr std::uint64_t WAKE_UP = 0;
constexpr int EVENTS_PER_WAIT = 64;
constexpr std::int64_t NANOSECONDS_PER_MILLISECOND = 1000000;

class c_Reactor {
public:
    c_Reactor() : m_Poll(epoll_create1(EPOLL_CLOEXEC)), m_Wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = WAKE_UP;
        epoll_ctl(m_Poll, EPOLL_CTL_ADD, m_Wake, &event);
        std::thread([this] { Run(); }).detach();
    }

    bool Watch(int fd, std::uint64_t socket, unsigned interest) { return Control(EPOLL_CTL_ADD, fd, socket, interest); }

    void ChangeInterest(int fd, std::uint64_t socket, unsigned interest) {
        Control(EPOLL_CTL_MOD, fd, socket, interest);
    }

    void Unwatch(int fd) { epoll_ctl(m_Poll, EPOLL_CTL_DEL, fd, nullptr); }

    void SetDeadline(std::uint64_t socket, std::int64_t deadline) {
        {
            std::lock_guard<std::mutex> lock(m_Lock);
            if (deadline == NO_DEADLINE) {
                m_Deadlines.erase(socket);
                return;
            }
            m_Deadlines[socket] = deadline;
        }
        Wake();
    }

    void Wake() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(m_Wake, &one, sizeof one);
    }

private:
    // Writability is watched only while asked for: a socket that is always writable would otherwise
    // be reported at every change of its watch, waking this thread for nothing.
    bool Control(int operation, int fd, std::uint64_t socket, unsigned interest) {
        epoll_event event{};
        event.events = EPOLLRDHUP | EPOLLET;
        event.events |= (interest & READY_READ) != 0 ? std::uint32_t(EPOLLIN) : 0;
        event.events |= (interest & READY_WRITE) != 0 ? std::uint32_t(EPOLLOUT) : 0;
        event.data.u64 = socket;
        return epoll_ctl(m_Poll, operation, fd, &event) == 0;
    }

    void Run() {
        epoll_event events[EVENTS_PER_WAIT];
        for (;;) {
            const int count = epoll_wait(m_Poll, events, EVENTS_PER_WAIT, NextTimeout());
            for (int i = 0; i < count; ++i) {
                Dispatch(events[i]);
            }
            RunDueDeadlines();
        }
    }

    void Dispatch(const epoll_event& event) {
        if (event.data.u64 == WAKE_UP) {
            std::uint64_t value;
            [[maybe_unused]] const ssize_t read = ::read(m_Wake, &value, sizeof value);
            return;
        }
        unsigned readiness = 0;
        readiness |= (event.events & EPOLLIN) != 0 ? unsigned(READY_READ) : unsigned(READY_NONE);
        readiness |= (event.events & EPOLLOUT) != 0 ? unsigned(READY_WRITE) : unsigned(READY_NONE);
        readiness |= (event.events & EPOLLRDHUP) != 0 ? unsigned(READY_PEER_CLOSED) : unsigned(READY_NONE);
        readiness |= (event.events & (EPOLLERR | EPOLLHUP)) != 0 ? unsigned(READY_FAILED) : unsigned(READY_NONE);
        OnSocketReady(event.data.u64, readiness);
    }

    // Milliseconds until the earliest deadline, rounded up; -1 without one.
    int NextTimeout() {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_Deadlines.empty()) {
            return -1;
        }
        std::int64_t earliest = NO_DEADLINE;
        for (const auto& [socket, deadline] : m_Deadlines) {
            earliest = std::min(earliest, deadline);
        }
        const std::int64_t left = earliest - ReadClockNanoseconds();
        if (left <= 0) {
            return 0;
        }
        return int(
            std::min<std::int64_t>((left + NANOSECONDS_PER_MILLISECOND - 1) / NANOSECONDS_PER_MILLISECOND, INT32_MAX));
    }

    void RunDueDeadlines() {
        std::vector<std::uint64_t> due;
        {
            std::lock_guard<std::mutex> lock(m_Lock);
            const std::int64_t now = ReadClockNanoseconds();
            std::erase_if(m_Deadlines, [&](const auto& entry) {
                if (entry.second > now) {
                    return false;
                }
                due.push_back(entry.first);
                return true;
            });
        }
        for (std::uint64_t socket : due) {
            OnSocketDeadline(socket);
        }
    }

    int m_Poll;
    int m_Wake;
    std::mutex m_Lock;
    std::map<std::uint64_t, std::int64_t> m_Deadlines;
};

void WakeReactorOnClockMove();

// Started with the first socket and kept for the life of the process: its thread may still be
// dispatching while the process exits.
c_Reactor& GetReactor() {
    static c_Reactor* reactor = [] {
        c_Reactor* created = new c_Reactor;
        AddClockMovedHook(&WakeReactorOnClockMove);
        return created;
    }();
    return *reactor;
}

void WakeReactorOnClockMove() {
    GetReactor().Wake();
}

} // namespace

bool WatchSocket(int fd, std::uint64_t socket, unsigned interest) {
    return GetReactor().Watch(fd, socket, interest);
}

void UnwatchSocket(int fd) {
    GetReactor().Unwatch(fd);
}

void ChangeSocketInterest(int fd, std::uint64_t socket, unsigned interest) {
    GetReactor().ChangeInterest(fd, socket, interest);
}

void SetSocketDeadline(std::uint64_t socket, std::int64_t deadline) {
    GetReactor().SetDeadline(socket, deadline);
}

} // namespace n_Platform
