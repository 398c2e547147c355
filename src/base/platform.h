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
// Creates a directory that only its owner may enter (POSIX mode 0700).
bool tq_MakeDir(const std::string &path);
// Whole cache files (platform_files.cpp). A read succeeds only for a regular
// file, not reached through a symbolic link, of at most maxBytes, and on POSIX
// owned by this user and writable by nobody else. A write replaces the file
// by a new one readable and writable by its owner only.
bool tq_ReadOwnFile(const std::string &path, size_t maxBytes, std::string &content);
bool tq_WriteOwnFile(const std::string &path, const std::string &content);
// Directory separator of the platform.
char tq_DirSep();

// Timers for the benchmarks, in ticks of their own unit: the processor's
// time-stamp counter where the build can read it (else the monotonic clock in
// nanoseconds), and the high-resolution monotonic clock in nanoseconds.
uint64_t tq_TimeStampCounter();
uint64_t tq_PerfCounter();
// Gives the rest of the time slice to other threads (a sleep of 0 ms).
void tq_Yield();

// Worker threads. tq_ThreadStart runs fn(arg) on a new thread with the given
// stack size and returns its handle, or nullptr when no thread could be
// created. tq_ThreadJoinAll waits for all n threads together, without a time
// limit, then releases their handles; false when the wait failed.
typedef void (*tq_ThreadFn)(void *arg);
void *tq_ThreadStart(tq_ThreadFn fn, void *arg, uint32_t stackBytes);
bool tq_ThreadJoinAll(void **handles, int32_t n);

// A question to the user with a default answer, in place of a modal input
// box: on a terminal the prompt is shown and a line read (an empty line takes
// the default); without a terminal on standard input the environment
// variable envName answers, or the default when it is not set.
std::string tq_AskText(const std::string &prompt, const std::string &defaultText, const char *envName);
