// ctest-resource-lock: installer_mirror_addresses
// End-to-end tests of c_FileDownloader: the real application, headless, installing from four nginx
// mirrors at the compiled addresses over TLS, on the test clock; and the log upload to a crafted site.

#include "installer/c_FileDownloader.h"

#include "installer/InstallerResourceIds.h"
#include "installer/c_InstallerDialog.h"
#include "installer/testing/c_FileDownloaderMirrors.h"
#include "installer/testing/c_InstallerRun.h"
#include "network/testing/c_CoreSession.h"
#include "oslayer/threads/c_TimerCore.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TemporaryDrives.h"
#include "platform/testing/TestClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using n_Platform::WaitUntil;

const std::string MIRROR_1 = "https://127.0.0.2:8443/";
const std::string ALPHA_MD5 = "f1005b52286dd6839ac47182066363b3";
const std::string BETA_MD5 = "60c64d333649ab8bc1ff0f217bcae4ff";
const std::string COMMON_MD5 = "e25d1aeaa20005d2fecc804e0e286938";
const std::string BLANK_MD5 = "55b28df54a868a6f82e943fcf73ed0fb";
const std::string PAGE = "<!DOCTYPE html><html><body>shipped page</body></html>";
const std::string PAGE_MD5 = "bb8d7b853ce29cf5e407b6a68fcc4bb6";
const std::string NEW_SETTINGS_MD5 = "a99249b6ef9ef51bb2f5392eb7d3ea14";
const std::string SAME_MD5 = "793953ee398d864ec40252df9554c3e6";

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return file ? bytes.str() : "<missing>";
}

// The program's own downloader for the dialogs made meanwhile.
class c_RealDownloaderFactory {
public:
    c_RealDownloaderFactory() : m_Previous(SetInstallerDownloaderFactory(&c_FileDownloader::Create)) {}
    ~c_RealDownloaderFactory() { SetInstallerDownloaderFactory(m_Previous); }
    c_RealDownloaderFactory(const c_RealDownloaderFactory&) = delete;
    c_RealDownloaderFactory& operator=(const c_RealDownloaderFactory&) = delete;

private:
    t_InstallerDownloaderFactory m_Previous;
};

class FileDownloaderInstall : public testing::Test {
protected:
    static void SetUpTestSuite() { s_p_Mirrors = new c_FileDownloaderMirrors; }
    static void TearDownTestSuite() {
        delete s_p_Mirrors;
        s_p_Mirrors = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(s_p_Mirrors->IsReady());
        s_p_Mirrors->Clear();
        m_Clock.emplace();
    }

    static c_FileDownloaderMirrors& Mirrors() { return *s_p_Mirrors; }
    // Every mirror answers the version numbers; the given one ranks highest.
    static void ServeVersionsChoosing(std::size_t chosen) {
        for (std::size_t i = 0; i < c_FileDownloaderMirrors::COUNT; ++i) {
            Mirrors().Serve(i, "downloads/VersionNumbers.txt",
                            i == chosen ? "2400||2401||x||y||9" : "2400||2401||x||y||1");
        }
    }
    bool StartInstall(const std::u16string& arguments = u"") {
        return m_Run.Start(u"/InstallPath=C:\\Inst /CreateShortcuts=false" + arguments) &&
               m_Run.Driver().Click(m_Run.Dialog(), IDC_INSTALL);
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        for (const std::u16string& line : m_Run.Driver().GetListLines(m_Run.Dialog(), IDC_LOG_LIST)) {
            lines.push_back(n_Platform::ToUtf8(line));
        }
        return lines;
    }
    std::size_t CountLines(const std::string& line) {
        const std::vector<std::string> lines = Lines();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }
    bool WaitForLine(const std::string& line, std::size_t count = 1) {
        return WaitUntil([&] { return CountLines(line) >= count; });
    }
    bool WaitUntilComplete() {
        return WaitUntil([&] { return m_Run.Driver().GetProgress(m_Run.Dialog(), IDC_PROGRESS) == 100; });
    }
    std::string AnswerBox() {
        const auto box = m_Run.Driver().WaitForMessageBox();
        if (!box) {
            return "<no box>";
        }
        EXPECT_TRUE(m_Run.Driver().Answer(IDOK));
        return n_Platform::ToUtf8(box->m_Text);
    }
    // The retry timer's interval, in steps that let the closed connections go first.
    bool PassRetryInterval() {
        return m_Clock->AdvanceInSteps(c_FileDownloader::RETRY_INTERVAL_MS, 100, [] {});
    }
    std::string InstallFolder() const { return m_Run.Drives().GetC() + "/Inst/"; }
    // A staged file's bytes. Once staged, the finishing step may already have moved it into place.
    std::string StagedOrMoved(const std::string& relativePath) const {
        const std::string staged = ReadFile(InstallFolder() + "DownloadedInstallationFiles/" + relativePath);
        return staged != "<missing>" ? staged : ReadFile(InstallFolder() + relativePath);
    }
    // Requests for anything but the version numbers and the lists.
    std::size_t CountFileRequests() const {
        std::size_t count = 0;
        for (std::size_t i = 0; i < c_FileDownloaderMirrors::COUNT; ++i) {
            for (const std::string& line : Mirrors().GetRequests(i)) {
                count += line.find("VersionNumbers.txt") == std::string::npos &&
                                 line.find("FilesToDownload.txt") == std::string::npos
                             ? 1
                             : 0;
            }
        }
        return count;
    }

    static inline c_FileDownloaderMirrors* s_p_Mirrors = nullptr;
    c_RealDownloaderFactory m_Factory;
    c_InstallerRun m_Run;
    // Destroyed before the run ends, so the shutdown waits on the real clock.
    std::optional<n_Platform::c_TestClock> m_Clock;
};

struct s_VersionCase {
    const char* m_Name;
    const char16_t* m_Arguments;
    const char* m_VersionFolder;
};

const s_VersionCase VERSION_CASES[] = {
    {"Current", u"", "2400"},
    {"Prerelease", u" /Version=-1", "2401"},
    {"Specific", u" /Version=1234", "1234"},
};

class FileDownloaderVersions : public FileDownloaderInstall, public testing::WithParamInterface<s_VersionCase> {};

TEST_P(FileDownloaderVersions, TheLargestRankPicksTheMirrorAndTheChoiceTheFolder) {
    const std::string folder = GetParam().m_VersionFolder;
    const std::string ranks[] = {"3", "7", "9", "5"};
    for (std::size_t i = 0; i < c_FileDownloaderMirrors::COUNT; ++i) {
        Mirrors().Serve(i, "downloads/VersionNumbers.txt", " 2400||2401||x||y||" + ranks[i] + "\r\n");
        Mirrors().Serve(i, "downloads/" + folder + "/FilesToDownload.txt", "alpha.txt=|" + ALPHA_MD5 + "\r\n");
        Mirrors().Serve(i, "downloads/" + folder + "/alpha.txt", "alpha file");
    }
    ASSERT_TRUE(StartInstall(GetParam().m_Arguments));
    ASSERT_TRUE(WaitUntilComplete());
    for (std::size_t i = 0; i < c_FileDownloaderMirrors::COUNT; ++i) {
        EXPECT_EQ(Mirrors().CountRequests(i, "downloads/VersionNumbers.txt"), 1u) << i;
        EXPECT_EQ(Mirrors().CountRequests(i, "downloads/" + folder + "/alpha.txt"), i == 2 ? 1u : 0u) << i;
    }
    EXPECT_EQ(Mirrors().CountRequests(2, "downloads/" + folder + "/FilesToDownload.txt"), 1u);
    EXPECT_EQ(StagedOrMoved("alpha.txt"), "alpha file");
}

INSTANTIATE_TEST_SUITE_P(Choices, FileDownloaderVersions, testing::ValuesIn(VERSION_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST_F(FileDownloaderInstall, ServerVersionSendsNothing) {
    ServeVersionsChoosing(0);
    ASSERT_TRUE(StartInstall(u" /ServerVersion=true"));
    ASSERT_TRUE(WaitUntil([&] { return m_Run.Driver().GetText(m_Run.Dialog(), IDC_CLOSE) == u"Cancel download"; }));
    for (const std::string& line : Lines()) {
        EXPECT_EQ(line.find("HTTP Request"), std::string::npos) << line;
    }
}

TEST_F(FileDownloaderInstall, UnusableVersionAnswersAreRetriedFourTimesThenGivenUp) {
    Mirrors().Serve(0, "downloads/VersionNumbers.txt", "<html><body>busy</body></html>");
    Mirrors().Serve(1, "downloads/VersionNumbers.txt", "2400||2401||x||9");
    Mirrors().Serve(3, "downloads/VersionNumbers.txt", "");
    ASSERT_TRUE(StartInstall());
    const std::string retrying = "Request of version numbers failed. Retrying.";
    ASSERT_TRUE(WaitForLine(retrying));
    for (std::size_t retry = 1; retry <= 4; ++retry) {
        ASSERT_TRUE(PassRetryInterval());
        ASSERT_TRUE(WaitForLine(retrying, retry + 1)) << retry;
    }
    ASSERT_TRUE(PassRetryInterval());
    EXPECT_EQ(AnswerBox(),
              "Maximum number of retries encountered. Refer to log. Download canceled. Press 'Install' to retry.");
    for (std::size_t i = 0; i < c_FileDownloaderMirrors::COUNT; ++i) {
        EXPECT_EQ(Mirrors().CountRequests(i, "downloads/VersionNumbers.txt"), 5u) << i;
    }
}

TEST_F(FileDownloaderInstall, TheCommonListJoinsTheVersionListAndBlanksTravelAsPercent20) {
    ServeVersionsChoosing(0);
    Mirrors().Serve(0, "downloads/2400/FilesToDownload.txt",
                    "alpha.txt=|" + ALPHA_MD5 + "\r\nMy File.txt=Sub\\Deep|" + BLANK_MD5 + "|x\r\nCommon");
    Mirrors().Serve(0, "downloads/2400/alpha.txt", "alpha file");
    Mirrors().Serve(0, "downloads/2400/Sub/Deep/My File.txt", "blank name");
    Mirrors().Serve(0, "downloads/Common/FilesToDownload.txt", "common.txt=Shared|" + COMMON_MD5 + "\r\nNote\r\n");
    Mirrors().Serve(0, "downloads/Common/Shared/common.txt", "common file");
    ASSERT_TRUE(StartInstall());
    // Five connections to the mirror are open now and the sixth request waits for one to close.
    ASSERT_TRUE(WaitUntil(
        [&] { return CountLines("Received file: My File.txt") + CountLines("Received file: alpha.txt") == 2; }));
    ASSERT_TRUE(m_Clock->AdvanceInSteps(c_AsyncHTTP2::c_Connection::DELAYED_CLOSE_MILLISECONDS + 10, 10, [] {}));
    ASSERT_TRUE(WaitUntilComplete());
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/Sub/Deep/My%20File.txt"), 1u);
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/Common/Shared/common.txt"), 1u);
    EXPECT_EQ(StagedOrMoved("alpha.txt"), "alpha file");
    EXPECT_EQ(StagedOrMoved("Sub/Deep/My File.txt"), "blank name");
    EXPECT_EQ(StagedOrMoved("Shared/common.txt"), "common file");
    EXPECT_EQ(CountLines("Received file: My File.txt"), 1u);
}

struct s_ListFaultCase {
    const char* m_Name;
    std::optional<std::string> m_List;
    std::string m_Line;
};

const s_ListFaultCase LIST_FAULT_CASES[] = {
    {"MissingListIsRetriedNotUpToDate", std::nullopt,
     "Download of " + MIRROR_1 +
         "downloads/2400/FilesToDownload.txt did not complete. Status: Request completed with the HTTP response "
         "status code 404."},
    {"HtmlListIsRetried", "<!DOCTYPE html><html>gone</html>", "Incorrect URL when getting files list to download."},
};

class FileDownloaderListFaults : public FileDownloaderInstall, public testing::WithParamInterface<s_ListFaultCase> {};

TEST_P(FileDownloaderListFaults, LogTheFaultAndRequestTheListAgain) {
    ServeVersionsChoosing(0);
    if (GetParam().m_List) {
        Mirrors().Serve(0, "downloads/2400/FilesToDownload.txt", *GetParam().m_List);
    }
    ASSERT_TRUE(StartInstall());
    ASSERT_TRUE(WaitForLine(GetParam().m_Line));
    ASSERT_TRUE(PassRetryInterval());
    ASSERT_TRUE(WaitForLine(GetParam().m_Line, 2));
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/FilesToDownload.txt"), 2u);
    EXPECT_EQ(m_Run.Driver().GetProgress(m_Run.Dialog(), IDC_PROGRESS), 0);
}

INSTANTIATE_TEST_SUITE_P(Lists, FileDownloaderListFaults, testing::ValuesIn(LIST_FAULT_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST_F(FileDownloaderInstall, AnEmptyListStopsWithNoFiles) {
    ServeVersionsChoosing(0);
    Mirrors().Serve(0, "downloads/2400/FilesToDownload.txt", "");
    ASSERT_TRUE(StartInstall());
    EXPECT_EQ(AnswerBox(), "No files to download. Press 'Install' to retry.");
}

struct s_UnsafeCase {
    const char* m_Name;
    std::string m_List;
    std::string m_CommonList;
    std::string m_UnsafeLine;
};

const s_UnsafeCase UNSAFE_CASES[] = {
    {"ParentSteps", "alpha.txt=\r\n..\\..\\evil.txt=\r\n", "", "..\\..\\evil.txt="},
    {"FolderInTheName", "a\\b.txt=\r\n", "", "a\\b.txt="},
    {"DriveInTheName", "C:\\x.txt=\r\n", "", "C:\\x.txt="},
    {"StreamInTheName", "a:b=\r\n", "", "a:b="},
    {"ParentFolder", "evil.txt=../..\r\n", "", "evil.txt=../.."},
    {"ParentCommonFolder", "alpha.txt=\r\n../..", "", "../.."},
    {"ParentStepsInTheCommonList", "alpha.txt=\r\nCommon", "..\\evil.txt=\r\n", "..\\evil.txt="},
};

class FileDownloaderUnsafeLines : public FileDownloaderInstall, public testing::WithParamInterface<s_UnsafeCase> {};

TEST_P(FileDownloaderUnsafeLines, StopWithTheFormatErrorAndWriteNothing) {
    ServeVersionsChoosing(0);
    Mirrors().Serve(0, "downloads/2400/FilesToDownload.txt", GetParam().m_List);
    Mirrors().Serve(0, "downloads/Common/FilesToDownload.txt", GetParam().m_CommonList);
    Mirrors().Serve(0, "downloads/2400/alpha.txt", "alpha file");
    ASSERT_TRUE(StartInstall());
    EXPECT_EQ(AnswerBox(), "Incorrect format for FilesToDownload.txt file. Press 'Install' to retry.");
    EXPECT_EQ(CountLines("Unsafe or malformed line in FilesToDownload.txt: " + GetParam().m_UnsafeLine), 1u);
    EXPECT_EQ(CountFileRequests(), 0u);
    EXPECT_FALSE(std::filesystem::exists(InstallFolder() + "DownloadedInstallationFiles"));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_Run.Drives().GetRoot())) {
        EXPECT_EQ(entry.path().filename().string().find("evil"), std::string::npos) << entry.path();
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, FileDownloaderUnsafeLines, testing::ValuesIn(UNSAFE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

struct s_FailedFileCase {
    const char* m_Name;
    std::optional<std::string> m_FirstBeta;
    std::string m_Line;
};

const s_FailedFileCase FAILED_FILE_CASES[] = {
    {"WrongMD5", "tampered!", "MD5 for file does not match. File: beta.txt. Received file size: 9"},
    {"NotFound", std::nullopt,
     "Response not complete, invalid or error: Request completed with the HTTP response status code 404. URL: " +
         MIRROR_1 + "downloads/2400/beta.txt"},
};

class FileDownloaderFailedFiles : public FileDownloaderInstall, public testing::WithParamInterface<s_FailedFileCase> {};

TEST_P(FileDownloaderFailedFiles, AreRequestedAgainAloneAfterTheRetryInterval) {
    ServeVersionsChoosing(0);
    Mirrors().Serve(0, "downloads/2400/FilesToDownload.txt",
                    "alpha.txt=|" + ALPHA_MD5 + "\r\nbeta.txt=|" + BETA_MD5 + "\r\n");
    Mirrors().Serve(0, "downloads/2400/alpha.txt", "alpha file");
    if (GetParam().m_FirstBeta) {
        Mirrors().Serve(0, "downloads/2400/beta.txt", *GetParam().m_FirstBeta);
    }
    ASSERT_TRUE(StartInstall());
    ASSERT_TRUE(WaitForLine("Download for failed files will be retried in 5000 milliseconds."));
    EXPECT_EQ(CountLines(GetParam().m_Line), 1u);
    EXPECT_EQ(StagedOrMoved("beta.txt"), "<missing>");
    Mirrors().Serve(0, "downloads/2400/beta.txt", "beta file");
    ASSERT_TRUE(PassRetryInterval());
    ASSERT_TRUE(WaitUntilComplete());
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/alpha.txt"), 1u);
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/beta.txt"), 2u);
    EXPECT_EQ(StagedOrMoved("alpha.txt"), "alpha file");
    EXPECT_EQ(StagedOrMoved("beta.txt"), "beta file");
}

INSTANTIATE_TEST_SUITE_P(Files, FileDownloaderFailedFiles, testing::ValuesIn(FAILED_FILE_CASES),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST_F(FileDownloaderInstall, AnHtmlFileIsAcceptedOnlyByItsListedMD5) {
    ServeVersionsChoosing(0);
    Mirrors().Serve(0, "downloads/2400/FilesToDownload.txt", "page.html=|" + PAGE_MD5 + "\r\nerror.html=\r\n");
    Mirrors().Serve(0, "downloads/2400/page.html", PAGE);
    Mirrors().Serve(0, "downloads/2400/error.html", PAGE);
    ASSERT_TRUE(StartInstall());
    ASSERT_TRUE(WaitForLine("Download for failed files will be retried in 5000 milliseconds."));
    EXPECT_EQ(CountLines("Received file: page.html"), 1u);
    EXPECT_EQ(CountLines("Response not complete, invalid or error: Request completed with the HTTP response status "
                         "code 200. URL: " +
                         MIRROR_1 + "downloads/2400/error.html"),
              1u);
    EXPECT_EQ(StagedOrMoved("page.html"), PAGE);
    EXPECT_EQ(StagedOrMoved("error.html"), "<missing>");
}

TEST_F(FileDownloaderInstall, UpToDateAndProtectedFilesAreNotRequested) {
    std::filesystem::create_directories(InstallFolder());
    std::filesystem::create_directories(m_Run.Drives().GetC() + "/MyData");
    std::ofstream(InstallFolder() + "same.txt", std::ios::binary) << "same content";
    std::ofstream(InstallFolder() + "Settings.cfg", std::ios::binary) << "my settings";
    std::ofstream(InstallFolder() + "Clean Chart.StdyCollct", std::ios::binary) << "old study";
    std::ofstream(InstallFolder() + "DataFilesFolder.txt", std::ios::binary) << " C:\\MyData\\\r\n";
    std::ofstream(m_Run.Drives().GetC() + "/MyData/Quotes.dly", std::ios::binary) << "my quotes";
    ServeVersionsChoosing(0);
    Mirrors().Serve(0, "downloads/2400/FilesToDownload.txt",
                    "same.txt=|" + SAME_MD5 + "\r\nSettings.cfg=|" + NEW_SETTINGS_MD5 + "\r\nQuotes.dly=Data\r\n" +
                        "Clean Chart.StdyCollct=\r\nnew.cfg=|" + NEW_SETTINGS_MD5 + "\r\n");
    for (const char* name : {"same.txt", "Settings.cfg", "Quotes.dly", "Clean Chart.StdyCollct", "new.cfg"}) {
        Mirrors().Serve(0, std::string("downloads/2400/") + name, "new settings");
    }
    ASSERT_TRUE(StartInstall());
    ASSERT_TRUE(WaitUntilComplete());
    EXPECT_EQ(CountLines("Not overwriting file since it exists: Settings.cfg"), 1u);
    EXPECT_EQ(CountLines("Not overwriting file since it exists: Quotes.dly"), 1u);
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/same.txt"), 0u);
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/Settings.cfg"), 0u);
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/Quotes.dly"), 0u);
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/Clean%20Chart.StdyCollct"), 1u);
    EXPECT_EQ(Mirrors().CountRequests(0, "downloads/2400/new.cfg"), 1u);
    EXPECT_EQ(ReadFile(InstallFolder() + "Settings.cfg"), "my settings");
    EXPECT_EQ(ReadFile(m_Run.Drives().GetC() + "/MyData/Quotes.dly"), "my quotes");
}

// The upload, driven on the test's own thread with a dialog that is never shown.
class FileDownloaderLogUpload : public testing::Test {
protected:
    static void SetUpTestSuite() { s_p_Mirrors = new c_FileDownloaderMirrors; }
    static void TearDownTestSuite() {
        delete s_p_Mirrors;
        s_p_Mirrors = nullptr;
    }
    FileDownloaderLogUpload() { c_TimerCore::Start(); }
    ~FileDownloaderLogUpload() override { c_TimerCore::Stop(); }
    void SetUp() override { ASSERT_TRUE(s_p_Mirrors->IsReady()); }

    // Uploads the message with the downloader and returns the raw request the site recorded.
    std::string Upload(c_FileDownloader& downloader, const c_String& message) {
        const std::size_t before = s_p_Mirrors->Site().GetRequests().size();
        downloader.UploadLog(message);
        EXPECT_TRUE(n_Platform::PumpAndWaitUntil([&] { return s_p_Mirrors->Site().GetRequests().size() > before; }));
        return s_p_Mirrors->Site().GetRequests().back();
    }

    // The program's path, set before the core's threads start and cleared after they end.
    class c_ModulePath {
    public:
        explicit c_ModulePath(const std::string& folder) : m_Folder(folder + "/Program/") {
            std::filesystem::create_directories(m_Folder);
            setenv(n_Platform::MODULE_PATH_VARIABLE, (m_Folder + "DovrikChartInstaller.exe").c_str(), 1);
        }
        ~c_ModulePath() { unsetenv(n_Platform::MODULE_PATH_VARIABLE); }
        c_ModulePath(const c_ModulePath&) = delete;
        c_ModulePath& operator=(const c_ModulePath&) = delete;

        std::string m_Folder;
    };

    static inline c_FileDownloaderMirrors* s_p_Mirrors = nullptr;
    c_TemporaryDrives m_Drives;
    c_ModulePath m_ModulePath{m_Drives.GetC()};
    const std::string& m_ProgramFolder = m_ModulePath.m_Folder;
    c_CoreSession m_Session;
};

std::string FormDecode(const std::string& text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

TEST_F(FileDownloaderLogUpload, TheFormCarriesTheUserNameAndTheLogIntact) {
    std::ofstream(m_ProgramFolder + "Username.txt", std::ios::binary) << "  José & Co\r\n";
    const std::string message = "Log: \n\nReceived file: a&b=c%d é.txt\n";
    c_InstallerDialog dialog;
    c_FileDownloader downloader(&dialog);
    const std::string request = Upload(downloader, c_String(message.c_str()));
    EXPECT_EQ(request.rfind("POST /API.php?Service=UploadInstallerLogFile HTTP/1.1\r\n", 0), 0u) << request;
    const std::string body = request.substr(request.find("\r\n\r\n") + 4);
    const std::string field = "&MessageText=";
    EXPECT_EQ(body.find_first_of(" \n&=é", body.find(field) + field.size()), std::string::npos) << body;
    EXPECT_EQ(FormDecode(body), "Username=José & Co&MessageText=" + message);
}

TEST_F(FileDownloaderLogUpload, OnlyASuccessStatusCountsAsSent) {
    // The 2xx answer comes first: had it counted as an error, its line would come before the 500's.
    c_InstallerDialog dialog;
    c_FileDownloader accepted(&dialog);
    c_FileDownloader refused(&dialog);
    s_p_Mirrors->Site().SetAnswer("API.php", "HTTP/1.1 204 No Content\r\n\r\n");
    Upload(accepted, "Log: \n\nfirst\n");
    s_p_Mirrors->Site().SetAnswer("API.php", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\n\r\nfail");
    Upload(refused, "Log: \n\nsecond\n");
    const std::string error =
        "Error sending the installer log: Request completed with the HTTP response status code 500.";
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return m_Session.HasLine(error); }));
    EXPECT_EQ(m_Session.CountLinesStartingWith("Error sending the installer log"), 1u);
}

} // namespace
