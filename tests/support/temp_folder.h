// A fresh folder under /tmp, removed with its contents when the test ends.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <ftw.h>
#include <unistd.h>

class TempFolder {
public:
    TempFolder() {
        std::string pattern = "/tmp/kxtest.XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data()))
            m_path = buffer.data();
    }
    ~TempFolder() {
        if (!m_path.empty())
            ::nftw(m_path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    void write(const std::string& name, const std::string& contents) const {
        std::ofstream out(file(name), std::ios::binary);
        out << contents;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    static int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }

    std::string m_path;
};
