// Writing a file whole or not at all, also when the bytes are far more than one write's worth.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/io/AtomicFile.h"
#include "support/TempDir.h"

namespace {

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t x = 12345;
    for (char& c : bytes) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return bytes;
}

std::size_t FilesIn(const CTempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Root()),
                                                  std::filesystem::directory_iterator()));
}

}  // namespace

TEST(AtomicFile, PiecesOfEverySizeArriveInOrderAndReplaceTheTarget) {
    CTempDir dir;
    const std::string path = dir.Write("out.zdc", "previous");
    // Small pieces, one piece spanning many megabytes and crossing the points where the
    // writer hands data to the disk, and an odd tail.
    const std::string bytes = Pattern((std::size_t{41} << 20) + 12345);
    CAtomicFile file;
    ASSERT_TRUE(file.Open(path));
    std::size_t at = 0;
    for (const std::size_t piece : {std::size_t{1}, std::size_t{4095}, std::size_t{1} << 20,
                                    (std::size_t{37} << 20) + 7, std::size_t{3}}) {
        ASSERT_TRUE(file.Write(bytes.data() + at, piece));
        at += piece;
    }
    ASSERT_TRUE(file.Write(std::string_view(bytes).substr(at)));
    EXPECT_EQ(CTempDir::Read(path), "previous");  // untouched until the commit
    ASSERT_TRUE(file.Commit());
    EXPECT_TRUE(CTempDir::Read(path) == bytes);
    EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(AtomicFile, AbandonedWriteKeepsThePreviousFileAndLeavesNoTemporaryFile) {
    CTempDir dir;
    const std::string path = dir.Write("out.zdc", "previous");
    {
        CAtomicFile file;
        ASSERT_TRUE(file.Open(path));
        ASSERT_TRUE(file.Write(Pattern(std::size_t{20} << 20)));
        EXPECT_EQ(FilesIn(dir), 2u);
    }
    EXPECT_EQ(CTempDir::Read(path), "previous");
    EXPECT_EQ(FilesIn(dir), 1u);

    CAtomicFile missing;
    EXPECT_FALSE(missing.Open(dir.Path("no/such/folder/out.zdc")));
    EXPECT_NE(missing.Error().find("no/such/folder/out.zdc"), std::string::npos);
}
