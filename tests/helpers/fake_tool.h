// The fake fusion program's few OS services.
#pragma once
#include <string>
#include <vector>

namespace fake_tool {
// The program's arguments after its own name, as UTF-8 (POSIX: the bytes as given).
std::vector<std::string> Arguments(int argc, char** argv);
// Standard output and error as raw bytes, no line-end translation.
void SetBinaryOutput();
// Starts a process that inherits standard output and error, waits nMilliseconds, writes
// "grandchild done\n" and ends; does not wait for it.
bool StartGrandchild(int nMilliseconds);
// From now on a polite request to end (SIGTERM) is ignored; nothing on Windows.
void IgnoreTermination();
unsigned long ProcessId();
// The full path of the file this program runs from (UTF-8); empty when unknown.
std::string OwnFile();
} // namespace fake_tool
