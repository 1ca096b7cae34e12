// Replays a target's committed inputs through its entry point (no libFuzzer
// needed): the seeds in <fuzz folder>/corpus/<target> and the minimised cases
// that fuzzing runs kept in <fuzz folder>/cases/<target>. A broken property
// aborts the test program.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/fuzz/fuzz_support.h"

using FuzzCorpus = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// The files of a folder given from the source tree's root; none when it is
// missing.
inline FuzzCorpus fuzz_corpus(const std::string& folder)
{
    FuzzCorpus out;
    std::filesystem::path path = std::filesystem::path(ZORVANT_SOURCE_DIR) / folder;
    if (!std::filesystem::is_directory(path))
        return out;
    for (const auto& e : std::filesystem::directory_iterator(path)) {
        std::ifstream f(e.path(), std::ios::binary);
        out.push_back({e.path().filename().string(),
                       std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>())});
    }
    return out;
}

// Runs the target's seeds (at least `seeds`) and cases through it; the number
// of seeds that `sound` accepts.
template <class Sound>
int fuzz_replay(const std::string& fuzz_folder, const std::string& target, int (*fuzz)(const uint8_t*, size_t),
                size_t seeds, Sound sound)
{
    std::string corpus = fuzz_folder + "/corpus/" + target + "/", cases = fuzz_folder + "/cases/" + target + "/";
    FuzzCorpus files = fuzz_corpus(corpus);
    EXPECT_GE(files.size(), seeds) << target;
    size_t seed_count = files.size();
    for (auto& [name, bytes] : files)
        name = corpus + name;
    for (auto& [name, bytes] : fuzz_corpus(cases))
        files.push_back({cases + name, bytes});
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
