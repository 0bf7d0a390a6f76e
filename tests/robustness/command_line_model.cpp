#include "command_line_model.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace Robustness {

namespace {

const std::array<const wchar_t*, 8> kSwitches = {
    L"--update",  L"--uninstall",           L"--verify-integrity",   L"--cct",
    L"--install", L"--propose-zgc-install", L"--target-game-folder", L"--quiet",
};

// Look-alikes that must be treated as unknown tokens.
const std::array<const wchar_t*, 9> kLookAlikes = {
    L"--UPDATE", L"--open", L"--pa", L"-update", L"--update=1", L"--Uninstall", L"/update", L"--", L"-",
};

const std::array<int, 7> kCodesWithEntries = {103, 105, 106, 108, 110, 111, 112};

std::uint64_t Pick(std::mt19937_64& random, std::uint64_t count)
{
    return random() % count;
}

bool Chance(std::mt19937_64& random, int percent)
{
    return static_cast<int>(Pick(random, 100)) < percent;
}

// Characters that stress splitting and quoting, drawn one at a time.
wchar_t StressCharacter(std::mt19937_64& random)
{
    static const std::wstring pool =
        L"\"\\ \t\r\n\v\f/:.,;'`$%^&*()[]{}<>|?~!=+-_"
        L"abcXYZ019"
        L"\u00e9\u00c9\u0436\u0416\u00a0\u3000\u200b\u00ff";
    return pool[Pick(random, pool.size())];
}

std::wstring RandomValue(std::mt19937_64& random)
{
    switch (Pick(random, 7)) {
        case 0:
            return L"";
        case 1:
            return L"C:\\Games\\My Game\\";
        case 2:
            return L"D:\\";
        case 3: {  // a folder name with a character outside the basic plane
            return L"C:\\Games\\\U0001F3AE Arena";
        }
        case 4: {  // very long
            const size_t length = 200 + Pick(random, 3000);
            std::wstring text;
            for (size_t i = 0; i < length; ++i)
                text += static_cast<wchar_t>(L'a' + Pick(random, 26));
            return L"C:\\" + text;
        }
        default: {
            std::wstring text;
            const size_t length = 1 + Pick(random, 24);
            for (size_t i = 0; i < length; ++i)
                text += StressCharacter(random);
            return text;
        }
    }
}

std::wstring ProposeValue(std::mt19937_64& random)
{
    static const std::array<const wchar_t*, 12> pool = {
        L"", L"abc", L"0", L"-1", L"104", L"107", L"109", L"113", L"  42", L"+7", L"-103", L"1e3",
    };
    for (;;) {
        const std::wstring value =
            Chance(random, 70) ? std::wstring(pool[Pick(random, pool.size())]) : RandomValue(random);
        const int code = LeadingDecimal(value);
        if (std::find(kCodesWithEntries.begin(), kCodesWithEntries.end(), code) == kCodesWithEntries.end())
            return value;
    }
}

}  // namespace

std::int32_t LeadingDecimal(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > 0x7FFFFFFF)  // the generator never needs more; keep the oracle simple
            return negative ? -0x7FFFFFFF : 0x7FFFFFFF;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::wstring QuoteArgument(const std::wstring& token)
{
    const bool needsQuotes = token.empty() || token.find_first_of(L" \t\n\v\f\r\"") != std::wstring::npos;
    if (!needsQuotes)
        return token;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : token) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
            quoted += L'"';
        } else {
            quoted.append(backslashes, L'\\');
            quoted += c;
        }
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring JoinCommandLine(const std::wstring& program, const std::vector<std::wstring>& tokens)
{
    std::wstring line = QuoteArgument(program);
    for (const auto& token : tokens)
        line += L" " + QuoteArgument(token);
    return line;
}

Expectation Expect(const std::vector<std::wstring>& tokens, bool gameCenterUsable)
{
    Expectation expectation;
    const auto folder = std::find(tokens.begin(), tokens.end(), L"--target-game-folder");
    if (folder != tokens.end() && folder + 1 != tokens.end()) {
        expectation.gameFolder = *(folder + 1);
        expectation.defaultFolder = false;
    }
    std::wstring operation = L"open";
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::wstring& t = tokens[i];
        const bool hasNext = i + 1 < tokens.size();
        if (t == L"--update" || t == L"--uninstall" || t == L"--verify-integrity") {
            operation = t.substr(2);
            break;
        }
        if ((t == L"--cct" || t == L"--install" || t == L"--propose-zgc-install") && hasNext) {
            operation = t == L"--propose-zgc-install" ? L"propose" : t.substr(2);
            break;
        }
    }
    expectation.operation = operation;
    const bool starts = operation != L"propose" && gameCenterUsable;
    expectation.outcome = starts ? Expected::StartsGameCenter : Expected::StartsNothing;
    return expectation;
}

namespace {

// The notification code that the first handled switch asks for, if it is "--propose-zgc-install".
std::optional<int> ProposedCode(const std::vector<std::wstring>& tokens)
{
    if (Expect(tokens, true).operation != L"propose")
        return std::nullopt;
    const auto at = std::find(tokens.begin(), tokens.end(), L"--propose-zgc-install");
    return LeadingDecimal(*(at + 1));
}

Invocation GenerateOnce(std::mt19937_64& random)
{
    Invocation invocation;
    auto& tokens = invocation.tokens;
    const size_t count = Pick(random, 7);
    for (size_t i = 0; i < count; ++i) {
        const auto kind = Pick(random, 10);
        if (kind < 5) {
            const std::wstring s = kSwitches[Pick(random, kSwitches.size())];
            tokens.push_back(s);
            if (s == L"--propose-zgc-install" && Chance(random, 85))
                tokens.push_back(ProposeValue(random));
            else if ((s == L"--cct" || s == L"--install" || s == L"--target-game-folder") && Chance(random, 85))
                tokens.push_back(RandomValue(random));
        } else if (kind < 7) {
            tokens.push_back(kLookAlikes[Pick(random, kLookAlikes.size())]);
        } else {
            tokens.push_back(RandomValue(random));
        }
    }
    tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(Pick(random, tokens.size() + 1)), L"--quiet");
    return invocation;
}

}  // namespace

Invocation GenerateInvocation(std::mt19937_64& random)
{
    for (;;) {
        Invocation invocation = GenerateOnce(random);
        const auto code = ProposedCode(invocation.tokens);
        if (!code || std::find(kCodesWithEntries.begin(), kCodesWithEntries.end(), *code) == kCodesWithEntries.end())
            return invocation;
    }
}

}  // namespace Robustness
