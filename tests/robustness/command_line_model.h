// Random client command lines and what the client must do with each, worked out from the
// token list itself rather than from the client's code.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace Robustness {

// One generated invocation: the tokens after the program's own path.
struct Invocation {
    std::vector<std::wstring> tokens;
};

enum class Expected { StartsGameCenter, StartsNothing };

struct Expectation {
    Expected outcome = Expected::StartsNothing;
    std::wstring operation;   // "open", "update", ... or "propose"
    std::wstring gameFolder;  // empty when the default (the executable's folder) applies
    bool defaultFolder = true;
};

// Joins tokens into a command line by the Windows rules, so that splitting it gives the tokens back.
std::wstring QuoteArgument(const std::wstring& token);
std::wstring JoinCommandLine(const std::wstring& program, const std::vector<std::wstring>& tokens);

// What the client must do for these tokens when a usable game center is (or is not) installed.
Expectation Expect(const std::vector<std::wstring>& tokens, bool gameCenterUsable);

// Generates a command line that always holds "--quiet" and never asks for a notification that
// has an entry (those are shown even in quiet mode).
Invocation GenerateInvocation(std::mt19937_64& random);

// A signed decimal like the dispatch reads it: blanks skipped, optional sign, digits up to the first non-digit.
std::int32_t LeadingDecimal(const std::wstring& text);

}  // namespace Robustness
