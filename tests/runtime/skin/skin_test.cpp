// Skin loader on the real platform: the game's skin, refused headers and
// payload bounds, slots, and proof through the skin heap's block count that
// a failed load leaves nothing behind.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/core/heap.h"
#include "runtime/skin/packed_block.h"
#include "runtime/skin/skin.h"
#include "tests/runtime/skin/skin_containers.h"
#include "tests/support/heap_blocks.h"
#include "tests/support/pixels.h"
#include "tests/support/runtime_start.h"
#include "tools/gdi_census/gdi_census.h"

namespace {

class SkinLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("skin heap");
        baseline = test_heap_blocks(heap_skin());
    }
    void TearDown() override
    {
        skin_free_all();
        EXPECT_EQ(test_heap_blocks(heap_skin()), baseline);
    }
    // A load that must fail and leave the heap as it was.
    void expect_refused(const std::vector<uint8_t>& container, const char* why)
    {
        int before = test_heap_blocks(heap_skin());
        EXPECT_EQ(skin_load_ex(container.data(), container.size()), nullptr) << why;
        EXPECT_EQ(test_heap_blocks(heap_skin()), before) << why;
    }
    std::vector<uint8_t> game_skin() const { return std::vector<uint8_t>(asset_skin, asset_skin + asset_skin_size); }
    int baseline = 0;
};

TEST_F(SkinLoad, GameSkinGivesItsRegionCopyAndPicture)
{
    void* skin = skin_load(asset_skin);
    ASSERT_NE(skin, nullptr);
    const SkinSlot* slot = skin_slot_find(skin);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->region_size, 368);
    EXPECT_EQ(slot->width, 600);
    EXPECT_EQ(slot->height, 620);
    ASSERT_NE(slot->bitmap, nullptr);
    BITMAP info;
    ASSERT_EQ(GetObjectA(slot->bitmap, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 600);
    EXPECT_EQ(info.bmHeight, 620);

    HRGN region = ExtCreateRegion(nullptr, slot->region_size, static_cast<const RGNDATA*>(skin));
    ASSERT_NE(region, nullptr);
    std::vector<uint8_t> data(GetRegionData(region, 0, nullptr));
    ASSERT_GT(data.size(), sizeof(RGNDATAHEADER));
    GetRegionData(region, DWORD(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
    EXPECT_EQ(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount, 21u);
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 599);
    EXPECT_EQ(box.bottom, 620);
    DeleteObject(region);

    // The bitmap holds the picture's pixels, bottom file row at the bottom.
    std::vector<uint8_t> payload(1116424);
    ASSERT_EQ(packed_block_unpack(asset_skin + 48, payload.data()), payload.size());
    std::vector<uint32_t> pixels = test_bitmap_pixels(slot->bitmap, 600, 620);
    ASSERT_EQ(pixels.size(), 600u * 620);
    int wrong = 0;
    for (int y = 0; y < 620; ++y) {
        for (int x = 0; x < 600; ++x) {
            const uint8_t* bgr = &payload[368 + 54 + (619 - y) * 1800 + x * 3];
            wrong += pixels[y * 600 + x] != (uint32_t(bgr[2]) << 16 | bgr[1] << 8 | bgr[0]);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(SkinLoad, LongFormBoundsTheGameSkin)
{
    EXPECT_NE(skin_load_ex(asset_skin, asset_skin_size), nullptr);
    std::vector<uint8_t> cut = game_skin();
    cut.resize(cut.size() - 1);
    expect_refused(cut, "stream cut short");
    cut.resize(47);
    expect_refused(cut, "header cut short");
}

TEST_F(SkinLoad, HeadersAreChecked)
{
    std::vector<uint8_t> sound = plain_container({});
    EXPECT_NE(skin_load_ex(sound.data(), sound.size()), nullptr);
    ContainerLayout v2;
    v2.version = 2;
    expect_refused(plain_container(v2), "version 2");
    ContainerLayout h40;
    h40.header_size = 40;
    expect_refused(plain_container(h40), "header size 40");
    std::vector<uint8_t> magic = sound;
    magic[3] = 'T';
    expect_refused(magic, "magic");
    std::vector<uint8_t> no_region = sound;
    set32(no_region, 24, 0);
    expect_refused(no_region, "region size 0");
    EXPECT_EQ(skin_load(nullptr), nullptr);
    EXPECT_EQ(skin_load_ex(nullptr, 100), nullptr);
}

TEST_F(SkinLoad, BadChecksumLeavesNoSlotInUse)
{
    std::vector<uint8_t> c = game_skin();
    c[48 + 6] ^= 0x01;
    expect_refused(c, "checksum");
    EXPECT_EQ(skin_load(c.data()), nullptr);
    EXPECT_EQ(skin_slot_alloc(), 0);  // the first slot is free
    void* skin = skin_load(asset_skin);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin_slot_alloc(), 1);
}

TEST_F(SkinLoad, PayloadBoundsAreChecked)
{
    const std::vector<uint8_t> sound = plain_container({});
    const uint32_t region_size = 48;
    const size_t picture = 48 + region_size;
    const uint32_t payload_size = uint32_t(sound.size() - 48);
    auto with = [&sound](size_t offset, uint32_t value) {
        std::vector<uint8_t> c = sound;
        set32(c, offset, value);
        return c;
    };
    expect_refused(with(28, payload_size), "region offset at the payload's end");
    expect_refused(with(28, 0xFFFFFFF0), "region offset wrapping");
    expect_refused(with(24, payload_size + 1), "region larger than the payload");
    expect_refused(with(48 + 8, 2), "more rectangles than the region data holds");
    expect_refused(with(36, payload_size - 10), "picture running out of the payload");
    expect_refused(with(32, 0xFFFFFFFF), "picture size wrapping");
    std::vector<uint8_t> no_bm = sound;
    no_bm[picture] = 'X';
    expect_refused(no_bm, "picture without BM");
    expect_refused(with(picture + 22, 5), "rows beyond the picture");
    expect_refused(with(picture + 22, uint32_t(-4)), "top-down picture");
    expect_refused(with(picture + 10, 80), "pixel offset pushing rows out");
    expect_refused(with(picture + 30, 1), "run-length picture");
    expect_refused(with(32, uint32_t(sound.size() - picture - 3)), "picture size short of its rows");
    for (size_t size = 0; size < sound.size(); ++size)
        EXPECT_EQ(skin_load_ex(sound.data(), size), nullptr) << size;
    EXPECT_EQ(test_heap_blocks(heap_skin()), baseline);
}

// The checks pass a picture without planes, which the platform will not
// convert: the load fails rather than give a black background.
TEST_F(SkinLoad, APictureThePlatformWillNotConvertFailsTheLoad)
{
    std::vector<uint8_t> c = plain_container({});
    c[48 + 48 + 26] = 0;
    GdiCensus before = gdi_census();
    expect_refused(c, "picture with no planes");
    EXPECT_EQ(gdi_census(), before);
}

// Without a size, the unpacked-size field is all that bounds a plain payload:
// region data and picture beyond it are refused even where memory follows.
TEST_F(SkinLoad, PlainPayloadEndsAtItsUnpackedSize)
{
    const std::vector<uint8_t> sound = plain_container({});
    const uint32_t payload_size = uint32_t(sound.size() - 48);
    std::vector<uint8_t> c = sound;
    c.insert(c.end(), sound.begin() + 48, sound.end());
    EXPECT_NE(skin_load(c.data()), nullptr);
    set32(c, 28, payload_size);
    EXPECT_EQ(skin_load(c.data()), nullptr) << "region behind the payload";
    set32(c, 28, 0);
    set32(c, 36, payload_size + 48);
    EXPECT_EQ(skin_load(c.data()), nullptr) << "picture behind the payload";
    set32(c, 36, 48);
    set32(c, 16, payload_size - 1);
    EXPECT_EQ(skin_load(c.data()), nullptr) << "picture's last byte behind the payload";
    expect_refused(c, "container longer than its unpacked size, still cut by it");
    set32(c, 16, uint32_t(c.size()));
    expect_refused(c, "unpacked size beyond the container");
}

TEST_F(SkinLoad, PlainPayloadIsUsedInPlace)
{
    std::vector<uint8_t> c = plain_container({});
    void* skin = skin_load_ex(c.data(), c.size());
    ASSERT_NE(skin, nullptr);
    EXPECT_NE(skin, c.data() + 48);
    EXPECT_EQ(memcmp(skin, c.data() + 48, 48), 0);
    // The slot array and the region copy: nothing else was allocated.
    EXPECT_EQ(test_heap_blocks(heap_skin()), baseline + 2);
    const SkinSlot* slot = skin_slot_find(skin);
    ASSERT_NE(slot, nullptr);
    std::vector<uint32_t> pixels = test_bitmap_pixels(slot->bitmap, 8, 4);
    ASSERT_EQ(pixels.size(), 32u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixels[y * 8 + x], uint32_t(x * 7) << 16 | uint32_t(y * 11) << 8 | 0x40) << x << "," << y;
}

TEST_F(SkinLoad, SkinWithoutPictureHasNoBitmap)
{
    ContainerLayout layout;
    layout.picture_width = 0;
    std::vector<uint8_t> c = plain_container(layout);
    void* skin = skin_load_ex(c.data(), c.size());
    ASSERT_NE(skin, nullptr);
    const SkinSlot* slot = skin_slot_find(skin);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->bitmap, nullptr);
    EXPECT_EQ(slot->region_size, 48);
}

TEST_F(SkinLoad, TwoLoadsTakeSlotsZeroAndOne)
{
    void* first = skin_load(asset_skin);
    void* second = skin_load(asset_skin);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(skin_slot_find(second) - skin_slot_find(first), 1);
    EXPECT_EQ(skin_slot_alloc(), 2);
    EXPECT_EQ(skin_slot_find(nullptr), nullptr);
    EXPECT_EQ(skin_slot_find(asset_skin), nullptr);
}

TEST_F(SkinLoad, FreeAllDeletesBitmapsAndBlocks)
{
    GdiCensus before = gdi_census();
    void* skin = skin_load(asset_skin);
    ASSERT_NE(skin, nullptr);
    HBITMAP bitmap = skin_slot_find(skin)->bitmap;
    EXPECT_EQ(GetObjectType(bitmap), DWORD(OBJ_BITMAP));
    skin_free_all();
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(gdi_census(), before);  // nor a context of the conversion
    EXPECT_EQ(test_heap_blocks(heap_skin()), baseline);
    EXPECT_EQ(skin_slot_find(skin), nullptr);
    EXPECT_NE(skin_load(asset_skin), nullptr);  // loads start afresh
}

}  // namespace
