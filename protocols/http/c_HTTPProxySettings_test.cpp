// Tests of the proxy settings record.

#include "protocols/http/c_HTTPProxySettings.h"

#include <gtest/gtest.h>

namespace {

class c_CountingReceiver : public c_SlotHolder {
public:
    void OnSignal(c_SignalBase*) override { ++m_Signals; }
    int m_Signals = 0;
};

TEST(c_HTTPProxySettings, DefaultsAndUse) {
    c_HTTPProxySettings settings;
    EXPECT_FALSE(settings.m_UseHTTPProxy);
    EXPECT_EQ(settings.m_HTTPPort, 80);
    EXPECT_EQ(settings.m_HTTPSPort, 443);
    EXPECT_FALSE(settings.IsInUse());
    settings.m_UseHTTPProxy = true;
    EXPECT_FALSE(settings.IsInUse());
    settings.m_ProxyAddress = "proxy";
    EXPECT_TRUE(settings.IsInUse());
}

TEST(c_HTTPProxySettings, AssignmentCopiesAllButTheSignal) {
    c_HTTPProxySettings source;
    c_HTTPProxySettings target;
    c_CountingReceiver sourceReceiver;
    c_CountingReceiver targetReceiver;
    ConnectSignal(&source.m_ChangedSignal, &sourceReceiver);
    ConnectSignal(&target.m_ChangedSignal, &targetReceiver);
    source.m_UseHTTPProxy = true;
    source.m_ProxyAddress = "proxy";
    source.m_HTTPPort = 1;
    source.m_HTTPSPort = 2;
    source.m_Username = "u";
    source.m_Password = "p";
    target = source;
    EXPECT_TRUE(target.m_UseHTTPProxy);
    EXPECT_EQ(target.m_ProxyAddress, c_String("proxy"));
    EXPECT_EQ(target.m_HTTPPort, 1);
    EXPECT_EQ(target.m_HTTPSPort, 2);
    EXPECT_EQ(target.m_Username, c_String("u"));
    EXPECT_EQ(target.m_Password, c_String("p"));
    target.m_ChangedSignal.Emit();
    EXPECT_EQ(sourceReceiver.m_Signals, 0);
    EXPECT_EQ(targetReceiver.m_Signals, 1);
    EXPECT_TRUE(source.m_ChangedSignal.IsConnected(&sourceReceiver));
}

} // namespace
