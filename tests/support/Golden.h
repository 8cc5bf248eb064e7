// Comparing an output whole with a file under tests/data/golden. On a difference the failure
// names the first byte that differs and shows a few bytes of each side from there. With
// CATFORGE_UPDATE_GOLDEN set in the environment the file is rewritten instead (check the
// difference before committing it).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/TempDir.h"

inline void ExpectSameAsGolden(const std::string& actual, const std::string& goldenName) {
    const std::string path = CATFORGE_TEST_DATA_DIR "/golden/" + goldenName;
    if (std::getenv("CATFORGE_UPDATE_GOLDEN") != nullptr)
        std::ofstream(path, std::ios::binary) << actual;
    const std::string expected = CTempDir::Read(path);
    if (actual == expected)
        return;
    const auto at = static_cast<std::size_t>(
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
        actual.begin());
    ADD_FAILURE() << goldenName << ": first difference at byte offset " << at << " (sizes "
                  << actual.size() << " and " << expected.size() << " expected)\n  got      "
                  << ::testing::PrintToString(actual.substr(at, 16)) << "\n  expected "
                  << ::testing::PrintToString(expected.substr(at, 16));
}
