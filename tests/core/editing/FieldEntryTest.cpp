// Checking what is typed for a field, and the field list's rows.
#include "core/editing/FieldEntry.h"

#include <gtest/gtest.h>

#include "core/editing/FieldRows.h"

namespace {

FieldDefinition Field(const std::string& name, int start, int end) {
    return {name, "", start, end};
}

std::vector<std::string> Names(const std::vector<FieldDefinition>& fields) {
    std::vector<std::string> names;
    for (const auto& f : fields)
        names.push_back(f.m_strName);
    return names;
}

TEST(FieldEntry, ChecksRunInOrderAndTheFirstRefusalIsShown) {
    struct Case {
        FieldEntryText text;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {{"Name", "mag", "1", "10"}, nullptr},
        {{"Name", "", "5", "5"}, nullptr},  // single column
        {{"Name", "", "9999", "9999"}, nullptr},
        {{"", "", "x", "1"}, kNotAWholeNumber},  // numbers are taken before the name
        {{"", "", "1", ""}, kNotAWholeNumber},
        {{"Name", "", "1", "99999999999"}, kNotAWholeNumber},  // beyond an int
        {{"", "", "0", "0"}, "You must enter a field name!"},
        {{"Name", "", "0", "5"}, "The start column must be in the range 1-9999"},
        {{"Name", "", "10000", "5"}, "The start column must be in the range 1-9999"},
        {{"Name", "", "5", "0"}, "The end column must be in the range 1-9999"},
        {{"Name", "", "5", "10000"}, "The end column must be in the range 1-9999"},
        {{"Name", "", "10", "9"},
         "The end column must be greater than or equal to the start column!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.name + " " + c.text.startCol + "-" + c.text.endCol);
        FieldDefinition field{"old", "old", 7, 7};
        const auto refusal = CheckFieldEntry(c.text, field);
        if (c.message == nullptr) {
            ASSERT_FALSE(refusal) << refusal->message;
            EXPECT_EQ(field.m_strName, c.text.name);
            EXPECT_EQ(field.m_strUnit, c.text.unit);
            EXPECT_EQ(std::to_string(field.m_nStartCol), c.text.startCol);
            EXPECT_EQ(std::to_string(field.m_nEndCol), c.text.endCol);
        } else {
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->message, c.message);
            EXPECT_EQ(field, (FieldDefinition{"old", "old", 7, 7}));
        }
    }
}

TEST(FieldEntry, WholeNumbers) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"42", 42},  {" 7 ", 7},         {"-3", -3}, {"+3", 3},  {"2147483647", 2147483647},
        {"", {}},    {" ", {}},          {"4x", {}}, {"x4", {}}, {"1.5", {}},
        {"+-3", {}}, {"2147483648", {}}, {"1 2", {}}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ReadWholeNumber(text), value) << '"' << text << '"';
}

TEST(FieldRows, InsertionKeepsRowsByStartColumnAndTheSelectionOnItsRow) {
    CFieldRows rows({Field("A", 1, 4), Field("B", 5, 8), Field("C", 9, 12)});
    rows.Select(1);
    // A new field starting at 5 goes before the existing row starting at 5.
    EXPECT_EQ(rows.Insert(Field("New", 5, 5)), 1);
    EXPECT_EQ(Names(rows.Rows()), (std::vector<std::string>{"A", "New", "B", "C"}));
    EXPECT_EQ(rows.Selected(), 2);  // still on "B"
    EXPECT_EQ(rows.Insert(Field("End", 50, 60)), 4);
    EXPECT_EQ(rows.Insert(Field("First", 1, 1)), 0);
    EXPECT_EQ(rows.Selected(), 3);

    // Editing the second of two rows starting at 5, start unchanged, moves it first.
    CFieldRows same({Field("X", 5, 5), Field("Y", 5, 6)});
    same.Select(1);
    EXPECT_EQ(same.Replace(1, Field("Y", 5, 6)), 0);
    EXPECT_EQ(Names(same.Rows()), (std::vector<std::string>{"Y", "X"}));
    EXPECT_EQ(same.Selected(), -1);  // the edited row was removed and inserted afresh

    same.Select(1);
    same.Remove(0);
    EXPECT_EQ(same.Selected(), 0);
    same.Remove(0);
    EXPECT_EQ(same.Selected(), -1);
    EXPECT_EQ(same.Count(), 0);
}

TEST(FieldRows, OverlapIsCheckedBetweenNeighboursOnlyFromTheTop) {
    EXPECT_EQ(CFieldRows({Field("A", 1, 10), Field("B", 10, 12)}).FirstOverlap(), 0);
    EXPECT_EQ(CFieldRows({Field("A", 1, 10), Field("B", 11, 12)}).FirstOverlap(), std::nullopt);
    EXPECT_EQ(CFieldRows({Field("A", 1, 10), Field("B", 3, 4), Field("C", 20, 25)}).FirstOverlap(),
              0);
    // Rows out of order, as a file may hold them, are compared in that order: a row that
    // starts before its upper neighbour ends is reported.
    EXPECT_EQ(CFieldRows({Field("A", 1, 4), Field("B", 30, 40), Field("C", 10, 12)}).FirstOverlap(),
              1);
    EXPECT_EQ(CFieldRows({Field("A", 1, 2), Field("B", 3, 4), Field("C", 4, 9)}).FirstOverlap(), 1);
    EXPECT_EQ(CFieldRows().FirstOverlap(), std::nullopt);
    EXPECT_EQ(OverlapMessage("A", "B"),
              "Fields \"A\" and \"B\" overlap.\nPlease correct the problem.");
}

}  // namespace
