// SHA256_BUFFER and SHA256_FILE: digests of a memory range or of a file as 32
// raw bytes. They take no lock and do not initialise the library; all state is
// local to the call. Files are read in 32000-byte chunks with a 64-bit length,
// so files of any size are hashed correctly. Only regular files are hashed: a
// FIFO, device or directory is refused with an error number at once (a FIFO
// or /dev/zero would otherwise block or never end), and so is a name holding
// a NUL byte, which the platform would silently cut short.
#include <cstring>
#include <string>

#include "frame/dstr.h"
#include "base/sha256.h"
#include "tarq.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr int32_t kFileNotFound = 53;
constexpr size_t kChunk = 32000;
#if defined(_WIN32)
constexpr int32_t kNotRegular = ERROR_BAD_FILE_TYPE;
constexpr int32_t kBadName = ERROR_INVALID_NAME;
#else
constexpr int32_t kNotRegular = ENODEV;
constexpr int32_t kBadName = EINVAL;
#endif

// A platform error number, or -1 when the platform gives none.
int32_t errorNumber(long code) { return code ? static_cast<int32_t>(code) : -1; }

#if defined(_WIN32)
bool fileMissing(const std::string &name) {
    const DWORD attr = GetFileAttributesA(name.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_INVALID_NAME;
}

int32_t hashFile(const std::string &name, uint8_t digest[32]) {
    HANDLE f = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (f == INVALID_HANDLE_VALUE) return errorNumber(static_cast<long>(GetLastError()));
    if (GetFileType(f) != FILE_TYPE_DISK) {
        CloseHandle(f);
        return kNotRegular;
    }
    TqSha256 c;
    tq_Sha256_Init(c);
    std::string buf(kChunk, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(f, buf.data(), static_cast<DWORD>(kChunk), &got, nullptr)) {
            const int32_t e = errorNumber(static_cast<long>(GetLastError()));
            CloseHandle(f);
            return e;
        }
        if (got == 0) break;
        tq_Sha256_Update(c, buf.data(), got);
    }
    if (!CloseHandle(f)) return errorNumber(static_cast<long>(GetLastError()));
    tq_Sha256_Final(c, digest);
    return 0;
}
#else
bool fileMissing(const std::string &name) {
    struct stat st;
    if (stat(name.c_str(), &st) == 0) return false;
    return errno == ENOENT || errno == ENOTDIR;
}

int32_t hashFile(const std::string &name, uint8_t digest[32]) {
    const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errorNumber(errno);
    struct stat st;
    if (fstat(fd, &st) != 0) {
        const int32_t e = errorNumber(errno);
        close(fd);
        return e;
    }
    if (!S_ISREG(st.st_mode)) {
        const int32_t e = S_ISDIR(st.st_mode) ? EISDIR : kNotRegular;
        close(fd);
        return e;
    }
    TqSha256 c;
    tq_Sha256_Init(c);
    std::string buf(kChunk, '\0');
    for (;;) {
        const ssize_t got = read(fd, buf.data(), kChunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int32_t e = errorNumber(errno);
            close(fd);
            return e;
        }
        if (got == 0) break;
        tq_Sha256_Update(c, buf.data(), static_cast<size_t>(got));
    }
    if (close(fd) != 0) return errorNumber(errno);
    tq_Sha256_Final(c, digest);
    return 0;
}
#endif

}  // namespace

extern "C" {

// A negative length or a missing pointer is refused with 1 instead of reading
// or writing through it.
int32_t TQ_CALL SHA256_BUFFER(const void *data, int32_t len, void *digest32) {
    if (len < 0 || !digest32 || (len > 0 && !data)) return 1;
    TqSha256 c;
    tq_Sha256_Init(c);
    if (len) tq_Sha256_Update(c, data, static_cast<size_t>(len));
    uint8_t d[32];
    tq_Sha256_Final(c, d);
    std::memcpy(digest32, d, 32);
    return 0;
}

int32_t TQ_CALL SHA256_FILE(tq_dstr *fileName, tq_dstr *digest) {
    try {
        const std::string name = fileName ? tq_DS_Read(*fileName) : std::string();
        if (name.find('\0') != std::string::npos) return kBadName;
        if (name.empty() || fileMissing(name)) return kFileNotFound;
        uint8_t d[32];
        const int32_t rc = hashFile(name, d);
        if (rc) return rc;
        tq_DS_Assign(digest, std::string(reinterpret_cast<const char *>(d), 32));
        return 0;
    } catch (...) {
        return -1;
    }
}

}  // extern "C"
