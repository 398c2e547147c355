// Option 9: the directory of the start-up cache files.
#include "cache.h"
#include "options.h"
#include "base/platform.h"
#include "numbers/pow10.h"
#include "store.h"
#include "base/tq_state.h"

int32_t n_SetCacheDirectory(int32_t value) {
    std::string dir;
    if (value == -1) {
        dir = tq_TempPath();
        if (dir.empty()) n_Trace("n_SetCacheDirectory: No temporary path found");
    } else if (value == -2) {
        dir = tq_CurrentDir();
    } else {
        if (!n_Store_Valid(value) || gTq_Store[value].V.NumType != TarqText) {
            gTq_Opt_DiskCache = 0;
            return tq_RaiseErr(tq_Err_Type);
        }
        dir = gTq_Store[value].MantN;
        // A NUL would silently cut the name the platform sees; such a text is
        // refused and nothing changes.
        if (dir.find('\0') != std::string::npos) return tq_RaiseErr(tq_Err_Invalid);
    }
    // Either separator ends a directory; the platform's own is appended.
    if (dir.empty() || (dir.back() != '\\' && dir.back() != '/')) dir += tq_DirSep();
    n_Trace("sTemp:" + dir);
    n_Trace(std::string("ISFILE(sTemp):") + (tq_PathExists(dir) ? "1" : "0"));
    if (!tq_PathExists(dir)) tq_MakeDir(dir);
    gTq_Cache_FileN_Constants = dir + "~$TARQ_A.txt";
    gTq_Cache_FileN_Tables = dir + "~$TARQ_B.txt";
    gTq_Opt_DiskCache = 1;
    n_Trace("gTq_Cache_FileN_Constants: " + gTq_Cache_FileN_Constants);
    n_Trace("gTq_Cache_FileN_Tables   : " + gTq_Cache_FileN_Tables);
    const int32_t tableFailed = n_Cache_Read(2);
    const int32_t failed = n_Cache_Read(1) | tableFailed;
    if (failed) n_Trace("tq_SetOption: disk cache file data could not be retrieved !");
    // A table read after the initialisation may be coarser or finer than the
    // precision in force; bring it back to gTq_Opt_Pow10_Precision. A finer
    // file (left by a run at a high table precision) is rewritten at that
    // size, so that later starts do not read and hash it whole: its entries
    // beyond the table are built on demand anyway.
    if (gTq_Initialised && gTq_Opt_Pow10_Precision > 0) {
        const bool finer = tableFailed == 0 && n_Pow10_TablePrecision() > gTq_Opt_Pow10_Precision;
        n_Init_PowersOf10Table();
        if (finer) (void)n_Cache_Save(2, 0);  // a file left as it was only costs time
    }
    return 0;
}
