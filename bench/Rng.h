// A small pseudo-random generator whose sequence is fixed by its seed on every platform and library version
// (the standard distributions are not), so the same seed always builds the same old installation.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    // An independent stream for one entity: card 17 looks the same whatever else the run makes.
    static Rng forEntity(std::uint64_t seed, const std::string& kind, std::uint64_t index) {
        std::uint64_t h = 1469598103934665603ull;  // FNV-1a of the kind
        for (unsigned char c : kind) h = (h ^ c) * 1099511628211ull;
        Rng r(seed ^ h ^ (index * 0x9E3779B97F4A7C15ull));
        r.next();
        return r;
    }

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1 (n > 0); the tiny modulo bias does not matter for test data.
    std::uint64_t below(std::uint64_t n) { return next() % n; }
    // lo .. hi inclusive.
    std::int64_t between(std::int64_t lo, std::int64_t hi) {
        return lo + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(hi - lo + 1)));
    }
    bool chance(unsigned percent) { return below(100) < percent; }
    // A whole number of hundredths between lo and hi, as money is written.
    double money(double lo, double hi) {
        auto a = static_cast<std::int64_t>(lo * 100), b = static_cast<std::int64_t>(hi * 100);
        return static_cast<double>(between(a, b)) / 100.0;
    }
    template <class T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(N)];
    }

private:
    std::uint64_t state_;
};

}  // namespace bench
