// Host tools run as a user runs them, from a shell in a scratch folder of
// their own: the exit status, what they print and the most memory any of
// them held.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

class ToolRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zorvant_tool_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { ASSERT_EQ(system(("rm -rf '" + folder + "'").c_str()), 0); }

    void put(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
    }
    // A sparse file of `size` bytes whose last bytes are `tail`.
    void put_sparse(const std::string& name, uint64_t size, const std::string& tail)
    {
        int fd = open((folder + "/" + name).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, off_t(size)), 0);
        ASSERT_EQ(pwrite(fd, tail.data(), tail.size(), off_t(size - tail.size())), ssize_t(tail.size()));
        close(fd);
    }
    // Runs the shell command in the folder: its exit status (-1 if it did not
    // exit), with its output, its errors and the largest resident size, in
    // KiB, that it or any program it ran reached.
    int run(const std::string& command)
    {
        std::string line = "cd '" + folder + "' && { " + command + "; } >out 2>err";
        pid_t shell = fork();
        if (shell == 0) {
            execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage = {};
        if (shell < 0 || wait4(shell, &status, 0, &usage) != shell)
            return -1;
        peak_kib = usage.ru_maxrss;
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
    long peak_kib = 0;
};
