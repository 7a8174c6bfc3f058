#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <sys/mman.h>
#include <unistd.h>

// Helpers shared by the fuzz targets.
namespace fuzz {

// Stops the run when a property of the code does not hold, so that libFuzzer keeps the input
// and the corpus replay fails.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// A file in memory that a reader can open by name: the same file for the whole run, its
// contents replaced for every input.
class MemoryFile {
public:
    MemoryFile() : fd(::memfd_create("trivora-fuzz", MFD_CLOEXEC)) {
        require(fd >= 0, "memfd_create");
        path = "/proc/self/fd/" + std::to_string(fd);
    }
    ~MemoryFile() { ::close(fd); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& fill(std::string_view bytes) const {
        require(::ftruncate(fd, 0) == 0, "ftruncate");
        std::size_t put = 0;
        while (put < bytes.size()) {
            const ssize_t w =
                ::pwrite(fd, bytes.data() + put, bytes.size() - put, static_cast<off_t>(put));
            require(w > 0, "pwrite");
            put += static_cast<std::size_t>(w);
        }
        return path;
    }

private:
    int fd;
    std::string path;
};

} // namespace fuzz
