// Replays a fuzz target's committed inputs through its entry point (no
// libFuzzer needed): the seeds in corpus/<target> and the minimised cases
// that fuzzing runs kept in cases/<target>, both in the fuzz folder beside the
// test (ZORVANT_FUZZ_FOLDER, given by zorvant_fuzz_targets). A broken
// property aborts the test program.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/fuzz_target.h"

// Files with their full names.
using FuzzCorpus = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// The files of a folder of the fuzz folder ("corpus/<target>"); none when it
// is missing.
inline FuzzCorpus fuzz_corpus(const std::string& folder)
{
    FuzzCorpus out;
    std::filesystem::path path = std::filesystem::path(ZORVANT_FUZZ_FOLDER) / folder;
    if (!std::filesystem::is_directory(path))
        return out;
    for (const auto& e : std::filesystem::directory_iterator(path)) {
        std::ifstream f(e.path(), std::ios::binary);
        out.push_back({e.path().string(),
                       std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>())});
    }
    return out;
}

// The target's seeds.
inline FuzzCorpus fuzz_seeds(const std::string& target)
{
    return fuzz_corpus("corpus/" + target);
}

// Runs the target's seeds (at least `seeds`) and cases through it; the number
// of seeds that `sound` accepts.
template <class Sound>
int fuzz_replay(const std::string& target, int (*fuzz)(const uint8_t*, size_t), size_t seeds, Sound sound)
{
    FuzzCorpus files = fuzz_seeds(target);
    EXPECT_GE(files.size(), seeds) << target;
    size_t seed_count = files.size();
    for (auto& file : fuzz_corpus("cases/" + target))
        files.push_back(file);
    int accepted = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        auto& [name, bytes] = files[i];
        fuzz_input_name() = name.c_str();
        EXPECT_EQ(fuzz(bytes.data(), bytes.size()), 0) << name;
        if (i < seed_count)
            accepted += sound(bytes);
    }
    fuzz_input_name() = nullptr;
    return accepted;
}
