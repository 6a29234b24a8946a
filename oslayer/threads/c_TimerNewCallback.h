#pragma once
// c_TimerNewCallback: the owner interface of c_TimerNew.
//
// An owner of several timers tells them apart by comparing the pointer with its timer members. The
// interface has no data and no virtual destructor: owners are never deleted through it.

class c_TimerNew;

class c_TimerNewCallback {
public:
    virtual void OnTimer(c_TimerNew* timer) = 0;

protected:
    c_TimerNewCallback() = default;
    ~c_TimerNewCallback() = default;
};
