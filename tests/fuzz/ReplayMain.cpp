// Plain driver for the fuzz entry point, for CI without libFuzzer: every corpus file as it is, then
// deterministic mutations of each (bit flips, bytes set to 0x00 / 0xFF / 0x80, truncations, a header field
// overwritten), so a regression in the reader's checks shows in the normal test run.
//   paradox_fuzz_replay CORPUS_DIR [MUTATIONS_PER_FILE]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "FuzzParadox.h"

namespace {

std::vector<std::uint8_t> load(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// xorshift: the same variants on every run.
struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    std::size_t below(std::size_t n) { return n ? static_cast<std::size_t>(next() % n) : 0; }
};

void run(const std::vector<std::uint8_t>& v) { fuzzParadoxOne(v.data(), v.size()); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: paradox_fuzz_replay CORPUS_DIR [MUTATIONS_PER_FILE]\n";
        return 2;
    }
    const int mutations = argc > 2 ? std::atoi(argv[2]) : 300;
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(argv[1]))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::cerr << "no corpus files in " << argv[1] << "\n";
        return 1;
    }
    std::size_t runs = 0;
    Rng rng{0x9E3779B97F4A7C15ULL};
    for (const auto& f : files) {
        const std::vector<std::uint8_t> seed = load(f);
        run(seed);
        ++runs;
        for (int m = 0; m < mutations && !seed.empty(); ++m) {
            std::vector<std::uint8_t> v = seed;
            // Most damage that matters sits in the first few KB: header, first blocks, memo block headers.
            auto pos = [&]() { return rng.next() % 2 ? rng.below(std::min<std::size_t>(v.size(), 8192)) : rng.below(v.size()); };
            switch (m % 6) {
                case 0: v[pos()] ^= static_cast<std::uint8_t>(1u << rng.below(8)); break;
                case 1: v[pos()] = 0xFF; break;
                case 2: v[pos()] = 0x00; break;
                case 3: v[pos()] = 0x80; break;
                case 4: v.resize(rng.below(v.size())); break;
                case 5: {
                    std::size_t at = pos();
                    for (std::size_t k = 0; k < 4 && at + k < v.size(); ++k) v[at + k] = static_cast<std::uint8_t>(rng.next());
                    break;
                }
            }
            run(v);
            ++runs;
        }
    }
    std::cout << "replayed " << files.size() << " corpus files, " << runs << " inputs, no crash\n";
    return 0;
}
