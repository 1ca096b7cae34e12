// The score_read tool run on files made by the test: its output, its
// messages and its exit status, and files it must answer without reading
// them whole.
#include "tests/support/tool_run.h"

#include "game/score_record.h"

namespace {

const std::string PNG_BYTES = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(200, '\x07');
const std::string TOOL = "'" SCORE_READ_TOOL "'";

std::string record(int32_t seconds)
{
    unsigned char bytes[SCORE_RECORD_MAX];
    size_t size = score_record_make(seconds, bytes);
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

using ScoreReadTool = ToolRun;

// score.png by default; 4 GiB whose last bytes are a record, read with 100 MB
// of address space: only the end of the file can be in memory.
TEST_F(ScoreReadTool, PrintsTheTimeAtTheEndOfTheFile)
{
    put("score.png", PNG_BYTES + record(42));
    EXPECT_EQ(run(TOOL), 0);
    EXPECT_EQ(out, "42\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(run(TOOL + " score.png"), 0);
    EXPECT_EQ(out, "42\n");
    put_sparse("score.png", uint64_t(4) << 30, record(1234));
    EXPECT_EQ(run("ulimit -v 100000 && " + TOOL), 0) << err;
    EXPECT_EQ(out, "1234\n");
}

// Each failure has its own status and names its reason. The limits turn a
// tool that reads a device for ever into a quick failure.
TEST_F(ScoreReadTool, EachFailureHasItsOwnStatusAndReason)
{
    put("score.png", PNG_BYTES);
    EXPECT_EQ(run(TOOL), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("score.png: no score record"), std::string::npos) << err;
    EXPECT_EQ(run(TOOL + " absent.png"), 2);
    EXPECT_NE(err.find("absent.png: cannot be opened"), std::string::npos) << err;
    EXPECT_EQ(run(TOOL + " a b"), 2);
    EXPECT_NE(err.find("usage"), std::string::npos) << err;
    EXPECT_EQ(run(TOOL + " ."), 3);
    EXPECT_NE(err.find("score_read: .: is a folder"), std::string::npos) << err;
    EXPECT_EQ(run("ulimit -v 100000 && timeout 60 " + TOOL + " /dev/zero"), 4);
    EXPECT_NE(err.find("/dev/zero: is not a regular file"), std::string::npos) << err;
    put("score.png", "");
    EXPECT_EQ(run(TOOL), 5);
    EXPECT_NE(err.find("score.png: is empty"), std::string::npos) << err;
}

}  // namespace
