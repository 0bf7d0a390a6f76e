// The family's error category: core messages, system messages and the grouping into conditions.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "errors/err_category.h"
#include "support/test_paths.h"

namespace {

const Err::details::ErrCategory& Category()
{
    return Err::details::errCategory();
}

TEST(ErrCategory, NameAndOneInstance)
{
    EXPECT_STREQ(Category().name(), "Error.Error.Category");
    EXPECT_EQ(&Category(), &Err::details::errCategory());
}

TEST(ErrCategory, CoreMessages)
{
    const struct {
        int value;
        const char* message;
    } cases[] = {
        {16000, "unknown error"},
        {16001, ""},
        {16002, "access denied"},
        {16003, "no space on device"},
        {16004, "no such file or directory"},
        {16005, "invalid argument"},
        {16006, "not enough space"},
        {16007, "missing library"},
        {16008, "unknown core error"},
        {16009, "unable prepare update dir"},
        {16010, "input-output error"},
        {16011, "wrong protocol"},
        {16012, "XML parsing failed"},
        {16013, "JSON parsing failed"},
        {16014, "already running"},
        {16015, "unknown core error"},
        {0x7FFFFFFF, "unknown core error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Category().message(c.value), c.message);
    }
}

TEST(ErrCategory, Win32MessagesAreTheTrimmedEnglishSystemTexts)
{
    for (int code : {5, 2, 87, 1223, -1, 15999}) {
        SCOPED_TRACE(code);
        wchar_t* buffer = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                           nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                           reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
        std::wstring system = length ? std::wstring(buffer, length) : std::wstring();
        LocalFree(buffer);
        while (!system.empty() && iswspace(system.back()))
            system.pop_back();

        const std::string message = Category().message(code);
        EXPECT_EQ(message, TestSupport::WideToUtf8(system));
        if (!message.empty()) {
            EXPECT_NE(message.back(), '\n');
            EXPECT_NE(message.back(), ' ');
        }
    }
    EXPECT_FALSE(Category().message(5).empty());
}

TEST(ErrCategory, DefaultConditionsGroupCoreAndWin32Values)
{
    // own: the condition belongs to this category; otherwise to the system category.
    const struct {
        int value;
        int condition;
        bool own;
    } cases[] = {
        {5, 1, true},
        {33, 1, true},
        {65, 1, true},
        {83, 1, true},
        {108, 1, true},
        {132, 1, true},
        {158, 1, true},
        {167, 1, true},
        {16002, 1, true},
        {112, 2, true},
        {16003, 2, true},
        {16010, 4, true},
        {16011, 4, true},
        {16012, 4, true},
        {16013, 4, true},
        {2, 5, true},
        {3, 5, true},
        {15, 5, true},
        {53, 5, true},
        {67, 5, true},
        {161, 5, true},
        {206, 5, true},
        {16004, 5, true},
        {6, 6, true},
        {13, 6, true},
        {87, 6, true},
        {16005, 6, true},
        {8, 7, true},
        {16006, 7, true},
        // The factory's extra access-denied codes are not grouped here.
        {32, 32, false},
        {1392, 1392, false},
        {1393, 1393, false},
        {740, 740, false},
        {1223, 1223, false},
        {0, 0, false},
        {1, 1, false},
        {4, 4, false},
        {7, 7, false},
        {16000, 16000, false},
        {16001, 16001, false},
        {16007, 16007, false},
        {16008, 16008, false},
        {16009, 16009, false},
        {16014, 16014, false},
        {16015, 16015, false},
        {-5, -5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::error_condition condition = Category().default_error_condition(c.value);
        EXPECT_EQ(condition.value(), c.condition);
        const std::error_category& owner = c.own ? Category() : std::system_category();
        EXPECT_EQ(&condition.category(), &owner);
    }
}

TEST(ErrCategory, EquivalentNeedsThisCategoryAndTheSameCondition)
{
    const struct {
        std::error_code code;
        int condition;
        bool equivalent;
    } cases[] = {
        {{16002, Category()}, 1, true},
        {{5, Category()}, 1, true},
        {{112, Category()}, 2, true},
        {{16012, Category()}, 4, true},
        {{206, Category()}, 5, true},
        {{13, Category()}, 6, true},
        {{8, Category()}, 7, true},
        {{16002, Category()}, 2, false},
        {{32, Category()}, 1, false},
        {{32, Category()}, 32, true},
        {{5, std::system_category()}, 1, false},
        {{16002, std::generic_category()}, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.value());
        EXPECT_EQ(Category().equivalent(c.code, c.condition), c.equivalent);
        // The comparison of codes with this category's conditions goes through the same rule.
        if (&c.code.category() != &Category())
            continue;
        EXPECT_EQ(c.code == std::error_condition(c.condition, Category()), c.equivalent);
    }
}

}  // namespace
