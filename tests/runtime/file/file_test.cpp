// Sequential files on real files in a temporary folder: the buffer's flush
// rule, length with pending bytes, seeking, reopening, the end step and
// files that cannot be opened.
#include <gtest/gtest.h>

#include <string>

#include "runtime/core/heap.h"
#include "runtime/file/file.h"
#include "tests/support/runtime_start.h"
#include "tests/support/temp_folder.h"

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_runtime_start("files");
    }
    void TearDown() override { file_service_end(); }
    std::string path(const char* name) { return temp.path(name); }
    static std::string on_disk(const std::string& name) { return TempFolder::read(name); }
    static void put(const std::string& name, const std::string& bytes)
    {
        HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    TempFolder temp{"zorvant_file"};
};

TEST_F(FileTest, MissingFileIsCreatedEmptyAndTheTableNumberGivesThePlatformHandle)
{
    std::string name = path("new.bin");
    intptr_t handle = file_open(3, name.c_str());
    EXPECT_NE(handle, 0);
    EXPECT_NE(handle, reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE));
    EXPECT_EQ(file_length(3), 0);
    EXPECT_EQ(on_disk(name), "");
}

TEST_F(FileTest, ExistingFileKeepsItsBytesAndIsWrittenFromItsStart)
{
    std::string name = path("old.bin");
    put(name, "0123456789");
    ASSERT_NE(file_open(0, name.c_str()), 0);
    EXPECT_EQ(file_length(0), 10);
    EXPECT_EQ(file_write_line(0, "ab"), 4);
    // The pending bytes overwrite from offset 0; the length stays 10.
    EXPECT_EQ(file_length(0), 10);
    file_close(0);
    EXPECT_EQ(on_disk(name), std::string("ab\r\n456789"));
}

// Empty and null lines write only the line end; a byte keeps its low eight
// bits.
TEST_F(FileTest, LinesAndBytesArePendingUntilCloseAndCountedInTheLength)
{
    std::string name = path("line.bin");
    ASSERT_NE(file_open(0, name.c_str()), 0);
    EXPECT_EQ(file_write_line(0, "abc"), 5);
    EXPECT_EQ(file_length(0), 5);
    EXPECT_EQ(file_write_line(0, ""), 2);
    EXPECT_EQ(file_write_line(0, nullptr), 2);
    EXPECT_EQ(file_write_byte(0, 300), 1);
    EXPECT_EQ(file_write_byte(0, -1), 1);
    EXPECT_EQ(file_length(0), 11);
    EXPECT_EQ(on_disk(name), "");
    file_close(0);
    EXPECT_EQ(on_disk(name), std::string("abc\r\n\r\n\r\n\x2C\xFF", 11));
}

TEST_F(FileTest, WriteThatExactlyFillsTheBufferFlushesFirst)
{
    std::string name = path("fill.bin");
    ASSERT_NE(file_open(0, name.c_str()), 0);
    // 4084 bytes and CR LF pending: 10 bytes of space left.
    ASSERT_EQ(file_write_line(0, std::string(4084, 'a').c_str()), 4086);
    EXPECT_EQ(on_disk(name).size(), 0u);
    // Ten bytes would fill it: the 4086 go to the disk, the ten are pending.
    EXPECT_EQ(file_write_line(0, "0123456789"), 12);
    EXPECT_EQ(on_disk(name).size(), 4086u);
    EXPECT_EQ(file_length(0), 4098);
    file_close(0);
    EXPECT_EQ(on_disk(name), std::string(4084, 'a') + "\r\n0123456789\r\n");
}

TEST_F(FileTest, WriteThatLeavesOneByteOfSpaceStaysInTheBuffer)
{
    std::string name = path("almost.bin");
    ASSERT_NE(file_open(0, name.c_str()), 0);
    ASSERT_EQ(file_write_line(0, std::string(4084, 'a').c_str()), 4086);
    EXPECT_EQ(file_write_line(0, "0123457"), 9);
    EXPECT_EQ(on_disk(name).size(), 0u);
    EXPECT_EQ(file_length(0), 4095);
}

TEST_F(FileTest, LongWriteGoesStraightToTheFileAfterThePendingBytes)
{
    std::string name = path("long.bin");
    ASSERT_NE(file_open(0, name.c_str()), 0);
    ASSERT_EQ(file_write_line(0, "ab"), 4);
    std::string block(5000, 'x');
    EXPECT_EQ(file_write_line(0, block.c_str()), 5002);
    // The pending line and the block are on the disk; only CR LF waits.
    EXPECT_EQ(on_disk(name), "ab\r\n" + block);
    EXPECT_EQ(file_length(0), 5006);
    file_close(0);
    EXPECT_EQ(on_disk(name), "ab\r\n" + block + "\r\n");
}

TEST_F(FileTest, SeekWritesPendingBytesBeforeMoving)
{
    std::string name = path("seek.bin");
    ASSERT_NE(file_open(0, name.c_str()), 0);
    file_write_line(0, "abc");
    EXPECT_EQ(file_seek(0, 1), 1u);
    EXPECT_EQ(on_disk(name), "abc\r\n");
    EXPECT_EQ(file_length(0), 5);
    file_write_byte(0, 'X');
    file_close(0);
    EXPECT_EQ(on_disk(name), "aXc\r\n");
}

TEST_F(FileTest, AppendingAtTheLengthAddsAfterTheExistingBytes)
{
    std::string name = path("append.bin");
    put(name, "PNGDATA");
    ASSERT_NE(file_open(0, name.c_str()), 0);
    EXPECT_EQ(file_seek(0, file_length(0)), 7u);
    file_write_line(0, "rec");
    file_write_byte(0, 3);
    EXPECT_EQ(file_length(0), 13);
    file_close(0);
    EXPECT_EQ(on_disk(name), std::string("PNGDATArec\r\n\x03"));
}

TEST_F(FileTest, ReopeningAUsedNumberFlushesAndClosesTheFirstFile)
{
    std::string first = path("first.bin");
    std::string second = path("second.bin");
    ASSERT_NE(file_open(0, first.c_str()), 0);
    file_write_line(0, "one");
    ASSERT_NE(file_open(0, second.c_str()), 0);
    EXPECT_EQ(on_disk(first), "one\r\n");
    // Closed: it can now be opened without sharing.
    HANDLE h = CreateFileA(first.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_EQ(file_length(0), 0);
}

TEST_F(FileTest, DynamicFilesAreNamedByTheirRecord)
{
    std::string name = path("any.bin");
    intptr_t any = file_open(OBJECT_ANY, name.c_str());
    ASSERT_NE(any, 0);
    EXPECT_EQ(file_write_line(any, "dyn"), 5);
    EXPECT_EQ(file_length(any), 5);
    file_close(OBJECT_ANY);
    EXPECT_EQ(file_length(any), 5);
    file_close(any);
    EXPECT_EQ(file_length(any), -1);
    EXPECT_EQ(on_disk(name), "dyn\r\n");
}

TEST_F(FileTest, FilesLeftOpenAreFlushedAndClosedAtTheEnd)
{
    std::string fixed = path("fixed.bin");
    std::string any = path("dynamic.bin");
    ASSERT_NE(file_open(20, fixed.c_str()), 0);
    intptr_t dynamic = file_open(OBJECT_ANY, any.c_str());
    ASSERT_NE(dynamic, 0);
    file_write_line(20, "twenty");
    file_write_line(dynamic, "any");
    file_service_end();
    EXPECT_EQ(on_disk(fixed), "twenty\r\n");
    EXPECT_EQ(on_disk(any), "any\r\n");
    EXPECT_EQ(file_length(20), -1);
}

// A file whose buffer could not be allocated writes every byte through at
// once; length, seeking and closing work on the file alone.
TEST_F(FileTest, AFileWithoutABufferWritesThrough)
{
    std::string name = path("unbuffered.bin");
    intptr_t any = file_open(OBJECT_ANY, name.c_str());
    ASSERT_NE(any, 0);
    FileRecord* record = reinterpret_cast<FileRecord*>(any);
    HeapFree(heap_main(), 0, record->buffer);
    record->buffer = nullptr;
    EXPECT_EQ(file_write_line(any, "abc"), 5);
    EXPECT_EQ(on_disk(name), "abc\r\n");
    EXPECT_EQ(file_write_byte(any, 0x141), 1);
    EXPECT_EQ(file_length(any), 6);
    EXPECT_EQ(file_seek(any, 1), 1u);
    EXPECT_EQ(file_write_byte(any, 'B'), 1);
    EXPECT_EQ(on_disk(name), "aBc\r\nA");
    file_close(any);
    EXPECT_EQ(file_length(any), -1);
    EXPECT_EQ(on_disk(name), "aBc\r\nA");
}

// Linux's always-full device, through Wine's drive for the root: the
// platform refuses every write to it, as on a full disk.
const char FULL_DISK[] = "Z:\\dev\\full";

TEST_F(FileTest, BytesAFullDiskRefusesStayPendingAndCloseReportsTheLoss)
{
    ASSERT_NE(file_open(0, FULL_DISK), 0);
    EXPECT_EQ(file_write_line(0, "abc"), 5);
    // The flush fails: the file stays where it was, the bytes pending.
    EXPECT_EQ(file_seek(0, 0), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(file_length(0), 5);
    // A text that needs the room they hold is not taken; its line end is.
    EXPECT_EQ(file_write_line(0, std::string(4092, 'x').c_str()), 2);
    EXPECT_EQ(file_length(0), 7);
    EXPECT_EQ(file_close(0), 0);
    std::string name = path("whole.bin");
    ASSERT_NE(file_open(0, name.c_str()), 0);
    EXPECT_EQ(file_write_line(0, "abc"), 5);
    EXPECT_EQ(file_close(0), 1);
}

TEST_F(FileTest, FileThatCannotBeOpenedLeavesTheNumberFree)
{
    std::string name = temp.folder() + "\\no such folder\\x.bin";
    EXPECT_EQ(file_open(4, name.c_str()), 0);
    EXPECT_EQ(file_open(OBJECT_ANY, name.c_str()), 0);
    EXPECT_EQ(file_open(5, nullptr), 0);
    EXPECT_EQ(file_write_line(4, "abc"), 0);
    EXPECT_EQ(file_write_byte(4, 1), 0);
    EXPECT_EQ(file_length(4), -1);
    EXPECT_EQ(file_seek(4, 0), 0u);
    file_close(4);
    file_close(OBJECT_ANY);
    EXPECT_EQ(file_length(4), -1);
}

}  // namespace
