// Replays the committed fuzz inputs of the score-record reader: a broken
// property aborts the program, and every seed, a "score.png" of a real game
// named game_<seconds>s.png, gives back the time that game reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/score_record.h"
#include "tests/support/fuzz_replay.h"
#include "tests/game/fuzz/fuzz_targets.h"

namespace {

TEST(GameFuzzReplay, ScoreRecordCorpus)
{
    fuzz_replay("score_record", fuzz_score_record, 3, [](const std::vector<uint8_t>&) { return 0; });
}

TEST(GameFuzzReplay, CardsOfRealGamesGiveTheirTimes)
{
    for (auto& [name, bytes] : fuzz_seeds("score_record")) {
        int32_t seconds = -1;
        ASSERT_EQ(score_record_parse(bytes.data(), bytes.size(), &seconds), SCORE_RECORD_OK) << name;
        EXPECT_EQ("game_" + std::to_string(seconds) + "s.png", std::filesystem::path(name).filename().string());
    }
}

}  // namespace
