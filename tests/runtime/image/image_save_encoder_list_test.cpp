// The encoder list on its own, in a program of its own since it only grows:
// its limit, and the PNG encoder registered once however often it is asked.
#include <gtest/gtest.h>

#include "runtime/image/image_save.h"

namespace {

int32_t filler_encode(const char*, const unsigned char*, int32_t, int32_t, int32_t, int32_t)
{
    return 1;
}

TEST(EncoderList, PngEncoderIsRegisteredOnceAndTheListHoldsAHundred)
{
    png_encoder_register();
    png_encoder_register();
    static ImageEncoder fillers[ENCODER_LIST_SIZE];
    int accepted = 0;
    for (int i = 0; i < ENCODER_LIST_SIZE; ++i) {
        fillers[i] = {static_cast<uint32_t>(1000 + i), filler_encode};
        accepted += encoder_register(&fillers[i]);
    }
    EXPECT_EQ(accepted, ENCODER_LIST_SIZE - 1);
    EXPECT_EQ(encoder_register(&fillers[0]), 0);
    EXPECT_EQ(encoder_register(nullptr), 0);
    // The first filler made it, the last did not.
    unsigned char pixels[8] = {};
    EXPECT_EQ(encoder_run("x", pixels, 1000, 1, 1, 4, 0), 1);
    EXPECT_EQ(encoder_run("x", pixels, 1000 + ENCODER_LIST_SIZE - 1, 1, 1, 4, 0), 0);
}

}  // namespace
