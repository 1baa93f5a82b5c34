#include "volume/text_line.h"

namespace sulcan {

std::optional<std::string> ReadTextLine(std::FILE* file, size_t capacity) {
    if (capacity < 2) return std::nullopt;
    std::string line;
    while (line.size() < capacity - 1) {
        int c = std::fgetc(file);
        if (c == EOF) return std::nullopt;
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        line.push_back(char(c));
    }
    return line;
}

}  // namespace sulcan
