// What the stand-in game center wrote about each of its starts, and where its variants are built.
#pragma once

#include <string>
#include <vector>

namespace TestSupport {

struct GameCenterRecord {
    std::wstring commandLine, currentDirectory;
    bool inJob = false;
    unsigned long processId = 0;
};

// Every complete record of the log in the order written; a missing log gives none.
// A record still being written (no line end yet) is left out.
std::vector<GameCenterRecord> ReadGameCenterRecords(const std::wstring& logPath);

// C:\tgc-fixtures\gc_<variant>\tgc.exe, variant like L"26.0.2.1046" or L"noversion": a copy of the build's
// <build>\fixtures\gc_<variant>, refreshed when that one changed. A client with administrator rights (every
// process under Wine) refuses a game center in the build folder, where the Unix folders above it may be
// writable by everyone (/tmp); the prefix's C:\ holds only folders of its own user.
std::wstring FixtureGameCenterPath(const std::wstring& variant);

// The folder of that executable.
std::wstring FixtureGameCenterFolder(const std::wstring& variant);

}  // namespace TestSupport
