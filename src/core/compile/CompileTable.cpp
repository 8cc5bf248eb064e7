#include "core/compile/CompileTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "core/compile/CatalogObject.h"
#include "core/compile/LargeBlock.h"
#include "core/model/CatforgeDoc.h"

namespace co = catalog_object;

namespace {

int RaKeyAt(const CCatforgeDoc& doc, std::size_t i) {
    return co::LoadInt32(doc.m_pEntries.get() + i * static_cast<std::size_t>(doc.m_nEntrySize) +
                         co::kRaKey);
}

}  // namespace

void SortCompileTable(CCatforgeDoc& doc) {
    const auto count = static_cast<std::size_t>(std::max(doc.m_nRecordCount, 0));
    const auto size = static_cast<std::size_t>(doc.m_nEntrySize);
    unsigned char* const entries = doc.m_pEntries.get();
    if (count > 1 && entries != nullptr) {
        // Sort (key, position) pairs, packed so that equal keys order by position, then move
        // the entries along the cycles of the permutation, one spare entry at a time.
        const LargeBlock<std::uint64_t> order = AllocateLargeArray<std::uint64_t>(count);
        if (!order)
            throw std::bad_alloc();
        for (std::size_t i = 0; i < count; ++i) {
            const auto biased = static_cast<std::uint32_t>(RaKeyAt(doc, i)) ^ 0x80000000u;
            order[i] = std::uint64_t{biased} << 32 | i;
        }
        std::sort(order.get(), order.get() + count);
        for (std::size_t j = 0; j < count; ++j)
            order[j] &= 0xFFFFFFFFu;  // slot j takes entry order[j]
        std::unique_ptr<unsigned char[]> spare(new unsigned char[size]);
        for (std::size_t i = 0; i < count; ++i) {
            if (order[i] == i)
                continue;
            std::memcpy(spare.get(), entries + i * size, size);
            std::size_t slot = i;
            for (;;) {
                const auto from = static_cast<std::size_t>(order[slot]);
                order[slot] = slot;
                if (from == i) {
                    std::memcpy(entries + slot * size, spare.get(), size);
                    break;
                }
                std::memcpy(entries + slot * size, entries + from * size, size);
                slot = from;
            }
        }
    }
    if (count > 0 && entries != nullptr) {
        doc.m_nFirstSortKey = RaKeyAt(doc, 0);
        doc.m_nLastSortKey = RaKeyAt(doc, count - 1);
    }
    BuildHourIndex(doc);
}

int HourOfRaKey(int raKey) {
    return std::min(raKey / kKeyUnitsPerDegree / 15, 23);
}

void BuildHourIndex(CCatforgeDoc& doc) {
    const int count = doc.m_pEntries ? std::max(doc.m_nRecordCount, 0) : 0;
    int last = -1;
    for (int i = 0; i < count; ++i) {
        const int hour = HourOfRaKey(RaKeyAt(doc, static_cast<std::size_t>(i)));
        for (int h = last + 1; h <= hour; ++h)
            doc.m_anHourIndex[static_cast<std::size_t>(h)] = i;
        last = std::max(last, hour);
    }
    for (int h = last + 1; h < 24; ++h) {
        doc.m_anHourIndex[static_cast<std::size_t>(h)] = std::max(doc.m_nRecordCount, 0);
    }
}

void CHourCounts::Add(const CHourCounts& other) {
    for (std::size_t b = 0; b < m_anCounts.size(); ++b)
        m_anCounts[b] += other.m_anCounts[b];
}

std::array<int, 24> CHourCounts::Index() const {
    // Keys in ascending order have hours that never decrease, so the first entry whose hour
    // is h or more stands after all entries of smaller hours.
    std::array<int, 24> index{};
    std::int64_t before = 0;
    for (int h = 0; h < 24; ++h) {
        const auto bucket = static_cast<std::size_t>(h + 1);
        before += m_anCounts[bucket - 1];
        index[static_cast<std::size_t>(h)] = static_cast<int>(before);
    }
    return index;
}
