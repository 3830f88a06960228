#pragma once
// The program's own threads carry names, as top -H, debuggers and /proc/<pid>/task/<tid>/comm show
// them (the benchmarks find the LFO's threads by theirs).

// Names the calling thread: at most 15 characters; a no-op where the system offers no names.
void NameThisThread(const char* name);
