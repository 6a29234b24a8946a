// Tests of the downloader's name and body rules. The state machine itself runs against real mirrors
// in c_FileDownloader_e2e_test.cpp.

#include "installer/c_FileDownloader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct s_OverwriteCase {
    const char* m_Name;
    bool m_Overwritable;
};

const s_OverwriteCase OVERWRITE_CASES[] = {
    {"DovrikChart_64.exe", true},
    {"Dovrik4.config", false},
    {"dovrik4.CONFIG", false},
    {"Sub\\Dovrik4.config", false},
    {"Layout.twconfig", false},
    {"Chart.CHT", false},
    {"Study.stdycollct", false},
    {"Clean Chart.StdyCollct", true},
    {"clean chart.stdycollct", true},
    {"Data\\Clean Chart.StdyCollct", true},
    {"Other Clean Chart.StdyCollct", false},
    {"Quotes.dly", false},
    {"Video.qvid", false},
    {"Settings.cfg", false},
    {"App.config", false},
    {"cfg", true},
    {"Settings.cfg.bak", true},
    {"Readme.txt", true},
};

TEST(FileDownloader, NeverOverwrittenNames) {
    for (const s_OverwriteCase& row : OVERWRITE_CASES) {
        EXPECT_EQ(c_FileDownloader::IsOverwritableFile(row.m_Name), row.m_Overwritable) << row.m_Name;
    }
}

TEST(FileDownloader, FileNameFromUrl) {
    const struct {
        const char* m_URL;
        const char* m_Name;
    } rows[] = {
        {"https://h/downloads/2400/Sub/My%20File.txt", "My File.txt"},
        {"https://h/downloads/2400/a%20b%20c", "a b c"},
        {"https://h/downloads/2400/", ""},
        {"plain.txt", "plain.txt"},
        {"", ""},
    };
    for (const auto& row : rows) {
        const c_String name = c_FileDownloader::FileNameFromUrl(row.m_URL);
        EXPECT_EQ(std::string(name.begin(), name.end()), row.m_Name) << row.m_URL;
    }
}

TEST(FileDownloader, HtmlResponses) {
    const struct {
        const char* m_Body;
        bool m_Html;
    } rows[] = {
        {"<!DOCTYPE html><html>", true},
        {"<!doctype HTML>", true},
        {"<html><body>404", true},
        {"<HTML>", true},
        {" <html>", false},
        {"<html lang=en>", false},
        {"<!DOCTYP", false},
        {"a=b\r\n", false},
        {"", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(c_FileDownloader::IsHtmlResponse(row.m_Body), row.m_Html) << row.m_Body;
    }
}

} // namespace
