#include "core/model/CatforgeDoc.h"

#include <gtest/gtest.h>

#include <array>

#include "support/EveryMember.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

// A document with something other than the default in every member and a filled work area.
void FillEveryMember(CCatforgeDoc& doc) {
    ChangeEveryMember(doc);
    doc.m_nRecordCount = 3;
    doc.m_nEntrySize = 148;
    doc.m_pEntries = std::make_unique<unsigned char[]>(3 * 148);
    doc.m_nFirstSortKey = 7;
    doc.m_nLastSortKey = 9;
}

// Every definition member at its default, compared through the file bytes, which hold each
// member (DefinitionFile checks the bytes of a new document one by one), the path buffer
// cleared and the work area empty.
void ExpectDefaults(const CCatforgeDoc& doc) {
    EXPECT_EQ(doc.EncodeDefinition(), CCatforgeDoc().EncodeDefinition());
    EXPECT_EQ(doc.m_szDataFile, (std::array<char, kMaxDataFilePath>{}));
    EXPECT_EQ(doc.m_nRecordCount, 0);
    EXPECT_EQ(doc.m_pEntries, nullptr);
    EXPECT_EQ(doc.m_nFirstSortKey, 0);
    EXPECT_EQ(doc.m_nLastSortKey, 0);
}

}  // namespace

TEST(CatforgeDoc, DeleteContentsAndNewDocumentResetEveryMemberTheWorkAreaIsNotCompared) {
    CCatforgeDoc doc;
    ExpectDefaults(doc);
    FillEveryMember(doc);
    EXPECT_FALSE(doc.SameDefinition(CCatforgeDoc()));
    // The work area is no part of the definition.
    CCatforgeDoc other;
    FillEveryMember(other);
    other.m_nRecordCount = 0;
    other.m_pEntries.reset();
    EXPECT_TRUE(doc.SameDefinition(other));
    other.m_aTypeRules[0].m_strValue = "H";
    EXPECT_FALSE(doc.SameDefinition(other));
    doc.DeleteContents();
    ExpectDefaults(doc);
    EXPECT_TRUE(doc.SameDefinition(CCatforgeDoc()));

    // A new document is also untitled and unmodified.
    FillEveryMember(doc);
    doc.SetPathName("/somewhere/old.zdd");
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(doc.NewDocument());
    ExpectDefaults(doc);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(doc.GetTitle(), "Untitled");
}

TEST(DocumentBase, SaveModifiedAsksAndFollowsTheAnswer) {
    CTempDir dir;
    CRecordingInteraction ui;
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    EXPECT_TRUE(doc.SaveModified());  // unmodified: no question
    EXPECT_TRUE(ui.questions.empty());

    doc.SetModifiedFlag();
    ui.fileNames = {std::nullopt};  // Save As cancelled: nothing written, still modified
    EXPECT_FALSE(doc.DoSave(true));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(std::filesystem::is_empty(dir.Root()));

    ui.answers = {Answer::Cancel, Answer::No, Answer::Yes};
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_TRUE(doc.SaveModified());
    const std::string path = dir.Path("saved.zdd");
    ui.fileNames = {path};  // untitled: Yes asks for a name
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(ui.questions, std::vector<std::string>(3, "Save changes to Untitled?"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "saved.zdd");
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests[1].defaultExtension, "zdd");
    EXPECT_EQ(ui.fileRequests[1].filters[0].description, "Catforge Files (*.zdd)");
}

// The fields each notation reads, in reading order, as part letter (Sign, Main, minutes,
// seconds) and the field number set below.
TEST(CatforgeDoc, EachPositionNotationReadsItsFields) {
    Definition d;
    d.m_nRaHoursField = 10;
    d.m_nRaMinutesField = 11;
    d.m_nRaSecondsField = 12;
    d.m_nDecSignField = 20;
    d.m_nDecDegreesField = 21;
    d.m_nDecMinutesField = 22;
    d.m_nDecSecondsField = 23;
    const auto text = [&](std::span<const PositionField> fields) {
        std::string out;
        for (const PositionField& field : fields)
            out += "SMms"[static_cast<int>(field.part)] + std::to_string(d.*field.member) + " ";
        return out;
    };
    const struct {
        bool ra;
        int notation;
        const char* fields;
    } cases[] = {
        {true, 0, "M10 m11 s12 "},  {true, 1, "M10 m11 "},     {true, 2, "M10 "},
        {true, 3, "M10 "},          {true, 4, "M10 m11 s12 "}, {false, 0, "S20 M21 m22 s23 "},
        {false, 1, "S20 M21 m22 "}, {false, 2, "M21 "},        {false, -1, "S20 M21 m22 s23 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(c.ra ? RaFields(c.notation) : DecFields(c.notation)), c.fields)
            << (c.ra ? "RA " : "Dec ") << c.notation;
    }
}
