// Cross-thread PostMessageW against a plain mutex-and-deque queue with a condition variable:
// throughput (a producer posts batches to a consumer thread that dispatches them) and post-to-
// dispatch latency (a ping-pong between two threads; each iteration is two posts and two
// dispatches).

#include "bench/BenchRatio.h"
#include "bench/PlainQueue.h"

#include <windows.h>

#include <atomic>
#include <future>
#include <thread>

namespace {

constexpr int BATCH = 1000;
constexpr UINT PING = WM_USER;
constexpr UINT STOP = WM_USER + 1;

std::atomic<std::int64_t> g_Dispatched{0};
std::atomic<HWND> g_ReplyWindow{nullptr};

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PING) {
        g_Dispatched.fetch_add(1, std::memory_order_release);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK EchoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PING) {
        PostMessageW(g_ReplyWindow.load(std::memory_order_acquire), PING, wParam, 0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterBenchClass(LPCWSTR name, WNDPROC procedure) {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof description;
    description.lpfnWndProc = procedure;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = name;
    RegisterClassExW(&description);
}

// A message-only window of the calling thread.
HWND MakeWindow(LPCWSTR className) {
    static const bool registered = [] {
        RegisterBenchClass(u"BenchCounting", CountingProcedure);
        RegisterBenchClass(u"BenchEcho", EchoProcedure);
        return true;
    }();
    (void)registered;
    return CreateWindowExW(0, className, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// A thread that owns one window of the class and pumps its queue until STOP.
class c_ConsumerThread {
public:
    explicit c_ConsumerThread(LPCWSTR className) {
        std::promise<HWND> made;
        std::future<HWND> window = made.get_future();
        m_Thread = std::thread([&] {
            made.set_value(MakeWindow(className));
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != STOP) {
                DispatchMessageW(&message);
            }
        });
        m_Window = window.get();
    }
    ~c_ConsumerThread() {
        PostMessageW(m_Window, STOP, 0, 0);
        m_Thread.join();
    }
    HWND GetWindow() const { return m_Window; }

private:
    HWND m_Window = nullptr;
    std::thread m_Thread;
};

using t_PeerQueue = n_Bench::c_PlainQueue<int>;

void WaitForDispatched(std::int64_t count) {
    while (g_Dispatched.load(std::memory_order_acquire) < count) {
        std::this_thread::yield();
    }
}

void Throughput_ours(benchmark::State& state) {
    g_Dispatched = 0;
    c_ConsumerThread consumer(u"BenchCounting");
    std::int64_t posted = 0;
    for (auto _ : state) {
        for (int i = 0; i < BATCH; ++i) {
            PostMessageW(consumer.GetWindow(), PING, 0, 0);
        }
        posted += BATCH;
        WaitForDispatched(posted);
    }
    state.SetItemsProcessed(posted);
}

void Throughput_peer(benchmark::State& state) {
    g_Dispatched = 0;
    t_PeerQueue queue;
    std::thread consumer([&] {
        while (queue.Take() == PING) {
            g_Dispatched.fetch_add(1, std::memory_order_release);
        }
    });
    std::int64_t posted = 0;
    for (auto _ : state) {
        for (int i = 0; i < BATCH; ++i) {
            queue.Post(PING);
        }
        posted += BATCH;
        WaitForDispatched(posted);
    }
    queue.Post(STOP);
    consumer.join();
    state.SetItemsProcessed(posted);
}

void Latency_ours(benchmark::State& state) {
    const HWND reply = MakeWindow(u"BenchCounting");
    g_ReplyWindow = reply;
    c_ConsumerThread echo(u"BenchEcho");
    MSG message;
    for (auto _ : state) {
        PostMessageW(echo.GetWindow(), PING, 0, 0);
        GetMessageW(&message, reply, 0, 0);
        DispatchMessageW(&message);
    }
    DestroyWindow(reply);
}

void Latency_peer(benchmark::State& state) {
    t_PeerQueue toEcho;
    t_PeerQueue back;
    std::thread echo([&] {
        while (toEcho.Take() == PING) {
            back.Post(PING);
        }
    });
    for (auto _ : state) {
        toEcho.Post(PING);
        back.Take();
    }
    toEcho.Post(STOP);
    echo.join();
}

BENCHMARK(Throughput_ours)->Name("PostThroughput1000/ours")->UseRealTime();
BENCHMARK(Throughput_peer)->Name("PostThroughput1000/peer")->UseRealTime();
BENCHMARK(Latency_ours)->Name("PostRoundTrip/ours")->UseRealTime();
BENCHMARK(Latency_peer)->Name("PostRoundTrip/peer")->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return n_Bench::RunAndPrintRatios(argc, argv, "mutex+deque");
}
