// The fixture of the end-to-end tests: every test plays the real game through
// the automatic player, in a fresh working folder of its own, and reads the
// player's report and the files the game left.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tools/autoplay/options.h"
#include "tools/autoplay/picture.h"
#include "tools/autoplay/report.h"
#include "tests/support/temp_folder.h"
#include "tools/autoplay/score_file.h"

class GameRun : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Options for the game in this test's folder.
    AutoplayOptions options() const;
    // Plays; gives the number of failed checks.
    int32_t play(const AutoplayOptions& options);

    // The report, one line each, for failure messages.
    std::string report_text() const;
    // True when the report has the line "check <name> ok".
    bool checked(const std::string& name) const;
    // The report lines that begin with the words, split into words.
    std::vector<std::vector<std::string>> lines(const std::string& start) const;
    // The seconds the report gives for a game; -1 if it gives none.
    int32_t game_seconds(int32_t game) const;

    std::string path(const std::string& name) const;
    bool exists(const std::string& name) const;
    ScoreFile score() const;
    Picture screenshot(const std::string& moment) const;

    // A fresh folder, one per test and process; kept when the test failed,
    // for a look at the files.
    TempFolder temp{std::string("zorvant_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()};
    Report report;
};

// Asserts that each named check is in the report as passed.
#define EXPECT_CHECKED(...)                                                    \
    for (const char* check : {__VA_ARGS__})                                    \
        EXPECT_TRUE(checked(check)) << "no \"check " << check << " ok\" in:\n" << report_text()
