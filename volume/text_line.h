#pragma once
#include <cstdio>
#include <optional>
#include <string>

namespace sulcan {

inline constexpr size_t kHeaderLineCapacity = 200;
inline constexpr size_t kOverlayLineCapacity = 99;

// Reads one line of at most capacity-1 characters. The newline is not kept and a carriage
// return just before it is dropped. End of file before a newline gives nothing, even when
// characters were read; a line that fills the capacity is returned cut there and the rest
// stays for the next call.
std::optional<std::string> ReadTextLine(std::FILE* file, size_t capacity);

}  // namespace sulcan
