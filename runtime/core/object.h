// Numbered objects: one ObjectTable per kind maps the numbers that the game
// chooses (or that the runtime makes up for OBJECT_ANY) to fixed-size object
// records, plus the doubly linked lists and the library state blocks.
#pragma once

#include <cstddef>
#include <cstdint>

// A signed integer as wide as an address. Table numbers run from 0 to
// capacity - 1; an object made with OBJECT_ANY is named by its record address.
typedef intptr_t ObjectNumber;

const ObjectNumber OBJECT_ANY = -1;

// A record's or table's size on the shipped 32-bit build and on the 64-bit
// one. Records that other code reads by position pin their layout with it.
constexpr size_t layout_size(size_t on_i686, size_t on_x86_64)
{
    return sizeof(void*) == 4 ? on_i686 : on_x86_64;
}

// Node of a list made with object_list_add; the caller's payload follows it.
struct ListNode {
    ListNode* next;  // the next older node; null at the oldest
    ListNode* prev;  // the next newer node; null at the head
};
// A dynamic handle is the address just past the two links.
static_assert(sizeof(ListNode) == layout_size(8, 16), "ListNode: two links");

// The kind's operation that frees the object with a given number.
typedef void (*ObjectFreeFn)(ObjectNumber number);

// Every object record starts with the object's platform handle (window,
// bitmap, font, file); a record whose handle is zero is a free slot.
struct ObjectTable {
    int32_t record_size;
    int32_t grow_step;
    int32_t capacity;
    ListNode* dynamic_head;
    ObjectFreeFn free_fn;
    int32_t iter_slot;
    ListNode* iter_node;
    unsigned char* slots;
};
static_assert(sizeof(ObjectTable) == layout_size(32, 56), "ObjectTable: eight fields in order");

// Null if the main heap has no room for the table or its first slots, for a
// record smaller than an address or a step below 1 or above 65536. No slot
// array grows past 2 GiB - 1 bytes, on either width.
ObjectTable* object_table_create(int32_t record_size, int32_t grow_step, ObjectFreeFn free_fn);

// A zero-filled record for the number, or null. A number in use is first freed
// through free_fn. Numbers below OBJECT_ANY, and a failed growth, give null;
// so does a growth past 65536 slots (numbers from 64 KiB up are the heap's),
// which frees nothing.
void* object_table_claim(ObjectTable* table, ObjectNumber number);

// The live record of the number, or null. Never reads memory through a number
// that is not a live dynamic handle of this table.
void* object_table_find(ObjectTable* table, ObjectNumber number);

// The live record whose platform handle is `handle` (not null), its number
// into *number; null when no live record has it. Leaves the iteration of
// object_table_rewind and object_table_next untouched.
void* object_table_find_handle(ObjectTable* table, const void* handle, ObjectNumber* number);

// Non-zero if the number names a live object: the record address for a table
// number, the number itself for a dynamic handle.
intptr_t object_table_check(ObjectTable* table, ObjectNumber number);

// Frees the number's record (zero-fills a slot, unlinks a dynamic node).
void object_table_release(ObjectTable* table, ObjectNumber number);

// Iteration over live objects: table numbers ascending, then dynamic objects
// oldest first. The caller may free the object just returned.
void object_table_rewind(ObjectTable* table);
void* object_table_next(ObjectTable* table, ObjectNumber* number);

// Calls free_fn for every live object; nothing without a free_fn.
void object_table_free_all(ObjectTable* table);

// Adds a zeroed node with `size` payload bytes at the head (list heap);
// returns the payload, or null when the allocation fails.
void* object_list_add(ListNode** head, int32_t size);
// Unlinks the node holding the payload and frees it.
void object_list_remove(ListNode** head, void* payload);
// The payload of a node, and the node of a payload.
void* object_list_payload(ListNode* node);

// A zero-filled block of a library's global state (main heap); `init`, if
// given, fills it before it is returned.
void* library_state_create(int32_t size, void (*init)(void* block));
void* library_state_get(void* block);
