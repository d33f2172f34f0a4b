#include "db/paradox/Source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "db/paradox/Table.h"

namespace db::paradox {

namespace {

class FileSource final : public Source {
public:
    FileSource(int fd, std::uint64_t size, std::string path) : fd_(fd), size_(size), path_(std::move(path)) {}
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t size() const override { return size_; }
    const std::string& name() const override { return path_; }

    bool read(std::uint64_t offset, void* out, std::size_t n) const override {
        if (!contains(offset, n)) return false;
        auto* p = static_cast<char*>(out);
        while (n > 0) {
            ssize_t got = ::pread(fd_, p, n, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;  // the file shrank under us, or an I/O error
            p += got;
            n -= static_cast<std::size_t>(got);
            offset += static_cast<std::uint64_t>(got);
        }
        return true;
    }

private:
    int fd_;
    std::uint64_t size_;
    std::string path_;
};

class MemorySource final : public Source {
public:
    MemorySource(std::string bytes, std::string name) : bytes_(std::move(bytes)), name_(std::move(name)) {}
    std::uint64_t size() const override { return bytes_.size(); }
    const std::string& name() const override { return name_; }
    bool read(std::uint64_t offset, void* out, std::size_t n) const override {
        if (!contains(offset, n)) return false;
        if (n > 0) std::memcpy(out, bytes_.data() + offset, n);
        return true;
    }

private:
    std::string bytes_, name_;
};

}  // namespace

std::unique_ptr<Source> openFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        int err = errno;
        if (err == ENOENT) throw Error(path + ": file not found");
        throw Error(path + ": cannot be opened for reading (" + std::strerror(err) + ")");
    }
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw Error(path + ": not a regular file");
    }
    return std::make_unique<FileSource>(fd, static_cast<std::uint64_t>(st.st_size), path);
}

std::unique_ptr<Source> memorySource(std::string bytes, std::string name) {
    return std::make_unique<MemorySource>(std::move(bytes), std::move(name));
}

}  // namespace db::paradox
