// c_SignalBase, c_SlotHolder, ConnectSignal and DisconnectSignal.

#include "oslayer/system/Signals.h"

void ConnectSignal(c_SignalBase* signal, c_SlotHolder* receiver) {
    if (receiver == nullptr) {
        return;
    }
    signal->m_Receivers.insert(receiver);
    receiver->m_Signals.insert(signal);
}

void DisconnectSignal(c_SignalBase* signal, c_SlotHolder* receiver) {
    if (receiver == nullptr) {
        return;
    }
    signal->m_Receivers.erase(receiver);
    receiver->m_Signals.erase(signal);
}

void c_SignalBase::Emit() {
    for (c_SlotHolder* receiver : m_Receivers) {
        receiver->OnSignal(this);
    }
}

void c_SignalBase::DisconnectAll() {
    if (m_Receivers.empty()) {
        return;
    }
    const t_Receivers notified = m_Receivers;
    for (c_SlotHolder* receiver : notified) {
        // A receiver that an earlier one disconnected (or destroyed) from its notice is skipped.
        if (m_Receivers.contains(receiver)) {
            receiver->OnSignalDisconnected(this);
        }
    }
    t_Receivers remaining;
    remaining.swap(m_Receivers);
    for (c_SlotHolder* receiver : remaining) {
        receiver->m_Signals.erase(this);
    }
}

bool c_SignalBase::IsConnected(const c_SlotHolder* receiver) const {
    return m_Receivers.contains(const_cast<c_SlotHolder*>(receiver));
}

void c_SlotHolder::DisconnectAll() {
    if (m_Signals.empty()) {
        return;
    }
    t_Signals signals;
    signals.swap(m_Signals);
    for (c_SignalBase* signal : signals) {
        DisconnectSignal(signal, this);
    }
}

bool c_SlotHolder::IsConnected(const c_SignalBase* signal) const {
    return m_Signals.contains(const_cast<c_SignalBase*>(signal));
}
