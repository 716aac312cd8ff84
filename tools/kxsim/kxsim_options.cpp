#include "tools/kxsim/kxsim_options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "tools/kxsim/kxsim_keys.h"

namespace {

// Whole text as a number, C locale, in range.
bool parseUnsigned(const std::string& text, unsigned int* value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    errno = 0;
    const unsigned long long number = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE || number > UINT_MAX) {
        return false;
    }
    *value = static_cast<unsigned int>(number);
    return true;
}

bool parseFloat(const std::string& text, float* value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const float number = std::strtof(text.c_str(), &end);
    if (errno == ERANGE || end != text.c_str() + text.size() || number != number) {
        return false;
    }
    *value = number;
    return true;
}

// "F:REST" into the frame (1 or more) and the rest.
bool splitFrame(const std::string& text, unsigned int* frame, std::string* rest) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || !parseUnsigned(text.substr(0, colon), frame) || *frame == 0) {
        return false;
    }
    *rest = text.substr(colon + 1);
    return true;
}

bool parseTouch(const std::string& text, SimTouch* touch) {
    std::string rest;
    if (!splitFrame(text, &touch->frame, &rest)) {
        return false;
    }
    const size_t colon = rest.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    const std::string phase = rest.substr(0, colon);
    if (phase == "began") {
        touch->phase = 0;
    } else if (phase == "moved") {
        touch->phase = 1;
    } else if (phase == "ended") {
        touch->phase = 2;
    } else {
        return false;
    }
    const std::string point = rest.substr(colon + 1);
    const size_t comma = point.find(',');
    return comma != std::string::npos && parseFloat(point.substr(0, comma), &touch->x) &&
           parseFloat(point.substr(comma + 1), &touch->y);
}

bool parseKey(const std::string& text, SimKey* key) {
    std::string rest;
    if (!splitFrame(text, &key->frame, &rest)) {
        return false;
    }
    const size_t colon = rest.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    const std::string direction = rest.substr(0, colon);
    if (direction != "down" && direction != "up") {
        return false;
    }
    key->down = direction == "down";
    key->name = rest.substr(colon + 1);
    OIS::KeyCode code = OIS::KC_UNASSIGNED;
    return oisKeyForName(key->name, &code);
}

} // namespace

bool parseSimOptions(const std::vector<std::string>& arguments, SimOptions* options, std::string* error) {
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool hasValue = index + 1 < arguments.size();
        const std::string value = hasValue ? arguments[index + 1] : std::string();
        const auto bad = [&](const std::string& what) {
            *error = "bad " + argument + " " + value + ": " + what;
            return false;
        };
        if (argument == "--dump-store") {
            options->dumpStore = true;
            continue;
        }
        if (argument == "--list-kinds") {
            options->listKinds = true;
            continue;
        }
        if (argument.rfind("--", 0) != 0) {
            if (!options->gameDir.empty()) {
                *error = "more than one game folder";
                return false;
            }
            options->gameDir = argument;
            continue;
        }
        if (!hasValue) {
            *error = argument + " needs a value";
            return false;
        }
        ++index;
        if (argument == "--frames") {
            if (!parseUnsigned(value, &options->frames)) {
                return bad("a number of frames");
            }
        } else if (argument == "--seed") {
            if (!parseUnsigned(value, &options->seed)) {
                return bad("a whole number");
            }
        } else if (argument == "--open") {
            options->openKey = value;
        } else if (argument == "--touch") {
            SimTouch touch;
            if (!parseTouch(value, &touch)) {
                return bad("F:began|moved|ended:X,Y");
            }
            options->touches.push_back(touch);
        } else if (argument == "--key") {
            SimKey key;
            if (!parseKey(value, &key)) {
                return bad("F:down|up:NAME with a known key name");
            }
            options->keys.push_back(key);
        } else if (argument == "--screenshot") {
            SimScreenshot shot;
            if (!splitFrame(value, &shot.frame, &shot.path) || shot.path.empty()) {
                return bad("F:FILE.png");
            }
            options->screenshots.push_back(shot);
        } else if (argument == "--trace") {
            options->traceKinds = value;
        } else {
            *error = "unknown option " + argument;
            return false;
        }
    }
    if (options->gameDir.empty() && !options->listKinds) {
        *error = "no game folder";
        return false;
    }
    return true;
}
