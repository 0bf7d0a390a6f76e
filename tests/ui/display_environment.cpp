// Registers the address recorder as the https handler of the test prefix for the whole run, and
// points Wine's fallback browser list at a recorder script, so no browser or network is ever used.
#include "display_environment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "scoped_registry_value.h"
#include "support/test_paths.h"

namespace UiTest {

namespace {

std::wstring UrlLogPath()
{
    return TestSupport::ScratchDir() + L"\\ui_opened_addresses.log";
}

// Written by run_display_tests.sh: a host script that records instead of browsing.
std::string BrowserRecorderUnixPath()
{
    return std::string(TGC_BUILD_DIR) + "/ui-display/browser_recorder.sh";
}

std::wstring BrowserLogPath()
{
    return TestSupport::BuildDir() + L"\\ui-display\\browser.log";
}

std::wstring UrlRecorderPath()
{
    return TestSupport::BuildDir() + L"\\fixtures\\url_recorder\\url_recorder.exe";
}

constexpr wchar_t kHttpsCommand[] = L"Software\\Classes\\https\\shell\\open\\command";

// The width run_display_tests.sh gave the screen.
int ExpectedScreenWidth()
{
    wchar_t width[16] = {};
    if (::GetEnvironmentVariableW(L"TGC_DISPLAY_WIDTH", width, 16) == 0)
        return 0;
    return std::stoi(width);
}

class DisplayEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        const int width = ExpectedScreenWidth();
        ASSERT_GT(width, 0) << "no display of its own: run these tests through tests/ui/run_display_tests.sh";
        ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), width);
        ASSERT_NE(::GetFileAttributesW(UrlRecorderPath().c_str()), INVALID_FILE_ATTRIBUTES);

        ::SetEnvironmentVariableW(L"TGC_URL_LOG", UrlLogPath().c_str());
        ::CreateDirectoryW((TestSupport::BuildDir() + L"\\screenshots").c_str(), nullptr);

        m_httpsHandler = std::make_unique<ScopedRegistryValue>(HKEY_LOCAL_MACHINE, kHttpsCommand, L"",
                                                               L"\"" + UrlRecorderPath() + L"\" \"%1\"");
        m_browsers =
            std::make_unique<ScopedRegistryValue>(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers",
                                                  TestSupport::Utf8ToWide(BrowserRecorderUnixPath()));
        ASSERT_TRUE(m_httpsHandler->Applied());
        ASSERT_TRUE(m_browsers->Applied());
        ::DeleteFileW(BrowserLogPath().c_str());
    }

    void TearDown() override
    {
        m_browsers.reset();
        m_httpsHandler.reset();
        ::DeleteFileW(UrlLogPath().c_str());
    }

private:
    std::unique_ptr<ScopedRegistryValue> m_httpsHandler;
    std::unique_ptr<ScopedRegistryValue> m_browsers;
};

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new DisplayEnvironment);

}  // namespace

ScopedRegistryValue RecordOpensWithTheirParent(const std::wstring& parentLog)
{
    return ScopedRegistryValue(HKEY_LOCAL_MACHINE, kHttpsCommand, L"",
                               L"\"" + UrlRecorderPath() + L"\" --with-parent \"" + parentLog + L"\" \"%1\"");
}

std::vector<std::string> OpenedAddresses()
{
    std::vector<std::string> addresses;
    std::ifstream log{std::filesystem::path(UrlLogPath())};
    std::string line;
    while (std::getline(log, line)) {
        if (!line.empty())
            addresses.push_back(line);
    }
    return addresses;
}

void ForgetOpenedAddresses()
{
    ::DeleteFileW(UrlLogPath().c_str());
}

std::vector<std::string> WaitForOpenedAddresses(size_t count, unsigned long timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    std::vector<std::string> addresses = OpenedAddresses();
    while (addresses.size() < count && ::GetTickCount64() < deadline) {
        ::Sleep(50);
        addresses = OpenedAddresses();
    }
    return addresses;
}

bool BrowserWasTried()
{
    return ::GetFileAttributesW(BrowserLogPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ScreenshotPath(const std::wstring& name)
{
    return TestSupport::BuildDir() + L"\\screenshots\\" + name + L".bmp";
}

}  // namespace UiTest
