#include "app/startup_options.h"

#include <cctype>
#include <cstdlib>

namespace sulcan {

namespace {

bool IsOption(const std::string& a) { return a.size() > 1 && (a[0] == '-' || a[0] == '/'); }

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A whole decimal integer within lo..hi, or nothing.
std::optional<int> IntIn(const std::string& text, int lo, int hi) {
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || v < lo || v > hi) return std::nullopt;
    return int(v);
}

}  // namespace

StartupOptions ParseStartupOptions(const std::vector<std::string>& args) {
    StartupOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        if (!IsOption(args[i])) continue;
        const std::string name = args[i].substr(1);
        const std::string lower = Lower(name);
        if (lower == "regserver" || lower == "unregserver") {
            o.serverRegistration = true;
            continue;
        }
        if (i + 1 >= args.size() || IsOption(args[i + 1])) continue;  // no value
        const std::string& value = args[++i];
        if (name == "layers") {
            if (auto v = IntIn(value, 1, 99)) o.layers = v;
        } else if (name == "zoom") {
            if (auto v = IntIn(value, 1, 10)) o.zoom[0] = o.zoom[1] = o.zoom[2] = v;
        } else if (name == "zoomx" || name == "zoomy" || name == "zoomz") {
            if (auto v = IntIn(value, 1, 10)) o.zoom[name.back() - 'x'] = v;
        } else if (name == "mri") {
            o.mri = value;
        } else if (name == "class") {
            o.classification = value;
        } else {
            --i;  // an unknown option takes no value of ours
        }
    }
    return o;
}

}  // namespace sulcan
