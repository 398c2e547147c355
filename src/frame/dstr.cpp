// Dynamic strings. On POSIX the pointer addresses the first text byte, the
// four bytes before it hold the byte length and a zero byte follows the text.
#include "dstr.h"

#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
static tq_dstr dsNew(const char *bytes, uint32_t len) { return SysAllocStringByteLen(bytes, len); }
static void dsFree(tq_dstr s) { SysFreeString(s); }
static uint32_t dsLen(tq_dstr s) { return SysStringByteLen(s); }
#else
static tq_dstr dsNew(const char *bytes, uint32_t len) {
    char *block = static_cast<char *>(std::malloc(static_cast<size_t>(len) + 5));
    if (!block) return nullptr;
    std::memcpy(block, &len, 4);
    if (len && bytes) std::memcpy(block + 4, bytes, len);
    else if (len) std::memset(block + 4, 0, len);
    block[4 + len] = '\0';
    return block + 4;
}
static void dsFree(tq_dstr s) { std::free(s - 4); }
static uint32_t dsLen(tq_dstr s) {
    uint32_t len;
    std::memcpy(&len, s - 4, 4);
    return len;
}
#endif

tq_dstr tq_DS_Make(const std::string &s) { return dsNew(s.data(), static_cast<uint32_t>(s.size())); }

std::string tq_DS_Read(tq_dstr s) {
    if (!s) return std::string();
    return std::string(reinterpret_cast<const char *>(s), dsLen(s));
}

void tq_DS_Assign(tq_dstr *slot, const std::string &s) {
    if (!slot) return;
    if (*slot) dsFree(*slot);
    *slot = tq_DS_Make(s);
}

extern "C" {

tq_dstr TQ_CALL TQ_DS_NEW(const char *bytes, int32_t len) {
    if (len < 0) return nullptr;
    return dsNew(bytes, static_cast<uint32_t>(len));
}

void TQ_CALL TQ_DS_FREE(tq_dstr s) {
    if (s) dsFree(s);
}

int32_t TQ_CALL TQ_DS_LEN(tq_dstr s) { return s ? static_cast<int32_t>(dsLen(s)) : 0; }

}  // extern "C"
