#include "core/browse/FieldsFromData.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

// The columns of tests/data/cds/table1.dat as its ReadMe's byte-by-byte description gives
// them; the declination sign (25) stands right against the degrees (26-27).
const std::vector<ColumnRange> kReadMeColumns = {
    {1, 7},   {9, 12},  {14, 15}, {17, 18}, {20, 23}, {25, 27}, {29, 30}, {32, 35}, {37, 41},
    {43, 47}, {49, 53}, {55, 59}, {61, 65}, {67, 67}, {69, 73}, {75, 77}, {79, 103}};

DataSample ClusterSample() {
    DataSample sample;
    std::string error;
    EXPECT_TRUE(
        SampleDataFile(std::string(CATFORGE_TEST_DATA_DIR) + "/cds/table1.dat", 100, sample, error))
        << error;
    return sample;
}

}  // namespace

TEST(FieldsFromData, SuggestionsFollowTheReadMeOfARealCatalogue) {
    const DataSample sample = ClusterSample();
    ASSERT_EQ(sample.lines.size(), 15u);
    EXPECT_EQ(sample.width, 103);
    EXPECT_FALSE(sample.sameLength);  // trailing blanks were stripped
    EXPECT_EQ(ProposedRecordLength(sample), std::nullopt);

    const std::vector<ColumnRange> suggested = SuggestFields(sample);
    // Every numeric field is found exactly; the free-text name splits at its inner blanks.
    ASSERT_GT(suggested.size(), kReadMeColumns.size() - 1);
    EXPECT_EQ(std::vector<ColumnRange>(suggested.begin(), suggested.begin() + 16),
              std::vector<ColumnRange>(kReadMeColumns.begin(), kReadMeColumns.end() - 1));
    for (auto it = suggested.begin() + 16; it != suggested.end(); ++it) {
        EXPECT_TRUE(kReadMeColumns.back().Contains(it->first) &&
                    kReadMeColumns.back().Contains(it->last))
            << it->first << "-" << it->last;
    }
    // Blank columns are exactly those between suggestions.
    const std::vector<bool> blank = BlankColumns(sample);
    for (int column = 1; column <= sample.width; ++column) {
        const bool inSuggestion = std::any_of(suggested.begin(), suggested.end(),
                                              [&](auto& r) { return r.Contains(column); });
        EXPECT_NE(blank[static_cast<std::size_t>(column - 1)], inSuggestion) << column;
    }
}

TEST(FieldsFromData, LineEndsAndProposedRecordLength) {
    struct Case {
        const char* name;
        std::string head;
        bool atEnd;
        std::size_t lines;
        int width;
        std::optional<int> recordLength;
    };
    const Case cases[] = {
        {"LF", "ab c\nde f\n", true, 2, 4, 5},
        {"CR LF", "ab c\r\nde f\r\n", true, 2, 4, 6},
        {"lone CR", "ab c\rde f\r", true, 2, 4, 5},
        {"uneven lines", "ab c\nde\n", true, 2, 4, std::nullopt},
        {"last line unended, whole file", "ab c\nde f", true, 2, 4, 5},
        {"last line cut by the sample", "ab c\nde f", false, 1, 4, 5},
        {"CR at the sample's end waits for its LF", "ab c\r", false, 0, 0, std::nullopt},
        {"no end of line", "abcdef", true, 1, 6, std::nullopt},
        {"empty", "", true, 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const DataSample sample = SampleLines(c.head, 10, c.atEnd);
        EXPECT_EQ(sample.lines.size(), c.lines) << c.name;
        EXPECT_EQ(sample.width, c.width) << c.name;
        EXPECT_EQ(ProposedRecordLength(sample), c.recordLength) << c.name;
    }
    EXPECT_EQ(SampleLines("a\nb\nc\n", 2, true).lines, (std::vector<std::string>{"a", "b"}));
    // A fixed-length file from the examples proposes its own record length.
    DataSample fixed;
    std::string error;
    ASSERT_TRUE(SampleDataFile(std::string(CATFORGE_EXAMPLES_DIR) + "/cluster-stars.dat", 50, fixed,
                               error));
    EXPECT_TRUE(fixed.sameLength);
    EXPECT_EQ(ProposedRecordLength(fixed), fixed.width + fixed.endOfLineBytes);
    EXPECT_FALSE(SampleDataFile("/nonexistent/file.dat", 5, fixed, error));
    EXPECT_EQ(error, "Unable to open file \"/nonexistent/file.dat\".");
}

TEST(FieldsFromData, DragsBecomeFieldsThatNeverOverlap) {
    const DataSample sample = ClusterSample();
    const std::vector<ColumnRange> suggested = SuggestFields(sample);
    // Either direction of a drag, clamped to the column range; a click takes its suggestion.
    EXPECT_EQ(DragRange(23, 20, suggested), (ColumnRange{20, 23}));
    EXPECT_EQ(DragRange(0, 12000, suggested), (ColumnRange{1, kLastFieldColumn}));
    EXPECT_EQ(DragRange(21, 21, suggested), (ColumnRange{20, 23}));
    EXPECT_EQ(DragRange(8, 8, suggested), (ColumnRange{8, 8}));            // a blank column
    EXPECT_EQ(DragRange(25, 25, suggested, true), (ColumnRange{25, 25}));  // off and back

    CFieldLayout layout({{"Cluster", "", 1, 7}});
    EXPECT_EQ(layout.Add("RAh", "h", DragRange(14, 15, suggested)), std::nullopt);
    EXPECT_EQ(layout.Add("RAs", "s", DragRange(22, 22, suggested)), std::nullopt);
    const std::tuple<std::string, ColumnRange, std::string> refused[] = {
        {"", {30, 31}, "You must enter a field name!"},
        {"Star", {7, 12}, "Columns 7-12 overlap field \"Cluster\" (columns 1-7)."},
        {"Star", {15, 16}, "Columns 15-16 overlap field \"RAh\" (columns 14-15)."},
        {"RAh", {40, 41}, "There is already a field named \"RAh\"."},
        {"Cluster", {40, 41}, "There is already a field named \"Cluster\"."},
        {"Far", {9999, 10000}, "The columns must lie in the range 1-9999."},
    };
    for (const auto& [name, columns, message] : refused)
        EXPECT_EQ(layout.Add(name, "", columns), message) << name;
    // The remaining suggestions fill the gaps; the added fields stay ordered by column.
    EXPECT_EQ(layout.AddSuggestions(suggested, "C"), static_cast<int>(suggested.size()) - 3);
    ASSERT_EQ(layout.Added().size(), suggested.size() - 1);
    EXPECT_EQ(layout.Added()[0].m_strName, "C9");
    EXPECT_EQ(layout.Added()[1], (FieldDefinition{"RAh", "h", 14, 15}));
    EXPECT_EQ(layout.Added()[3], (FieldDefinition{"RAs", "s", 20, 23}));
    EXPECT_EQ(layout.AddedAt(22), 3u);
    layout.RemoveAdded(3);
    EXPECT_EQ(layout.AddedAt(22), std::nullopt);
    EXPECT_EQ(layout.Add("RA seconds", "s", {20, 23}), std::nullopt);
}
