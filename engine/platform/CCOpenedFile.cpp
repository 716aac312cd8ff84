#include "platform/CCOpenedFile.h"

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace cocos2d {

CCOpenedFile CCOpenedFile::notOpened(int error, const std::string& refusal) {
    CCOpenedFile file;
    file.m_error = error;
    file.m_refusal = refusal;
    return file;
}

CCOpenedFile::~CCOpenedFile() {
    close();
}

CCOpenedFile::CCOpenedFile(CCOpenedFile&& other) noexcept
    : m_descriptor(other.m_descriptor), m_size(other.m_size), m_error(other.m_error),
      m_refusal(std::move(other.m_refusal)) {
    other.m_descriptor = -1;
}

CCOpenedFile& CCOpenedFile::operator=(CCOpenedFile&& other) noexcept {
    if (this != &other) {
        close();
        m_descriptor = other.m_descriptor;
        m_size = other.m_size;
        m_error = other.m_error;
        m_refusal = std::move(other.m_refusal);
        other.m_descriptor = -1;
    }
    return *this;
}

int CCOpenedFile::release() {
    const int descriptor = m_descriptor;
    m_descriptor = -1;
    return descriptor;
}

void CCOpenedFile::close() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

bool ccReadAt(int descriptor, std::uint64_t offset, unsigned char* target, std::size_t capacity,
              std::size_t* length) {
    *length = 0;
    if (descriptor < 0)
        return false;
    std::size_t filled = 0;
    while (filled < capacity) {
        const ssize_t n =
            ::pread(descriptor, target + filled, capacity - filled, static_cast<off_t>(offset + filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    *length = filled;
    return true;
}

bool CCOpenedFile::read(unsigned char* target, std::size_t capacity, std::size_t* length) const {
    return ccReadAt(m_descriptor, 0, target, capacity, length);
}

bool CCOpenedFile::readAll(std::vector<unsigned char>& out) const {
    out.clear();
    out.resize(static_cast<std::size_t>(m_size));
    std::size_t length = 0;
    if (!read(out.data(), out.size(), &length)) {
        std::vector<unsigned char>().swap(out);
        return false;
    }
    out.resize(length);
    return true;
}

} // namespace cocos2d
