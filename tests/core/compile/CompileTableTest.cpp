#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
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

std::array<int, 24> Index(std::initializer_list<int> head, int rest) {
    std::array<int, 24> index{};
    index.fill(rest);
    std::copy(head.begin(), head.end(), index.begin());
    return index;
}

// Keys of both signs, each many times: the sort is by signed key, equal keys keep their file
// order, each entry comes once and moves whole.
TEST(CompileTable, SortIsByKeyAndKeepsFileOrderOfEqualKeys) {
    std::vector<int> keys;
    for (int i = 0; i < 5000; ++i)
        keys.push_back((i * 7919) % 1000 - 500);
    CCatforgeDoc doc;
    MakeTable(doc, keys);
    SortCompileTable(doc);
    std::pair<int, int> last{INT_MIN, -1};
    for (int i = 0; i < doc.m_nRecordCount; ++i) {
        const unsigned char* entry = doc.m_pEntries.get() + i * 72;
        const int position = co::LoadInt32(entry + co::kRecord);
        ASSERT_TRUE(position >= 0 && position < 5000) << i;
        const std::pair<int, int> now{keys[static_cast<std::size_t>(position)], position};
        ASSERT_EQ(co::LoadInt32(entry + co::kRaKey), now.first) << i;
        ASSERT_LT(last, now) << i;
        last = now;
    }
}

// The index and the first and last keys; both divisions truncate toward zero, so keys down to
// just above -1h are hour 0, lower keys lie before element 0 and keys of 24h and more stay in
// element 23.
TEST(CompileTable, HourIndexAndKeyRange) {
    const std::pair<int, int> hours[] = {{24 * kHour, 23},  {INT32_MAX, 23}, {-1, 0},
                                         {-kHour + 1, 0},   {-kHour, -1},    {-3 * kHour, -3},
                                         {INT32_MIN, -397}, {kHour - 1, 0},  {kHour, 1}};
    for (const auto& [key, hour] : hours)
        EXPECT_EQ(HourOfRaKey(key), hour) << key;
    const std::pair<std::vector<int>, std::array<int, 24>> tables[] = {
        {{10 * kMinute, 50 * kMinute, 2 * kHour + 30 * kMinute}, Index({0, 2, 2}, 3)},
        {{7 * kHour + 5}, Index({0, 0, 0, 0, 0, 0, 0, 0}, 1)},
        {{5 * kHour, 3 * kHour, 4 * kHour + 1, 3 * kHour + 59 * kMinute},
         Index({0, 0, 0, 0, 2, 3}, 4)},
        {{23 * kHour, -3 * kHour, 30 * kHour, -kHour + 1, 24 * kHour}, Index({1}, 2)},
        {{-3 * kHour, -2 * kHour}, Index({}, 2)}};
    for (const auto& [keys, index] : tables) {
        CCatforgeDoc doc;
        MakeTable(doc, keys);
        SortCompileTable(doc);
        EXPECT_EQ(doc.m_anHourIndex, index) << keys[0];
        EXPECT_EQ(doc.m_nFirstSortKey, *std::min_element(keys.begin(), keys.end()));
        EXPECT_EQ(doc.m_nLastSortKey, *std::max_element(keys.begin(), keys.end()));
    }
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
