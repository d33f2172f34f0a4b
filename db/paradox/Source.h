// Where the reader's bytes come from: a file opened read-only, or memory (the fuzz target and tests).
// Reads are positioned and bounded, so a damaged offset can never reach past what is there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace db::paradox {

class Source {
public:
    virtual ~Source() = default;
    virtual std::uint64_t size() const = 0;
    // Reads `n` bytes at `offset`; false (and nothing promised about `out`) when they are not all there.
    virtual bool read(std::uint64_t offset, void* out, std::size_t n) const = 0;
    // The name errors give: the file's path, or what the bytes stand for.
    virtual const std::string& name() const = 0;

    bool contains(std::uint64_t offset, std::uint64_t n) const { return offset <= size() && n <= size() - offset; }
};

// Opens `path` for reading only; throws Error naming the file when it cannot.
std::unique_ptr<Source> openFile(const std::string& path);

// Bytes held by the caller's string, copied.
std::unique_ptr<Source> memorySource(std::string bytes, std::string name);

}  // namespace db::paradox
