#pragma once
// A flat, ordered list of named values that prints as "name: value" lines or as JSON.
#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

namespace sulcan::tool {

class Report {
public:
    using Value = std::variant<long long, double, std::string>;
    void Add(const std::string& key, long long v) { items_.push_back({key, v}); }
    void Add(const std::string& key, int v) { items_.push_back({key, (long long)v}); }
    void Add(const std::string& key, double v) { items_.push_back({key, v}); }
    void Add(const std::string& key, const std::string& v) { items_.push_back({key, v}); }
    void Add(const std::string& key, const char* v) { items_.push_back({key, std::string(v)}); }
    void PrintText(std::ostream& out) const;
    void PrintJson(std::ostream& out) const;

private:
    std::vector<std::pair<std::string, Value>> items_;
};

std::string JsonQuoted(const std::string& s);

}  // namespace sulcan::tool
