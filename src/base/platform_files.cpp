// Whole-file reads and writes of the start-up cache files, treating every file
// as untrusted: a read opens only a regular file (never a symbolic link, FIFO
// or device, so nothing can hang the library under its lock or feed it
// endless data), refuses one that another user owns or may write (POSIX), and
// stops at a size limit; a write replaces the file by a new one that only its
// owner may read or write.
#include "platform.h"

#if defined(_WIN32)
#include <windows.h>

bool tq_ReadOwnFile(const std::string &path, size_t maxBytes, std::string &content) {
    if (path.find('\0') != std::string::npos) return false;
    const DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return false;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileType(f) == FILE_TYPE_DISK && GetFileSizeEx(f, &size) && size.QuadPart >= 0 &&
              static_cast<unsigned long long>(size.QuadPart) <= maxBytes;
    if (ok) {
        content.assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        ok = content.empty() ||
             (ReadFile(f, content.data(), static_cast<DWORD>(content.size()), &got, nullptr) && got == content.size());
    }
    CloseHandle(f);
    return ok;
}

bool tq_WriteOwnFile(const std::string &path, const std::string &content) {
    if (path.find('\0') != std::string::npos) return false;
    DeleteFileA(path.c_str());
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    bool ok = WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &put, nullptr) && put == content.size();
    if (!CloseHandle(f)) ok = false;
    return ok;
}

#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool tq_ReadOwnFile(const std::string &path, size_t maxBytes, std::string &content) {
    if (path.find('\0') != std::string::npos) return false;
    // O_NONBLOCK: opening a FIFO without a writer must not wait; the type
    // check below refuses it anyway.
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
              (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 && st.st_size >= 0 &&
              static_cast<unsigned long long>(st.st_size) <= maxBytes;
    if (ok) {
        // The size is read once; a file that grows meanwhile is read only up
        // to it plus one byte, which makes the read fail.
        content.assign(static_cast<size_t>(st.st_size) + 1, '\0');
        size_t have = 0;
        while (have < content.size()) {
            const ssize_t got = read(fd, content.data() + have, content.size() - have);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            have += static_cast<size_t>(got);
        }
        ok = have == static_cast<size_t>(st.st_size);
        content.resize(have);
    }
    close(fd);
    return ok;
}

bool tq_WriteOwnFile(const std::string &path, const std::string &content) {
    if (path.find('\0') != std::string::npos) return false;
    unlink(path.c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    size_t put = 0;
    while (put < content.size()) {
        const ssize_t n = write(fd, content.data() + put, content.size() - put);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        put += static_cast<size_t>(n);
    }
    bool ok = put == content.size();
    if (close(fd) != 0) ok = false;
    return ok;
}
#endif
