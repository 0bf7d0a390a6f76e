#include "app/client_main.h"

#include <windows.h>

#include <memory>
#include <new>
#include <string>

#include "app/command_dispatch.h"
#include "app/module_folder.h"
#include "app/run_log.h"
#include "app/zgc_api_cli.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

void SuppressCriticalErrorBoxes()
{
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    SetErrorMode(previous | SEM_FAILCRITICALERRORS);
}

int RunClient(const wchar_t* commandLine) noexcept
{
    try {
        SuppressCriticalErrorBoxes();
        const std::vector<std::wstring> arguments = SplitCommandLine(commandLine ? commandLine : L"");
        const RunLog log(LogFileArgument(arguments), arguments);
        const std::optional<std::wstring> folderArgument = GameFolderArgument(arguments);
        const std::wstring gameFolder = folderArgument ? *folderArgument : DefaultGameFolder();
        const bool quiet = HasQuietSwitch(arguments);
        const std::unique_ptr<IZGCApiCli> client(new (std::nothrow) ZGCApiCli(gameFolder, quiet));
        if (client)
            log.operationEnded(
                DispatchCommand(arguments, *client, [](std::int32_t code) { Ui::ShowNotification(code); }));
    } catch (...) {
        // Nothing to tell anyone: the caller does not read the exit code, and the process has no console.
        // The failure that gets here in practice is an unresolvable ProgramData folder.
    }
    return 0;
}

}  // namespace ZGC
