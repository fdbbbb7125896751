#include "platform/json_string.h"

#include <gtest/gtest.h>

#include <string>

TEST(JsonString, EscapesQuotesBackslashesAndControlBytes)
{
    for (const JsonDelete del : {JsonDelete::Escaped, JsonDelete::AsIs}) {
        EXPECT_EQ(JsonString("", del), "\"\"");
        EXPECT_EQ(JsonString("a\"b\\c", del), "\"a\\\"b\\\\c\"");
        EXPECT_EQ(JsonString(std::string("\x00\x01\n\x1F", 4), del), "\"\\u0000\\u0001\\u000a\\u001f\"");
        EXPECT_EQ(JsonString("kg \xE3\x82\xAD\xE3\x83\xAD", del), "\"kg \xE3\x82\xAD\xE3\x83\xAD\"");
    }
}

TEST(JsonString, DeleteIsEscapedOnlyWhenAsked)
{
    EXPECT_EQ(JsonString("a\x7F", JsonDelete::Escaped), "\"a\\u007f\"");
    EXPECT_EQ(JsonString("a\x7F", JsonDelete::AsIs), "\"a\x7F\"");
}
