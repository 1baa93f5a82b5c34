#include "app/tool/report.h"

#include <cmath>
#include <cstdio>
#include <ostream>

namespace sulcan::tool {

namespace {
std::string FormatReal(double v) {
    if (!std::isfinite(v)) return "null";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7g", v);  // the precision of the float32 fields
    return buf;
}
}  // namespace

std::string JsonQuoted(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += char(c);
                }
        }
    }
    return out + "\"";
}

void Report::PrintText(std::ostream& out) const {
    for (const auto& [key, value] : items_) {
        out << key << ": ";
        if (auto* i = std::get_if<long long>(&value)) out << *i;
        else if (auto* d = std::get_if<double>(&value)) out << FormatReal(*d);
        else out << std::get<std::string>(value);
        out << "\n";
    }
}

void Report::PrintJson(std::ostream& out) const {
    out << "{";
    for (size_t k = 0; k < items_.size(); ++k) {
        const auto& [key, value] = items_[k];
        out << (k ? ",\n  " : "\n  ") << JsonQuoted(key) << ": ";
        if (auto* i = std::get_if<long long>(&value)) out << *i;
        else if (auto* d = std::get_if<double>(&value)) out << FormatReal(*d);
        else out << JsonQuoted(std::get<std::string>(value));
    }
    out << "\n}\n";
}

}  // namespace sulcan::tool
