// The default game folder: the folder that holds the client's own executable.
#pragma once

#include <string>

namespace ZGC {

// Full path of the running executable, however long.
std::wstring RunningModulePath();

// The module path made absolute (kept as it is when that fails), without its last component.
std::wstring FolderOfModulePath(const std::wstring& modulePath);

// The path without its last component (PathRemoveFileSpecW), cut at the terminator that call writes.
std::wstring WithoutLastComponent(const std::wstring& path);

// FolderOfModulePath(RunningModulePath())
std::wstring DefaultGameFolder();

}  // namespace ZGC
