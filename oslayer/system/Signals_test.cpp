// Tests of c_SignalBase, c_SlotHolder, ConnectSignal and DisconnectSignal.

#include "oslayer/system/Signals.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

// Records what it is told, in one log shared by every receiver of a test; on a sender's notice it
// may disconnect another receiver from that sender.
class c_Receiver : public c_SlotHolder {
public:
    explicit c_Receiver(std::vector<const void*>* log) : m_p_Log(log) {}
    void OnSignal(c_SignalBase* signal) override {
        m_p_Log->push_back(this);
        m_p_Log->push_back(signal);
    }
    void OnSignalDisconnected(c_SignalBase* signal) override {
        m_Gone.push_back(reinterpret_cast<std::uintptr_t>(signal));
        m_p_Log->push_back(this);
        if (m_p_Other != nullptr) {
            DisconnectSignal(signal, m_p_Other);
        }
    }

    std::vector<const void*>* m_p_Log;
    std::vector<std::uintptr_t> m_Gone;
    c_SlotHolder* m_p_Other = nullptr;
};

TEST(Signals, AReceiverDestroyedWhileConnectedToTwoSendersLeavesBoth) {
    std::vector<const void*> log;
    c_SignalBase first;
    c_SignalBase second;
    auto receiver = std::make_unique<c_Receiver>(&log);
    ConnectSignal(&first, receiver.get());
    ConnectSignal(&second, receiver.get());
    const c_Receiver* gone = receiver.get();
    receiver.reset();
    EXPECT_FALSE(first.IsConnected(gone));
    EXPECT_FALSE(second.IsConnected(gone));
    first.Emit();
    second.Emit();
    EXPECT_TRUE(log.empty());
}

TEST(Signals, ASenderDestroyedTellsEachReceiverOnceInAddressOrder) {
    std::vector<const void*> log;
    c_Receiver receivers[2] = {c_Receiver(&log), c_Receiver(&log)};
    std::uintptr_t gone = 0;
    {
        c_SignalBase sender;
        ConnectSignal(&sender, &receivers[1]);
        ConnectSignal(&sender, &receivers[0]);
        gone = reinterpret_cast<std::uintptr_t>(&sender);
    }
    EXPECT_EQ(log, (std::vector<const void*>{&receivers[0], &receivers[1]}));
    for (c_Receiver& receiver : receivers) {
        EXPECT_EQ(receiver.m_Gone, std::vector<std::uintptr_t>{gone});
        EXPECT_FALSE(receiver.IsConnected(reinterpret_cast<const c_SignalBase*>(gone)));
    }
}

TEST(Signals, EmitCallsEveryReceiverInAddressOrder) {
    std::vector<const void*> log;
    c_Receiver receivers[2] = {c_Receiver(&log), c_Receiver(&log)};
    c_SignalBase sender;
    sender.Emit();
    EXPECT_TRUE(log.empty());
    ConnectSignal(&sender, &receivers[1]);
    ConnectSignal(&sender, &receivers[0]);
    sender.Emit();
    EXPECT_EQ(log, (std::vector<const void*>{&receivers[0], &sender, &receivers[1], &sender}));
}

TEST(Signals, ConnectingAndDisconnectingPairs) {
    std::vector<const void*> log;
    c_Receiver receiver(&log);
    c_SignalBase sender;
    ConnectSignal(&sender, &receiver);
    ConnectSignal(&sender, &receiver);
    DisconnectSignal(&sender, &receiver);
    EXPECT_FALSE(sender.IsConnected(&receiver));
    EXPECT_FALSE(receiver.IsConnected(&sender));
    DisconnectSignal(&sender, &receiver);
    ConnectSignal(&sender, nullptr);
    DisconnectSignal(&sender, nullptr);
    sender.Emit();
    EXPECT_TRUE(log.empty());
}

TEST(Signals, ACopiedSenderStartsWithoutConnectionsAndAnAssignmentKeepsThem) {
    std::vector<const void*> log;
    c_Receiver receiver(&log);
    c_SignalBase sender;
    ConnectSignal(&sender, &receiver);
    c_SignalBase copy(sender);
    EXPECT_FALSE(copy.IsConnected(&receiver));
    c_SignalBase assigned;
    assigned = sender;
    EXPECT_FALSE(assigned.IsConnected(&receiver));
    sender = c_SignalBase();
    EXPECT_TRUE(sender.IsConnected(&receiver));
}

TEST(Signals, AReceiverMayDisconnectAnotherFromItsNotice) {
    std::vector<const void*> log;
    c_Receiver receivers[3] = {c_Receiver(&log), c_Receiver(&log), c_Receiver(&log)};
    receivers[0].m_p_Other = &receivers[2];
    {
        c_SignalBase sender;
        for (c_Receiver& receiver : receivers) {
            ConnectSignal(&sender, &receiver);
        }
    }
    EXPECT_EQ(log, (std::vector<const void*>{&receivers[0], &receivers[1]}));
    EXPECT_TRUE(receivers[2].m_Gone.empty());
}

} // namespace
