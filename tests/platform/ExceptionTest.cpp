#include "platform/AssertionHandler.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "platform/Log.h"

#include <gtest/gtest.h>

TEST(Exception, RaiseFormatsTheReasonAsGeneric)
{
    try {
        Exception::raise("Couldn't bind UDP socket to %s:%u: %s", "0.0.0.0", 27961u, "Address in use");
        FAIL() << "no exception";
    } catch (const Exception& exception) {
        EXPECT_EQ(exception.name(), Exception::GenericException);
        EXPECT_EQ(exception.reason(), "Couldn't bind UDP socket to 0.0.0.0:27961: Address in use");
    }
}

TEST(Exception, FailedAssertionRaisesInternalInconsistencyAndLogsThePlace)
{
    std::vector<std::string> lines;
    setLogSink([&](const std::string& line) { lines.push_back(line); });
    try {
        HK_ASSERT(1 + 1 == 3, "Snoop", 405, "You setSnoopSpeed incorrectly");
        FAIL() << "no exception";
    } catch (const Exception& exception) {
        EXPECT_EQ(exception.name(), Exception::InternalInconsistencyException);
        EXPECT_EQ(exception.reason(), "You setSnoopSpeed incorrectly");
    }
    setLogSink({});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Snoop:405"), std::string::npos);
}

TEST(ExceptionFunnel, LogsUntilASinkIsInstalledThenHandsOver)
{
    std::vector<std::string> lines;
    setLogSink([&](const std::string& line) { lines.push_back(line); });
    postExceptionToApplication(Exception("Odd", "100% broken"));
    setLogSink({});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Odd: 100% broken");

    std::vector<std::string> reasons;
    setExceptionSink([&](const Exception& exception) { reasons.push_back(exception.reason()); });
    postExceptionToApplication(Exception(Exception::FatalException, "gone"));
    setExceptionSink({});
    EXPECT_EQ(reasons, std::vector<std::string> { "gone" });
}
