// The libFuzzer entry point of one target, named by ZORVANT_LIBFUZZER in the
// fuzz tree (zorvant_fuzz_targets).
#include <cstddef>
#include <cstdint>

int ZORVANT_LIBFUZZER(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return ZORVANT_LIBFUZZER(data, size);
}
