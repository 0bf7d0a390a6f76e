// Path values: root test, trailing-separator strip, append, drive-letter upper-casing.
#include <gtest/gtest.h>

#include "libraries/system/win32/fs_path.h"
#include "support/test_paths.h"

namespace {

using System::FsPath;
using TestSupport::WideToUtf8;

TEST(FsPath, IsRootOnlyForSeparatorsDriveRootsAndLongDriveRoots)
{
    const struct {
        const wchar_t* text;
        bool root;
    } cases[] = {
        {L"\\", true},         {L"/", true},     {L"C:\\", true},  {L"z:/", true},        {L"\\\\?\\C:\\", true},
        {L"\\\\?\\d:/", true}, {L"", false},     {L"C:", false},   {L"C:\\a", false},     {L"1:\\", false},
        {L"CC:\\", false},     {L"C;\\", false}, {L"\\\\", false}, {L"\\\\?\\C:", false}, {L"\\\\?\\C:\\x", false},
        {L"//?/C:\\", false},  {L"a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FsPath(c.text).isRoot(), c.root) << WideToUtf8(c.text);
}

TEST(FsPath, StripTrailingSeparatorRemovesTheRunButKeepsARootsSeparator)
{
    const struct {
        const wchar_t* text;
        const wchar_t* stripped;
    } cases[] = {
        {L"C:\\Apps\\Center\\", L"C:\\Apps\\Center"},
        {L"C:\\Apps\\Center\\\\", L"C:\\Apps\\Center"},
        {L"C:\\Apps\\Center/\\/", L"C:\\Apps\\Center"},
        {L"C:\\Apps\\Center", L"C:\\Apps\\Center"},
        {L"C:\\\\", L"C:\\"},
        {L"C:\\", L"C:\\"},
        {L"\\\\?\\C:\\\\", L"\\\\?\\C:\\"},
        {L"\\", L"\\"},
        {L"//", L"/"},
        {L"relative\\", L"relative"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        FsPath path(c.text);
        path.stripTrailingSeparator();
        EXPECT_EQ(path.raw(), c.stripped) << WideToUtf8(c.text);
    }
}

TEST(FsPath, AppendJoinsWithOneBackslash)
{
    const struct {
        const wchar_t* left;
        const wchar_t* name;
        const wchar_t* joined;
    } cases[] = {
        {L"C:\\a", L"b", L"C:\\a\\b"},
        {L"C:\\a\\", L"b", L"C:\\a\\b"},
        {L"C:\\a/", L"b", L"C:\\a/b"},
        {L"C:\\a", L"\\b", L"C:\\a\\b"},
        {L"C:\\a", L"/b", L"C:\\a/b"},
        {L"C:\\a", L"b\\", L"C:\\a\\b"},
        {L"C:\\a", L"b\\\\", L"C:\\a\\b"},
        {L"C:\\a", L"b\\c", L"C:\\a\\b\\c"},
        {L"C:\\a", L"", L"C:\\a"},
        {L"C:\\a", L"\\", L"C:\\a\\"},  // a root name keeps its separator
        {L"", L"b", L"b"},
        {L"C:", L"b", L"C:b"},
        {L"C:\\", L"b", L"C:\\b"},
        {L"c:\\a", L"b", L"c:\\a\\b"},
    };
    for (const auto& c : cases) {
        const FsPath left(c.left);
        const FsPath joined = left / c.name;
        EXPECT_EQ(joined.raw(), c.joined) << WideToUtf8(c.left) << " / " << WideToUtf8(c.name);
        EXPECT_EQ(left.raw(), c.left) << "the left operand is unchanged";
    }
}

TEST(FsPath, TextUpperCasesOnlyALowerCaseDriveLetter)
{
    const struct {
        const wchar_t* text;
        const wchar_t* shown;
    } cases[] = {
        {L"c:\\apps", L"C:\\apps"},
        {L"C:\\apps", L"C:\\apps"},
        {L"a:", L"A:"},
        {L"z:relative", L"Z:relative"},
        {L"\\\\?\\c:\\x", L"\\\\?\\C:\\x"},
        {L"\\\\?\\cc:\\x", L"\\\\?\\cc:\\x"},
        {L"\\\\server\\c:", L"\\\\server\\c:"},
        {L"apps\\c:", L"apps\\c:"},
        {L"\u00e9:\\x", L"\u00e9:\\x"},
        {L"1:\\", L"1:\\"},
        {L"c", L"c"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FsPath(c.text).text(), c.shown) << WideToUtf8(c.text);
}

}  // namespace
