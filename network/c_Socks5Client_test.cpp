// Tests of c_Socks5Client: every proxy answer fed whole, cut at every point and byte by byte.

#include "network/c_Socks5Client.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using t_Bytes = std::string;

struct s_Run {
    std::int32_t m_State = 0;
    std::string m_Failure;
    t_Bytes m_Sent;     // everything staged, in order
    t_Bytes m_Leftover; // what the client holds for the connection
};

void TakeStaged(c_Socks5Client& client, s_Run& run) {
    c_ByteBuffer& staged = client.GetSendBuffer();
    run.m_Sent.append(reinterpret_cast<const char*>(staged.GetData()), staged.GetSize());
    staged.Clear(false);
}

// Feeds the answer in slices that end at the given cuts, advancing after each as the socket does.
s_Run Play(const c_Socks5ConnectionSettings& settings, const t_Bytes& answer, const std::vector<std::size_t>& cuts) {
    c_Socks5Client client;
    s_Run run;
    client.Start();
    EXPECT_TRUE(client.StageGreeting());
    TakeStaged(client, run);
    std::size_t from = 0;
    std::vector<std::size_t> ends = cuts;
    ends.push_back(answer.size());
    for (const std::size_t end : ends) {
        client.AddReceivedBytes(reinterpret_cast<const std::uint8_t*>(answer.data()) + from,
                                static_cast<std::uint32_t>(end - from));
        from = end;
        for (;;) {
            const c_Socks5Client::e_Step step = client.Advance(settings);
            TakeStaged(client, run);
            if (step == c_Socks5Client::STEP_WAIT || step == c_Socks5Client::STEP_CONNECTED ||
                step == c_Socks5Client::STEP_FAILED) {
                break;
            }
        }
    }
    run.m_State = client.GetState();
    run.m_Failure = client.GetFailureText() != nullptr ? client.GetFailureText() : "";
    const c_ByteBuffer& rest = client.GetReceiveBuffer();
    if (client.GetState() == c_Socks5Client::STATE_CONNECTED) {
        run.m_Leftover.assign(reinterpret_cast<const char*>(rest.GetData()), rest.GetSize());
    } else {
        EXPECT_TRUE(rest.IsEmpty() || client.IsHandshakeInProgress());
    }
    return run;
}

c_Socks5ConnectionSettings Target(const std::string& user = "", const std::string& password = "") {
    c_Socks5ConnectionSettings settings;
    settings.m_UseSocks5 = true;
    settings.m_Host = "files.test";
    settings.m_Port = 443;
    settings.m_UserName = c_String(user.c_str());
    settings.m_Password = c_String(password.c_str());
    return settings;
}

const t_Bytes GREETING("\x05\x02\x00\x02", 4);
const t_Bytes CONNECT = t_Bytes("\x05\x01\x00\x03\x0A", 5) + "files.test" + "\x01\xBB";
const t_Bytes NO_AUTHENTICATION("\x05\x00", 2);
const t_Bytes PASSWORD_CHOSEN("\x05\x02", 2);
const t_Bytes ACCEPTED("\x01\x00", 2);
const t_Bytes IPV4_REPLY("\x05\x00\x00\x01\x7F\x00\x00\x01\x04\x38", 10);
const t_Bytes NAME_REPLY = t_Bytes("\x05\x00\x00\x03\x14", 5) + "twenty-byte-name.abc" + "\x04\x38";
const t_Bytes IPV6_REPLY = t_Bytes("\x05\x00\x00\x04", 4) + t_Bytes(16, '\x01') + "\x04\x38";

struct s_Case {
    const char* m_Name;
    c_Socks5ConnectionSettings m_Settings;
    t_Bytes m_Answer;
    std::int32_t m_State;
    const char* m_Failure;
    t_Bytes m_Sent;
    t_Bytes m_Leftover;
};

std::vector<s_Case> Cases() {
    const t_Bytes credentials = t_Bytes("\x01\x04", 2) + "user" + "\x06" + "secret";
    std::vector<s_Case> cases = {
        {"no authentication, IPv4 reply", Target(), NO_AUTHENTICATION + IPV4_REPLY, 6, "", GREETING + CONNECT, ""},
        {"password, name reply with data behind", Target("user", "secret"),
         PASSWORD_CHOSEN + ACCEPTED + NAME_REPLY + "DATA", 6, "", GREETING + credentials + CONNECT, "DATA"},
        {"IPv6 reply with data behind", Target(), NO_AUTHENTICATION + IPV6_REPLY + "\x16\x03", 6, "",
         GREETING + CONNECT, "\x16\x03"},
        {"IPv4 reply with data behind", Target(), NO_AUTHENTICATION + IPV4_REPLY + "HTTP/1.1", 6, "",
         GREETING + CONNECT, "HTTP/1.1"},
        {"unknown address type", Target(), NO_AUTHENTICATION + t_Bytes("\x05\x00\x00\x07\x01\x02\x03\x04", 8), 5,
         "Socks5 server replied with an unknown address type", GREETING + CONNECT, ""},
        {"methods refused", Target(), t_Bytes("\x05\xFF", 2), 5, "Socks5 server rejected suggested methods", GREETING,
         ""},
        {"a method not offered", Target(), t_Bytes("\x05\x01", 2), 5,
         "Socks5 server chose a method that was not offered", GREETING, ""},
        {"another version", Target(), t_Bytes("\x04\x00", 2), 5, "Socks5 server reported unsupported version", GREETING,
         ""},
        {"password refused", Target("user", "secret"), PASSWORD_CHOSEN + t_Bytes("\x01\x01", 2), 5,
         "Socks5 server rejected username or password", GREETING + credentials, ""},
    };
    const char* const texts[] = {
        "Socks5 general server failure", "Socks5 connection not allowed by ruleset",
        "Socks5 network unreachable",    "Socks5 host unreachable",
        "Socks5 connection refused",     "Socks5 TTL expired",
        "Socks5 command not supported",  "Socks5 address type not supported",
    };
    for (int code = 1; code <= 8; ++code) {
        t_Bytes reply = IPV4_REPLY;
        reply[1] = static_cast<char>(code);
        cases.push_back(
            {texts[code - 1], Target(), NO_AUTHENTICATION + reply, 5, texts[code - 1], GREETING + CONNECT, ""});
    }
    t_Bytes undefined = IPV4_REPLY;
    undefined[1] = '\x5A';
    cases.push_back(
        {"code 0x5A", Target(), NO_AUTHENTICATION + undefined, 5, "Socks5 unknown error", GREETING + CONNECT, ""});
    return cases;
}

void Expect(const s_Case& row, const s_Run& run, const std::string& how) {
    EXPECT_EQ(run.m_State, row.m_State) << row.m_Name << how;
    EXPECT_EQ(run.m_Failure, row.m_Failure) << row.m_Name << how;
    EXPECT_EQ(run.m_Sent, row.m_Sent) << row.m_Name << how;
    EXPECT_EQ(run.m_Leftover, row.m_Leftover) << row.m_Name << how;
}

TEST(Socks5Client, EveryAnswerWholeAndCutAtEveryPoint) {
    for (const s_Case& row : Cases()) {
        Expect(row, Play(row.m_Settings, row.m_Answer, {}), " whole");
        for (std::size_t cut = 0; cut <= row.m_Answer.size(); ++cut) {
            Expect(row, Play(row.m_Settings, row.m_Answer, {cut}), " cut at " + std::to_string(cut));
        }
        std::vector<std::size_t> everyByte;
        for (std::size_t end = 1; end < row.m_Answer.size(); ++end) {
            everyByte.push_back(end);
        }
        Expect(row, Play(row.m_Settings, row.m_Answer, everyByte), " byte by byte");
    }
}

TEST(Socks5Client, WaitsWithoutTakingAPartOfTheReply) {
    const t_Bytes answer = NO_AUTHENTICATION + NAME_REPLY;
    const s_Run run = Play(Target(), answer.substr(0, answer.size() - 1), {});
    EXPECT_EQ(run.m_State, c_Socks5Client::STATE_REPLY);
    EXPECT_EQ(run.m_Leftover, "");
}

TEST(Socks5Client, LongCredentialsAreCutTo255Bytes) {
    const std::string user(300, 'u');
    const std::string password(256, 'p');
    const s_Run run = Play(Target(user, password), PASSWORD_CHOSEN, {});
    const t_Bytes expected = t_Bytes("\x01\xFF", 2) + user.substr(0, 255) + "\xFF" + password.substr(0, 255);
    EXPECT_EQ(run.m_Sent, GREETING + expected);
}

TEST(Socks5Client, HostNamesOver255BytesAreRefused) {
    c_Socks5ConnectionSettings settings = Target();
    settings.m_Host = c_String(std::string(255, 'h').c_str());
    EXPECT_EQ(c_Socks5Client::CheckSettings(settings), nullptr);
    settings.m_Host = c_String(std::string(256, 'h').c_str());
    EXPECT_STREQ(c_Socks5Client::CheckSettings(settings), "Socks5 host name is longer than 255 bytes");
    const s_Run run = Play(settings, NO_AUTHENTICATION, {});
    EXPECT_EQ(run.m_State, c_Socks5Client::STATE_FAILED);
    EXPECT_EQ(run.m_Sent, GREETING);
}

TEST(Socks5Client, AFailedHandshakeKeepsNothingThatArrivesLater) {
    c_Socks5Client client;
    client.Start();
    client.StageGreeting();
    const std::uint8_t refused[] = {5, 0xFF, 'x', 'y'};
    client.AddReceivedBytes(refused, sizeof refused);
    ASSERT_EQ(client.Advance(Target()), c_Socks5Client::STEP_FAILED);
    EXPECT_TRUE(client.AddReceivedBytes(refused, sizeof refused));
    EXPECT_TRUE(client.GetReceiveBuffer().IsEmpty());
    EXPECT_EQ(client.GetState(), c_Socks5Client::STATE_FAILED);
}

} // namespace
