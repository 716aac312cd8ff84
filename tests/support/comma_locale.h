// A process locale whose decimal separator is a comma, as some input libraries leave behind.
#pragma once

#include <clocale>
#include <cstdlib>
#include <string>

#include "support/temp_folder.h"

// Compiles de_DE into a private folder (no root needed) and makes it the process locale.
// active() is false when the system has no locale sources; the previous locale returns at the end.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        m_previous = current ? current : "C";
        std::string command =
            "localedef -i de_DE -f UTF-8 " + m_folder.file("de_DE.UTF-8") + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0 && !exists())
            return;
        ::setenv("LOCPATH", m_folder.path().c_str(), 1);
        m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~CommaDecimalLocale() {
        std::setlocale(LC_ALL, m_previous.c_str());
        ::unsetenv("LOCPATH");
    }
    bool active() const { return m_active; }

private:
    bool exists() const { return ::access(m_folder.file("de_DE.UTF-8").c_str(), F_OK) == 0; }

    TempFolder m_folder;
    std::string m_previous;
    bool m_active = false;
};
