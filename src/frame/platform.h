// The few operating-system services the library needs, behind one interface
// so that the Linux and the 32-bit Windows builds share all other code.
#pragma once
#include <cstdint>
#include <string>

// Re-entrant process-wide lock.
void tq_PlatformLockInit();
void tq_PlatformLock();
void tq_PlatformUnlock();

void tq_SleepMs(int32_t ms);
// Value of an environment variable; empty when it is missing.
std::string tq_GetEnv(const char *name);
// Console of the diagnostics banner: opened on the first line.
void tq_ConsoleWriteLine(const std::string &line);
// Directories for the cache files ("" when the platform reports none).
std::string tq_TempPath();
std::string tq_CurrentDir();
bool tq_PathExists(const std::string &path);
bool tq_MakeDir(const std::string &path);
// Directory separator of the platform.
char tq_DirSep();
