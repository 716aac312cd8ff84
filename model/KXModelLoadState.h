// Progress record of the step-by-step loader, owned by the model controller.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

struct KXModelLoadState {
    // Folder mode: the class being read; archive mode: the entry chosen for the next step.
    std::string currentName = "KXModelGeneralSettings";
    // The number of the next folder-mode file of the current class.
    uint32_t fileNumber = 0;
    // Classes (folder mode) or entry names (archive mode) finished in this pass.
    std::unordered_set<std::string> finished;
    // 0 attributes files, 1 connections files, 2 done.
    int32_t pass = 0;
    bool firstFile = true;
    // Percent.
    int32_t progress = 0;
    // Set when the load cannot go on (no key file, unreadable general settings, no archive);
    // the steps then end at once.
    bool failed = false;

    void reset() { *this = KXModelLoadState(); }
};
