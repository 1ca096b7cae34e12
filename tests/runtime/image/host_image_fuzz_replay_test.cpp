// Replays the committed fuzz inputs of the bitmap checks: a broken property
// aborts the program, and every seed (real pictures and icon images) must
// still be accepted.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/image/dib_check.h"
#include "tests/support/fuzz_replay.h"
#include "tests/runtime/image/fuzz/fuzz_targets.h"

namespace {

int seeds(const char* target) { return int(fuzz_seeds(target).size()); }

TEST(ImageFuzzReplay, BmpFileCorpus)
{
    int sound = fuzz_replay("bmp_file", fuzz_bmp_file, 6, [](const std::vector<uint8_t>& bytes) {
        BmpFileLayout layout;
        return bmp_file_check(bytes.data(), bytes.size(), &layout);
    });
    EXPECT_EQ(sound, seeds("bmp_file"));
}

TEST(ImageFuzzReplay, IconImageCorpus)
{
    int sound = fuzz_replay("icon_image", fuzz_icon_image, 2, [](const std::vector<uint8_t>& bytes) {
        return icon_image_check(bytes.data(), bytes.size());
    });
    EXPECT_EQ(sound, seeds("icon_image"));
}

}  // namespace
