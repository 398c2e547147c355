// Store variables as a host sees them: a handle of a kind holding the
// library's reading of a text, freed with the object, and the text of a
// handle (scientific layout unless told otherwise).
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tq_gmp.h"

struct TqVar {
    int32_t h;
    explicit TqVar(int32_t kind, const char *text = "0") : h(TQ_ALLOCVAR(kind)) {
        EXPECT_EQ(TQ_PUTSTRING_PAZ(text, h), 0) << text;
    }
    ~TqVar() { TQ_UNALLOCVAR(h); }
    TqVar(const TqVar &) = delete;
    TqVar &operator=(const TqVar &) = delete;
    const TqNum &num() const { return tqg_Get(h); }
};

inline std::string tq_Text(int32_t h, int32_t format = 2, int32_t digits = 0) {
    tq_dstr s = nullptr;
    if (TQ_GET_STRING(h, format, digits, &s) != 0) return "<refused>";
    std::string t(s, static_cast<size_t>(TQ_DS_LEN(s)));
    TQ_DS_FREE(s);
    return t;
}

// The words of a space-separated list.
inline std::vector<std::string> tq_Words(const char *list) {
    std::vector<std::string> v;
    std::string w;
    for (const char *c = list;; ++c) {
        if (*c && *c != ' ') {
            w += *c;
            continue;
        }
        if (!w.empty()) v.push_back(w);
        w.clear();
        if (!*c) return v;
    }
}
