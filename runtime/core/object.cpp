// Numbered objects, object lists and library state blocks. Tables and state
// blocks come from the main heap and live for the whole run; list nodes come
// from the list heap.
#include "runtime/core/object.h"

#include <windows.h>
#include <cstring>

#include "runtime/core/heap.h"

namespace {

// Payloads start after the two links, at the alignment of a pointer pair, so
// that records holding 64-bit values or pointers stay aligned.
const size_t NODE_HEADER = sizeof(ListNode);

// Table numbers stay below 64 KiB, where Windows maps nothing, so no heap
// address, and so no dynamic handle, can ever read as a table number: a
// capacity past it would swallow live dynamic objects, and a bound on the
// live ones would not hold for the nodes made after the growth.
const int64_t TABLE_NUMBERS_END = 0x10000;

// The largest slot array: the most one block can hold in a 32-bit process.
// The byte count is worked out in 64 bits and held to this on both builds, so
// it never wraps a 32-bit size_t and a number is refused alike everywhere.
const uint64_t SLOTS_MAX_BYTES = INT32_MAX;

// The byte size of `capacity` slots, or 0 when it is beyond SLOTS_MAX_BYTES.
size_t slots_bytes(int32_t record_size, int32_t capacity)
{
    uint64_t bytes = static_cast<uint64_t>(record_size) * static_cast<uint64_t>(capacity);
    return bytes <= SLOTS_MAX_BYTES ? static_cast<size_t>(bytes) : 0;
}

ListNode* node_of(void* payload)
{
    return reinterpret_cast<ListNode*>(static_cast<unsigned char*>(payload) - NODE_HEADER);
}

bool is_table_number(const ObjectTable* table, ObjectNumber number)
{
    return number >= 0 && number < table->capacity;
}

unsigned char* slot_at(const ObjectTable* table, ObjectNumber number)
{
    return table->slots + static_cast<size_t>(number) * static_cast<size_t>(table->record_size);
}

// The record's first field is the object's platform handle.
bool record_live(const void* record)
{
    uintptr_t handle;
    std::memcpy(&handle, record, sizeof handle);
    return handle != 0;
}

// The dynamic node whose payload is at `number`, found by walking the list,
// so that a stray number is compared, never dereferenced.
ListNode* dynamic_node(const ObjectTable* table, ObjectNumber number)
{
    for (ListNode* node = table->dynamic_head; node; node = node->next)
        if (reinterpret_cast<ObjectNumber>(object_list_payload(node)) == number)
            return node;
    return nullptr;
}

}  // namespace

void* object_list_payload(ListNode* node)
{
    return reinterpret_cast<unsigned char*>(node) + NODE_HEADER;
}

ObjectTable* object_table_create(int32_t record_size, int32_t grow_step, ObjectFreeFn free_fn)
{
    // A record holds at least its handle, and a growth adds at least a slot.
    if (record_size < static_cast<int32_t>(sizeof(uintptr_t)) || grow_step < 1 || grow_step > TABLE_NUMBERS_END)
        return nullptr;
    size_t bytes = slots_bytes(record_size, grow_step);
    if (!bytes)
        return nullptr;
    ObjectTable* table = static_cast<ObjectTable*>(HeapAlloc(heap_main(), HEAP_ZERO_MEMORY, sizeof(ObjectTable)));
    if (!table)
        return nullptr;
    table->slots = static_cast<unsigned char*>(
        HeapAlloc(heap_main(), HEAP_ZERO_MEMORY, bytes));
    if (!table->slots) {
        HeapFree(heap_main(), 0, table);
        return nullptr;
    }
    table->record_size = record_size;
    table->grow_step = grow_step;
    table->capacity = grow_step;
    table->free_fn = free_fn;
    return table;
}

void* object_table_claim(ObjectTable* table, ObjectNumber number)
{
    if (!table || number < OBJECT_ANY)
        return nullptr;
    if (number == OBJECT_ANY)
        return object_list_add(&table->dynamic_head, table->record_size);

    if (number >= table->capacity) {
        // Grow by whole steps beyond the number. A table that cannot grow
        // keeps its array and capacity, and the claim fails.
        if (number > TABLE_NUMBERS_END - table->grow_step)
            return nullptr;
        int32_t capacity = static_cast<int32_t>(number) + table->grow_step;
        size_t bytes = slots_bytes(table->record_size, capacity);
        void* slots = bytes ? HeapReAlloc(heap_main(), HEAP_ZERO_MEMORY, table->slots, bytes) : nullptr;
        if (!slots)
            return nullptr;
        table->slots = static_cast<unsigned char*>(slots);
        table->capacity = capacity;
    }
    if (table->free_fn)
        table->free_fn(number);
    unsigned char* record = slot_at(table, number);
    std::memset(record, 0, table->record_size);
    return record;
}

void* object_table_find(ObjectTable* table, ObjectNumber number)
{
    if (!table || number < OBJECT_ANY)
        return nullptr;
    if (is_table_number(table, number)) {
        unsigned char* record = slot_at(table, number);
        return record_live(record) ? record : nullptr;
    }
    ListNode* node = dynamic_node(table, number);
    if (!node)
        return nullptr;
    void* record = object_list_payload(node);
    return record_live(record) ? record : nullptr;
}

void* object_table_find_handle(ObjectTable* table, const void* handle, ObjectNumber* number)
{
    if (!table || !handle)
        return nullptr;
    for (int32_t index = 0; index < table->capacity; index++) {
        unsigned char* record = slot_at(table, index);
        if (std::memcmp(record, &handle, sizeof handle) == 0) {
            *number = index;
            return record;
        }
    }
    for (ListNode* node = table->dynamic_head; node; node = node->next) {
        void* record = object_list_payload(node);
        if (std::memcmp(record, &handle, sizeof handle) == 0) {
            *number = reinterpret_cast<ObjectNumber>(record);
            return record;
        }
    }
    return nullptr;
}

intptr_t object_table_check(ObjectTable* table, ObjectNumber number)
{
    if (!table || number < OBJECT_ANY)
        return 0;
    if (is_table_number(table, number)) {
        unsigned char* record = slot_at(table, number);
        return record_live(record) ? reinterpret_cast<intptr_t>(record) : 0;
    }
    return dynamic_node(table, number) ? number : 0;
}

void object_table_release(ObjectTable* table, ObjectNumber number)
{
    if (!table || number < OBJECT_ANY)
        return;
    if (is_table_number(table, number)) {
        std::memset(slot_at(table, number), 0, table->record_size);
        return;
    }
    if (dynamic_node(table, number))
        object_list_remove(&table->dynamic_head, reinterpret_cast<void*>(number));
}

void object_table_rewind(ObjectTable* table)
{
    table->iter_slot = 0;
    ListNode* oldest = table->dynamic_head;
    while (oldest && oldest->next)
        oldest = oldest->next;
    table->iter_node = oldest;
}

void* object_table_next(ObjectTable* table, ObjectNumber* number)
{
    while (table->iter_slot < table->capacity) {
        int32_t index = table->iter_slot++;
        unsigned char* record = slot_at(table, index);
        if (record_live(record)) {
            *number = index;
            return record;
        }
    }
    ListNode* node = table->iter_node;
    if (!node)
        return nullptr;
    table->iter_node = node->prev;
    void* payload = object_list_payload(node);
    *number = reinterpret_cast<ObjectNumber>(payload);
    return payload;
}

void object_table_free_all(ObjectTable* table)
{
    if (!table || !table->free_fn)
        return;
    ObjectNumber number;
    object_table_rewind(table);
    while (object_table_next(table, &number))
        table->free_fn(number);
}

void* object_list_add(ListNode** head, int32_t size)
{
    if (size < 0)
        return nullptr;
    ListNode* node = static_cast<ListNode*>(HeapAlloc(heap_list(), HEAP_ZERO_MEMORY, NODE_HEADER + size));
    if (!node)
        return nullptr;
    if (*head)
        (*head)->prev = node;
    node->next = *head;
    *head = node;
    return object_list_payload(node);
}

void object_list_remove(ListNode** head, void* payload)
{
    ListNode* node = node_of(payload);
    if (node == *head) {
        *head = node->next;
        if (node->next)
            node->next->prev = nullptr;
    } else {
        node->prev->next = node->next;
        if (node->next)
            node->next->prev = node->prev;
    }
    HeapFree(heap_list(), 0, node);
}

void* library_state_create(int32_t size, void (*init)(void* block))
{
    void* block = HeapAlloc(heap_main(), HEAP_ZERO_MEMORY, size);
    if (block && init)
        init(block);
    return block;
}

void* library_state_get(void* block)
{
    return block;
}
