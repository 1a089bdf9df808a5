#include "platform/Exception.h"
#include "snoop/InfoResponse.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* name;
    const char* infoString;
    InfoResponse::Dictionary pairs;
};

const ParseCase parseCases[] = {
    { "LeadingBackslash", "\\hostname\\Arena\\mapname\\q3dm1", { { "hostname", "Arena" }, { "mapname", "q3dm1" } } },
    { "NoLeadingBackslash", "hostname\\Arena\\mapname\\q3dm1", { { "hostname", "Arena" }, { "mapname", "q3dm1" } } },
    { "OddFieldDropped", "\\a\\b\\c", { { "a", "b" } } },
    { "Empty", "", {} },
    { "LoneBackslash", "\\", {} },
    { "EmptyValueBetweenAdjacentBackslashes", "\\a\\\\b\\c", { { "a", "" }, { "b", "c" } } },
    { "LaterPairWins", "\\a\\1\\a\\2", { { "a", "2" } } },
    { "EmptyKey", "\\\\x", { { "", "x" } } },
};

class InfoResponseParse : public testing::TestWithParam<ParseCase> { };

TEST_P(InfoResponseParse, YieldsThePairs)
{
    EXPECT_EQ(InfoResponse(GetParam().infoString).dictionary(), GetParam().pairs);
}

INSTANTIATE_TEST_SUITE_P(Strings, InfoResponseParse, testing::ValuesIn(parseCases),
    [](const auto& info) { return std::string(info.param.name); });

const char* full = "\\hostname\\Arena\\mapname\\q3dm1\\clients\\2\\sv_maxclients\\8\\protocol\\36";

TEST(InfoResponse, EqualityLooksAtTheRequiredKeysOnly)
{
    EXPECT_TRUE(InfoResponse(full).isEqual(InfoResponse(std::string(full) + "\\g_gametype\\4")));
    EXPECT_FALSE(InfoResponse(full).isEqual(InfoResponse("\\hostname\\Arena\\mapname\\q3dm2\\clients\\2\\sv_maxclients\\8\\protocol\\36")));
    // A required key missing on both sides is still a difference.
    InfoResponse noProtocol("\\hostname\\Arena\\mapname\\q3dm1\\clients\\2\\sv_maxclients\\8");
    EXPECT_FALSE(noProtocol.isEqual(noProtocol));
}

TEST(InfoResponse, ValidateNamesTheFirstMissingKey)
{
    InfoResponse("\\hostname\\Arena\\mapname\\q3dm1\\clients\\2\\sv_maxclients\\8\\protocol\\36").validate();
    try {
        InfoResponse("\\hostname\\Arena\\sv_maxclients\\8\\protocol\\36").validate();
        FAIL() << "no exception";
    } catch (const Exception& exception) {
        EXPECT_EQ(exception.name(), Exception::GenericException);
        EXPECT_EQ(exception.reason().rfind("Required Key mapname missing from Inforesponse ", 0), 0u) << exception.reason();
    }
}

TEST(InfoResponse, KeysAndValuesKeepEachValueAfterItsKey)
{
    InfoResponse response(full);
    auto flat = response.keysAndValues();
    ASSERT_EQ(flat.size(), 10u);
    for (std::size_t index = 0; index < flat.size(); index += 2)
        EXPECT_EQ(response.objectForKey(flat[index]), flat[index + 1]);
    EXPECT_EQ(response.objectForKey("nothing"), std::nullopt);
}

}
