#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "core/compile/DataFile.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

std::string Records(int count, int length) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes +=
            std::string(static_cast<std::size_t>(length - 1), static_cast<char>('a' + i % 26)) +
            '\n';
    return bytes;
}

// Whole records only, a partial one silently; no whole record or no file is refused. The data
// file is read twice, so a folder, a FIFO (here without a writer) or an endless device is
// refused at once, before a byte is read from it.
TEST(CountRecords, WholeRecordsOnlyAndOnlyFromARegularFile) {
    CTempDir dir;
    CRecordingInteraction ui;
    int count = -1;
    const std::string ten = dir.Write("ten.dat", Records(10, 12));
    EXPECT_TRUE(CountRecords(ten, "ten.dat", 12, count, ui));
    EXPECT_EQ(count, 10);
    const std::string more = dir.Write("more.dat", Records(10, 12) + "12345");
    EXPECT_TRUE(CountRecords(more, "more.dat", 12, count, ui));
    EXPECT_EQ(count, 10);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(CountRecords(dir.Write("empty.dat", ""), "empty.dat", 12, count, ui));
    EXPECT_FALSE(CountRecords(dir.Write("short.dat", "abc"), "short.dat", 12, count, ui));
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(CountRecords(dir.Path("missing.dat"), "C:\\DATA\\MISSING.DAT", 12, count, ui));
    EXPECT_FALSE(CountRecords(dir.Root().string(), "", 12, count, ui));
    const std::string fifo = dir.Path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CountRecords(fifo, "pipe", 9, count, ui));
    EXPECT_FALSE(CountRecords("/dev/zero", "/dev/zero", 9, count, ui));
    CRecordSource source;
    EXPECT_FALSE(source.Open(fifo, 9));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{
                  "This file contains no data!", "This file contains no data!",
                  "Unable to open file\n\"C:\\DATA\\MISSING.DAT\"",
                  "Unable to open file\n\"\"\nIt is a folder, not a regular file.",
                  "Unable to open file\n\"pipe\"\nIt is a FIFO (named pipe), not a regular file.",
                  "Unable to open file\n\"/dev/zero\"\nIt is a character device, not a regular "
                  "file."}));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
}

TEST(CRecordSource, ReadsWholeRecordsInBlocks) {
    CTempDir dir;
    const std::string path = dir.Write("r.dat", Records(5, 4) + "zz");
    CRecordSource source;
    ASSERT_TRUE(source.Open(path, 4));
    char buffer[12];
    EXPECT_EQ(source.Read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 12), "aaa\nbbb\nccc\n");
    EXPECT_EQ(source.Read(buffer, 3), 2u);  // the partial record is dropped
    EXPECT_EQ(std::string(buffer, 8), "ddd\neee\n");
    EXPECT_EQ(source.Read(buffer, 3), 0u);
    EXPECT_FALSE(source.Open(dir.Path("none"), 4));
}

// Beside the definition, then the current folder; Windows paths by their file name, ignoring
// case.
TEST(ResolveDataFile, BesideTheDefinitionThenTheCurrentFolder) {
    CTempDir dir;
    std::filesystem::create_directories(dir.Path("defs"));
    const std::string definition = dir.Path("defs/ngc.zdd");
    const std::string beside = dir.Write("defs/Ngc.Dat", "x");
    dir.Write("cwd.dat", "x");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    EXPECT_EQ(ResolveDataFile("Ngc.Dat", definition), beside);
    EXPECT_EQ(ResolveDataFile("cwd.dat", definition), "cwd.dat");  // not beside: as written
    EXPECT_EQ(ResolveDataFile("ngc.dat", ""), "ngc.dat");          // never saved
    EXPECT_EQ(ResolveDataFile(beside, definition), beside);        // absolute
    EXPECT_EQ(ResolveDataFile("", definition), "");
    EXPECT_EQ(ResolveDataFile("C:\\CATALOGS\\NGC.DAT", definition), beside);
    EXPECT_EQ(ResolveDataFile("CATALOGS\\ngc.dat", definition), beside);
    EXPECT_EQ(ResolveDataFile("D:NGC.DAT", definition), beside);
    EXPECT_EQ(ResolveDataFile("C:\\CATALOGS\\IC.DAT", definition), "C:\\CATALOGS\\IC.DAT");
    std::filesystem::current_path(previous);
}

}  // namespace
