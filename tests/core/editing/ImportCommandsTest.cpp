#include <gtest/gtest.h>

#include "core/editing/ImportCommands.h"
#include "core/model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {
const std::string kDataDir = std::string(CATFORGE_TEST_DATA_DIR) + "/cds";
}

TEST(ImportCommands, NormalizeAsksForBothFilesAndReportsWithInformationIcon) {
    CTempDir dir;
    const std::string in = dir.Write("lines.dat", "a\nabc");
    CRecordingInteraction ui;
    ui.fileNames = {in, dir.Path("fixed.dat")};
    RunNormalizeDataFile(ui);
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_TRUE(ui.fileRequests[0].mustExist);
    EXPECT_EQ(ui.fileRequests[1].proposedName, dir.Path("lines.fixed.dat"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_NE(ui.messages[0].text.find("2 lines read, record length 4 bytes"), std::string::npos);
    EXPECT_EQ(CTempDir::Read(dir.Path("fixed.dat")), "a  \nabc\n");

    // Cancelling the second question writes nothing and says nothing.
    CRecordingInteraction cancel;
    cancel.fileNames = {in, std::nullopt};
    RunNormalizeDataFile(cancel);
    EXPECT_TRUE(cancel.messages.empty());
}

TEST(ImportCommands, ImportReplacesTheDefinitionAndMarksItModified) {
    CTempDir dir;
    const std::string readMe = dir.Write("ReadMe", CTempDir::Read(kDataDir + "/ReadMe"));
    dir.Write("table1.dat", CTempDir::Read(kDataDir + "/table1.dat"));
    CCatforgeDoc doc;
    doc.NewDocument();
    doc.SetPathName(dir.Path("old.zdd"));
    CRecordingInteraction ui;
    ui.fileNames = {readMe, dir.Path("table1.dat"), dir.Path("table1.fixed.dat")};
    ASSERT_TRUE(RunImportCdsReadMe(doc, ui));
    // The data file is proposed beside the ReadMe; choosing it also chooses the description.
    EXPECT_EQ(ui.fileRequests[1].proposedName, dir.Path("table1.dat"));
    EXPECT_EQ(ui.fileRequests[2].proposedName, dir.Path("table1.fixed.dat"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(doc.m_aFields.size(), 18u);
    EXPECT_EQ(doc.GetDataFile(), dir.Path("table1.fixed.dat"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_NE(ui.messages[0].text.find("Still to choose:"), std::string::npos);
}

TEST(ImportCommands, MalformedReadMeStopsBeforeAnyOtherQuestion) {
    CTempDir dir;
    const std::string readMe = dir.Write(
        "ReadMe", "T\nByte-by-byte Description of file: a.dat\n----\n Bytes Format Label\n----\n");
    CCatforgeDoc doc;
    doc.NewDocument();
    doc.m_strTitle = "mine";
    CRecordingInteraction ui;
    ui.fileNames = {readMe};
    EXPECT_FALSE(RunImportCdsReadMe(doc, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(
        ui.messages[0].text,
        "\"" + readMe + "\", line 2: the byte-by-byte table is not closed by a line of dashes");
    EXPECT_EQ(doc.m_strTitle, "mine");
    EXPECT_FALSE(doc.IsModified());
}
