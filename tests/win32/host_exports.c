// The export table of tarq.dll: exactly the names of the export table, all
// undecorated, each (32-bit) removing its documented number of argument bytes.
#include <stdio.h>
#include <string.h>

#include "exports.h"
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
    HostProbe p = host_Probe((void *)T.TQ_ALLOCVAR, 1, 1);
    const int32_t h = (int32_t)p.eax;
    CHECK(p.residue == 0 && h >= 0);
    p = host_Probe((void *)T.TQ_GETCONST, 2, 14, h);
    CHECK(p.residue == 0 && p.eax == 0);
    CHECK_EQ(host_Probe((void *)T.TQ_UNALLOCVAR, 1, h).residue, 0);
    p = host_Probe((void *)T.TQ_GETGLOBALERROR, 0);
    CHECK(p.residue == 0 && p.eax == 0 && host_X87Pushed(&p) == 0);
#endif
    // The empty entry point.
    CHECK_EQ(T.TQ_TEST(12345), 0);
    CHECK_EQ(T.TQ_TEST(-1), 0);
}
