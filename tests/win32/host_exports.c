// The export table of tarq.dll: exactly the names of the export table, all
// undecorated, each (32-bit) removing its documented number of argument bytes; and
// every export that is not available yet answers "not available" (result 1
// or a zero value, bit 1 of the error word) without harm.
#include <stdio.h>
#include <string.h>

#include "exports.h"
#include "gen_pending.h"
#include "host.h"

static const struct {
    const char *name;
    int argBytes;
} kExports[] = {
#define X(n, bytes) {#n, bytes},
    TARQ_EXPORTS
#undef X
};
enum { kExportCount = sizeof kExports / sizeof kExports[0] };

static int argBytesOf(const char *name) {
    for (int i = 0; i < kExportCount; ++i)
        if (strcmp(kExports[i].name, name) == 0) return kExports[i].argBytes;
    return -1;
}

#if !defined(_WIN64)
static int returnsFloat(const char *name) {
    return strcmp(name, "TQ_GETANY_EXT") == 0 || strcmp(name, "TQ_GETANY_DOUBLE") == 0;
}
#endif

// The names in the DLL's own export directory.
static IMAGE_EXPORT_DIRECTORY *exportDirectory(HMODULE dll) {
    BYTE *base = (BYTE *)dll;
    IMAGE_DOS_HEADER *dos = (IMAGE_DOS_HEADER *)base;
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + dos->e_lfanew);
#if defined(_WIN64)
    if (nt->FileHeader.Machine != IMAGE_FILE_MACHINE_AMD64) return NULL;
#else
    if (nt->FileHeader.Machine != IMAGE_FILE_MACHINE_I386) return NULL;
#endif
    DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
    return rva ? (IMAGE_EXPORT_DIRECTORY *)(base + rva) : NULL;
}

void host_TestExportTable(void) {
    host_Group("export table");
    // The documented 83 exports and the three string helpers.
    CHECK_EQ(kExportCount, 86);
    IMAGE_EXPORT_DIRECTORY *dir = exportDirectory(gDll);
    CHECK(dir != NULL);
    if (dir) {
        CHECK_EQ(dir->NumberOfNames, kExportCount);
        const DWORD *names = (const DWORD *)((BYTE *)gDll + dir->AddressOfNames);
        int unknown = 0;
        for (DWORD i = 0; i < dir->NumberOfNames; ++i) {
            const char *n = (const char *)gDll + names[i];
            if (argBytesOf(n) < 0) {
                printf("unexpected export %s\n", n);
                ++unknown;
            }
        }
        CHECK_EQ(unknown, 0);
    }
    int found = 0, decorated = 0;
    for (int i = 0; i < kExportCount; ++i) {
        char name[96];
        if (GetProcAddress(gDll, kExports[i].name)) ++found;
        snprintf(name, sizeof name, "%s@%d", kExports[i].name, kExports[i].argBytes);
        if (GetProcAddress(gDll, name)) ++decorated;
        snprintf(name, sizeof name, "_%s@%d", kExports[i].name, kExports[i].argBytes);
        if (GetProcAddress(gDll, name)) ++decorated;
    }
    CHECK_EQ(found, kExportCount);
    CHECK_EQ(decorated, 0);
    // The argument words of the by-value text block and of the native floats.
    CHECK_EQ(argBytesOf("TQ_PUTSTRING_AZ"), 25 * 4 + 4);
    CHECK_EQ(argBytesOf("TQ_PUTEXT"), 3 * 4 + 4);
    CHECK_EQ(argBytesOf("TQ_PUTDOUBLE"), 2 * 4 + 4);

#if !defined(_WIN64)
    // Stack discipline of available exports, called with their argument
    // words counted by hand.
    HostProbe p;
    uint32_t args[4];
    memset(&p, 0, sizeof p);
    args[0] = 1;
    host_ProbeCall((void *)T.ALLOCVAR, args, 1, &p);
    CHECK_EQ(p.residue, 0);
    int32_t h = (int32_t)p.eax;
    CHECK(h >= 0);
    memset(&p, 0, sizeof p);
    args[0] = 14;
    args[1] = (uint32_t)h;
    host_ProbeCall((void *)T.GETCONST, args, 2, &p);
    CHECK_EQ(p.residue, 0);
    CHECK_EQ(p.eax, 0);
    memset(&p, 0, sizeof p);
    args[0] = (uint32_t)h;
    host_ProbeCall((void *)T.UNALLOCVAR, args, 1, &p);
    CHECK_EQ(p.residue, 0);
    memset(&p, 0, sizeof p);
    host_ProbeCall((void *)T.GETGLOBALERROR, args, 0, &p);
    CHECK_EQ(p.residue, 0);
    CHECK_EQ(p.eax, 0);
    CHECK_EQ(host_X87Pushed(&p), 0);
#endif
    // The empty entry point.
    if (!host_IsPending("TQ_TEST")) {
        CHECK_EQ(T.TEST(12345), 0);
        CHECK_EQ(T.TEST(-1), 0);
    }
}

#if !defined(_WIN64)
void host_TestPending(void) {
    host_Group("exports not available yet");
    static const struct {
        const char *name;
        int status;
    } kPending[] = {
#define X(n, status) {#n, status},
        HOST_PENDING
#undef X
        {NULL, 0}};
    host_Err();
    int count = 0;
    for (int i = 0; kPending[i].name; ++i, ++count) {
        const char *name = kPending[i].name;
        int bytes = argBytesOf(name);
        void *fn = (void *)GetProcAddress(gDll, name);
        CHECK(bytes >= 0 && fn != NULL);
        if (bytes < 0 || !fn) continue;
        uint32_t zeros[32] = {0};
        HostProbe p;
        memset(&p, 0, sizeof p);
        host_ProbeCall(fn, zeros, bytes / 4, &p);
        int32_t err = host_Err();
        int ok = p.residue == 0 && err == 1;
        if (returnsFloat(name)) ok = ok && host_X87Pushed(&p) == 1 && p.st0 == 0;
        else ok = ok && host_X87Pushed(&p) == 0 && p.eax == (uint32_t)kPending[i].status;
        if (!ok) printf("FAIL  %s: result %lu, error word %ld, stack residue %ld, x87 registers %d\n",
                        name, (unsigned long)p.eax, (long)err, (long)p.residue, host_X87Pushed(&p));
        CHECK(ok);
    }
    printf("%d exports still report \"not available\"\n", count);
}
#else
// Every export of the 64-bit DLL has landed; the probe is 32-bit code.
void host_TestPending(void) {}
#endif
