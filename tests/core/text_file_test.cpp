// Text files: line breaks, byte-order marks, UTF-16 damage and hostile files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/Errors.h"
#include "records/TextFile.h"
#include "support/TempFolder.h"

using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// UTF-16 bytes of code units, with the byte-order mark of the chosen order.
std::string Utf16Bytes(const std::u16string& units, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

std::string OpenMessage(const std::string& path, std::size_t maxBytes = kMaxTextFileBytes) {
    try {
        ReadTextFile(path, maxBytes);
    } catch (const FileOpenError& error) {
        return error.what();
    }
    return "(no error)";
}

}  // namespace

TEST(DecodeTextLines, LineBreaksAndTheFinalBreak) {
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\nb", {"a", "b"}},
        {"a\n", {"a"}},  // a break at the very end adds no empty line
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\n\n", {"a", ""}},
        {"\n", {""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two breaks
        {"a\r\r\nb", {"a", "", "b"}},
        {"x\0y\nz"s, {"x\0y"s, "z"}},  // NUL bytes stay inside their line
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(DecodeTextLines(bytes), expected) << "bytes: " << bytes;
    }
}

TEST(DecodeText, ByteOrderMarks) {
    const std::string header = "\xE6\x97\xB6\xE9\x97\xB4 \xE5\x8A\xA0\xE9\x80\x9F\xE5\xBA\xA6";
    const std::u16string header16 = u"\u65F6\u95F4 \u52A0\u901F\u5EA6";  // the same CJK text
    const Lines expected = {header, "0 1", "0.01 2"};
    EXPECT_EQ(DecodeTextLines("\xEF\xBB\xBF" + header + "\n0 1\n0.01 2\n"), expected);
    EXPECT_EQ(DecodeTextLines(Utf16Bytes(header16 + u"\r\n0 1\r\n0.01 2\r\n", false)), expected);
    EXPECT_EQ(DecodeTextLines(Utf16Bytes(header16 + u"\n0 1\n0.01 2", true)), expected);
    // A character beyond the BMP comes as a surrogate pair.
    EXPECT_EQ(DecodeText(Utf16Bytes(u"\U0001D11E", false)), "\xF0\x9D\x84\x9E");
    EXPECT_EQ(DecodeText(Utf16Bytes(u"\u00E9\u0041", true)),
              "\xC3\xA9"
              "A");
    EXPECT_EQ(DecodeTextLines("\xEF\xBB\xBF"), Lines{});
    EXPECT_EQ(DecodeTextLines("\xFF\xFE"), Lines{});
    EXPECT_EQ(DecodeTextLines("\xFE\xFF"), Lines{});
}

TEST(DecodeText, WithoutAMarkTheBytesStayAsTheyAre) {
    const std::string latin1 = "\xE9t\xE9 0,5\n\xFF";
    EXPECT_EQ(DecodeText(latin1), latin1);
    EXPECT_EQ(DecodeText("\xFF"), "\xFF");  // one byte is no mark
    EXPECT_EQ(DecodeText("\xEF\xBB"), "\xEF\xBB");
    EXPECT_EQ(DecodeText("a\xEF\xBB\xBF"), "a\xEF\xBB\xBF");  // a mark only counts at the start
}

TEST(DecodeText, DamagedUtf16BecomesReplacementCharacters) {
    // An odd last byte: half a code unit.
    EXPECT_EQ(DecodeText("\xFF\xFE"
                         "a\0b"s),
              "a" + kReplacement);
    EXPECT_EQ(DecodeText("\xFE\xFF"
                         "\0a\0"s),
              "a" + kReplacement);
    // A high surrogate at the end, one followed by a non-surrogate, a lone low surrogate.
    EXPECT_EQ(DecodeText(Utf16Bytes(u"x\xD834", false)), "x" + kReplacement);
    EXPECT_EQ(DecodeText(Utf16Bytes(u"\xD834y", true)), kReplacement + "y");
    EXPECT_EQ(DecodeText(Utf16Bytes(u"\xDD1Ez", false)), kReplacement + "z");
    EXPECT_EQ(DecodeText(Utf16Bytes(u"\xD834\xD834\xDD1E", false)),
              kReplacement + "\xF0\x9D\x84\x9E");
}

TEST(ReadTextFile, ReadsFromDiskAsFromMemory) {
    const TempFolder folder;
    const std::string bytes = Utf16Bytes(u"\u65F6 t\r\n0 1\r\n0.01 2", false);
    const std::string path = folder.Write("utf16.txt", bytes);
    EXPECT_EQ(ReadTextLines(path), DecodeTextLines(bytes));
    EXPECT_EQ(ReadTextLines(folder.Write("empty.txt", "")), Lines{});
}

TEST(ReadTextFile, RefusesMissingAndUnreadablePaths) {
    const TempFolder folder;
    const std::string missing = folder.Path("missing.txt");
    EXPECT_EQ(OpenMessage(missing),
              "Cannot open file \"" + missing + "\". No such file or directory");
    const std::string throughFile = folder.Write("plain.txt", "x") + "/inside.txt";
    EXPECT_EQ(OpenMessage(throughFile),
              "Cannot open file \"" + throughFile + "\". Not a directory");
}

TEST(ReadTextFile, RefusesAFileWithoutReadPermission) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads files without read permission";
    }
    const TempFolder folder;
    const std::string locked = folder.Write("locked.txt", "0 1\n");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    EXPECT_EQ(OpenMessage(locked), "Cannot open file \"" + locked + "\". Permission denied");
}

TEST(ReadTextFile, RefusesDirectoriesPipesAndDevicesWithoutReading) {
    const TempFolder folder;
    const std::string directory = folder.Path("folder.txt");
    std::filesystem::create_directory(directory);
    EXPECT_EQ(OpenMessage(directory), "Cannot open file \"" + directory + "\". Is a directory");

    // Nobody writes to this pipe: a blocking open or read would hang the test.
    const std::string fifo = folder.Path("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(OpenMessage(fifo), "Cannot open file \"" + fifo + "\". Not a regular file");

    // /dev/zero never ends; reached through a link it must be refused all the same.
    EXPECT_EQ(OpenMessage("/dev/zero"), "Cannot open file \"/dev/zero\". Not a regular file");
    const std::string link = folder.Path("zero.txt");
    std::filesystem::create_symlink("/dev/zero", link);
    EXPECT_EQ(OpenMessage(link), "Cannot open file \"" + link + "\". Not a regular file");
}

TEST(ReadTextFile, RefusesFilesAboveTheSizeLimitBeforeReading) {
    const TempFolder folder;
    const std::string path = folder.Write("ten.txt", "0123456789");
    EXPECT_EQ(ReadTextFile(path, 10), "0123456789");
    EXPECT_EQ(OpenMessage(path, 9),
              "Cannot open file \"" + path + "\". The file is 10 bytes long; the limit is 9 bytes");
    // A file whose size says nothing (0 for /proc files) is bounded while it is read.
    EXPECT_EQ(OpenMessage("/proc/self/maps", 10),
              "Cannot open file \"/proc/self/maps\". The file is more than 10 bytes long; the "
              "limit is 10 bytes");
    // A sparse file one byte above the real limit: refused from its size, instantly.
    const std::string huge = folder.Write("huge.txt", "");
    std::filesystem::resize_file(huge, kMaxTextFileBytes + 1);
    EXPECT_EQ(OpenMessage(huge), "Cannot open file \"" + huge +
                                     "\". The file is 67108865 bytes long; the limit is "
                                     "67108864 bytes");
}

TEST(ReadTextFile, TenMegabyteLineAndNulBytes) {
    const TempFolder folder;
    const std::string longLine(10'000'000, '7');
    const std::string path = folder.Write("long.txt", "header\n" + longLine + "\n\0x\0\n"s);
    const Lines lines = ReadTextLines(path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "header");
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], "\0x\0"s);
}
