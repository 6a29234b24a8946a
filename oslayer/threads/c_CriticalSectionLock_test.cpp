// Tests of c_CriticalSectionLock: the guard sequences, moves and LockTwo.

#include "oslayer/threads/c_CriticalSectionLock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

enum e_Step { LOCK_S, LOCK_T, UNLOCK, RELOCK };

struct s_SequenceCase {
    const char* m_Name;
    std::vector<e_Step> m_Steps;
    int m_CountS;
    int m_CountT;
    char m_Held; // 's', 't' or 0
};

TEST(c_CriticalSectionLock, FollowsTheGuardSequences) {
    const s_SequenceCase cases[] = {
        {"lock", {LOCK_S}, 1, 0, 's'},
        {"lock of the held section changes nothing", {LOCK_S, LOCK_S}, 1, 0, 's'},
        {"unlock of an empty guard", {UNLOCK}, 0, 0, 0},
        {"unlock leaves", {LOCK_S, UNLOCK}, 0, 0, 0},
        {"relock enters again", {LOCK_S, UNLOCK, RELOCK}, 1, 0, 's'},
        {"second relock does nothing", {LOCK_S, UNLOCK, RELOCK, UNLOCK, RELOCK, RELOCK}, 1, 0, 's'},
        {"relock without a previous section", {RELOCK}, 0, 0, 0},
        {"lock on another section leaves the first", {LOCK_S, LOCK_T}, 0, 1, 't'},
        {"relock goes back to the first", {LOCK_S, LOCK_T, RELOCK}, 1, 0, 's'},
        {"relock again goes back to the second", {LOCK_S, LOCK_T, RELOCK, RELOCK}, 0, 1, 't'},
        {"relock of the held section does nothing", {LOCK_S, UNLOCK, LOCK_S, RELOCK}, 1, 0, 's'},
    };
    for (const s_SequenceCase& row : cases) {
        c_CriticalSection s;
        c_CriticalSection t;
        {
            c_CriticalSectionLock guard;
            for (e_Step step : row.m_Steps) {
                switch (step) {
                    case LOCK_S:
                        guard.Lock(s);
                        break;
                    case LOCK_T:
                        guard.Lock(t);
                        break;
                    case UNLOCK:
                        guard.Unlock();
                        break;
                    case RELOCK:
                        guard.Relock();
                        break;
                }
            }
            EXPECT_EQ(s.GetLockCount(), row.m_CountS) << row.m_Name;
            EXPECT_EQ(t.GetLockCount(), row.m_CountT) << row.m_Name;
            c_CriticalSection* held = row.m_Held == 's' ? &s : (row.m_Held == 't' ? &t : nullptr);
            EXPECT_EQ(guard.GetHeld(), held) << row.m_Name;
        }
        EXPECT_EQ(s.GetLockCount(), 0) << row.m_Name << ": the destructor leaves";
        EXPECT_EQ(t.GetLockCount(), 0) << row.m_Name << ": the destructor leaves";
    }
}

TEST(c_CriticalSectionLock, MovesAndSwapsWhatItHolds) {
    c_CriticalSection s;
    c_CriticalSection t;
    c_CriticalSectionLock first(s);
    c_CriticalSectionLock second(std::move(first));
    // The moved-from guard is what is checked here.
    EXPECT_EQ(first.GetHeld(), nullptr); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(second.GetHeld(), &s);
    first.Relock();
    EXPECT_EQ(s.GetLockCount(), 1);
    c_CriticalSectionLock third(t);
    second.Swap(third);
    EXPECT_EQ(second.GetHeld(), &t);
    EXPECT_EQ(third.GetHeld(), &s);
}

TEST(LockTwo, EntersOneSectionTwiceWhenPassedTwice) {
    c_CriticalSection s;
    c_CriticalSectionLock a;
    c_CriticalSectionLock b;
    LockTwo(s, a, s, b);
    EXPECT_EQ(s.GetLockCount(), 2);
    EXPECT_EQ(a.GetHeld(), &s);
    EXPECT_EQ(b.GetHeld(), &s);
}

// Taken in the argument order, these two callers would deadlock; LockTwo always takes the
// lower-addressed section first.
TEST(LockTwo, CallersPassingOppositeOrdersNeverDeadlock) {
    c_CriticalSection sections[2];
    long counter = 0;
    auto take = [&](int first) {
        for (int i = 0; i < 20000; ++i) {
            c_CriticalSectionLock a;
            c_CriticalSectionLock b;
            LockTwo(sections[first], a, sections[1 - first], b);
            ++counter;
        }
    };
    std::thread forward(take, 0);
    std::thread backward(take, 1);
    forward.join();
    backward.join();
    EXPECT_EQ(counter, 40000);
}

} // namespace
