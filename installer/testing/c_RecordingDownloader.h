#pragma once
// Test helper: a downloader that records what the dialog asks of it and downloads nothing. While it
// is the factory (c_RecordingDownloaderFactory), every downloader the dialog makes is one of these,
// and the factory keeps the calls of all of them in order, each prefixed with the downloader's
// number (1 for the first made).

#include "installer/c_InstallerDialog.h"
#include "installer/c_InstallerDownloader.h"
#include "strings/c_String.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class c_RecordingDownloaderFactory {
public:
    c_RecordingDownloaderFactory() {
        s_p_Factory = this;
        m_Previous = SetInstallerDownloaderFactory(&Make);
    }
    ~c_RecordingDownloaderFactory() {
        SetInstallerDownloaderFactory(m_Previous);
        s_p_Factory = nullptr;
    }
    c_RecordingDownloaderFactory(const c_RecordingDownloaderFactory&) = delete;
    c_RecordingDownloaderFactory& operator=(const c_RecordingDownloaderFactory&) = delete;

    std::vector<std::string> GetCalls() const {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Calls;
    }
    int GetMade() const { return m_Made.load(); }
    int GetLive() const { return m_Live.load(); }

    // Start reports this error to the dialog, as a downloader does from inside its callbacks.
    void FailStartWith(const std::string& text) { m_StartError = text; }

    void Record(int number, const std::string& call) {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Calls.push_back(std::to_string(number) + " " + call);
    }

private:
    class c_Downloader : public c_InstallerDownloader {
    public:
        c_Downloader(c_RecordingDownloaderFactory& factory, c_InstallerDialog* dialog, int number)
            : m_Factory(factory), m_p_Dialog(dialog), m_Number(number) {}
        ~c_Downloader() override {
            m_Factory.Record(m_Number, "deleted");
            --m_Factory.m_Live;
        }
        void SetVersion(std::int32_t version) override {
            m_Factory.Record(m_Number, "version " + std::to_string(version));
        }
        void SetInstallPath(const c_String& path) override { m_Factory.Record(m_Number, "path " + Text(path)); }
        void SetStagingFolderName(const c_String& name) override {
            m_Factory.Record(m_Number, "staging " + Text(name));
        }
        void SetProxySettings(const c_HTTPProxySettings& settings) override {
            m_Factory.Record(m_Number, "proxy " + Text(settings.m_ProxyAddress));
        }
        void Start() override {
            m_Factory.Record(m_Number, "start");
            m_Busy = true;
            if (!m_Factory.m_StartError.empty()) {
                m_p_Dialog->OnDownloadError(c_String(m_Factory.m_StartError.c_str()));
            }
        }
        void CancelAll() override {
            m_Factory.Record(m_Number, "cancel");
            m_Busy = false;
        }
        bool IsBusy() const override { return m_Busy; }
        std::vector<s_FileMove>& GetFileMoves() override { return m_FileMoves; }
        void UploadLog(const c_String& message) override { m_Factory.Record(m_Number, "upload " + Text(message)); }

    private:
        static std::string Text(const c_String& text) { return std::string(text.begin(), text.end()); }

        c_RecordingDownloaderFactory& m_Factory;
        c_InstallerDialog* m_p_Dialog;
        int m_Number;
        bool m_Busy = false;
        std::vector<s_FileMove> m_FileMoves;
    };

    static c_InstallerDownloader* Make(c_InstallerDialog* dialog) {
        c_RecordingDownloaderFactory& factory = *s_p_Factory;
        ++factory.m_Live;
        return new c_Downloader(factory, dialog, ++factory.m_Made);
    }

    static inline c_RecordingDownloaderFactory* s_p_Factory = nullptr;
    t_InstallerDownloaderFactory m_Previous = nullptr;
    mutable std::mutex m_Lock;
    std::vector<std::string> m_Calls;
    std::atomic<int> m_Made{0};
    std::atomic<int> m_Live{0};
    std::string m_StartError;
};
