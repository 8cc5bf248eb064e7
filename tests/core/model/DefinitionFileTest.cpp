// The .zdd file: exact bytes, old versions, every byte value in strings, damaged files and
// failed saves.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "core/model/CatforgeDoc.h"
#include "support/FaultInjection.h"
#include "support/Golden.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

// The file of a new document, and a version 2 file with one of each list element.
std::string GoldenFile(const std::string& name) {
    return CTempDir::Read(CATFORGE_TEST_DATA_DIR "/golden/definition/" + name);
}

// The 32-bit little-endian number at offset of bytes replaced by v.
void Put(std::string& bytes, std::size_t offset, std::int64_t v) {
    for (std::size_t k = 0; k < 4; ++k)
        bytes[offset + k] = static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * k) & 0xFF);
}

// The new document's file as an older version writes it: its number, and (before 2) without
// the type mode and the two lists.
std::string NewDocumentFile(int version = 2) {
    std::string bytes = GoldenFile("new.zdd");
    Put(bytes, 8, version);
    return version < 2 ? bytes.substr(0, bytes.size() - 12) : bytes;
}

std::string Damaged(const std::string& path, const std::string& detail) {
    return "File \"" + path + "\"\nis damaged or incomplete:\n" + detail + ".";
}

// Opening path fails with exactly one stop message and leaves a new, untitled document.
void ExpectRefused(const std::string& path, const std::string& message) {
    CRecordingInteraction ui;
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    doc.m_strTitle = "before";
    doc.SetPathName("/earlier/file.zdd");
    EXPECT_FALSE(doc.OpenDocument(path));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, message);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(doc.SameDefinition(CCatforgeDoc()));
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_FALSE(doc.IsModified());
}

// Saving doc over path fails with the message, changes nothing and leaves no temporary file
// in dir. Without a message given, it is the one for a file that cannot be created.
void ExpectSaveFails(const CTempDir& dir, const std::string& path, std::string message = {},
                     const std::string& notes = {}) {
    if (message.empty())
        message = "Unable to open file \"" + path + "\"\nfor writing.";
    const auto before = FolderEntries(dir.Root());
    const auto contents = [&] {
        return std::filesystem::is_regular_file(path) ? CTempDir::Read(path) : std::string();
    };
    const std::string oldBytes = contents();
    CRecordingInteraction ui;
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    doc.m_strTitle = "new contents";
    doc.m_strNotes = notes;
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, message);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_strTitle, "new contents");
    EXPECT_EQ(contents(), oldBytes);
    EXPECT_EQ(FolderEntries(dir.Root()), before);
}

}  // namespace

TEST(DefinitionFile, NewDocumentSavesToThe439BytesOfTheFormat) {
    CTempDir dir;
    CCatforgeDoc doc;  // the defaults; NewDocument and DeleteContents come back to them
    doc.SetModifiedFlag();
    const std::string path = dir.Path("new.zdd");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_FALSE(doc.IsModified());
    ExpectSameAsGolden(CTempDir::Read(path), "definition/new.zdd");
}

TEST(DefinitionFile, FullFileReadsIntoTheMembersAndWritesBackTheSameBytes) {
    CTempDir dir;
    const std::string bytes = GoldenFile("full.zdd");
    const std::string path = dir.Write("full.zdd", bytes);
    CRecordingInteraction ui;
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    ASSERT_TRUE(doc.OpenDocument(path));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "full.zdd");
    EXPECT_EQ(doc.GetDataFile(), "stars.dat");
    EXPECT_EQ(doc.m_nRecordLength, 80);
    EXPECT_EQ(doc.m_aFields,
              (std::vector<FieldDefinition>{{"Name", "", 1, 8}, {"Type", "", 10, 12}}));
    EXPECT_EQ(doc.m_anLabelField, (std::array<int, 3>{0, -1, -1}));
    EXPECT_EQ(doc.m_astrLabelPrefix[0], "NGC ");
    EXPECT_EQ(doc.m_nTypeMode, 1);
    EXPECT_EQ(doc.m_aUserSymbols, (std::vector<UserSymbol>{{"Cross", "0 0 MA\r\n1 1 DA"}}));
    EXPECT_EQ(doc.m_aTypeRules, (std::vector<TypeRule>{{1, -1, 3, "OC"}}));
    ExpectSameAsGolden(doc.EncodeDefinition(), "definition/full.zdd");
}

TEST(DefinitionFile, EveryVersionReadsAndSavesAsVersion2) {
    CTempDir dir;
    for (int version : {2, 1, 0, -7}) {
        SCOPED_TRACE(version);
        CCatforgeDoc doc;
        doc.m_strTitle = "stale";
        doc.m_nTypeMode = 1;
        doc.m_aUserSymbols = {{"old", ""}};
        // Versions before 2 end at the printer colour: trailing bytes after it are not read.
        const std::string trailing = version < 2 ? std::string(12, '\x01') : "";
        ASSERT_TRUE(doc.OpenDocument(dir.Write("v.zdd", NewDocumentFile(version) + trailing)));
        EXPECT_TRUE(doc.SameDefinition(CCatforgeDoc()));
        const std::string path = dir.Path("v2.zdd");
        ASSERT_TRUE(doc.OnSaveDocument(path));
        EXPECT_EQ(CTempDir::Read(path), NewDocumentFile());
    }
    // Later versions read as version 2.
    std::string file = GoldenFile("full.zdd");
    Put(file, 8, 7);
    CCatforgeDoc doc;
    ASSERT_TRUE(doc.OpenDocument(dir.Write("v7.zdd", file)));
    EXPECT_EQ(doc.m_aTypeRules.size(), 1u);
}

TEST(DefinitionFile, MagicIsComparedByteForByteAndCaseSensitive) {
    CTempDir dir;
    const std::string body = NewDocumentFile().substr(8);
    for (const std::string magic :
         {"ZDD0DATA", "zdd0data", "Zdd0Data", "zdd0datA", "zdc0Data", "zdd0Dat", "", "zdd1Data"}) {
        SCOPED_TRACE(magic);
        const std::string path = dir.Write("m.zdd", magic.size() == 8 ? magic + body : magic);
        ExpectRefused(path, "File \"" + path + "\"\nis not a Zenivo data definition file!");
    }
}

// The data file path keeps at most 259 bytes and its zero, and nothing after the zero.
TEST(DefinitionFile, PathOf259CharactersFillsTheFieldAndBytesAfterItsZeroAreIgnored) {
    CTempDir dir;
    CCatforgeDoc doc;
    doc.SetDataFile(std::string(300, 'p'));
    EXPECT_EQ(doc.GetDataFile(), std::string(259, 'p'));
    const std::string longPath = "/" + std::string(258, 'd');
    doc.SetDataFile(longPath);
    const std::string path = dir.Path("long.zdd");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(CTempDir::Read(path).substr(12, 260), longPath + '\0');
    CCatforgeDoc read;
    ASSERT_TRUE(read.OpenDocument(path));
    EXPECT_EQ(read.GetDataFile(), longPath);
    doc.SetDataFile("short");
    EXPECT_EQ(doc.EncodeDefinition().substr(12, 8), std::string("short\0\0\0", 8));

    std::string file = NewDocumentFile();
    file.replace(12, 8, std::string("a.dat\0zz", 8));
    ASSERT_TRUE(read.OpenDocument(dir.Write("junk.zdd", file)));
    EXPECT_EQ(read.GetDataFile(), "a.dat");
    EXPECT_EQ(read.EncodeDefinition().substr(12, 8), std::string("a.dat\0\0\0", 8));
}

TEST(DefinitionFile, DamagedFilesAreRefusedWithOneMessageNamingTheFile) {
    struct Case {
        const char* name;
        std::function<void(std::string&)> damage;
        std::string detail;
    };
    // In full.zdd (538 bytes) the title's length is at byte 272, the counts of fields at 294,
    // of user symbols at 485 and of type rules at 516; the length of the symbol's instructions
    // at 498 and of the rule's value at 532.
    const auto put = [](std::size_t at, std::int64_t v) {
        return [=](std::string& f) { Put(f, at, v); };
    };
    const std::vector<Case> cases = {
        {"path without zero", [](std::string& f) { f.replace(12, 260, 260, 'p'); },
         "at byte 12: the data file path has no terminating zero"},
        {"negative length", put(272, -5), "at byte 272: negative length -5 of title"},
        {"length beyond the end", put(272, 100000),
         "at byte 272: length 100000 of title exceeds the 262 bytes left"},
        {"largest length", put(498, 0x7FFFFFFF),
         "at byte 498: length 2147483647 of symbol instructions exceeds the 36 bytes left"},
        {"negative count", put(294, -1), "at byte 294: negative count -1 of fields"},
        {"count beyond the end", put(485, 0x7FFFFFFF),
         "at byte 485: count 2147483647 of user symbols exceeds what the 49 bytes left can hold"},
        {"count one too many", put(516, 2),
         "at byte 516: count 2 of type rules exceeds what the 18 bytes left can hold"},
        {"negative length in the last rule", put(532, -2),
         "at byte 532: negative length -2 of type rule value"},
        {"ends inside the last string", [](std::string& f) { f.pop_back(); },
         "at byte 532: length 2 of type rule value exceeds the 1 bytes left"},
        {"ends after the head", [](std::string& f) { f.resize(12); },
         "at byte 12: expected 260 bytes of the data file path, only 0 left"},
    };
    CTempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = GoldenFile("full.zdd");
        c.damage(file);
        const std::string path = dir.Write("damaged.zdd", file);
        ExpectRefused(path, Damaged(path, c.detail));
    }
}

TEST(DefinitionFile, EveryShortenedFileIsRefused) {
    const std::string bytes = GoldenFile("full.zdd");
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        CCatforgeDoc doc;
        std::string error;
        EXPECT_FALSE(doc.DecodeDefinition(bytes.substr(0, length), error)) << length;
        EXPECT_TRUE(doc.SameDefinition(CCatforgeDoc())) << length;
    }
}

// Sparse files: one over the size limit is refused unread, one of 3 GiB of another kind for
// what it is, not for its size (it is never read whole).
TEST(DefinitionFile, LargeFilesAreRefusedUnread) {
    CTempDir dir;
    const std::string huge = dir.Write("huge.zdd", NewDocumentFile());
    std::filesystem::resize_file(huge, kMaxDefinitionFileSize + 1);
    ExpectRefused(huge,
                  Damaged(huge, "it is larger than the " + std::to_string(kMaxDefinitionFileSize) +
                                    " bytes a definition file may have"));
    const std::string video = dir.Write("video.mkv", "\x1a\x45\xdf\xa3 matroska");
    std::filesystem::resize_file(video, std::uintmax_t{3} << 30);
    ExpectRefused(video, "File \"" + video + "\"\nis not a Zenivo data definition file!");
}

// Also what is not a regular file: it is refused without being read from, so a FIFO without
// a writer or an endless device never holds the program up.
TEST(DefinitionFile, FileThatCannotBeOpenedLeavesTheDocumentAsItWas) {
    CTempDir dir;
    std::filesystem::create_directory(dir.Path("folder.zdd"));
    ASSERT_EQ(::mkfifo(dir.Path("fifo.zdd").c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir.Path("missing.zdd"), ""},
        {dir.Path("folder.zdd"), "\nIt is a folder, not a regular file."},
        {dir.Path("fifo.zdd"), "\nIt is a FIFO (named pipe), not a regular file."},
        {"/dev/zero", "\nIt is a character device, not a regular file."}};
    for (const auto& [path, kind] : cases) {
        SCOPED_TRACE(path);
        CRecordingInteraction ui;
        CCatforgeDoc doc;
        doc.SetInteraction(&ui);
        doc.m_strTitle = "kept";
        doc.SetPathName("/earlier/kept.zdd");
        doc.SetModifiedFlag();
        EXPECT_FALSE(doc.OnOpenDocument(path));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Unable to open file \"" + path + "\"\nfor reading." + kind);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
        EXPECT_EQ(doc.m_strTitle, "kept");
        EXPECT_EQ(doc.GetTitle(), "kept.zdd");
        EXPECT_TRUE(doc.IsModified());
    }
}

TEST(DefinitionFileSave, FailsWhereNoFileCanBeCreated) {
    CTempDir dir;
    dir.Write("plain-file", "x");
    std::filesystem::create_directory(dir.Path("existing-folder.zdd"));
    for (const std::string& path : {dir.Path("no-such-folder/a.zdd"), dir.Path("plain-file/a.zdd"),
                                    dir.Path("existing-folder.zdd")}) {
        SCOPED_TRACE(path);
        ExpectSaveFails(dir, path);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("existing-folder.zdd")));
}

TEST(DefinitionFileSave, FailureWhileWritingKeepsThePreviousFile) {
    // The file size limit makes writes fail as a full disk would, also for root.
    CTempDir dir;
    const std::string path = dir.Write("old.zdd", GoldenFile("full.zdd"));
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = old;
    limited.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    ExpectSaveFails(
        dir, path, "Writing the definition failed:\ncannot write \"" + path + "\": File too large");
    ::setrlimit(RLIMIT_FSIZE, &old);
    // A definition larger than the reader accepts is refused before anything is written.
    ExpectSaveFails(dir, path,
                    "The definition takes 67109315 bytes, more than the 67108864 bytes a "
                    "definition file may have.\nFile \"" +
                        path + "\" was not written.",
                    std::string(kMaxDefinitionFileSize, 'n'));
    ::signal(SIGXFSZ, oldHandler);
}
