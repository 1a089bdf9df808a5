#include "platform/Data.h"

#include <gtest/gtest.h>

TEST(Data, DescribesBytesInGroupsOfFour)
{
    EXPECT_EQ(describeData({}), "<>");
    EXPECT_EQ(describeData(dataFromString("\xff\xff\xff\xffgetinfo")), "<ffffffff 67657469 6e666f>");
}
