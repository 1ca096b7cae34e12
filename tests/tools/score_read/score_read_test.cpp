// The score_read tool run on files made by the test: its output, its
// messages and its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "game/score_record.h"

namespace {

const std::string PNG_BYTES = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(200, '\x07');

std::string with_record(const std::string& before, int32_t seconds)
{
    unsigned char record[SCORE_RECORD_MAX];
    size_t size = score_record_make(seconds, record);
    return before + std::string(reinterpret_cast<const char*>(record), size);
}

class ScoreReadTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zorvant_score_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        for (const char* f : {"score.png", "out", "err"})
            unlink((folder + "/" + f).c_str());
        rmdir(folder.c_str());
    }
    void put(const std::string& bytes)
    {
        std::ofstream(folder + "/score.png", std::ios::binary) << bytes;
    }
    // Runs the tool in the folder: its exit status, its output and errors.
    int run(const std::string& arguments = "")
    {
        std::string command = "cd '" + folder + "' && '" SCORE_READ_TOOL "' " + arguments + " >out 2>err";
        int status = system(command.c_str());
        out = slurp("out");
        err = slurp("err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string slurp(const char* name)
    {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::string folder, out, err;
};

TEST_F(ScoreReadTool, PrintsTheTimeOfScorePng)
{
    put(with_record(PNG_BYTES, 42));
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(out, "42\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(run("score.png"), 0);
    EXPECT_EQ(out, "42\n");
}

TEST_F(ScoreReadTool, ReportsAMissingRecordWithAMessage)
{
    put(PNG_BYTES);
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("score.png: no score record"), std::string::npos) << err;
}

TEST_F(ScoreReadTool, ReportsAMissingFile)
{
    EXPECT_EQ(run("absent.png"), 2);
    EXPECT_NE(err.find("absent.png: the file cannot be read"), std::string::npos) << err;
    EXPECT_EQ(run("a b"), 2);
    EXPECT_NE(err.find("usage"), std::string::npos) << err;
}

}  // namespace
