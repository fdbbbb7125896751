#include "platform/qr_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Qrencode(const std::string& text)
{
    // The text as an argument, quoted for the shell; the tests' texts hold no quote.
    const std::string command = std::string(QRENCODE_PROGRAM) + " -t UTF8 -o - '" + text + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    if (pipe != nullptr)
        ::pclose(pipe);
    return out;
}

TEST(QrCode, DrawsAsTheQrencodeProgram)
{
    if (std::string(QRENCODE_PROGRAM).empty())
        GTEST_SKIP() << "the qrencode program is not installed";
    // Short and long, odd and even sizes, upper and lower case, digits only.
    for (const std::string& text : std::vector<std::string>{"hi",
             "https://192.168.1.20:8765/pair/Xy-9_aBcDeFgHiJkLmNoPqRsTuVwXyZ0123456789abcdEFGH", "HTTPS://EXAMPLE.ORG/",
             "0123456789", std::string(300, 'a')}) {
        const auto code = QrCode::Encode(text);
        ASSERT_TRUE(code) << text;
        EXPECT_EQ(code->Blocks(), Qrencode(text)) << text;
    }
}

TEST(QrCode, ModulesAndTheirSquare)
{
    const auto code = QrCode::Encode("hi");
    ASSERT_TRUE(code);
    EXPECT_EQ(code->Size(), 21); // version 1
    // The finder pattern's ring and centre in the top-left corner, and the light gap between.
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(code->Dark(i, 0) && code->Dark(0, i) && code->Dark(i, 6) && code->Dark(6, i)) << i;
        EXPECT_FALSE(code->Dark(i, 7)) << i;
    }
    EXPECT_FALSE(code->Dark(1, 1));
    EXPECT_TRUE(code->Dark(3, 3));
    EXPECT_FALSE(code->Dark(-1, 0));
    EXPECT_FALSE(code->Dark(21, 0));

    // Two rows to a line, with the quiet zone: a 21-module code with a margin of 4 is 29 columns and 15 lines.
    const std::string blocks = code->Blocks();
    const std::size_t firstLine = blocks.find('\n');
    EXPECT_EQ(firstLine, 29u * 3); // every column of the quiet zone a full block, three bytes in UTF-8
    EXPECT_EQ(std::count(blocks.begin(), blocks.end(), '\n'), 15);
    // Without a margin: the finder's two dark top rows, then dark over light.
    EXPECT_TRUE(code->Blocks(0).starts_with(" \u2584")) << code->Blocks(0);
}

TEST(QrCode, TooLongForAnyVersion)
{
    EXPECT_FALSE(QrCode::Encode(std::string(3000, 'x')));
    EXPECT_TRUE(QrCode::Encode(std::string(2900, 'x')));
}

} // namespace
