// The game's rules, played on scripted event streams against the recording
// stand-in of the runtime.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/score_card.h"
#include "runtime/core/text_win.h"
#include "runtime/gui/event.h"
#include "tests/game/standin.h"

namespace {

using standin::calls;
using standin::count;
using standin::event;
using standin::find;
using standin::script;
using standin::ticks;

const std::string CLOCK_ZERO = "gadget_set_text(1,     Время :  0s)";
// The calls that start a game, the first one as every later one.
const std::vector<std::string> GAME_START = {
    CLOCK_ZERO,
    "gadget_set_state(2,0)",
    "gadget_set_hidden(0,0)",
    "gadget_resize(0,250,250,100,100)",
    "gadget_focus(-1)",
    "timer_start(0,1000,game_tick)",
};
const std::string RESULT_BOX_PREFIX = "message_box(Результат,";

class GameRules : public ::testing::Test {
protected:
    void SetUp() override { standin::reset(); }

    // Clicks on the target, each followed by the pass it makes.
    void clicks(int n)
    {
        for (int i = 0; i < n; ++i)
            script.steps.push_back(event(EVENT_GADGET, 0));
    }
    // The calls from the first occurrence of `from` on.
    std::vector<std::string> calls_from(const std::string& from, size_t n)
    {
        int i = find(from);
        if (i < 0)
            return {};
        return std::vector<std::string>(calls.begin() + i, calls.begin() + std::min(calls.size(), i + n));
    }
};

TEST_F(GameRules, StartUpBuildsTheWindowThenShowsTheRulesThenStartsTheClock)
{
    game_run();
    std::vector<std::string> expected = {
        "runtime_start()",
        "window_open(0,0,0,600,620,Zorvant,2415919105)",
        "gadget_list_use(4096)",
        "skin_load(skin,4)",
        "skin_apply(4096,20480)",
        "window_set_hidden(0,0)",
        "image_from_memory(3,target)",
        "gadget_image_create(0,250,250,100,100,12288,0)",
        "gadget_text_create(1,0,600,100,20,,0)",
        "gadget_progress_create(2,100,600,420,20,0,50,0)",
        "gadget_button_create(5,520,600,80,20,Выход,0)",
        "png_encoder_register()",
        "message_box(Правила,Нажимаем OK и погнали давить батоны.,0)",
    };
    expected.insert(expected.end(), GAME_START.begin(), GAME_START.end());
    ASSERT_GE(calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + expected.size()), expected);
}

TEST_F(GameRules, NoRandomNumberIsDrawnBeforeTheFirstTargetClick)
{
    script.steps = {event(0), event(WM_LBUTTONDOWN), event(EVENT_GADGET, 5), event(0)};
    game_run();
    EXPECT_EQ(count("random_up_to"), 0);
}

TEST_F(GameRules, AJumpDrawsWidthHeightXYInThatOrderWithinThePlayArea)
{
    script.randoms = {0, 120, 580, 0};
    clicks(1);
    game_run();
    std::vector<std::string> expected = {
        "random_up_to(120)",   "random_up_to(120)",   "random_up_to(580)",
        "random_up_to(460)",   "image_copy(3,4)",     "image_resize(4,20,140)",
        "gadget_resize(0,580,0,20,140)", "gadget_focus(-1)", "gadget_set_state(0,16384)",
        "gadget_set_state(2,1)",
    };
    EXPECT_EQ(calls_from("random_up_to(120)", expected.size()), expected);
}

TEST_F(GameRules, TheBoundsAreInclusive)
{
    // Each draw gives its maximum: the largest target in the far corner.
    clicks(1);
    game_run();
    EXPECT_NE(find("gadget_resize(0,460,460,140,140)"), -1);
    EXPECT_EQ(game.target_x + game.target_width, 600);
    EXPECT_EQ(game.target_y + game.target_height, 600);
}

TEST_F(GameRules, EachJumpStartsFromAFreshCopyOfTheUntouchedPicture)
{
    clicks(2);
    game_run();
    int first = find("image_copy(3,4)");
    ASSERT_NE(first, -1);
    int freed = find("image_free(4)");
    ASSERT_GT(freed, first);  // the first jump has no old copy to free
    EXPECT_EQ(calls[freed + 1], "image_copy(3,4)");
    EXPECT_EQ(count("image_free(4)"), 1);
    EXPECT_EQ(count("image_copy(3,4)"), 2);
}

TEST_F(GameRules, TheFiftiethClickEndsTheGameInTheSamePass)
{
    clicks(50);
    game_run();
    std::vector<std::string> expected = {
        "gadget_set_state(2,50)",
        "gadget_set_hidden(0,1)",
        "timer_stop(0)",
        "message_box(Результат,0 cek.\rПопытаться ещё разок?,4)",
        "image_create(100,100,100)",
    };
    EXPECT_EQ(calls_from("gadget_set_state(2,50)", expected.size()), expected);
    EXPECT_EQ(count("random_up_to"), 200);
    EXPECT_EQ(count(RESULT_BOX_PREFIX), 1);
}

TEST_F(GameRules, TheResultBoxShowsTheSecondsOfTheClock)
{
    script.steps.push_back(ticks(23));
    clicks(50);
    game_run();
    EXPECT_NE(find("message_box(Результат,23 cek.\rПопытаться ещё разок?,4)"), -1);
}

TEST_F(GameRules, YesRestartsAtOnceThenWritesTheFinishedGamesCard)
{
    script.steps.push_back(ticks(7));
    clicks(50);
    script.answers = {IDOK, IDYES};
    game_run();
    int box = find("message_box(Результат,7 cek.\rПопытаться ещё разок?,4)");
    ASSERT_NE(box, -1);
    std::vector<std::string> expected = GAME_START;
    expected.push_back("image_create(100,100,100)");
    EXPECT_EQ(std::vector<std::string>(calls.begin() + box + 1, calls.begin() + box + 1 + expected.size()), expected);
    // The card holds the finished game's time, though the new clock was reset.
    EXPECT_NE(find("draw_text(45,30,7,32511,0)", box), -1);
    EXPECT_EQ(standin::score_file, std::string("ptdmcqhk`un4^6\r\n\x0e", 17));
    // The new game goes on: the loop ended only on the script's close event.
    EXPECT_EQ(calls.back(), "runtime_end()");
    EXPECT_EQ(count("timer_start"), 2);
}

TEST_F(GameRules, NoWritesTheCardAndQuits)
{
    clicks(50);
    clicks(3);  // never played: the loop has ended
    script.answers = {IDOK, IDNO};
    game_run();
    EXPECT_EQ(count("image_save(100,score.png,4673104)"), 1);
    EXPECT_EQ(count("file_close(0)"), 1);
    EXPECT_EQ(calls.back(), "runtime_end()");
    EXPECT_EQ(script.steps.size(), 3u);
    EXPECT_EQ(game.quit, 1);
}

TEST_F(GameRules, YesToTheExitQuestionQuitsWithoutACard)
{
    clicks(10);
    script.steps.push_back(event(EVENT_GADGET, 5));
    script.steps.push_back(event(0));
    script.answers = {IDOK, IDYES};
    game_run();
    EXPECT_EQ(count("message_box(,Точно выйти?,4)"), 1);
    EXPECT_EQ(count("image_create"), 0);
    EXPECT_EQ(count("file_open"), 0);
    EXPECT_EQ(script.steps.size(), 1u);
}

TEST_F(GameRules, NoToTheExitQuestionGoesOnWithTheClockRunning)
{
    script.steps.push_back(event(EVENT_GADGET, 5));
    clicks(1);
    script.answers = {IDOK, IDNO};
    game_run();
    EXPECT_EQ(count("message_box(,Точно выйти?,4)"), 1);
    EXPECT_EQ(count("timer_stop"), 0);
    EXPECT_NE(find("gadget_set_state(2,1)"), -1);
}

TEST_F(GameRules, ACloseRequestQuitsWithoutAQuestion)
{
    script.steps = {event(EVENT_CLOSE_WINDOW), event(0)};
    game_run();
    EXPECT_EQ(count("message_box"), 1);  // the rules box only
    EXPECT_EQ(script.steps.size(), 1u);
    EXPECT_EQ(calls.back(), "runtime_end()");
}

TEST_F(GameRules, APressAsksForTheWindowDragAfterTheBarUpdate)
{
    script.steps = {event(WM_LBUTTONDOWN)};
    game_run();
    std::vector<std::string> expected = {"event_wait(513)", "gadget_set_state(2,0)", "game_window_drag(4096)"};
    EXPECT_EQ(calls_from("event_wait(513)", expected.size()), expected);
}

TEST_F(GameRules, ATimeOutStillRefreshesTheBar)
{
    clicks(2);
    script.steps.push_back(event(0));
    game_run();
    int timeout = find("event_wait(0)");
    ASSERT_NE(timeout, -1);
    EXPECT_EQ(calls[timeout + 1], "gadget_set_state(2,2)");
}

TEST_F(GameRules, TheClockLabelCountsWithoutTheSuffix)
{
    script.steps = {ticks(1), event(0), ticks(59), event(0)};
    game_run();
    EXPECT_NE(find("gadget_set_text(1,     Время :  1)"), -1);
    EXPECT_NE(find("gadget_set_text(1,     Время :  60)"), -1);
    EXPECT_EQ(count("gadget_set_text(1,     Время :  60s"), 0);
}

TEST_F(GameRules, TheTickLeavesTheWorkBufferAlone)
{
    game_run();
    // A text in the middle of being built on the main thread, and marked
    // bytes beyond it: a tick that built its label in the buffer would leave
    // its bytes there, even if it gave the position back.
    int32_t s = text_begin();
    text_append("abc");
    const int32_t SPARE = 64;
    int32_t end = text_begin();
    char* spare = text_reserve(SPARE, end);
    ASSERT_NE(spare, nullptr);
    spare[0] = 0;
    memset(spare + 1, 'Z', SPARE - 1);
    int32_t spare_offset = text_offset_of(spare);
    text_drop(SPARE);
    game.seconds = 41;
    game_tick();
    EXPECT_EQ(text_begin(), end);
    EXPECT_EQ(std::string(text_at_offset(spare_offset), SPARE), std::string(1, '\0') + std::string(SPARE - 1, 'Z'));
    EXPECT_STREQ(text_argument(s), "abc");
    text_end(s);
    EXPECT_EQ(calls.back(), "gadget_set_text(1,     Время :  42)");
}

TEST_F(GameRules, TheScoreCardIsDrawnInOrder)
{
    score_card_write(5);
    std::vector<std::string> head = {
        "image_create(100,100,100)", "font_load(100,Tahoma,28)", "font_load(101,Tahoma,6)",
        "image_output(100)",         "drawing_start()",          "drawing_set_font(100)",
        "draw_text(45,30,5,32511,0)", "draw_line(0,2,100,3,0)",
    };
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + head.size()), head);
    int title = find("draw_text(-10,5,Zorvant v1.0,16777215,0)");
    ASSERT_NE(title, -1);
    EXPECT_EQ(calls[title - 1], "drawing_set_font(101)");
    EXPECT_EQ(calls[title - 2], "draw_line(100,0,200,100,0)");
    EXPECT_EQ(count("draw_line("), 104);
    std::vector<std::string> tail = {
        "draw_line(1,1,98,1,32511)", "draw_line(98,1,98,98,32511)", "draw_line(98,98,1,98,32511)",
        "draw_line(1,98,1,1,32511)", "drawing_stop()",              "image_save(100,score.png,4673104)",
        "image_free(100)",           "font_free(100)",              "font_free(101)",
        "file_open(0,score.png)",    "file_length(0)",              "file_seek(0,1000)",
        "file_write_line(0)",        "file_write_byte(0,14)",       "file_close(0)",
    };
    EXPECT_EQ(calls_from("draw_line(1,1,98,1,32511)", tail.size()), tail);
}

TEST_F(GameRules, TheScoreRecordLowersEachByteByOne)
{
    struct Case {
        int32_t seconds;
        std::string digits;
    } cases[] = {{0, "/"}, {9, "8"}, {10, "0/"}, {100, "0//"}, {23, "12"}, {2147483647, "1036372536"}};
    for (const Case& c : cases) {
        standin::reset();
        score_card_write(c.seconds);
        std::string text = "ptdmcqhk`un4^" + c.digits;
        std::string expected = text + "\r\n" + static_cast<char>(text.size());
        EXPECT_EQ(standin::score_file, expected) << c.seconds;
        EXPECT_EQ(standin::score_file.size(), text.size() + 3) << c.seconds;
    }
}

TEST(GameTexts, AreWindows1251Bytes)
{
    struct Case {
        const char* text;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {TEXT_EXIT_BUTTON, {0xC2, 0xFB, 0xF5, 0xEE, 0xE4}},
        {TEXT_RULES_TITLE, {0xCF, 0xF0, 0xE0, 0xE2, 0xE8, 0xEB, 0xE0}},
        {TEXT_RESULT_TITLE, {0xD0, 0xE5, 0xE7, 0xF3, 0xEB, 0xFC, 0xF2, 0xE0, 0xF2}},
        {TEXT_EXIT_QUESTION, {0xD2, 0xEE, 0xF7, 0xED, 0xEE, 0x20, 0xE2, 0xFB, 0xE9, 0xF2, 0xE8, 0x3F}},
        {TEXT_CLOCK_PREFIX,
         {0x20, 0x20, 0x20, 0x20, 0x20, 0xC2, 0xF0, 0xE5, 0xEC, 0xFF, 0x20, 0x3A, 0x20, 0x20}},
        {TEXT_RESULT_QUESTION,
         {0x20, 0x63, 0x65, 0x6B, 0x2E, 0x0D, 0xCF, 0xEE, 0xEF, 0xFB, 0xF2, 0xE0, 0xF2, 0xFC, 0xF1, 0xFF,
          0x20, 0xE5, 0xF9, 0xB8, 0x20, 0xF0, 0xE0, 0xE7, 0xEE, 0xEA, 0x3F}},
        {TEXT_RULES,
         {0xCD, 0xE0, 0xE6, 0xE8, 0xEC, 0xE0, 0xE5, 0xEC, 0x20, 0x4F, 0x4B, 0x20, 0xE8, 0x20, 0xEF, 0xEE, 0xE3,
          0xED, 0xE0, 0xEB, 0xE8, 0x20, 0xE4, 0xE0, 0xE2, 0xE8, 0xF2, 0xFC, 0x20, 0xE1, 0xE0, 0xF2, 0xEE, 0xED,
          0xFB, 0x2E}},
        {TEXT_TITLE, {'Z', 'o', 'r', 'v', 'a', 'n', 't'}},
        {TEXT_CLOCK_SUFFIX, {'s'}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::vector<unsigned char>(c.text, c.text + strlen(c.text)), c.bytes) << c.text;
}

}  // namespace
