#include "discovery/locate_game_center.h"

#include "log/log_line.h"

namespace Discovery {
namespace {

constexpr wchar_t kExecutableName[] = L"tgc.exe";

}  // namespace

std::wstring EntryExecutable(const std::wstring& value)
{
    // "path,index": drop the icon index. Quotes and environment variables are left as they are.
    const std::wstring path = value.substr(0, value.rfind(L','));
    const size_t nameStart = path.find_last_of(L"\\/") + 1;  // 0 without a separator
    const std::wstring name = path.substr(nameStart);
    const bool named = nameStart > 0 && CompareStringOrdinal(name.c_str(), static_cast<int>(name.size()),
                                                             kExecutableName, -1, TRUE) == CSTR_EQUAL;
    return named ? path : std::wstring();
}

HeldChain ChooseGameCenter(const GameCenterSources& sources, const std::function<HeldChain(const std::wstring&)>& hold)
{
    std::vector<std::wstring> candidates;
    if (!sources.pathFileExecutable.empty())
        candidates.push_back(sources.pathFileExecutable);
    for (const std::wstring& value : sources.entryValues) {
        std::wstring executable = EntryExecutable(value);
        if (executable.empty())
            Log::line(Log::kWarningLevel, LOG_LOCATION(), L"Passed over %1: it names no tgc.exe", {value});
        else
            candidates.push_back(std::move(executable));
    }
    for (const std::wstring& candidate : candidates) {
        HeldChain held = hold(candidate);
        if (held.verdict() == ChainVerdict::Missing) {
            Log::line(Log::kWarningLevel, LOG_LOCATION(), L"No game center at %1: the lookup ends", {candidate});
            return {};
        }
        if (held.trusted()) {
            Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Game center found: %1", {candidate});
            return held;
        }
    }
    Log::line(Log::kWarningLevel, LOG_LOCATION(), L"No game center found");
    return {};
}

HeldChain LocateGameCenter(const TrustRule& rule)
{
    GameCenterSources sources;
    sources.pathFileExecutable = ReadPathFile(L"Tarvo\\GameCenter", kExecutableName, L"tgc_path.dat", rule.trusted);
    // Read whether or not the path file settles it: its game center may yet be passed over.
    sources.entryValues = ReadUninstallEntryValues(rule.readsCurrentUserEntry);
    return ChooseGameCenter(sources, [&rule](const std::wstring& executable) {
        return HoldChain(executable, ChainLeaf::GameCenter, rule.trusted);
    });
}

}  // namespace Discovery
