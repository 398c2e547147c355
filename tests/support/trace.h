// Collects the library's trace lines while alive.
#pragma once
#include <string>
#include <vector>

#include "base/tq_state.h"

struct TraceCollector {
    static std::vector<std::string> &lines() {
        static auto *v = new std::vector<std::string>;
        return *v;
    }
    TraceCollector() {
        lines().clear();
        tq_SetTraceSink([](const std::string &l) { lines().push_back(l); });
    }
    ~TraceCollector() { tq_SetTraceSink(nullptr); }
    TraceCollector(const TraceCollector &) = delete;
    TraceCollector &operator=(const TraceCollector &) = delete;
    // A line holding text (anywhere, or at its start).
    static bool has(const std::string &text, bool atStart = false) {
        for (const auto &l : lines())
            if (atStart ? l.rfind(text, 0) == 0 : l.find(text) != std::string::npos) return true;
        return false;
    }
};
