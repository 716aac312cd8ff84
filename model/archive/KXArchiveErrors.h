// Turns libzip's errors into the exceptions the archive reader reports: the operation's prefix
// followed by a suffix that names the kind of failure.
#pragma once

#include <stdexcept>
#include <string>
#include <system_error>

typedef struct zip_error zip_error_t;

// The archive was not opened: "Unable to open the archive: " and why (the file and what is wrong
// with it). The code is the errno value that classes the failure (EINVAL: not an archive the
// reader reads).
class KXArchiveOpenError : public std::system_error {
public:
    KXArchiveOpenError(int code, const std::string& why);
    const char* what() const noexcept override { return m_message.what(); }

private:
    std::runtime_error m_message; // copied without throwing
};

// The prefixes of the reader's operations.
inline constexpr const char* kArchiveOpenFile = "Unable to open a file:";
inline constexpr const char* kArchiveLocateFile = "Unable to locate the file:";
inline constexpr const char* kArchiveLocateFirst = "Unable to locate the first file:";
inline constexpr const char* kArchiveLocateNext = "Unable to locate the next file:";
inline constexpr const char* kArchiveReadFile = "Unable to read the file:";

enum class KXArchiveFault {
    WrongPassword,    // " Error P17"
    BadArchive,       // " Bad archive": corrupt data, bad structure, failed checksum
    InvalidParameter, // " Invalid parameter"
    SystemError,      // std::system_error with the errno
    Unknown,          // " Unknown error"
};

// The kind of failure behind a libzip error code.
KXArchiveFault classifyZipError(int zipCode, int systemCode);

// Throws std::runtime_error(prefix + suffix), or std::system_error(systemCode, prefix).
[[noreturn]] void throwArchiveFault(const char* prefix, KXArchiveFault fault, int systemCode = 0);
[[noreturn]] void throwArchiveError(const char* prefix, const zip_error_t* error);
