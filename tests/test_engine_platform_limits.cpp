// Bounded reads of game files: size caps per kind checked before reading, pictures refused by
// format and declared size, and the names a game file gives kept inside the game folder.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "platform/CCFileLimits.h"
#include "platform/CCPathRules.h"
#include "support/png_bytes.h"
#include "support/temp_folder.h"
#include "textures/CCImageCodec.h"

USING_NS_CC;

namespace {

class GameFileLimits : public ::testing::Test {
protected:
    void TearDown() override { CCFileUtils::purgeFileUtils(); }

    // A file of `size` bytes that takes no disk (a hole).
    std::string sparse(const std::string& name, off_t size) {
        folder.write(name, "");
        EXPECT_EQ(::truncate(folder.file(name).c_str(), size), 0);
        return folder.file(name);
    }

    TempFolder folder;
};

// Reads through every entry point with stderr captured; answers the log.
std::string readAllWays(const std::string& path, bool* anyRead) {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    ::testing::internal::CaptureStderr();
    unsigned long size = 0;
    unsigned char* data = files->getFileData(path.c_str(), "rb", &size);
    std::vector<unsigned char> bytes;
    const bool vectorRead = files->readFile(path, bytes);
    *anyRead = data != nullptr || size != 0 || vectorRead || !bytes.empty();
    delete[] data;
    return ::testing::internal::GetCapturedStderr();
}

size_t linesOf(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(FileKinds, NamesDecideTheKindAndEachKindHasItsCap) {
    EXPECT_EQ(ccFileKindForPath("data/images/KXModelSprite_ID3.png"), CCFileKind::Picture);
    EXPECT_EQ(ccFileKindForPath("data/atlases/atlas_ID3.PNG"), CCFileKind::Picture);
    EXPECT_EQ(ccFileKindForPath("data/x.qoi"), CCFileKind::Picture);
    EXPECT_EQ(ccFileKindForPath("Default.png"), CCFileKind::LoadingPicture);
    EXPECT_EQ(ccFileKindForPath("/games/a/Default.png"), CCFileKind::LoadingPicture);
    EXPECT_EQ(ccFileKindForPath("icon.ico"), CCFileKind::Icon);
    EXPECT_EQ(ccFileKindForPath("data/sounds/KXModelSound_ID1.mp3"), CCFileKind::Sound);
    EXPECT_EQ(ccFileKindForPath("data/fonts/KXModelFont_ID1.fnt"), CCFileKind::Font);
    EXPECT_EQ(ccFileKindForPath("data/atlases/atlas_ID1.plist"), CCFileKind::Plist);
    EXPECT_EQ(ccFileKindForPath("data/shaders/WaterReflection.fsh"), CCFileKind::Shader);
    EXPECT_EQ(ccFileKindForPath("data/Keys.pack"), CCFileKind::Other);
    EXPECT_EQ(ccFileKindForPath("data.d/noextension"), CCFileKind::Other);
    // No cap lets a file through that memory could not hold on a small machine.
    for (CCFileKind kind :
         {CCFileKind::Picture, CCFileKind::LoadingPicture, CCFileKind::Icon, CCFileKind::Sound,
          CCFileKind::Font, CCFileKind::Plist, CCFileKind::Shader, CCFileKind::Other}) {
        EXPECT_GT(ccFileSizeCap(kind), 0u) << ccFileKindName(kind);
        EXPECT_LE(ccFileSizeCap(kind), 256u << 20) << ccFileKindName(kind);
    }
}

TEST(FileKinds, PictureBudgetCapsSidesAndArea) {
    EXPECT_TRUE(ccPictureSizeAllowed(1, 1));
    EXPECT_TRUE(ccPictureSizeAllowed(8192, 8192));
    EXPECT_TRUE(ccPictureSizeAllowed(16384, 4096));
    EXPECT_FALSE(ccPictureSizeAllowed(16384, 4097)); // area
    EXPECT_FALSE(ccPictureSizeAllowed(16385, 1));    // side
    EXPECT_FALSE(ccPictureSizeAllowed(16000, 16000));
    EXPECT_FALSE(ccPictureSizeAllowed(0, 10));
    EXPECT_FALSE(ccPictureSizeAllowed(0xffffffffu, 0xffffffffu)); // no overflow into a small area
}

TEST_F(GameFileLimits, FilesAboveTheirCapAreRefusedUnreadWithOneLine) {
    // Holes: nothing is written, and a read of them would need the whole size in memory.
    for (const std::string& name :
         {std::string("huge.png"), std::string("Default.png"), std::string("a.fnt"), std::string("a.plist"),
          std::string("a.fsh"), std::string("a.mp3"), std::string("icon.ico"), std::string("a.pack")}) {
        const CCFileKind kind = ccFileKindForPath(name);
        const std::string path = sparse(name, static_cast<off_t>(ccFileSizeCap(kind) + 1));
        bool read = true;
        const std::string log = readAllWays(path, &read);
        EXPECT_FALSE(read) << name;
        EXPECT_EQ(linesOf(log), 1u) << name << ": " << log;
        EXPECT_NE(log.find("file refused: " + path), std::string::npos) << log;
        EXPECT_NE(log.find(ccFileKindName(kind)), std::string::npos) << log;
        EXPECT_FALSE(CCFileUtils::sharedFileUtils()->openFile(path));
    }
    // 200 GB: the size alone refuses it.
    bool read = true;
    EXPECT_EQ(linesOf(readAllWays(sparse("atlas.png", off_t(200) << 30), &read)), 1u);
    EXPECT_FALSE(read);
}

TEST_F(GameFileLimits, FilesAtTheirCapAreRead) {
    const std::string path = sparse("a.fsh", static_cast<off_t>(ccFileSizeCap(CCFileKind::Shader)));
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(CCFileUtils::sharedFileUtils()->readFile(path, bytes));
    EXPECT_EQ(bytes.size(), ccFileSizeCap(CCFileKind::Shader));
}

TEST(PathRules, NormalisingKeepsOnlyTheClimbsAboveTheStart) {
    EXPECT_EQ(ccNormalizePath("a/./b/../c"), "a/c");
    EXPECT_EQ(ccNormalizePath("data//fonts/"), "data/fonts");
    EXPECT_EQ(ccNormalizePath("../x"), "../x");
    EXPECT_EQ(ccNormalizePath("a/../../x"), "../x");
    EXPECT_EQ(ccNormalizePath("/../etc"), "/etc");
    EXPECT_EQ(ccNormalizePath("a/.."), ".");
    EXPECT_TRUE(ccPathWithin("data/fonts/../images/a.png", "."));
    EXPECT_TRUE(ccPathWithin("Default.png", ""));
    EXPECT_FALSE(ccPathWithin("data/../../x", "."));
    EXPECT_TRUE(ccPathWithin("/g/game/data/a.png", "/g/game"));
    EXPECT_TRUE(ccPathWithin("/g/game", "/g/game/"));
    EXPECT_FALSE(ccPathWithin("/g/gamex/a.png", "/g/game"));
    EXPECT_FALSE(ccPathWithin("/g/game/../other/a.png", "/g/game"));
    EXPECT_FALSE(ccPathWithin("/g/game/a.png", "."));
}

// Names a font or an atlas gives: resolved next to it, refused when absolute or climbing out of
// the game folder, each with one line.
TEST_F(GameFileLimits, NamedFilesStayInTheGameFolder) {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    const std::string fnt = folder.file("data/fonts/f.fnt");
    // No game folder set: an absolute referrer's folder is the bound.
    EXPECT_EQ(files->resolveNamedFile(fnt, "f.png"), folder.file("data/fonts/f.png"));
    EXPECT_EQ(files->resolveNamedFile(fnt, "./sub/../f.png"), folder.file("data/fonts/f.png"));
    EXPECT_EQ(files->resolveNamedFile(fnt, "../f.png"), "");
    EXPECT_EQ(files->resolveNamedFile("data/fonts/f.fnt", "../images/a.png"), "data/images/a.png");
    EXPECT_EQ(files->resolveNamedFile("data/fonts/f.fnt", "../../../etc/passwd"), "");

    ASSERT_EQ(::mkdir(folder.file("data").c_str(), 0700), 0);
    files->setGameFolder(folder.path());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(files->resolveNamedFile(fnt, "../images/a.png"), folder.file("data/images/a.png"));
    EXPECT_EQ(files->resolveNamedFile(fnt, "/proc/self/environ"), "");
    EXPECT_EQ(files->resolveNamedFile(fnt, "../../../outside.png"), "");
    EXPECT_EQ(files->resolveNamedFile(fnt, "../../../outside.png"), ""); // asked again: no new line
    EXPECT_EQ(files->resolveNamedFile(fnt, std::string("a\0.png", 6)), "");
    EXPECT_EQ(files->resolveNamedFile(fnt, "/a\nb.png"), ""); // one line however it is named
    EXPECT_EQ(files->resolveNamedFile(fnt, ""), "");
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(linesOf(log), 4u) << log;
    EXPECT_NE(log.find("\"/a?b.png\""), std::string::npos) << log;
    EXPECT_NE(log.find("\"/proc/self/environ\" named by " + fnt + " leads outside the game folder"),
              std::string::npos)
        << log;
}

// The game folder's own links are the user's: a data folder kept on another disk and a picture
// linked from elsewhere are read. Only names that game files give are held to the folder.
TEST_F(GameFileLimits, LinksInTheGameFolderAreFollowed) {
    TempFolder disk;
    ASSERT_EQ(::mkdir(disk.file("data").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(disk.file("data/fonts").c_str(), 0700), 0);
    disk.write("data/Keys.pack", "keys");
    disk.write("picture.png", "picture");
    ASSERT_EQ(::mkdir(folder.file("game").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(disk.file("data").c_str(), folder.file("game/data").c_str()), 0);
    ASSERT_EQ(::symlink(disk.file("picture.png").c_str(), disk.file("data/linked.png").c_str()), 0);
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    files->setGameFolder(folder.file("game/data/.."));
    EXPECT_EQ(files->getGameFolder(), folder.file("game"));
    ::testing::internal::CaptureStderr();
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(files->readFile(folder.file("game/data/Keys.pack"), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "keys");
    EXPECT_TRUE(files->readFile(folder.file("game/data/linked.png"), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "picture");
    const std::string font = folder.file("game/data/fonts/f.fnt");
    EXPECT_EQ(files->resolveNamedFile(font, "../linked.png"), folder.file("game/data/linked.png"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(files->resolveNamedFile(font, "../../../" + disk.path().substr(1) + "/picture.png"), "");
    EXPECT_EQ(files->resolveNamedFile(font, disk.file("picture.png")), "");
    EXPECT_EQ(linesOf(::testing::internal::GetCapturedStderr()), 2u);
}

// What is read is the file that was checked: a name switched meanwhile between a small file and
// one above the cap never gives the large file's bytes, and a pipe or device is never waited on.
TEST_F(GameFileLimits, AFileIsCheckedAndReadThroughOneOpening) {
    const std::string cap(1 << 20, 's');
    folder.write("small.fsh", "small");
    folder.write("large.fsh", cap + "above the cap");
    ASSERT_EQ(::link(folder.file("small.fsh").c_str(), folder.file("a.fsh").c_str()), 0);
    std::atomic<bool> stop{false};
    std::thread switcher([&] {
        for (bool large = true; !stop; large = !large) {
            ::link(folder.file(large ? "large.fsh" : "small.fsh").c_str(), folder.file("next.fsh").c_str());
            ::rename(folder.file("next.fsh").c_str(), folder.file("a.fsh").c_str());
        }
    });
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    int small = 0;
    int mixed = 0;
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 20000 && (small < 200 || i < 2000); ++i) {
        std::vector<unsigned char> bytes;
        if (!files->readFile(folder.file("a.fsh"), bytes))
            continue;
        const std::string read(bytes.begin(), bytes.end());
        small += read == "small";
        mixed += read != "small";
    }
    stop = true;
    switcher.join();
    ::testing::internal::GetCapturedStderr();
    EXPECT_GT(small, 0);
    EXPECT_EQ(mixed, 0) << "reads that gave bytes of the file above the cap";

    ASSERT_EQ(::mkfifo(folder.file("pipe.png").c_str(), 0600), 0);
    bool read = true;
    const std::string log = readAllWays(folder.file("pipe.png"), &read);
    EXPECT_FALSE(read);
    EXPECT_EQ(log, "file refused: " + folder.file("pipe.png") + " is not a regular file but a pipe\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(files->openFile("/dev/zero").error(), EINVAL);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "file refused: /dev/zero is not a regular file but a device\n");
    EXPECT_EQ(files->openFile(folder.file("missing.png")).error(), ENOENT);
}

// The two names games give: a font's pages and an atlas's picture. A name leading out refuses
// the font (no configuration) and the atlas (no frames), each with one line.
TEST_F(GameFileLimits, FontPagesAndAtlasPicturesLeadingOutAreRefused) {
    ASSERT_EQ(::mkdir(folder.file("data").c_str(), 0700), 0);
    CCFileUtils::sharedFileUtils()->setGameFolder(folder.path());
    const std::string common =
        "info face=\"x\" size=8\ncommon lineHeight=8 base=6 scaleW=8 scaleH=8 pages=1\n";
    for (const std::string& page : {std::string("/proc/self/environ"), std::string("../../outside.png")}) {
        folder.write("data/f.fnt", common + "page id=0 file=\"" + page + "\"\nchars count=0\n");
        ::testing::internal::CaptureStderr();
        CCBMFontConfiguration* config = CCBMFontConfiguration::create(folder.file("data/f.fnt").c_str());
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(config, nullptr) << page;
        EXPECT_NE(log.find("file refused: \"" + page + "\" named by"), std::string::npos) << log;
    }
    folder.write("data/f.fnt", common + "page id=0 file=\"f.png\"\nchars count=0\n");
    EXPECT_NE(CCBMFontConfiguration::create(folder.file("data/f.fnt").c_str()), nullptr);

    for (const std::string& picture : {folder.file("data/sheet.png"), std::string("../../sheet.png")}) {
        folder.write(
            "data/a.plist",
            "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>frames</key><dict>"
            "<key>leak</key><dict><key>frame</key><string>{{0,0},{1,1}}</string></dict></dict>"
            "<key>metadata</key><dict><key>format</key><integer>2</integer><key>textureFileName</key>"
            "<string>" +
                picture + "</string></dict></dict></plist>");
        ::testing::internal::CaptureStderr();
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(
            folder.file("data/a.plist").c_str());
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("leak"), nullptr);
        EXPECT_EQ(log, "file refused: \"" + picture + "\" named by " + folder.file("data/a.plist") +
                           " leads outside the game folder\n");
    }
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
}

namespace {

std::string decodeLog(const std::string& bytes, bool* decoded) {
    CCDecodedImage image;
    ::testing::internal::CaptureStderr();
    *decoded = ccDecodeImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), true, &image,
                             "bomb");
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(image.rgba.empty());
    return log;
}

std::string little16(uint32_t v) {
    return std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)};
}
std::string little32(uint32_t v) {
    return little16(v & 0xffff) + little16(v >> 16);
}
std::string big32(uint32_t v) {
    return kxtest::pngBig32(v);
}

// An RGBA PNG of width x height whose data unpacks to `rows` zero rows, packed as tightly as
// deflate can.
std::string blackPng(uint32_t width, uint32_t height, uint32_t rows) {
    return kxtest::pngFile(width, height, 8, kxtest::kPngRgba, kxtest::pngSameRows(width * 4, rows));
}

} // namespace

// Within the budget, a header is believed only as far as the data behind it could fill it: deflate
// cannot pack much more than a thousand bytes into one.
TEST(PictureBombs, APngWithTooLittleDataForItsSidesIsRefused) {
    bool decoded = true;
    std::string log = decodeLog(blackPng(8192, 8192, 4), &decoded);
    EXPECT_FALSE(decoded);
    EXPECT_EQ(log, "image refused: bomb claims 8192x8192 pixels but holds too little data for them\n");
    // Deflate's best case, all rows there, still decodes.
    CCDecodedImage image;
    const std::string black = blackPng(2048, 2048, 2048);
    ASSERT_TRUE(
        ccDecodeImage(reinterpret_cast<const unsigned char*>(black.data()), black.size(), false, &image));
    EXPECT_EQ(image.width, 2048);
    EXPECT_EQ(image.rgba.size(), size_t(2048) * 2048 * 4);
}

// Tiny files that declare huge pictures: every format but PNG is refused unread, and a PNG by
// its header, before the decoder reserves the surface.
TEST(PictureBombs, OtherFormatsAreRefusedAndPngByItsHeader) {
    const std::string qoi = "qoif" + big32(16000) + big32(16000) + std::string("\x04\x00", 2) +
                            std::string(7, '\0') + std::string("\x01", 1);
    const std::string gif = "GIF89a" + little16(16000) + little16(16000) + std::string("\x00\x00\x00", 3) +
                            ",\x00\x00\x00\x00" + little16(16000) + little16(16000) +
                            std::string("\x00\x02\x02\x44\x01\x00;", 8);
    const std::string bmp = "BM" + little32(70) + little32(0) + little32(54) + little32(40) +
                            little32(30000) + little32(30000) + little16(1) + little16(32) +
                            std::string(24, '\0') + "abcdefghijklmnop";
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16000\" height=\"16000\"/>";
    const std::string jpeg = "\xff\xd8\xff\xe0 jpeg";
    for (const auto& bomb :
         {std::make_pair(qoi, "QOI"), std::make_pair(gif, "GIF"), std::make_pair(bmp, "BMP"),
          std::make_pair(svg, "SVG"), std::make_pair(jpeg, "JPEG")}) {
        bool decoded = true;
        const std::string log = decodeLog(bomb.first, &decoded);
        EXPECT_FALSE(decoded) << bomb.second;
        EXPECT_EQ(linesOf(log), 1u) << log;
        EXPECT_NE(log.find("image refused: bomb: only PNG pictures are read, this is"), std::string::npos)
            << log;
        EXPECT_NE(log.find(bomb.second), std::string::npos) << log;
    }
    std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + big32(13) + "IHDR" + big32(16000) + big32(16000) +
                      std::string("\x08\x06\x00\x00\x00", 5) + big32(0);
    bool decoded = true;
    std::string log = decodeLog(png, &decoded);
    EXPECT_FALSE(decoded);
    EXPECT_EQ(log.find("image refused: bomb claims 16000x16000 pixels"), 0u) << log;
    // Within each side but not the area.
    png.replace(16, 8, big32(16384) + big32(8192));
    log = decodeLog(png, &decoded);
    EXPECT_FALSE(decoded);
    EXPECT_EQ(log.find("image refused: bomb claims 16384x8192 pixels"), 0u) << log;
}
