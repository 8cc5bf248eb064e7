#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "core/compile/CatalogObject.h"
#include "core/compile/CompileTable.h"
#include "core/model/CatforgeDoc.h"

namespace co = catalog_object;

namespace {

constexpr int kHour = kRaKeysPerHour;
constexpr int kMinute = kHour / 60;

// A table of entries with the given RA keys; each record holds the entry's file position.
void MakeTable(CCatforgeDoc& doc, const std::vector<int>& keys) {
    doc.m_nRecordLength = 4;
    doc.m_nEntrySize = 72;
    doc.m_nRecordCount = static_cast<int>(keys.size());
    doc.m_pEntries.reset(new unsigned char[keys.size() * 72]());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        unsigned char* entry = doc.m_pEntries.get() + i * 72;
        co::StoreInt32(entry + co::kRaKey, keys[i]);
        co::StoreInt32(entry + co::kRecord, static_cast<int>(i));
    }
}

std::vector<int> FilePositions(const CCatforgeDoc& doc) {
    std::vector<int> positions;
    for (int i = 0; i < doc.m_nRecordCount; ++i) {
        positions.push_back(co::LoadInt32(doc.m_pEntries.get() + i * 72 + co::kRecord));
    }
    return positions;
}

std::array<int, 24> Index(std::initializer_list<int> head, int rest) {
    std::array<int, 24> index{};
    index.fill(rest);
    std::copy(head.begin(), head.end(), index.begin());
    return index;
}

TEST(CompileTable, SortIsByKeyAndKeepsFileOrderOfEqualKeys) {
    const std::vector<int> keys = {500, 100, 300, 100, -20, 500, 300, 100};
    CCatforgeDoc doc;
    MakeTable(doc, keys);
    SortCompileTable(doc);
    EXPECT_EQ(FilePositions(doc), (std::vector<int>{4, 1, 3, 7, 2, 6, 0, 5}));
    EXPECT_EQ(doc.m_nFirstSortKey, -20);
    EXPECT_EQ(doc.m_nLastSortKey, 500);
    // Whole entries moved, not just their keys.
    for (int i = 0; i < doc.m_nRecordCount; ++i) {
        const unsigned char* entry = doc.m_pEntries.get() + i * 72;
        EXPECT_EQ(co::LoadInt32(entry + co::kRaKey), keys[co::LoadInt32(entry + co::kRecord)]);
    }
}

TEST(CompileTable, SortOfManyEntriesIsAPermutation) {
    CCatforgeDoc doc;
    std::vector<int> keys;
    for (int i = 0; i < 5000; ++i)
        keys.push_back((i * 7919) % 1000);
    MakeTable(doc, keys);
    SortCompileTable(doc);
    std::vector<int> positions = FilePositions(doc);
    for (std::size_t i = 1; i < positions.size(); ++i) {
        const int a = keys[static_cast<std::size_t>(positions[i - 1])];
        const int b = keys[static_cast<std::size_t>(positions[i])];
        ASSERT_TRUE(a < b || (a == b && positions[i - 1] < positions[i])) << i;
    }
    std::sort(positions.begin(), positions.end());
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(positions[static_cast<std::size_t>(i)], i);
}

TEST(CompileTable, HourIndexExamples) {
    CCatforgeDoc doc;
    MakeTable(doc, {10 * kMinute, 50 * kMinute, 2 * kHour + 30 * kMinute});
    SortCompileTable(doc);
    EXPECT_EQ(doc.m_anHourIndex, Index({0, 2, 2}, 3));

    // A single record: equal first and last keys; 0 up to its hour, 1 after it.
    MakeTable(doc, {7 * kHour + 5});
    SortCompileTable(doc);
    EXPECT_EQ(doc.m_nFirstSortKey, doc.m_nLastSortKey);
    EXPECT_EQ(doc.m_anHourIndex, Index({0, 0, 0, 0, 0, 0, 0, 0}, 1));

    // Objects in hours 3 to 5 only.
    MakeTable(doc, {5 * kHour, 3 * kHour, 4 * kHour + 1, 3 * kHour + 59 * kMinute});
    SortCompileTable(doc);
    EXPECT_EQ(doc.m_anHourIndex, Index({0, 0, 0, 0, 2, 3}, 4));
}

// Both divisions truncate toward zero: keys down to just above -1h are hour 0, lower keys lie
// before element 0; keys of 24h and more stay in element 23.
TEST(CompileTable, KeysOutsideTheDayStayInsideTheIndex) {
    const std::pair<int, int> hours[] = {{24 * kHour, 23},  {INT32_MAX, 23}, {-1, 0},
                                         {-kHour + 1, 0},   {-kHour, -1},    {-3 * kHour, -3},
                                         {INT32_MIN, -397}, {kHour - 1, 0},  {kHour, 1}};
    for (const auto& [key, hour] : hours)
        EXPECT_EQ(HourOfRaKey(key), hour) << key;
    CCatforgeDoc doc;
    MakeTable(doc, {23 * kHour, -3 * kHour, 30 * kHour, -kHour + 1, 24 * kHour});
    SortCompileTable(doc);
    EXPECT_EQ(doc.m_anHourIndex, Index({1}, 2));
    MakeTable(doc, {-3 * kHour, -2 * kHour});
    SortCompileTable(doc);
    EXPECT_EQ(doc.m_anHourIndex, Index({}, 2));
}

// Counting keys by hour gives the index that the sorted table gives, keys outside the day too.
TEST(CompileTable, HourCountsGiveTheIndexOfTheSortedTable) {
    std::mt19937 random(5);
    std::vector<int> keys = {INT32_MIN, INT32_MAX, -1, 24 * kHour};
    for (int i = 0; i < 400; ++i)
        keys.push_back(static_cast<int>(random() % (28u * kHour)) - 2 * kHour);
    CHourCounts counts;
    for (const int key : keys)
        counts.Add(key);
    CCatforgeDoc doc;
    MakeTable(doc, keys);
    SortCompileTable(doc);
    EXPECT_EQ(counts.Index(), doc.m_anHourIndex);
}

}  // namespace
