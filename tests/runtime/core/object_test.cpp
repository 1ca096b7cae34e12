// Numbered objects: growth, claims over live numbers, dynamic handles,
// iteration order and stray numbers.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/core/object.h"
#include "tests/support/runtime_start.h"

namespace {

struct Record {
    uintptr_t handle;
    int value;
};

ObjectTable* freed_table;
std::vector<ObjectNumber> freed;

void record_free(ObjectNumber number)
{
    if (object_table_find(freed_table, number)) {
        freed.push_back(number);
        object_table_release(freed_table, number);
    }
}

class ObjectTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("list heap");
        table = object_table_create(sizeof(Record), 16, record_free);
        freed_table = table;
        freed.clear();
    }
    Record* make(ObjectNumber number, uintptr_t handle)
    {
        Record* r = static_cast<Record*>(object_table_claim(table, number));
        if (r)
            r->handle = handle;
        return r;
    }
    ObjectTable* table = nullptr;
};

// Zero is an ordinary number; numbers below OBJECT_ANY are none.
TEST_F(ObjectTableTest, NumberZeroIsAnOrdinaryNumberAndNumbersBelowAnyAreRefused)
{
    ASSERT_NE(make(0, 7), nullptr);
    EXPECT_NE(object_table_find(table, 0), nullptr);
    EXPECT_EQ(object_table_find(table, 1), nullptr);
    EXPECT_EQ(object_table_claim(table, -2), nullptr);
    EXPECT_EQ(object_table_find(table, -2), nullptr);
    EXPECT_EQ(object_table_check(table, -5), 0);
    EXPECT_EQ(object_table_find(table, OBJECT_ANY), nullptr);
}

TEST_F(ObjectTableTest, GrowsByWholeStepsBeyondTheNumber)
{
    EXPECT_EQ(table->capacity, 16);
    ASSERT_NE(make(16, 1), nullptr);
    EXPECT_EQ(table->capacity, 32);
    ASSERT_NE(make(100, 1), nullptr);
    EXPECT_EQ(table->capacity, 116);
    for (ObjectNumber n = 17; n < 100; ++n)
        EXPECT_EQ(object_table_find(table, n), nullptr) << n;
    EXPECT_NE(object_table_find(table, 16), nullptr);
}

TEST_F(ObjectTableTest, ClaimOfALiveNumberFreesTheOldObjectAndGivesAZeroRecord)
{
    Record* r = make(3, 11);
    r->value = 42;
    Record* again = static_cast<Record*>(object_table_claim(table, 3));
    ASSERT_EQ(freed.size(), 1u);
    EXPECT_EQ(freed[0], 3);
    EXPECT_EQ(again->handle, 0u);
    EXPECT_EQ(again->value, 0);
}

TEST_F(ObjectTableTest, DynamicObjectsGetDistinctHandlesOutsideTheTable)
{
    Record* a = make(OBJECT_ANY, 1);
    Record* b = make(OBJECT_ANY, 2);
    ObjectNumber na = reinterpret_cast<ObjectNumber>(a);
    ObjectNumber nb = reinterpret_cast<ObjectNumber>(b);
    EXPECT_NE(na, nb);
    EXPECT_FALSE(na >= 0 && na < table->capacity);
    EXPECT_EQ(object_table_find(table, na), a);
    EXPECT_EQ(object_table_find(table, nb), b);
    EXPECT_EQ(object_table_check(table, na), na);
    object_table_release(table, na);
    EXPECT_EQ(object_table_find(table, na), nullptr);
    EXPECT_EQ(object_table_check(table, na), 0);
    EXPECT_EQ(object_table_find(table, nb), b);
}

TEST_F(ObjectTableTest, ReleaseFreesTheNumberAndKeepsTheCapacity)
{
    make(5, 9);
    make(40, 9);
    int32_t capacity = table->capacity;
    object_table_release(table, 5);
    EXPECT_EQ(object_table_find(table, 5), nullptr);
    EXPECT_EQ(object_table_check(table, 5), 0);
    EXPECT_EQ(table->capacity, capacity);
}

TEST_F(ObjectTableTest, IteratesTableNumbersAscendingThenDynamicOldestFirst)
{
    make(5, 1);
    make(2, 1);
    ObjectNumber a = reinterpret_cast<ObjectNumber>(make(OBJECT_ANY, 1));
    ObjectNumber b = reinterpret_cast<ObjectNumber>(make(OBJECT_ANY, 1));
    std::vector<ObjectNumber> seen;
    ObjectNumber n;
    object_table_rewind(table);
    while (object_table_next(table, &n))
        seen.push_back(n);
    EXPECT_EQ(seen, (std::vector<ObjectNumber>{2, 5, a, b}));
}

// The look-up by handle runs inside an iteration (a window's close sends
// messages that look windows up while the end chain walks the table).
TEST_F(ObjectTableTest, AHandleFindsItsLiveRecordWithoutDisturbingAnIteration)
{
    Record* five = make(5, 0x50);
    Record* any = make(OBJECT_ANY, 0x70);
    make(2, 0x20);
    ObjectNumber n = 0;
    object_table_rewind(table);
    ASSERT_NE(object_table_next(table, &n), nullptr);
    ASSERT_EQ(n, 2);
    ObjectNumber found = -7;
    EXPECT_EQ(object_table_find_handle(table, reinterpret_cast<void*>(0x50), &found), five);
    EXPECT_EQ(found, 5);
    EXPECT_EQ(object_table_find_handle(table, reinterpret_cast<void*>(0x70), &found), any);
    EXPECT_EQ(found, reinterpret_cast<ObjectNumber>(any));
    ASSERT_NE(object_table_next(table, &n), nullptr);
    EXPECT_EQ(n, 5);
    object_table_release(table, 5);
    found = -7;
    EXPECT_EQ(object_table_find_handle(table, reinterpret_cast<void*>(0x50), &found), nullptr);
    EXPECT_EQ(object_table_find_handle(table, nullptr, &found), nullptr);  // free slots hold a null handle
    EXPECT_EQ(found, -7);
}

TEST_F(ObjectTableTest, FreeAllVisitsEveryObjectOnceWhileEachIsFreed)
{
    make(5, 1);
    make(2, 1);
    ObjectNumber a = reinterpret_cast<ObjectNumber>(make(OBJECT_ANY, 1));
    ObjectNumber b = reinterpret_cast<ObjectNumber>(make(OBJECT_ANY, 1));
    object_table_free_all(table);
    EXPECT_EQ(freed, (std::vector<ObjectNumber>{2, 5, a, b}));
    EXPECT_EQ(table->dynamic_head, nullptr);
    EXPECT_EQ(object_table_find(table, 2), nullptr);
}

TEST_F(ObjectTableTest, StrayNumbersAreNeverDereferenced)
{
    // Addresses that no allocation of ours returned: reading through any of
    // them would fault, so a fault-free run shows they are compared only.
    const ObjectNumber strays[] = {0x10, 0x1000, static_cast<ObjectNumber>(0x7FFF0000), INTPTR_MAX};
    for (ObjectNumber n : strays) {
        EXPECT_EQ(object_table_check(table, n), 0);
        EXPECT_EQ(object_table_find(table, n), nullptr);
        object_table_release(table, n);
    }
}

TEST_F(ObjectTableTest, ADynamicRecordWithoutHandleIsListedButNotFound)
{
    Record* r = static_cast<Record*>(object_table_claim(table, OBJECT_ANY));
    ObjectNumber n = reinterpret_cast<ObjectNumber>(r);
    EXPECT_EQ(object_table_find(table, n), nullptr);
    EXPECT_EQ(object_table_check(table, n), n);
}

TEST_F(ObjectTableTest, AClaimWhoseSlotsCannotGrowFailsAndKeepsTheTable)
{
    // A font's record (one handle) and a gadget's (six words) with their
    // steps, one slot past 65536: numbers from 64 KiB up are where heap
    // addresses, and so dynamic handles, lie. A 64 KiB record at 32784 slots
    // needs 2^31 + 2^20 bytes: a count that wraps a 32-bit size gives a tiny
    // array and a record far outside it.
    struct Shape {
        int32_t record_size;
        int32_t grow_step;
        ObjectNumber number;
    };
    const Shape shapes[] = {{int32_t(sizeof(void*)), 16, 0xFFF1},
                            {int32_t(6 * sizeof(void*)), 50, 0xFFCF},
                            {0x10000, 16, 0x8000}};
    for (const Shape& shape : shapes) {
        ObjectTable* grown = object_table_create(shape.record_size, shape.grow_step, nullptr);
        ASSERT_NE(grown, nullptr);
        auto* live = static_cast<uintptr_t*>(object_table_claim(grown, 3));
        *live = 0xC0FFEE;
        EXPECT_EQ(object_table_claim(grown, shape.number), nullptr) << shape.number;
        EXPECT_EQ(grown->capacity, shape.grow_step) << shape.number;
        EXPECT_EQ(object_table_find(grown, 3), live) << shape.number;
        EXPECT_EQ(*live, 0xC0FFEEu) << shape.number;
        EXPECT_EQ(object_table_find(grown, shape.number), nullptr) << shape.number;
    }
    ObjectTable* full = object_table_create(sizeof(void*), 16, nullptr);
    ASSERT_NE(object_table_claim(full, 0xFFF0), nullptr);
    EXPECT_EQ(full->capacity, 0x10000);
}

TEST_F(ObjectTableTest, ATableThatCouldHoldNoRecordIsRefused)
{
    // With no step a claim would grow the table to the number, not past it;
    // a first step past 64 KiB would reach the heap's addresses; a record
    // narrower than an address has no room for its handle.
    EXPECT_EQ(object_table_create(sizeof(Record), 0, nullptr), nullptr);
    EXPECT_EQ(object_table_create(sizeof(Record), 0x10001, nullptr), nullptr);
    EXPECT_EQ(object_table_create(2, 16, nullptr), nullptr);
    EXPECT_EQ(object_table_create(-8, 16, nullptr), nullptr);
}

TEST(ObjectList, AddsAtTheHeadAndUnlinksAnywhere)
{
    test_runtime_start("list heap");
    ListNode* head = nullptr;
    int* first = static_cast<int*>(object_list_add(&head, sizeof(int)));
    int* second = static_cast<int*>(object_list_add(&head, sizeof(int)));
    int* third = static_cast<int*>(object_list_add(&head, sizeof(int)));
    *first = 1;
    *second = 2;
    *third = 3;
    EXPECT_EQ(object_list_payload(head), third);
    object_list_remove(&head, second);
    EXPECT_EQ(object_list_payload(head), third);
    EXPECT_EQ(object_list_payload(head->next), first);
    EXPECT_EQ(head->next->prev, head);
    object_list_remove(&head, third);
    EXPECT_EQ(object_list_payload(head), first);
    EXPECT_EQ(head->prev, nullptr);
    object_list_remove(&head, first);
    EXPECT_EQ(head, nullptr);
}

}  // namespace
