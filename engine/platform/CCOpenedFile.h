// A game file opened once for reading. Its checks (a regular file, within its kind's cap) were
// made on this descriptor and every read goes through it, so a file put in its place by name in
// the meantime (another file, a link, a pipe) is never what is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {

class CCOpenedFile {
public:
    CCOpenedFile() = default;
    CCOpenedFile(int descriptor, std::uint64_t size) : m_descriptor(descriptor), m_size(size) {}
    // A file that was not opened, with the errno value that says why: ENOENT missing, EFBIG above
    // its cap, EISDIR a folder, EINVAL another file that is not a regular one, or the open's own.
    // A refused file also has the refusal's words (what follows its name in the refusal line).
    static CCOpenedFile notOpened(int error, const std::string& refusal = std::string());
    ~CCOpenedFile();

    CCOpenedFile(CCOpenedFile&& other) noexcept;
    CCOpenedFile& operator=(CCOpenedFile&& other) noexcept;
    CCOpenedFile(const CCOpenedFile&) = delete;
    CCOpenedFile& operator=(const CCOpenedFile&) = delete;

    explicit operator bool() const { return m_descriptor >= 0; }
    int descriptor() const { return m_descriptor; }
    // The size checked against the cap.
    std::uint64_t size() const { return m_size; }
    int error() const { return m_error; }
    // Why the file was refused, as "is not a regular file but a pipe"; empty when it was not.
    const std::string& refusal() const { return m_refusal; }
    // Hands the descriptor over to the caller, who closes it.
    int release();

    // Reads from the start into `target` until `capacity` bytes or the end of the file; *length
    // gets the count. False when a read fails (the count is then 0).
    bool read(unsigned char* target, std::size_t capacity, std::size_t* length) const;
    // The whole file as checked: a file that grew since is not read past its checked size. Throws
    // std::bad_alloc when memory cannot hold it.
    bool readAll(std::vector<unsigned char>& out) const;

private:
    void close();

    int m_descriptor = -1;
    std::uint64_t m_size = 0;
    int m_error = 0;
    std::string m_refusal;
};

// Reads from `offset` of an open file into `target` until `capacity` bytes or the end of the file;
// *length gets the count. False when a read fails (the count is then 0).
bool ccReadAt(int descriptor, std::uint64_t offset, unsigned char* target, std::size_t capacity,
              std::size_t* length);

} // namespace cocos2d
