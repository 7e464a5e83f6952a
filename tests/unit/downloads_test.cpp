#include "update/downloads.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <optional>
#include <string>
#include <string_view>

namespace wm {
namespace {

struct UrlCase {
    std::string_view address;
    bool update;
};

void PrintTo(const UrlCase& c, std::ostream* out) { *out << '"' << c.address << '"'; }

class UpdateUrlTest : public testing::TestWithParam<UrlCase> {};

TEST_P(UpdateUrlTest, OriginAndPathEndingBeforeQueryOrFragment) {
    EXPECT_EQ(is_update_url(GetParam().address), GetParam().update);
}

INSTANTIATE_TEST_SUITE_P(Update, UpdateUrlTest, testing::Values(
    UrlCase{"https://wispermoth.app/download/wispermoth.exe", true},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe?v=0.3", true},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe#latest", true},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe?a#b", true},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe#a?b", true},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe?", true},
    UrlCase{"https://wispermoth.app/releases/0.3/download/wispermoth.exe", true},
    UrlCase{"https://wispermoth.app//download/wispermoth.exe", true},
    UrlCase{"https://evil.example@wispermoth.app/download/wispermoth.exe", true},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe?next=/other", true}));

INSTANTIATE_TEST_SUITE_P(Ordinary, UpdateUrlTest, testing::Values(
    UrlCase{"", false},
    UrlCase{"http://wispermoth.app/download/wispermoth.exe", false},
    UrlCase{"https://example.com/download/wispermoth.exe", false},
    UrlCase{"https://cdn.wispermoth.app/download/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app:8443/download/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app.example.com/download/wispermoth.exe", false},
    UrlCase{"https://evilwispermoth.app/download/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app@evil.example/download/wispermoth.exe", false},
    UrlCase{"https://evil.example\\@wispermoth.app/download/wispermoth.exe", false},
    UrlCase{"https://WISPERMOTH.APP/download/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app/Download/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app/download/Wispermoth.exe", false},
    UrlCase{"https://wispermoth.app/download/wispermoth.EXE", false},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe/", false},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe ", false},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe%3F", false},
    UrlCase{"https://wispermoth.app/download%2Fwispermoth.exe", false},
    UrlCase{"https://wispermoth.app/download/wispermoth%2Eexe", false},
    UrlCase{"https://wispermoth.app/download\\wispermoth.exe", false},
    UrlCase{"https://wispermoth.app/mydownload/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app/download/xwispermoth.exe", false},
    UrlCase{"https://wispermoth.app/download/wispermoth.exe.zip", false},
    UrlCase{"https://wispermoth.app/?/download/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app/#/download/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app?x=/download/wispermoth.exe", false},
    UrlCase{"https://wispermoth.app/x?/download/wispermoth.exe#/download/wispermoth.exe", false},
    UrlCase{"https://evil.example/download/wispermoth.exe?https://wispermoth.app", false},
    UrlCase{"https://evil.example?/download/wispermoth.exe@wispermoth.app", false},
    UrlCase{"/download/wispermoth.exe", false}));

// The file system compares names without case; "notes.txt" here is a hard link of the staged file.
bool same_file_ignoring_case(std::wstring_view a, std::wstring_view b) {
    const auto file = [](std::wstring_view path) {
        std::wstring lower(path);
        for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
        return lower == L"c:\\apps\\notes.txt" ? std::wstring(L"c:\\apps\\wispermoth.new.exe") : lower;
    };
    return file(a) == file(b);
}

TEST(Downloads, TheUpdateIsStagedOnlyInertFilesOfTheOwnOriginAreWrittenInSilenceAndCodeNever) {
    using enum DownloadRoute::Kind;
    const auto paths = update_paths_for(L"C:\\apps\\chat.exe");
    constexpr std::string_view app = "https://wispermoth.app/chat";
    constexpr std::string_view sub = "https://chat.wispermoth.app/";
    constexpr std::wstring_view folder = L"C:\\Users\\me\\Downloads\\";
    struct Case {
        std::string_view source_page;
        std::string_view address;
        std::wstring_view name;  // proposed in the download folder, or a full path
        DownloadRoute::Kind kind;
        bool staged = false;
        std::optional<UpdatePaths> update = update_paths_for(L"C:\\apps\\chat.exe");
    };
    const Case cases[] = {
        {app, "https://wispermoth.app/download/wispermoth.exe?v=2", L"wispermoth.exe", silent, true},
        // Without the executable's path the update runs on where the runtime proposed.
        {app, "https://wispermoth.app/download/wispermoth.exe", L"wispermoth.exe", silent, false, std::nullopt},
        {app, "https://wispermoth.app/report.pdf", L"report.pdf", silent},
        {app, "blob:https://wispermoth.app/9a1c", L"export.csv", silent},
        {app, "data:text/plain,hello", L"notes.txt", silent},
        // Subdomains and other ports may serve what users upload.
        {sub, "https://wispermoth.app/report.pdf", L"report.pdf", visible},
        {app, "https://files.wispermoth.app/report.pdf", L"report.pdf", visible},
        {app, "https://wispermoth.app:8443/report.pdf", L"report.pdf", visible},
        {app, "https://ugc.wispermoth.app:8443/u/7/download/wispermoth.exe", L"wispermoth.exe", cancelled},
        // Not inert: the user decides.
        {app, "https://wispermoth.app/files/notes", L"notes.docx", visible},
        {app, "https://wispermoth.app/files/report", L"report", visible},
        // A foreign server's attachment answering a link, the window still on the application.
        {app, "https://evil.example/invoice.pdf", L"invoice.pdf", visible},
        {app, "http://wispermoth.app/report.pdf", L"report.pdf", visible},
        {app, "blob:https://evil.example/9a1c", L"export.csv", visible},
        // Code and what mounts never run, wherever from; a foreign frame in the application's page
        // can make a data: address.
        {app, "https://wispermoth.app/attachments/7/run.exe", L"run.exe", cancelled},
        {app, "data:application/octet-stream,MZ", L"dwmapi.dll", cancelled},
        {app, "data:application/octet-stream,CD001", L"invoice.iso", cancelled},
        {app, "https://evil.example/dwmapi.dll", L"dwmapi.dll", cancelled},
        {app, "https://evil.example/setup", L"Setup.MSI", cancelled},
        {app, "https://evil.example/run", L"run.js. . ", cancelled},
        {app, "https://evil.example/screen", L"screen.scr", cancelled},
        // A foreign page downloads nothing, not even the update's own address.
        {"https://evil.example/", "https://evil.example/report.pdf", L"report.pdf", cancelled},
        {"https://evil.example/", "https://wispermoth.app/download/wispermoth.exe", L"wispermoth.exe", cancelled},
        {"https://wispermoth.app:444/", "https://wispermoth.app/report.pdf", L"report.pdf", cancelled},
        {"", "https://wispermoth.app/report.pdf", L"report.pdf", cancelled},
        // The update's own files, by whatever name opens them: here a hard link.
        {app, "https://wispermoth.app/files/notes.txt", L"C:\\Apps\\notes.txt", cancelled},
    };
    for (const Case& c : cases) {
        const std::wstring proposed = c.name.find(L'\\') == std::wstring_view::npos
                                          ? std::wstring(folder) + std::wstring(c.name)
                                          : std::wstring(c.name);
        SCOPED_TRACE(std::string(c.source_page) + " " + std::string(c.address));
        DownloadRoute expected{c.kind, {}};
        if (c.kind != cancelled) expected.path = c.staged ? paths.staged : proposed;
        EXPECT_EQ(route_download(c.source_page, c.address, proposed, c.update, same_file_ignoring_case), expected);
    }
}

TEST(Downloads, TheEndOfADownloadIsToldAsItsKindAndFileName) {
    using enum DownloadEnd::Kind;
    constexpr std::string_view update = "https://wispermoth.app/download/wispermoth.exe";
    constexpr std::string_view other = "https://wispermoth.app/files/report.pdf";
    struct Case {
        const char* label;
        std::string_view address;
        std::optional<std::u16string> path;
        bool completed;
        std::optional<DownloadEnd> told;
    };
    const Case cases[] = {
        {"update done", update, u"C:\\apps\\wispermoth.new.exe", true, DownloadEnd{update_finished, {}}},
        {"update done, path unread", update, std::nullopt, true, DownloadEnd{update_finished, {}}},
        {"update interrupted", update, std::nullopt, false, DownloadEnd{update_failed, {}}},
        {"saved", other, u"C:\\Users\\me\\Downloads\\report.pdf", true, DownloadEnd{saved, "report.pdf"}},
        {"forward slashes", other, u"C:/Downloads/a/report (1).pdf", true, DownloadEnd{saved, "report (1).pdf"}},
        {"bare name", other, u"report.pdf", true, DownloadEnd{saved, "report.pdf"}},
        {"apostrophe and backslash kept for escaping later", other, u"C:\\d\\it's.txt", true,
         DownloadEnd{saved, "it's.txt"}},
        {"non-ASCII name", other, u"C:\\d\\caf\u00e9 \U0001F600.txt", true,
         DownloadEnd{saved, "caf\xc3\xa9 \xf0\x9f\x98\x80.txt"}},
        {"lone surrogates", other, std::u16string(u"C:\\d\\a") + char16_t(0xD800) + u"b" + char16_t(0xDC00), true,
         DownloadEnd{saved,
                     "a\xef\xbf\xbd"
                     "b\xef\xbf\xbd"}},
        {"no final name", other, u"C:\\Downloads\\", true, std::nullopt},
        {"empty path", other, u"", true, std::nullopt},
        {"no path", other, std::nullopt, true, std::nullopt},
        {"interrupted", other, std::nullopt, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(on_download_completed(c.address, c.path, c.completed), c.told);
    }
}

}  // namespace
}  // namespace wm
