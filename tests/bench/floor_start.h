// What both floors of the start-up benchmark do last: start a program with the arguments that
// follow on their own command line, and close its handles.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Bench {

// This process's arguments, the program name first.
std::vector<std::wstring> OwnArguments();

// Starts `program` (quoted) followed by arguments[first..], blank-separated, in `directory` (empty:
// ours); false when the start fails.
bool StartWithArguments(const std::wstring& program, const std::vector<std::wstring>& arguments, std::size_t first,
                        const std::wstring& directory = {});

}  // namespace Bench
