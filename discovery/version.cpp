#include "discovery/version.h"

#include <boost/algorithm/string/split.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace Discovery {
namespace {

std::vector<std::string> SplitKeepingEmpty(const std::string& text, char separator)
{
    std::vector<std::string> pieces;
    boost::algorithm::split(pieces, text, [separator](char c) { return c == separator; });
    return pieces;
}

bool ParseComponent(const std::string& piece, std::uint64_t& value)
{
    const char* begin = piece.c_str();
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(begin, &end, 10);
    if (end == begin || errno == ERANGE)
        return false;
    value = parsed;
    return true;
}

bool ParseComponents(const std::string& text, VersionComponents& components)
{
    if (text.empty())
        return false;
    components.clear();
    for (const std::string& piece : SplitKeepingEmpty(text, '.')) {
        std::uint64_t value = 0;
        if (!ParseComponent(piece, value))
            return false;
        components.push_back(value);
    }
    return true;
}

std::uint64_t At(const VersionComponents& list, size_t i)
{
    return i < list.size() ? list[i] : 0;
}

}  // namespace

Version::Version(const std::string& text)
{
    if (!text.empty())
        *this = ParseVersion(text);
}

Version ParseVersion(const std::string& text, bool* ok)
{
    const std::vector<std::string> parts = SplitKeepingEmpty(text, 'r');
    Version version;
    bool parsed = parts.size() <= 2 && ParseComponents(parts[0], version.mainComponents);
    if (parsed && parts.size() == 2)
        parsed = ParseComponents(parts[1], version.revisionComponents);
    if (ok)
        *ok = parsed;
    return parsed ? version : Version();
}

bool equals(const VersionComponents& a, const VersionComponents& b)
{
    const size_t length = std::max(a.size(), b.size());
    for (size_t i = 0; i < length; ++i)
        if (At(a, i) != At(b, i))
            return false;
    return true;
}

bool less(const VersionComponents& a, const VersionComponents& b)
{
    const size_t length = std::max(a.size(), b.size());
    for (size_t i = 0; i < length; ++i)
        if (At(a, i) != At(b, i))
            return At(a, i) < At(b, i);
    return false;
}

}  // namespace Discovery
