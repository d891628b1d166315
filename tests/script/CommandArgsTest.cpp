// The one argument reader of the command handlers: fields and numbers.
#include "script/CommandArgs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(CommandArgs, FieldsAreSplitAtEveryComma)
{
    const struct {
        std::string argument;
        std::vector<std::string> fields;
    } cases[] = {
        {"0,right,2,500", {"0", "right", "2", "500"}},
        {"bg01.png", {"bg01.png"}},
        {"", {""}},
        {"a,,b", {"a", "", "b"}},
        {"1,", {"1", ""}},
        {",", {"", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitArguments(c.argument), c.fields) << c.argument;
}

TEST(CommandArgs, WholeNumbersRefuseAnythingButDigits)
{
    const struct {
        std::string text;
        bool accepted;
        int32_t value;
    } cases[] = {
        {"7", true, 7},      {"0", true, 0},     {"-1", true, -1},   {"12", true, 12},
        {"", false, 0},      {"-", false, 0},    {"+3", false, 0},   {" 3", false, 0},
        {"3 ", false, 0},    {"3a", false, 0},   {"x", false, 0},    {"1.5", false, 0},
    };
    for (const auto& c : cases) {
        int32_t value = 12345;
        EXPECT_EQ(wholeNumber(c.text, value), c.accepted) << c.text;
        EXPECT_EQ(value, c.accepted ? c.value : 12345) << c.text;
    }
}
