#pragma once

// A layer under the table engine for tests: it counts the writes the
// engine makes to its files (writes, truncations, syncs, deletions, growth
// of the shared index) and, from a chosen one on, fails them as a full disk
// does (SQLITE_FULL, or an I/O error whose system error is ENOSPC), or
// kills the process at a chosen one, before it is made. Installed as the
// default file system of the engine; with no fault chosen it only counts.
namespace FaultVfs {

void install();
// No fault, the count back at zero.
void reset();
// The write events since the last reset.
int writes();
// Event n and every one after it fail as on a full disk (n >= 1).
void failFrom(int n);
// The disk has room again.
void clearFailure();
// The process is killed (SIGKILL) at event n (n >= 1).
void killAt(int n);
// Reads VELARIX_FAULT_KILL_AT (an event number) from the environment, for
// a child process a test kills at chosen writes; installs and arms when set.
void armFromEnvironment();

} // namespace FaultVfs
