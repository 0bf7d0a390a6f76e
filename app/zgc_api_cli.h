// The launcher client: turns one operation into a start of the installed game center for one game folder,
// after checking that a usable game center is there.
#pragma once

#include <cstdint>
#include <string>

#include "app/client_services.h"
#include "app/zgc_api_cli_interface.h"

namespace ZGC {

class ZGCApiCli : public IZGCApiCli {
public:
    // Each operation looks the game center up once, when it runs; a known-folder failure of that lookup
    // leaves the operation as an exception.
    ZGCApiCli(const std::wstring& gameFolder, bool quiet);
    ZGCApiCli(const std::wstring& gameFolder, bool quiet, ClientServices services);

    ResultCode Open() override;
    ResultCode Update() override;
    ResultCode VerifyIntegrity() override;
    // Runs the game center's uninstall and waits, without time-out, until it sets the folder's uninstall
    // event (0) or ends (1). Refuses (0x80EE1001, silently) while another uninstall of the folder runs.
    ResultCode Uninstall() override;
    ResultCode ChangeClientType(const wchar_t* type) override;
    ResultCode Install(const wchar_t* argument) override;

    // The operation's discovery: its result, and the game center found, held until it has started. Tells
    // the user (unless quiet) when the result is a failure.
    Discovery::DiscoveredGameCenter CheckGameCenter(std::int32_t notificationCode);
    // The common routine of the ordinary operations: check, then start with the game-folder arguments.
    ResultCode RunGameCenter(std::int32_t notificationCode, const std::wstring& operationArguments);
    // Starts the game center the check found, elevated when the system demands it (both in its own
    // folder); reports a failed start unless quiet.
    ResultCode StartGameCenter(std::int32_t notificationCode, const std::wstring& gameCenterPath,
                               const std::wstring& argumentText);

    std::uint32_t folderKey() const { return folderKey_; }

private:
    ClientServices services_;
    std::wstring gameFolder_;
    std::uint32_t folderKey_;
    bool quiet_;
};

}  // namespace ZGC
