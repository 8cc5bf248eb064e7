#include "core/browse/RecordLength.h"

#include <gtest/gtest.h>

#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

std::string NoEndOfLineMessage(const std::string& path) {
    return "Unable to detect an end-of-line byte\nsequence in the first 1000 bytes of\nfile \"" +
           path + "\".\nPlease make sure that it really is an\nASCII data file!";
}

struct DetectCase {
    const char* name;
    std::string bytes;
    std::optional<int> expected;
};

}  // namespace

TEST(RecordLength, DetectsTheFirstEndOfLineInFilesWrittenHere) {
    const std::string record80(80, 'x');
    const DetectCase cases[] = {
        {"CR LF", record80 + "\r\n" + record80 + "\r\n", 82},
        {"LF", record80 + "\n" + record80 + "\n", 81},
        {"CR only", record80 + "\r" + record80 + "\r", 81},
        {"LF then CR ends at the LF", "abc\n\rdef", 4},
        {"CR as the last byte of a short file", std::string(57, 'a') + "\r", 58},
        {"a lone LF", "\n", 1},
        {"CR at byte 1000 with LF behind it", std::string(999, 'a') + "\r\n", 1001},
        {"CR at byte 1000 without LF", std::string(999, 'a') + "\rb", 1000},
        {"LF at byte 1000", std::string(999, 'a') + "\nb", 1000},
        {"LF at byte 1001 is past the limit", std::string(1000, 'a') + "\n", std::nullopt},
        {"1000 bytes without end of line", std::string(1000, 'a'), std::nullopt},
        {"a short file without end of line", "abcdef", std::nullopt},
        {"empty", "", std::nullopt},
    };
    CTempDir dir;
    for (const DetectCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write("data.dat", c.bytes);
        CRecordingInteraction ui;
        EXPECT_EQ(DetectRecordLength(path, ui), c.expected);
        if (c.expected) {
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, NoEndOfLineMessage(path));
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
        }
    }
}

TEST(RecordLength, SearchIsBoundedByTheFileLengthAndTheLimit) {
    // Given only part of a file, detection never looks past what it was given.
    EXPECT_EQ(FindRecordLength("abc", 10), std::nullopt);
    EXPECT_EQ(FindRecordLength(std::string(1000, 'a') + "\n", 5000), std::nullopt);
    // A CR at the very end of what is known counts alone.
    EXPECT_EQ(FindRecordLength("ab\r", 3), 3);
}

TEST(RecordLength, RefusesAnEmptyPathAndAFileThatDoesNotOpen) {
    CTempDir dir;
    CRecordingInteraction ui;
    EXPECT_EQ(DetectRecordLength("", ui), std::nullopt);
    const std::string missing = dir.Path("missing.dat");
    EXPECT_EQ(DetectRecordLength(missing, ui), std::nullopt);
    EXPECT_EQ(DetectRecordLength(dir.Root().string(), ui), std::nullopt);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "Please choose a data file\nbefore pressing this button.");
    EXPECT_EQ(ui.messages[1].text, "Unable to open file \"" + missing + "\".");
    EXPECT_EQ(ui.messages[2].text, "Unable to open file \"" + dir.Root().string() + "\".");
    for (const auto& m : ui.messages)
        EXPECT_EQ(m.icon, MessageIcon::Stop);
}
