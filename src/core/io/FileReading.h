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

// Opens a regular file for reading; -1 when it cannot, with error set to why. A folder, FIFO,
// device or socket is refused without a byte read from it.
int OpenForReading(const std::string& path, std::string* error = nullptr);

// Appends what is left of the open file to bytes, until it ends or bytes holds maxSize bytes.
// False on a read error, with error set to why.
bool ReadRest(int fd, const std::string& path, std::string& bytes, std::size_t maxSize,
              std::string* error = nullptr);

// Reads a whole regular file of at most maxBytes bytes (0: the memory of the computer). With
// streams, a FIFO or pipe is read once as it comes, up to maxBytes (devices are refused).
// Fails with a message in error for a missing, unreadable, odd or too large file.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes,
                                 std::string* error = nullptr, std::uint64_t maxBytes = 0,
                                 bool streams = false);
