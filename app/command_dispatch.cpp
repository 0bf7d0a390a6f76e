#include "app/command_dispatch.h"

#include <boost/program_options/parsers.hpp>

#include <algorithm>
#include <limits>

#include "errors/classic_space.h"

namespace ZGC {

namespace {

constexpr wchar_t kTargetGameFolderSwitch[] = L"--target-game-folder";
constexpr wchar_t kQuietSwitch[] = L"--quiet";
constexpr wchar_t kLogSwitch[] = L"--log";

std::optional<std::wstring> ValueAfterFirst(const std::vector<std::wstring>& arguments, const wchar_t* name)
{
    const auto found = std::find(arguments.begin(), arguments.end(), name);
    if (found == arguments.end() || std::next(found) == arguments.end())
        return std::nullopt;
    return *std::next(found);
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine)
{
    return boost::program_options::split_winmain(commandLine);
}

std::optional<std::wstring> GameFolderArgument(const std::vector<std::wstring>& arguments)
{
    return ValueAfterFirst(arguments, kTargetGameFolderSwitch);
}

std::optional<std::wstring> LogFileArgument(const std::vector<std::wstring>& arguments)
{
    return ValueAfterFirst(arguments, kLogSwitch);
}

bool HasQuietSwitch(const std::vector<std::wstring>& arguments)
{
    return std::find(arguments.begin(), arguments.end(), kQuietSwitch) != arguments.end();
}

std::int32_t ParseNotificationCode(const std::wstring& token)
{
    auto unit = token.begin();
    while (unit != token.end() && Text::IsClassicSpace(*unit))
        ++unit;
    bool negative = false;
    if (unit != token.end() && (*unit == L'+' || *unit == L'-')) {
        negative = *unit == L'-';
        ++unit;
    }
    // Accumulated as a magnitude one past the largest value so both limits are reachable.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; unit != token.end() && *unit >= L'0' && *unit <= L'9'; ++unit)
        magnitude = std::min(magnitude * 10 + (*unit - L'0'), kLimit);
    if (negative)
        return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

ResultCode DispatchCommand(const std::vector<std::wstring>& arguments, IZGCApiCli& client,
                           const std::function<void(std::int32_t)>& showNotification)
{
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::wstring& token = arguments[index];
        const bool hasValue = index + 1 < arguments.size();
        // Only the first switch on the line is acted on.
        if (token == L"--update")
            return client.Update();
        if (token == L"--uninstall")
            return client.Uninstall();
        if (token == L"--verify-integrity")
            return client.VerifyIntegrity();
        if (token == L"--cct" && hasValue) {
            const std::wstring clientType = arguments[index + 1];
            return client.ChangeClientType(clientType.c_str());
        }
        if (token == L"--install" && hasValue) {
            const std::wstring installArgument = arguments[index + 1];
            return client.Install(installArgument.c_str());
        }
        if (token == L"--propose-zgc-install" && hasValue) {
            // Asked for by name, so shown even in quiet mode; the game center is not checked.
            showNotification(ParseNotificationCode(arguments[index + 1]));
            return kResultSuccess;
        }
    }
    return client.Open();
}

}  // namespace ZGC
