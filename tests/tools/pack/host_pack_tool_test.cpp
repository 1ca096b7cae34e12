// The pack command on inputs anyone could hand it: no file to read, a file
// too large, and blocks whose header claims more than they can hold. Each is
// refused with its reason; none may end the tool by an exception.
#include "tests/support/tool_run.h"

namespace {

const std::string TOOL = "'" PACK_TOOL "'";

// A block header claiming `size` bytes, without a checksum, and `words`
// stream words of zeros (a zero stream ends at its first token).
std::string block(uint32_t size, int words)
{
    std::string b = "JC";
    for (int k = 0; k < 4; ++k)
        b += char(size >> (8 * k));
    return b + std::string(4 + 4 * words, '\0');
}

using PackTool = ToolRun;

TEST_F(PackTool, PathsThatHoldNoFileOrTooMuchAreRefused)
{
    EXPECT_EQ(run(TOOL + " -d . out"), 1);
    EXPECT_NE(err.find("pack: . is a folder"), std::string::npos) << err;
    EXPECT_EQ(run("ulimit -v 200000 && timeout 60 " + TOOL + " /dev/zero out"), 1);
    EXPECT_NE(err.find("/dev/zero is not a regular file"), std::string::npos) << err;
    put_sparse("big", uint64_t(4) << 30, "JC");
    EXPECT_EQ(run("ulimit -v 200000 && " + TOOL + " -d big out"), 1);
    EXPECT_NE(err.find("pack: big is too large"), std::string::npos) << err;
}

// One stream word makes at most 64 KiB: 4 GiB is refused from the header,
// within 200 MB of address space. Three words could make 2 GiB - 1, which is
// reserved but, the stream being empty, never written: the tool stays small.
TEST_F(PackTool, ClaimsAreBoundedBeforeTheOutputIsMade)
{
    put("tiny", block(0xFFFFFFFF, 1));
    EXPECT_EQ(run("ulimit -v 200000 && " + TOOL + " -d tiny out"), 1);
    EXPECT_NE(err.find("pack: tiny claims more bytes than its stream can make"), std::string::npos) << err;
    put("empty", block(0x7FFFFFFF, 3));
    EXPECT_EQ(run(TOOL + " -d empty out"), 1);
    EXPECT_NE(err.find("pack: empty is not a sound packed block"), std::string::npos) << err;
    EXPECT_LT(peak_kib, 64 * 1024);
}

}  // namespace
