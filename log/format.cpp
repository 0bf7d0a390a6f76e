#include "log/format.h"

#include <algorithm>

namespace Log {

namespace {

struct Placeholder {
    std::size_t position;
    std::size_t length;  // 2 for "%n", 3 for "%nn"
    int number;
};

bool isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

std::vector<Placeholder> findPlaceholders(std::wstring_view format)
{
    std::vector<Placeholder> found;
    found.reserve(10);
    for (std::size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != L'%' || !isDigit(format[i + 1]))
            continue;
        int number = format[i + 1] - L'0';
        std::size_t length = 2;
        if (i + 2 < format.size() && isDigit(format[i + 2])) {
            number = number * 10 + (format[i + 2] - L'0');
            length = 3;
        }
        found.push_back({i, length, number});
        i += length - 1;
    }
    return found;
}

}  // namespace

std::wstring formatMessage(std::wstring_view format, const std::vector<std::wstring>& args)
{
    if (args.empty())
        return std::wstring(format);

    const std::vector<Placeholder> placeholders = findPlaceholders(format);
    std::vector<int> numbers;
    numbers.reserve(100);
    for (const Placeholder& p : placeholders)
        numbers.push_back(p.number);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());

    // The argument of a placeholder, or null when it has none and stays as written.
    auto argumentOf = [&](const Placeholder& p) -> const std::wstring* {
        const auto rank =
            static_cast<std::size_t>(std::lower_bound(numbers.begin(), numbers.end(), p.number) - numbers.begin());
        return rank < args.size() ? &args[rank] : nullptr;
    };

    std::size_t size = format.size();
    for (const Placeholder& p : placeholders) {
        if (const std::wstring* arg = argumentOf(p))
            size = size + arg->size() - p.length;
    }

    std::wstring text;
    text.reserve(size);
    std::size_t copied = 0;
    for (const Placeholder& p : placeholders) {
        const std::wstring* arg = argumentOf(p);
        if (!arg)
            continue;
        text.append(format.substr(copied, p.position - copied));
        text.append(*arg);
        copied = p.position + p.length;
    }
    text.append(format.substr(copied));
    return text;
}

}  // namespace Log
