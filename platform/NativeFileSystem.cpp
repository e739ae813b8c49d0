#include "platform/NativeFileSystem.h"

#include <algorithm>
#include <filesystem>

#ifdef _WIN32
#include <fstream>
#include <system_error>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zq {

#ifdef _WIN32

namespace {

class StreamWritableFile final : public WritableFile {
public:
    explicit StreamWritableFile(std::ofstream stream) : stream_(std::move(stream)) {}
    bool Write(std::string_view bytes) override {
        stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(stream_);
    }
    bool Close() override {
        stream_.close();
        return !stream_.fail();
    }

private:
    std::ofstream stream_;
};

}  // namespace

bool NativeFileSystem::IsRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::optional<std::string> NativeFileSystem::ReadAll(const std::filesystem::path& path,
                                                     std::size_t maxBytes) {
    if (!IsRegularFile(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string content(maxBytes + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (in.bad()) return std::nullopt;
    content.resize(static_cast<std::size_t>(in.gcount()));
    if (content.size() > maxBytes) return std::nullopt;
    return content;
}

std::unique_ptr<WritableFile> NativeFileSystem::OpenForWriting(const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return nullptr;
    return std::make_unique<StreamWritableFile>(std::move(out));
}

#else

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }

    int Get() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        const int closed = ::close(fd_);
        fd_ = -1;
        return closed == 0;
    }

private:
    int fd_;
};

bool IsOpenRegularFile(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

class PosixWritableFile final : public WritableFile {
public:
    explicit PosixWritableFile(int fd) : fd_(fd) {}

    bool Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_.Get(), bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }

    bool Close() override { return fd_.Close(); }

private:
    Descriptor fd_;
};

// O_NONBLOCK keeps a FIFO swapped in at the path from blocking the open; the type test on
// the opened descriptor then turns away anything that is not a regular file.
constexpr int kOpenFlags = O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

}  // namespace

bool NativeFileSystem::IsRegularFile(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<std::string> NativeFileSystem::ReadAll(const std::filesystem::path& path,
                                                     std::size_t maxBytes) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | kOpenFlags));
    if (fd.Get() < 0 || !IsOpenRegularFile(fd.Get())) return std::nullopt;

    // Read one byte past the bound: a file that fills it is too big.
    std::string content;
    char buffer[1024];
    while (content.size() <= maxBytes) {
        const std::size_t wanted = std::min(sizeof buffer, maxBytes + 1 - content.size());
        const ssize_t got = ::read(fd.Get(), buffer, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return content;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    return std::nullopt;
}

std::unique_ptr<WritableFile> NativeFileSystem::OpenForWriting(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | kOpenFlags, 0666);
    if (fd < 0) return nullptr;
    auto file = std::make_unique<PosixWritableFile>(fd);
    if (!IsOpenRegularFile(fd)) return nullptr;  // the file's destructor closes fd
    return file;
}

#endif

bool NativeFileSystem::CreateFolders(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

}  // namespace zq
