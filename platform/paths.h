#pragma once
// POSIX path helpers: "/" separates, a path is absolute when it starts with "/".
#include <string>

namespace sulcan {

bool IsAbsolutePath(const std::string& path);
// Backslashes (from files written on systems that use them) become slashes.
std::string ToPosixSeparators(std::string path);
// Removes ".", empty components and resolves ".." lexically ("/a/./b/../c" -> "/a/c").
std::string NormalisePath(const std::string& path);
// A relative path is joined to base (the current directory when base is empty) and
// normalised; an empty path stays empty.
std::string MakeAbsolutePath(const std::string& path, const std::string& base);
// The folder of a path including its trailing "/", or "" when the path has no folder.
std::string FolderOf(const std::string& path);
// The name after the last "/".
std::string FileNameOf(const std::string& path);
// The name without folder and extension ("/a/b.c.qxp" -> "b.c").
std::string StemOf(const std::string& path);
// Appends "/" unless the text is empty or already ends with one.
std::string WithTrailingSlash(std::string folder);
std::string CurrentDirectory();

}  // namespace sulcan
