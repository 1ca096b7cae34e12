// Decimal formatting of 32-bit values. Platform-free.
#include "runtime/core/text.h"

int text_format_int(char out[TEXT_INT_SIZE], int32_t value)
{
    // The magnitude as unsigned, so that -2147483648 needs no special case.
    uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
    char digits[TEXT_INT_SIZE];
    int count = 0;
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    int length = 0;
    if (value < 0)
        out[length++] = '-';
    while (count)
        out[length++] = digits[--count];
    out[length] = 0;
    return length;
}
