// The levels the program logs at; higher is more severe.
#pragma once

namespace Log {

// What a run did and found: only a log asked for on the command line takes these.
inline constexpr int kInfoLevel = 2;

// Something failed and the program goes on without it.
inline constexpr int kWarningLevel = 4;
// Something failed that the caller is told about, or that should not happen at all.
inline constexpr int kErrorLevel = 5;

}  // namespace Log
