// The text operations of the game: numbers, lengths, substrings and byte
// codes, each built at the work buffer's position.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/core/text_win.h"
#include "tests/support/runtime_start.h"

namespace {

class TextOperations : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("text");
        start = text_begin();
    }
    void TearDown() override { text_end(start); }

    // The result must start at the position it was made at and end where the
    // position now stands.
    std::string built(char* result)
    {
        EXPECT_EQ(result, text_at_offset(start + 1));
        EXPECT_EQ(text_begin() - start, text_length(result));
        std::string text = result ? result : "<null>";
        text_end(start);
        return text;
    }
    int32_t start = 0;
};

TEST_F(TextOperations, FromInt)
{
    EXPECT_EQ(built(text_from_int(0)), "0");
    EXPECT_EQ(built(text_from_int(-5)), "-5");
    EXPECT_EQ(built(text_from_int(123456789)), "123456789");
    EXPECT_EQ(built(text_from_int(INT32_MAX)), "2147483647");
    std::string minimum = built(text_from_int(INT32_MIN));
    EXPECT_EQ(minimum, "-2147483648");
    EXPECT_EQ(minimum.size(), 11u);
}

TEST_F(TextOperations, Length)
{
    EXPECT_EQ(text_length(nullptr), 0);
    EXPECT_EQ(text_length(""), 0);
    EXPECT_EQ(text_length("Точно выйти?"), 12);  // one byte a letter in 1251
}

TEST_F(TextOperations, MiddleBounds)
{
    EXPECT_EQ(built(text_middle("abc", 0, 1)), "a");
    EXPECT_EQ(built(text_middle("abc", 1, 1)), "a");
    EXPECT_EQ(built(text_middle("abc", -100, 2)), "ab");
    EXPECT_EQ(built(text_middle("abc", INT32_MIN, 3)), "abc");
    EXPECT_EQ(built(text_middle("abc", 3, 1)), "c");
    EXPECT_EQ(built(text_middle("abc", 4, 1)), "");
    EXPECT_EQ(built(text_middle("abc", INT32_MAX, 1)), "");
    EXPECT_EQ(built(text_middle("abc", 2, 100)), "bc");
    EXPECT_EQ(built(text_middle("abc", 2, INT32_MAX)), "bc");
    EXPECT_EQ(built(text_middle("abc", 2, 0)), "");
    EXPECT_EQ(built(text_middle("abc", 2, -1)), "");
    EXPECT_EQ(built(text_middle(nullptr, 1, 1)), "");
    EXPECT_EQ(built(text_middle("", 1, 1)), "");
}

TEST_F(TextOperations, MiddleOfItsOwnResult)
{
    text_append("Zorvant v1.0");
    int32_t s = text_begin();
    char* word = text_middle(text_at_offset(start + 1), 1, 7);
    char* tail = text_middle(word, 5, 3);
    EXPECT_STREQ(tail, "ant");
    EXPECT_EQ(tail, text_at_offset(s + 8));
}

TEST_F(TextOperations, CodeAndFromCode)
{
    EXPECT_EQ(text_code(nullptr), 0);
    EXPECT_EQ(text_code(""), 0);
    EXPECT_EQ(text_code("A"), 65);
    EXPECT_EQ(text_code("\xFF"), 255);
    EXPECT_EQ(text_code("Я"), 0xDF);  // never negative, whatever char's sign
    EXPECT_EQ(built(text_from_code(300)), std::string(1, char(44)));
    EXPECT_EQ(built(text_from_code(65)), "A");
    EXPECT_EQ(built(text_from_code(0x31 + 255)), "0");
    EXPECT_EQ(built(text_from_code(-1)), "\xFF");
    EXPECT_EQ(built(text_from_code(0)), "");
    EXPECT_EQ(built(text_from_code(256)), "");
}

}  // namespace
