// Files for the tests: whole-file reads and writes, and a private temporary
// directory removed with what it holds.
#pragma once
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string tq_ReadFile(const std::string &name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

inline void tq_WriteFile(const std::string &name, const std::string &content) {
    std::ofstream f(name, std::ios::binary | std::ios::trunc);
    f.write(content.data(), static_cast<std::streamsize>(content.size()));
}

inline bool tq_Exists(const std::string &name) {
    struct stat st;
    return stat(name.c_str(), &st) == 0;
}

// A new directory under $TMPDIR (or /tmp), removed with its entries (files,
// links, empty directories).
struct TqTempDir {
    std::string path;
    explicit TqTempDir(const std::string &tag = "tarq") {
        const char *t = std::getenv("TMPDIR");
        std::string tmpl = std::string(t ? t : "/tmp") + "/" + tag + "_XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        const char *d = mkdtemp(buf.data());
        path = d ? d : "";
    }
    ~TqTempDir() {
        if (path.empty()) return;
        if (DIR *d = opendir(path.c_str())) {
            while (dirent *e = readdir(d)) {
                const std::string n = e->d_name;
                if (n == "." || n == "..") continue;
                std::remove((path + "/" + n).c_str());
            }
            closedir(d);
        }
        rmdir(path.c_str());
    }
    TqTempDir(const TqTempDir &) = delete;
    TqTempDir &operator=(const TqTempDir &) = delete;
};
