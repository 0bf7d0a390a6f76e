// The error family: class chosen per Win32 code, type names, composed texts, raise and clone.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "errors/err.h"
#include "errors/result_codes.h"
#include "support/test_paths.h"

namespace {

using Err::SpecificSystemError;
using Err::SystemError;
namespace Kind = Err::System;

// The English system text the way error objects read it, but obtained here independently.
std::string SystemText(int code)
{
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                       reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::string text = length ? TestSupport::WideToUtf8(std::wstring(buffer, length)) : std::string();
    LocalFree(buffer);
    const auto first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n\v\f");
    return text.substr(first, last - first + 1);
}

// A module's own family, the way a module declares one.
struct TestBase_traits {
    using base = Err::Error2;
    static const std::string& name()
    {
        static const std::string value = Err::joinTypeName(Err::Error::typeName(), "Tests");
        return value;
    }
};
struct TestFailed_traits {
    using base = Err::GenericError<TestBase_traits>;
    static const std::string& name()
    {
        static const std::string value = Err::joinTypeName(TestBase_traits::name(), "Failed");
        return value;
    }
};
using TestBase = Err::GenericError<TestBase_traits>;
using TestFailed = Err::GenericError<TestFailed_traits>;

TEST(ErrFactory, ChoosesTheClassByWin32Code)
{
    struct Case {
        int code;
        const std::type_info& type;
        const char* name;
    };
    const Case cases[] = {
        {5, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {32, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {33, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {65, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {83, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {108, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {132, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {158, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {167, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {1392, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {1393, typeid(SpecificSystemError<Kind::AccessDenied_t>), "Error.System.AccessDenied"},
        {2, typeid(SpecificSystemError<Kind::FileNotFound_t>), "Error.System.FileNotFound"},
        {3, typeid(SpecificSystemError<Kind::FileNotFound_t>), "Error.System.FileNotFound"},
        {112, typeid(SpecificSystemError<Kind::OutOfDiskSpace_t>), "Error.System.OutOfDiskSpace"},
        {740, typeid(SpecificSystemError<Kind::ElevationRequired_t>), "Error.System.ElevationRequired"},
        {1223, typeid(SpecificSystemError<Kind::Cancelled_t>), "Error.System.Cancelled"},
        // Grouped with "not found" by the category, but not by the factory.
        {15, typeid(SystemError), "Error.System"},
        {4, typeid(SystemError), "Error.System"},
        {0, typeid(SystemError), "Error.System"},
        {87, typeid(SystemError), "Error.System"},
        {-2147024891, typeid(SystemError), "Error.System"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const std::shared_ptr<SystemError> error = Err::makeSystemError(c.code, "");
        ASSERT_TRUE(error);
        EXPECT_EQ(typeid(*error), c.type);
        EXPECT_EQ(error->code(), c.code);
        EXPECT_EQ(error->name(), c.name);
        EXPECT_EQ(error->fullName(), c.name);
        // The standard code underneath is the family's own, whatever the Win32 code.
        EXPECT_EQ(static_cast<const std::system_error&>(*error).code(),
                  std::error_code(16001, Err::details::errCategory()));
    }
}

TEST(ErrFactory, LastSystemErrorTakesGetLastErrorAndNoMessage)
{
    SetLastError(740);
    const auto error = Err::makeLastSystemError();
    EXPECT_EQ(error->code(), 740);
    EXPECT_EQ(error->name(), "Error.System.ElevationRequired");
    EXPECT_EQ(error->message(), "");
    const std::string system = SystemText(740);
    EXPECT_EQ(std::string(error->what()),
              "[Error.System.ElevationRequired]" + (system.empty() ? "" : " " + system) + " (740)");
}

TEST(ErrText, CodeBasedTextIsNameMessageSystemTextAndCode)
{
    // A code with a system text must be among the cases, or the composition with text goes untested.
    ASSERT_FALSE(SystemText(5).empty());
    const int codes[] = {5, 2, 1223, 4, 0, -1, 15999};
    const std::string messages[] = {"", "Opening the key failed"};
    for (int code : codes) {
        for (const std::string& message : messages) {
            SCOPED_TRACE(std::to_string(code) + " '" + message + "'");
            const auto error = Err::makeSystemError(code, message);
            const std::string system = SystemText(code);
            const std::string expected = "[" + error->name() + "]" + (message.empty() ? "" : " " + message + ": ") +
                                         (system.empty() ? "" : " " + system) + " (" + std::to_string(code) + ")";
            EXPECT_EQ(std::string(error->what()), expected);
            // Cached: the same text at the same place on a later call.
            EXPECT_EQ(error->what(), error->what());
        }
    }
}

TEST(ErrText, PlainErrorIsMessageAndColonOrEmpty)
{
    const Err::Error empty("");
    EXPECT_STREQ(empty.what(), "");
    const Err::Error named("lookup failed");
    EXPECT_STREQ(named.what(), "lookup failed: ");
    EXPECT_EQ(named.message(), "lookup failed");
    EXPECT_EQ(named.name(), "Error");
    EXPECT_EQ(named.fullName(), "Error");
    EXPECT_EQ(named.code(), std::error_code(16001, Err::details::errCategory()));
}

TEST(ErrText, Error2ComposesNameMessageAndCause)
{
    const std::shared_ptr<const Err::Error> cause = Err::makeSystemError(5, "");
    const std::string causeText = cause->what();
    struct Case {
        std::string message;
        std::shared_ptr<const Err::Error> cause;
        std::string what;
        std::string fullName;
    };
    const Case cases[] = {
        {"", nullptr, "[Error]", "Error"},
        {"M", nullptr, "[Error] M: ", "Error"},
        {"M", cause, "[Error] M: \r\n+ " + causeText, "Error+Error.System.AccessDenied"},
        {"", cause, "[Error]\r\n+ " + causeText, "Error+Error.System.AccessDenied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Err::Error2 error(c.message, c.cause);
        EXPECT_EQ(std::string(error.what()), c.what);
        EXPECT_EQ(error.fullName(), c.fullName);
        EXPECT_EQ(error.name(), "Error");
    }
}

TEST(ErrText, GenericErrorChainsTraitsNamesAndCauses)
{
    const std::shared_ptr<const Err::Error> denied = Err::makeSystemError(5, "");
    const TestFailed failed(denied, "Folder lookup failed");
    EXPECT_EQ(failed.name(), "Error.Tests.Failed");
    EXPECT_EQ(failed.fullName(), "Error.Tests.Failed+Error.System.AccessDenied");
    EXPECT_EQ(std::string(failed.what()),
              "[Error.Tests.Failed] Folder lookup failed: \r\n+ " + std::string(denied->what()));

    // Two levels of cause: the full name carries the whole chain.
    const auto outer = std::make_shared<TestFailed>(std::make_shared<TestBase>(denied, "inner"), "outer");
    EXPECT_EQ(outer->fullName(), "Error.Tests.Failed+Error.Tests+Error.System.AccessDenied");

    const TestBase base(nullptr, "");
    EXPECT_EQ(base.name(), "Error.Tests");
    EXPECT_EQ(base.fullName(), "Error.Tests");
    EXPECT_STREQ(base.what(), "[Error.Tests]");
}

TEST(ErrText, CauseIsKeptAsTextNotAsObject)
{
    std::shared_ptr<const Err::Error> cause = Err::makeSystemError(2, "missing");
    const std::weak_ptr<const Err::Error> watch = cause;
    const std::string causeText = cause->what();
    const TestFailed error(std::move(cause), "M");
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(std::string(error.what()), "[Error.Tests.Failed] M: \r\n+ " + causeText);
}

// Every kind, as its common base, for the raise and clone rules.
std::vector<std::shared_ptr<Err::Error>> OneOfEachKind()
{
    std::vector<std::shared_ptr<Err::Error>> errors = {
        std::make_shared<Err::Error>("plain"),
        std::make_shared<Err::Error2>("two"),
        std::make_shared<TestBase>(nullptr, "base"),
        std::make_shared<TestFailed>(Err::makeSystemError(5, ""), "failed"),
    };
    for (int code : {4, 5, 2, 112, 740, 1223})
        errors.push_back(Err::makeSystemError(code, "sys"));
    return errors;
}

TEST(ErrRaise, ThrowsACopyOfTheDynamicType)
{
    for (const auto& error : OneOfEachKind()) {
        SCOPED_TRACE(error->name());
        try {
            error->raise();
            ADD_FAILURE() << "raise returned";
        } catch (const Err::Error& caught) {
            EXPECT_EQ(typeid(caught), typeid(*error));
            EXPECT_NE(&caught, error.get());
            EXPECT_STREQ(caught.what(), error->what());
            EXPECT_EQ(caught.fullName(), error->fullName());
        }
    }
}

TEST(ErrRaise, SystemErrorsAreCaughtByTheirCodeBase)
{
    for (int code : {5, 1223, 740, 4}) {
        SCOPED_TRACE(code);
        std::shared_ptr<Err::Error> held = Err::makeSystemError(code, "")->clone();
        try {
            held->raise();
        } catch (const Err::CodeBasedError<Err::SystemError_t>& caught) {
            EXPECT_EQ(caught.code(), code);
            continue;
        } catch (...) {
        }
        ADD_FAILURE() << "not caught as the code-based error";
    }
    try {
        Err::makeSystemError(1223, "")->raise();
    } catch (const SpecificSystemError<Kind::Cancelled_t>& caught) {
        EXPECT_EQ(caught.code(), 1223);
    }
}

TEST(ErrClone, KeepsTypeFieldsAndCaches)
{
    for (const auto& error : OneOfEachKind()) {
        SCOPED_TRACE(error->name());
        const std::string what = error->what();
        const std::shared_ptr<Err::Error> copy = error->clone();
        ASSERT_TRUE(copy);
        EXPECT_NE(copy.get(), error.get());
        EXPECT_EQ(typeid(*copy), typeid(*error));
        EXPECT_EQ(std::string(copy->what()), what);
        EXPECT_EQ(copy->fullName(), error->fullName());
        EXPECT_EQ(copy->message(), error->message());
        if (auto system = std::dynamic_pointer_cast<SystemError>(copy)) {
            EXPECT_EQ(system->code(), std::dynamic_pointer_cast<SystemError>(error)->code());
        }
    }
}

TEST(ErrClone, CachesTravelWithCopies)
{
    // A copy sliced down to Err::Error2 would name itself "Error"; the cache filled before keeps the real name.
    const auto denied = Err::makeSystemError(5, "");
    const Err::Error2 before(*denied);
    EXPECT_STREQ(before.what(), "[Error]");
    (void)denied->what();
    const auto cloned = denied->clone();
    const Err::Error2 after(dynamic_cast<const Err::Error2&>(*cloned));
    EXPECT_STREQ(after.what(), "[Error.System.AccessDenied]");

    const TestFailed failed(Err::makeSystemError(2, ""), "");
    EXPECT_EQ(Err::Error2(failed).fullName(), "Error+Error.System.FileNotFound");
    (void)failed.fullName();
    EXPECT_EQ(Err::Error2(failed).fullName(), "Error.Tests.Failed+Error.System.FileNotFound");
}

TEST(ResultCodes, Win32ErrorsFoldIntoHresults)
{
    const struct {
        std::int32_t error;
        ResultCode result;
    } cases[] = {
        {1223, static_cast<ResultCode>(0x800704C7u)},    {0, 0},   {5, static_cast<ResultCode>(0x80070005u)},
        {0x12345, static_cast<ResultCode>(0x80072345u)}, {-5, -5}, {kResultNotInstalled, kResultNotInstalled},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(HRESULT_FROM_WIN32(c.error), c.result);
        // For a call known to have failed, only the unnamed error differs.
        EXPECT_EQ(FailureFromWin32(c.error), c.error == 0 ? kResultFailedWithoutCode : c.result);
    }
    EXPECT_EQ(kResultNotInstalled, -2131886078);
    EXPECT_EQ(kResultOutdated, -2131886068);
    EXPECT_EQ(kResultLaunchFailed, -2131881983);
}

}  // namespace
