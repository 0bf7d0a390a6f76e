// Version texts such as "26.00.02.1046" or "1.2r3": main components, optionally 'r' and revision components.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Discovery {

using VersionComponents = std::vector<std::uint64_t>;

struct Version {
    Version() = default;
    // Empty text gives the empty Version; any other text is ParseVersion(text) (empty when it does not parse).
    explicit Version(const std::string& text);

    VersionComponents mainComponents;
    VersionComponents revisionComponents;
};

// Components are read by strtoull's base-10 rules (leading white space, a sign, digits up to the first
// other character); a piece without digits, a value above 2^64-1, an empty piece or more than one 'r' fail.
// On failure the empty Version is returned and *ok (when given) is false.
Version ParseVersion(const std::string& text, bool* ok = nullptr);

// Lists compare as if the shorter one were padded with zeros.
bool equals(const VersionComponents& a, const VersionComponents& b);
bool less(const VersionComponents& a, const VersionComponents& b);

}  // namespace Discovery
