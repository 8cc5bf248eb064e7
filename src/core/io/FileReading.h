// Reading files: one loop that reads until the bytes asked for have arrived, again whenever a
// signal interrupts a read, for whole files and for blocks of the data files alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads up to size bytes into buffer, at offset or (offset < 0) from the file position. Stops
// early only at the end of the file or on an error; returns the bytes read. error, when given,
// gets the errno of a failed read, else 0.
std::size_t ReadFully(int fd, void* buffer, std::size_t size, std::int64_t offset = -1,
                      int* error = nullptr);

// Opens a regular file (not a folder) for reading; -1 when it cannot, with error set to why.
int OpenForReading(const std::string& path, std::string* error = nullptr);

// Appends what is left of the open file to bytes, until it ends or bytes holds maxSize bytes.
// False on a read error, with error set to why.
bool ReadRest(int fd, const std::string& path, std::string& bytes, std::size_t maxSize,
              std::string* error = nullptr);

// Reads a whole file, or its first maxSize bytes. Fails for a missing or unreadable file and
// for a folder.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes,
                                 std::string* error = nullptr,
                                 std::size_t maxSize = static_cast<std::size_t>(-1));
