#include "platform/paths.h"

#include <unistd.h>

#include <vector>

namespace sulcan {

bool IsAbsolutePath(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string ToPosixSeparators(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string NormalisePath(const std::string& path) {
    const bool absolute = IsAbsolutePath(path);
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);  // above the start of a relative path
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out = absolute ? "/" : "";
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k) out += '/';
        out += parts[k];
    }
    if (out.empty()) out = ".";
    return out;
}

std::string CurrentDirectory() {
    std::vector<char> buf(4096);
    if (!getcwd(buf.data(), buf.size())) return "/";
    return buf.data();
}

std::string MakeAbsolutePath(const std::string& path, const std::string& base) {
    if (path.empty()) return path;
    if (IsAbsolutePath(path)) return NormalisePath(path);
    std::string folder = base.empty() ? CurrentDirectory() : base;
    if (!IsAbsolutePath(folder)) folder = WithTrailingSlash(CurrentDirectory()) + folder;
    return NormalisePath(WithTrailingSlash(folder) + path);
}

std::string FolderOf(const std::string& path) {
    size_t k = path.rfind('/');
    return k == std::string::npos ? std::string() : path.substr(0, k + 1);
}

std::string FileNameOf(const std::string& path) {
    size_t k = path.rfind('/');
    return k == std::string::npos ? path : path.substr(k + 1);
}

std::string StemOf(const std::string& path) {
    std::string name = FileNameOf(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string WithTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace sulcan
