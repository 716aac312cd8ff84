// What decoded pictures may hold together. Each picture takes its share (4 bytes a pixel)
// before it is decoded; the decoded image and then its texture hold the share, and give it back
// when they go. A picture whose share would pass the budget is refused, so a game of many small
// files that unpack to large pictures cannot take more than the budget.
#pragma once

#include <cstdint>

namespace cocos2d {

constexpr std::uint64_t kCCDefaultPictureBudget = std::uint64_t(512) << 20;

class CCPictureShare {
public:
    CCPictureShare() = default;
    ~CCPictureShare() { giveBack(); }
    CCPictureShare(CCPictureShare&& other) noexcept : m_bytes(other.m_bytes) { other.m_bytes = 0; }
    CCPictureShare& operator=(CCPictureShare&& other) noexcept;
    CCPictureShare(const CCPictureShare&) = delete;
    CCPictureShare& operator=(const CCPictureShare&) = delete;

    // Takes bytes from the budget (giving back what was held first); false, holding nothing,
    // when the pictures alive would pass it.
    bool take(std::uint64_t bytes);
    void giveBack();
    std::uint64_t bytes() const { return m_bytes; }

private:
    std::uint64_t m_bytes = 0;
};

std::uint64_t ccPictureBudget();
void ccSetPictureBudget(std::uint64_t bytes);
// The bytes the shares alive hold.
std::uint64_t ccPictureBytesHeld();

} // namespace cocos2d
