// The default game folder: the folder that holds the client's own executable.
#pragma once

#include <string>

namespace ZGC {

// Full path of the running executable, however long.
std::wstring RunningModulePath();

// The module path made absolute (kept as it is when that fails), without its last component.
std::wstring FolderOfModulePath(const std::wstring& modulePath);

// FolderOfModulePath(RunningModulePath())
std::wstring DefaultGameFolder();

}  // namespace ZGC
