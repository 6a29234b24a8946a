#pragma once
// c_SignalBase and c_SlotHolder: senders and receivers of change signals, and ConnectSignal and
// DisconnectSignal, which tie and untie one pair.
//
// Connections are many-to-many and kept on both sides: a receiver is in a sender's set exactly when
// the sender is in the receiver's. Destroying either side removes every connection it has; a sender
// tells its receivers first (OnSignalDisconnected), a receiver goes quietly. Sets are ordered by
// address, so Emit and the notices run in ascending address order. Nothing here locks: a sender and
// its receivers are used on one thread. An OnSignal handler must not connect or disconnect that
// sender; an OnSignalDisconnected handler may.

#include "oslayer/system/c_MemoryAllocator.h"

#include <functional>
#include <set>

class c_SignalBase;
class c_SlotHolder;

void ConnectSignal(c_SignalBase* signal, c_SlotHolder* receiver);
void DisconnectSignal(c_SignalBase* signal, c_SlotHolder* receiver);

class c_SignalBase {
public:
    c_SignalBase() = default;
    // A copy has no connections; an assignment leaves both sides' connections as they were.
    c_SignalBase(const c_SignalBase&) {}
    c_SignalBase& operator=(const c_SignalBase&) { return *this; }
    ~c_SignalBase() { DisconnectAll(); }

    void Emit();
    // Tells every receiver (OnSignalDisconnected) and then forgets them all.
    void DisconnectAll();
    bool IsConnected(const c_SlotHolder* receiver) const;

private:
    friend void ConnectSignal(c_SignalBase*, c_SlotHolder*);
    friend void DisconnectSignal(c_SignalBase*, c_SlotHolder*);
    friend class c_SlotHolder;

    typedef std::set<c_SlotHolder*, std::less<c_SlotHolder*>, c_MemoryAllocator<c_SlotHolder*>> t_Receivers;
    t_Receivers m_Receivers;
};

class c_SlotHolder {
public:
    c_SlotHolder() = default;
    virtual ~c_SlotHolder() { DisconnectAll(); }
    c_SlotHolder(const c_SlotHolder&) = delete;
    c_SlotHolder& operator=(const c_SlotHolder&) = delete;

    virtual void OnSignal(c_SignalBase*) {}
    virtual void OnSignalDisconnected(c_SignalBase*) {}

    // Unties this receiver from every sender, telling none of them and calling nothing on itself.
    void DisconnectAll();
    bool IsConnected(const c_SignalBase* signal) const;

private:
    friend void ConnectSignal(c_SignalBase*, c_SlotHolder*);
    friend void DisconnectSignal(c_SignalBase*, c_SlotHolder*);
    friend class c_SignalBase;

    typedef std::set<c_SignalBase*, std::less<c_SignalBase*>, c_MemoryAllocator<c_SignalBase*>> t_Signals;
    t_Signals m_Signals;
};
