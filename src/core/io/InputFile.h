// Opening the files a command reads. Only regular files are read: a FIFO, a device, a socket
// or a folder is refused before a single byte is read from it, so that an odd name never
// blocks, never reads without end and never feeds a second pass different bytes than the
// first. Sizes are checked against what the computer can hold before anything is allocated.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// Opens path read-only. A regular file gives its descriptor. Anything else gives -1: a file
// that cannot be opened (errno says why), or one that is not a regular file, in which case
// kind is set to what it is ("a FIFO", "a folder", ...). The open itself never waits for a
// FIFO's writer. With streams, a FIFO or pipe is let through as well.
int OpenInputFile(const std::string& path, std::string& kind, bool streams = false);

// "\"path\" is <kind>, not a regular file", for messages.
std::string NotARegularFile(const std::string& path, const std::string& kind);

// The bytes of memory this computer has; larger tables are refused before allocating.
std::uint64_t MemoryLimit();

// True when both paths name one existing file (same device and inode), through symbolic and
// hard links alike.
bool SameFile(const std::string& a, const std::string& b);

// The position in inputs of the first that is the same file as output; -1 when none is.
// Empty names are skipped.
int SameFileIndex(const std::string& output, std::initializer_list<std::string> inputs);
