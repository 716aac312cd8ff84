#include "platform/CCPathRules.h"

#include <vector>

namespace cocos2d {

std::string ccNormalizePath(const std::string& path) {
    const bool absolute = !path.empty() && path[0] == '/';
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string part = path.substr(start, slash - start);
        start = slash + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!absolute)
                parts.push_back(part);
            continue;
        }
        parts.push_back(part);
    }
    std::string normalized = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            normalized += '/';
        normalized += parts[i];
    }
    return normalized.empty() ? std::string(".") : normalized;
}

bool ccPathWithin(const std::string& path, const std::string& folder) {
    const std::string normalized = ccNormalizePath(path);
    const std::string root = ccNormalizePath(folder.empty() ? std::string(".") : folder);
    const bool absolute = normalized[0] == '/';
    if (absolute != (root[0] == '/'))
        return false;
    if (!absolute && root == ".")
        return normalized != ".." && normalized.compare(0, 3, "../") != 0;
    if (normalized == root || root == "/")
        return true;
    return normalized.size() > root.size() && normalized.compare(0, root.size(), root) == 0 &&
           normalized[root.size()] == '/';
}

std::string ccDirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace cocos2d
