#include "model/CatforgeDoc.h"

#include <gtest/gtest.h>

#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

TEST(CatforgeDoc, NewDocumentSavesToTheDefault439Bytes) {
    CCatforgeDoc doc;
    ASSERT_TRUE(doc.NewDocument());
    const std::string bytes = doc.EncodeDefinition();
    EXPECT_EQ(bytes.size(), 439u);
}
