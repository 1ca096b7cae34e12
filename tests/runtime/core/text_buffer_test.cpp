// The work buffer: growth, the string-expression protocol, string variables,
// offsets that survive growth, and bad arguments. The buffer is one per
// process, so the fresh-buffer case comes first in this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/text_win.h"
#include "tests/support/runtime_start.h"

namespace {

SIZE_T allocation_of(const void* block)
{
    return HeapSize(static_cast<HANDLE>(text_heap()), HEAP_NO_SERIALIZE, block);
}

char* buffer_start()
{
    return text_at_offset(1);
}

class TextBuffer : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("text");
        start = text_begin();
    }
    void TearDown() override { EXPECT_EQ(text_begin(), start); }
    int32_t start = 0;
};

TEST_F(TextBuffer, FirstLongAppendGrowsTheFreshBuffer)
{
    ASSERT_EQ(start, 0);
    ASSERT_EQ(text_capacity(), 16);
    EXPECT_EQ(allocation_of(buffer_start()), 16u);
    text_append("abcdefghijklmnopqrst");
    EXPECT_EQ(text_begin(), 20);
    EXPECT_EQ(text_capacity(), 20 + 16384);
    EXPECT_EQ(allocation_of(buffer_start()), 16409u);
    EXPECT_STREQ(buffer_start(), "abcdefghijklmnopqrst");
    text_end(0);
}

TEST_F(TextBuffer, SecondStartKeepsTheBuffer)
{
    text_append("kept");
    char* before = buffer_start();
    int32_t capacity = text_capacity();
    text_library_start();
    EXPECT_EQ(buffer_start(), before);
    EXPECT_EQ(text_capacity(), capacity);
    EXPECT_STREQ(text_at_offset(start + 1), "kept");
    text_end(start);
}

TEST_F(TextBuffer, ReservationReachingCapacityLessFourGrows)
{
    text_append("prefix");
    int32_t position = text_begin();
    int32_t capacity = text_capacity();
    int32_t room = capacity - 4 - position;
    ASSERT_NE(text_reserve(room - 1, position), nullptr);
    EXPECT_EQ(text_capacity(), capacity);
    text_drop(room - 1);
    ASSERT_NE(text_reserve(room, position), nullptr);
    EXPECT_EQ(text_capacity(), position + room + 16384);
    EXPECT_EQ(allocation_of(buffer_start()), SIZE_T(text_capacity()) + 5);
    EXPECT_EQ(text_begin(), position + room);
    EXPECT_EQ(std::string(text_at_offset(start + 1), 6), "prefix");
    text_end(start);
}

TEST_F(TextBuffer, NullAppendWritesAZeroWithoutAdvancing)
{
    text_append("x");
    char* end = text_at_offset(text_begin() + 1);
    *end = 'y';
    text_append(nullptr);
    EXPECT_EQ(text_begin(), start + 1);
    EXPECT_EQ(*end, 0);
    text_end(start);
}

TEST_F(TextBuffer, ExpressionsChainAtThePosition)
{
    char* first = text_from_int(-42);
    text_append(" and ");
    char* code = text_from_code('z');
    char* middle = text_middle("abcdef", 2, 3);
    EXPECT_EQ(first, text_at_offset(start + 1));
    EXPECT_EQ(code, first + 8);
    EXPECT_EQ(middle, code + 1);
    EXPECT_STREQ(first, "-42 and zbcd");
    EXPECT_EQ(text_begin(), start + 12);
    text_end(start);
}

TEST_F(TextBuffer, StoreOfAnEmptyExpressionGivesABlockWithOnlyAZero)
{
    char* variable = nullptr;
    int32_t s = text_begin();
    text_store(&variable, s);
    ASSERT_NE(variable, nullptr);
    EXPECT_EQ(variable[0], 0);
    EXPECT_EQ(allocation_of(variable), 5u);
    EXPECT_EQ(text_begin(), s);
    text_free(variable);
}

TEST_F(TextBuffer, StoreReallocatesToEachNewLength)
{
    char* variable = nullptr;
    int32_t s = text_begin();
    text_append("score ");
    text_from_int(23);
    text_store(&variable, s);
    EXPECT_STREQ(variable, "score 23");
    EXPECT_EQ(allocation_of(variable), 13u);
    EXPECT_EQ(text_begin(), s);

    // The variable's own text may take part in its next value.
    s = text_begin();
    text_append(variable);
    text_append("!");
    text_store(&variable, s);
    EXPECT_STREQ(variable, "score 23!");
    EXPECT_EQ(allocation_of(variable), 14u);

    s = text_begin();
    text_append("a");
    text_store(&variable, s);
    EXPECT_STREQ(variable, "a");
    EXPECT_EQ(allocation_of(variable), 6u);
    text_free(variable);
    text_free(nullptr);
}

TEST_F(TextBuffer, OffsetsCoverTheTextAndTheByteAfterIt)
{
    text_append("abc");
    char* buffer = buffer_start();
    int32_t position = text_begin();
    EXPECT_EQ(text_offset_of(buffer), 1);
    EXPECT_EQ(text_offset_of(buffer + position), position + 1);
    EXPECT_EQ(text_offset_of(buffer + position + 1), 0);
    EXPECT_EQ(text_offset_of(buffer - 1), 0);
    EXPECT_EQ(text_offset_of(nullptr), 0);
    EXPECT_EQ(text_offset_of("elsewhere"), 0);
    EXPECT_EQ(text_at_offset(position + 1), buffer + position);
    EXPECT_EQ(text_at_offset(text_offset_of(buffer + 2)), buffer + 2);
    EXPECT_EQ(text_at_offset(0), nullptr);
    EXPECT_EQ(text_at_offset(position + 2), nullptr);
    text_end(start);
}

// A called operation that builds a long text of its own in the buffer, as a
// gadget or drawing operation may, and then restores the position.
std::string operation_using_the_buffer(const char* argument)
{
    int32_t offset = text_offset_of(argument);
    int32_t s = text_begin();
    std::string filler(3 * text_capacity(), '#');
    text_append(filler.c_str());
    char* own = text_argument(s);
    std::string result = std::string(text_at_offset(offset)) + "/" + std::to_string(strlen(own));
    text_end(s);
    return result;
}

TEST_F(TextBuffer, ArgumentProtocolRestoresThePosition)
{
    int32_t s = text_begin();
    text_append("Time: ");
    text_from_int(17);
    text_append("s");
    char* argument = text_argument(s);
    EXPECT_STREQ(argument, "Time: 17s");
    EXPECT_EQ(text_begin(), s + 10);
    int32_t capacity = text_capacity();
    std::string seen = operation_using_the_buffer(argument);
    EXPECT_GT(text_capacity(), capacity);
    EXPECT_EQ(seen, "Time: 17s/" + std::to_string(3 * capacity));
    EXPECT_EQ(text_begin(), s + 10);
    text_end(s);
    EXPECT_EQ(text_begin(), s);
}

TEST_F(TextBuffer, ArgumentOfAnEmptyExpressionIsTerminated)
{
    char* end = text_at_offset(text_begin() + 1);
    *end = 'q';
    int32_t s = text_begin();
    char* argument = text_argument(s);
    EXPECT_EQ(argument, end);
    EXPECT_STREQ(argument, "");
    text_end(s);
}

// True when the heap block right behind the buffer is in use, so that the heap
// cannot grow the buffer in place.
bool buffer_is_hemmed_in()
{
    PROCESS_HEAP_ENTRY entry = {};
    bool next = false;
    while (HeapWalk(static_cast<HANDLE>(text_heap()), &entry)) {
        if (next)
            return entry.wFlags & PROCESS_HEAP_ENTRY_BUSY;
        next = entry.lpData == buffer_start();
    }
    return false;
}

// Leaves the buffer so full that a reservation of n bytes must grow it. String
// variables are allocated until the block behind the buffer is in use, so that
// the heap has to move the buffer. Where a small block lands depends on the
// heap (the free holes left by earlier growth may be filled first), so the
// heap itself is asked, now and then, what lies behind the buffer.
std::vector<char*> fill_to_growth(int32_t n)
{
    std::vector<char*> blockers;
    for (int i = 0; i < 65536 && (i % 256 || !buffer_is_hemmed_in()); i++) {
        char* block = nullptr;
        int32_t s = text_begin();
        text_append("blocker");
        text_store(&block, s);
        blockers.push_back(block);
    }
    int32_t room = text_capacity() - 4 - text_begin();
    text_reserve(room - n, text_begin());
    return blockers;
}

// Runs an operation on a text that lies in the buffer, at a moment when the
// operation's reservation of n bytes grows and moves the buffer.
template <typename Operation>
std::string across_a_move(const char* source, int32_t n, Operation operation)
{
    int32_t s = text_begin();
    text_append(source);
    int32_t source_offset = text_offset_of(text_argument(s));
    std::vector<char*> blockers = fill_to_growth(n);
    char* before = buffer_start();
    char* result = operation(text_at_offset(source_offset));
    EXPECT_NE(buffer_start(), before) << "the growth did not move the buffer";
    std::string text = result ? result : "<null>";
    for (char* block : blockers)
        text_free(block);
    text_end(s);
    return text;
}

TEST_F(TextBuffer, TextsInTheBufferSurviveTheMoveTheirOperationCauses)
{
    EXPECT_EQ(across_a_move("0123456789", 5,
                            [](const char* text) { return text_middle(text, 3, 5); }),
              "23456");
    EXPECT_EQ(across_a_move("twice", 5,
                            [](const char* text) {
                                int32_t position = text_begin();
                                text_append(text);
                                return text_at_offset(position + 1);
                            }),
              "twice");
}

TEST_F(TextBuffer, BadArgumentsChangeNothing)
{
    text_append("ab");
    int32_t position = text_begin();
    int32_t capacity = text_capacity();
    EXPECT_EQ(text_reserve(-1, position), nullptr);
    EXPECT_EQ(text_reserve(4, -1), nullptr);
    EXPECT_EQ(text_reserve(4, position + 1), nullptr);
    EXPECT_EQ(text_reserve(INT32_MAX - 100, position), nullptr);
    text_drop(-1);
    text_drop(position + 1);
    text_end(position + 1);
    text_end(-1);
    EXPECT_EQ(text_argument(position + 1), nullptr);
    char* variable = nullptr;
    text_store(&variable, position + 1);
    text_store(nullptr, start);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(text_begin(), position);
    EXPECT_EQ(text_capacity(), capacity);
    EXPECT_STREQ(text_at_offset(start + 1), "ab");
    text_end(start);
}

}  // namespace
