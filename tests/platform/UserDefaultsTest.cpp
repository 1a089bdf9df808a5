#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

TEST(UserDefaults, AbsentKeysReadAsNothingZeroAndNo)
{
    InMemoryUserDefaults defaults;
    EXPECT_FALSE(defaults.stringForKey("netmask"));
    EXPECT_EQ(defaults.integerForKey("pollSpeed"), 0);
    EXPECT_FALSE(defaults.boolForKey("fakeIt"));
}

TEST(UserDefaults, TypedReadsConvertBetweenKinds)
{
    struct Case {
        UserDefaults::Value stored;
        std::string asString;
        std::int64_t asInteger;
        bool asBool;
    };
    const Case cases[] = {
        { std::string("255.255.255.0"), "255.255.255.0", 255, true },
        { std::string("YES"), "YES", 0, true },
        { std::string(" -1"), " -1", -1, true },
        { std::string("0"), "0", 0, false },
        { std::int64_t(2), "2", 2, true },
        { true, "1", 1, true },
        { false, "0", 0, false },
    };
    InMemoryUserDefaults defaults;
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.asString);
        defaults.setObject("key", testCase.stored);
        EXPECT_EQ(defaults.stringForKey("key"), testCase.asString);
        EXPECT_EQ(defaults.integerForKey("key"), testCase.asInteger);
        EXPECT_EQ(defaults.boolForKey("key"), testCase.asBool);
    }
}

TEST(UserDefaults, RemovingTheDomainErasesEveryKey)
{
    InMemoryUserDefaults defaults;
    defaults.setString("netmask", "255.0.0.0");
    defaults.setInteger("pollSpeed", 1);
    defaults.removeObjectForKey("netmask");
    EXPECT_FALSE(defaults.stringForKey("netmask"));
    defaults.removePersistentDomain();
    EXPECT_FALSE(defaults.objectForKey("pollSpeed"));
}
