#pragma once
#include <string>

namespace sulcan {

// printf-style formatting into a std::string, for the message texts with %s and %d.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace sulcan
