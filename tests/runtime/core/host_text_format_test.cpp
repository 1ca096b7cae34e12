// Decimal formatting in storage of the caller's own.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/core/text.h"

namespace {

std::string formatted(int32_t value, int* length)
{
    char out[TEXT_INT_SIZE];
    memset(out, 'x', sizeof out);
    *length = text_format_int(out, value);
    return std::string(out, strnlen(out, sizeof out));
}

TEST(TextFormatInt, DigitsSignAndLength)
{
    const struct {
        int32_t value;
        const char* text;
    } cases[] = {
        {0, "0"}, {7, "7"}, {10, "10"}, {-5, "-5"}, {-10, "-10"}, {1000000, "1000000"},
        {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}, {INT32_MIN + 1, "-2147483647"},
    };
    for (const auto& c : cases) {
        int length = -1;
        EXPECT_EQ(formatted(c.value, &length), c.text) << c.value;
        EXPECT_EQ(length, int(strlen(c.text))) << c.value;
    }
}

TEST(TextFormatInt, LongestFormFillsTheStorageExactly)
{
    char out[TEXT_INT_SIZE + 1];
    out[TEXT_INT_SIZE] = '#';
    EXPECT_EQ(text_format_int(out, INT32_MIN), 11);
    EXPECT_EQ(out[11], 0);
    EXPECT_EQ(out[TEXT_INT_SIZE], '#');
}

}  // namespace
