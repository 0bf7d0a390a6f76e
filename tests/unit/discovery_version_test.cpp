// Version texts, and the order between component lists.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "discovery/version.h"

namespace {

using Discovery::equals;
using Discovery::less;
using Discovery::ParseVersion;
using Discovery::Version;
using Discovery::VersionComponents;

constexpr std::uint64_t kMax = UINT64_MAX;

TEST(ParseVersion, ReadsMainAndRevisionComponentsOrFails)
{
    const struct {
        std::string text;
        bool ok;
        VersionComponents main, revision;
    } cases[] = {
        {"26.00.02.1046", true, {26, 0, 2, 1046}, {}},
        {"26.0.2.1046", true, {26, 0, 2, 1046}, {}},
        {"1.2r3", true, {1, 2}, {3}},
        {"1r2.0.7", true, {1}, {2, 0, 7}},
        {"7", true, {7}, {}},
        {"12abc.3", true, {12, 3}, {}},
        {" 7.1", true, {7, 1}, {}},
        {"\t\n7", true, {7}, {}},
        {"+5.1", true, {5, 1}, {}},
        {"-1", true, {kMax}, {}},
        {"-0", true, {0}, {}},
        {"0x10", true, {0}, {}},
        {"18446744073709551615", true, {kMax}, {}},
        {"18446744073709551616", false, {}, {}},
        {"1.99999999999999999999", false, {}, {}},
        {"-18446744073709551616", false, {}, {}},
        {"", false, {}, {}},
        {"1r2r3", false, {}, {}},
        {"r1", false, {}, {}},
        {"1r", false, {}, {}},
        {"1..2", false, {}, {}},
        {"1.2.", false, {}, {}},
        {".1", false, {}, {}},
        {"abc", false, {}, {}},
        {"1.-", false, {}, {}},
        {"1. ", false, {}, {}},
        {"R1", false, {}, {}},   // only a lower-case r separates the revision: "R1" has no digits first
        {"1R2", true, {1}, {}},  // ...and here the R just ends the digits
    };
    for (const auto& c : cases) {
        bool ok = !c.ok;
        const Version version = ParseVersion(c.text, &ok);
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
        EXPECT_EQ(version.mainComponents, c.main) << '"' << c.text << '"';
        EXPECT_EQ(version.revisionComponents, c.revision) << '"' << c.text << '"';
    }
}

TEST(ParseVersion, FlagIsOptionalAndTextConstructorFollowsIt)
{
    EXPECT_EQ(ParseVersion("3.4").mainComponents, (VersionComponents{3, 4}));
    EXPECT_TRUE(ParseVersion("1r2r3").mainComponents.empty());

    EXPECT_EQ(Version("1.2r3").mainComponents, (VersionComponents{1, 2}));
    EXPECT_EQ(Version("1.2r3").revisionComponents, (VersionComponents{3}));
    EXPECT_TRUE(Version("").mainComponents.empty());
    EXPECT_TRUE(Version("x").mainComponents.empty());
}

TEST(VersionComponents, EqualsPadsWithZeros)
{
    const struct {
        VersionComponents a, b;
        bool equal;
    } cases[] = {
        {{}, {}, true},         {{1, 2}, {1, 2, 0, 0}, true},  {{1, 2, 0, 0}, {1, 2}, true},
        {{}, {0, 0}, true},     {{1, 2}, {1, 2, 0, 1}, false}, {{26, 0, 2, 1046}, {26, 0, 2, 1045}, false},
        {{kMax}, {kMax}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(equals(c.a, c.b), c.equal)
            << ::testing::PrintToString(c.a) << " vs " << ::testing::PrintToString(c.b);
}

TEST(VersionComponents, LessComparesUnsignedFromTheFirstDifference)
{
    const struct {
        VersionComponents a, b;
        bool less;
    } cases[] = {
        {{}, {}, false},
        {{26, 0, 2}, {26, 0, 2, 1046}, true},
        {{26, 0, 2, 1046}, {26, 0, 2}, false},
        {{26, 0, 2, 1045}, {26, 0, 2, 1046}, true},
        {{26, 0, 2, 1046}, {26, 0, 2, 1046}, false},
        {{26, 0, 3, 0}, {26, 0, 2, 1046}, false},
        {{25, 9, 9, 9999}, {26}, true},
        {{1, 2}, {1, 2, 0, 0}, false},
        {{}, {0, 1}, true},
        {{1}, {kMax}, true},
        {{kMax}, {1}, false},  // unsigned: the "-1" component is the largest
    };
    for (const auto& c : cases)
        EXPECT_EQ(less(c.a, c.b), c.less) << ::testing::PrintToString(c.a) << " < " << ::testing::PrintToString(c.b);
}

TEST(VersionComponents, RevisionsOrderVersionsWithEqualMainComponents)
{
    const Version r1("26.0.2.1046r1");
    const Version r2("26.0.2.1046r2");
    ASSERT_TRUE(equals(r1.mainComponents, r2.mainComponents));
    EXPECT_TRUE(less(r1.revisionComponents, r2.revisionComponents));
    EXPECT_FALSE(less(r2.revisionComponents, r1.revisionComponents));
    EXPECT_TRUE(equals(Version("26.0.2.1046").revisionComponents, Version("26.0.2.1046r0.0").revisionComponents));
}

}  // namespace
