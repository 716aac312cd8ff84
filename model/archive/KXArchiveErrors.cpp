#include "model/archive/KXArchiveErrors.h"

#include <stdexcept>
#include <string>
#include <system_error>
#include <zip.h>

KXArchiveOpenError::KXArchiveOpenError(int code, const std::string& why)
    : std::system_error(code, std::generic_category(), why), m_message("Unable to open the archive: " + why) {
}

KXArchiveFault classifyZipError(int zipCode, int systemCode) {
    switch (zipCode) {
    case ZIP_ER_WRONGPASSWD:
    case ZIP_ER_NOPASSWD:
        return KXArchiveFault::WrongPassword;
    case ZIP_ER_NOZIP:
    case ZIP_ER_INCONS:
    case ZIP_ER_CRC:
    case ZIP_ER_ZLIB:
    case ZIP_ER_EOF:
    case ZIP_ER_MEMORY:
    case ZIP_ER_COMPRESSED_DATA:
    case ZIP_ER_COMPNOTSUPP:
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_MULTIDISK:
    case ZIP_ER_INVAL:
        // Our own arguments are checked before libzip sees them; libzip finds offsets in the
        // archive that lead outside it invalid.
        return KXArchiveFault::BadArchive;
    case ZIP_ER_SEEK:
    case ZIP_ER_READ:
    case ZIP_ER_OPEN:
    case ZIP_ER_TELL:
        // A failed read without an errno is the archive ending early.
        return systemCode != 0 ? KXArchiveFault::SystemError : KXArchiveFault::BadArchive;
    default:
        return KXArchiveFault::Unknown;
    }
}

void throwArchiveFault(const char* prefix, KXArchiveFault fault, int systemCode) {
    switch (fault) {
    case KXArchiveFault::WrongPassword:
        throw std::runtime_error(std::string(prefix) + " Error P17");
    case KXArchiveFault::BadArchive:
        throw std::runtime_error(std::string(prefix) + " Bad archive");
    case KXArchiveFault::InvalidParameter:
        throw std::runtime_error(std::string(prefix) + " Invalid parameter");
    case KXArchiveFault::SystemError:
        throw std::system_error(systemCode, std::generic_category(), prefix);
    case KXArchiveFault::Unknown:
        break;
    }
    throw std::runtime_error(std::string(prefix) + " Unknown error");
}

void throwArchiveError(const char* prefix, const zip_error_t* error) {
    int zipCode = zip_error_code_zip(error);
    int systemCode = zip_error_system_type(error) == ZIP_ET_SYS ? zip_error_code_system(error) : 0;
    throwArchiveFault(prefix, classifyZipError(zipCode, systemCode), systemCode);
}
