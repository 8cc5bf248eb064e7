// The label and magnitude dialogs: a count group over three rows of field selection boxes.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>

#include "editors/FieldSelectionBox.h"
#include "editors/LabelDlg.h"
#include "editors/MagnitudeDlg.h"
#include "editors/PositionEditorsSupport.h"
#include "support/RecordingInteraction.h"

namespace {

const std::string kNoLabels = "Please select the fields required to\nspecify the object labels.";
const std::string kNoMagnitudes =
    "Please select the fields required to\nspecify the object magnitude.";

const char* const kBoxes[] = {"field1", "field2", "field3"};
const char* const kPrefixes[] = {"prefix1", "prefix2", "prefix3"};

std::string CountButton(int n) {
    return "count" + std::to_string(n);
}

TEST(CountRows, EnablesTheFirstRowsAndNeedsTheirSelections) {
    for (int count = -1; count <= 4; ++count) {
        for (int row = 0; row < 3; ++row) {
            const bool inRange = count >= 0 && count <= 3;
            EXPECT_EQ(CountRowEnabled(count, row, 3), !inRange || row < count) << count << row;
        }
    }
    const std::array<int, 3> firstTwo{4, 0, -1};
    EXPECT_TRUE(CountRowsSelected(0, std::array<int, 3>{-1, -1, -1}));
    EXPECT_TRUE(CountRowsSelected(2, firstTwo));
    EXPECT_FALSE(CountRowsSelected(3, firstTwo));
    EXPECT_FALSE(CountRowsSelected(2, std::array<int, 3>{-1, 0, 0}));
    EXPECT_FALSE(CountRowsSelected(-1, firstTwo));
    EXPECT_FALSE(CountRowsSelected(4, std::array<int, 3>{0, 1, 2}));
}

class LabelDlgTest : public ::testing::Test {
protected:
    void Open(int count, std::array<int, 3> fields) {
        dlg.m_astrFieldNames = FiveFieldNames();
        dlg.m_nLabelCount = count;
        dlg.m_anLabelField = fields;
        dlg.m_astrLabelPrefix = {"NGC ", "IC ", "\xB0"};
        dlg.OnInitDialog();
    }
    // Which rows (box and prefix alike) are enabled.
    std::vector<bool> Rows() {
        std::vector<bool> rows;
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(Enabled(dlg, kBoxes[row]), Enabled(dlg, kPrefixes[row])) << row;
            rows.push_back(Enabled(dlg, kBoxes[row]));
        }
        return rows;
    }

    CRecordingInteraction ui;
    CLabelDlg dlg{ui};
};

TEST_F(LabelDlgTest, EnablesTheCountsRowsAtStartAndOnEveryClick) {
    const std::vector<std::vector<bool>> table = {
        {false, false, false}, {true, false, false}, {true, true, false}, {true, true, true}};
    for (int count = 0; count < 4; ++count) {
        CLabelDlg fresh(ui);
        fresh.m_nLabelCount = count;
        fresh.OnInitDialog();
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(Enabled(fresh, kBoxes[row]), table[std::size_t(count)][std::size_t(row)]);
            EXPECT_EQ(Enabled(fresh, kPrefixes[row]), table[std::size_t(count)][std::size_t(row)]);
        }
    }
    Open(1, {0, 1, 2});
    for (int count : {3, 0, 2, 1, 1, 3}) {
        Click(dlg, CountButton(count).c_str());
        EXPECT_EQ(Rows(), table[static_cast<std::size_t>(count)]) << count;
    }
}

TEST_F(LabelDlgTest, CountOutOfRangeLeavesEveryRowEnabledAndIsRefused) {
    Open(7, {0, 1, 2});
    EXPECT_EQ(Rows(), std::vector<bool>(3, true));
    for (int n = 0; n < 4; ++n) {
        EXPECT_FALSE(Control<QRadioButton>(dlg, CountButton(n).c_str())->isChecked());
    }
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{kNoLabels});
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
}

TEST_F(LabelDlgTest, RefusesACountWhoseRowsLackAFieldAndStoresUnusedRows) {
    Open(2, {3, -1, 4});
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    Click(dlg, "count1");
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{kNoLabels});
    EXPECT_EQ(dlg.m_nLabelCount, 1);
    EXPECT_EQ(dlg.m_anLabelField, (std::array<int, 3>{3, -1, 4}));
}

TEST_F(LabelDlgTest, LoweringTheCountKeepsTheHiddenRowsWhichAreStored) {
    Open(3, {0, 1, 2});
    Click(dlg, "count1");
    Choose(dlg, "field3", 4);
    Control<QLineEdit>(dlg, "prefix2")->setText(QString::fromLatin1("M\xE9"));
    EXPECT_EQ(Shown(dlg, "field2"), 1);
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dlg.m_nLabelCount, 1);
    EXPECT_EQ(dlg.m_anLabelField, (std::array<int, 3>{0, 1, 4}));
    EXPECT_EQ(dlg.m_astrLabelPrefix, (std::array<std::string, 3>{"NGC ", "M\xE9", "\xB0"}));
}

TEST_F(LabelDlgTest, StaleIndexShowsNothingAndIsRefusedOnlyWhenCounted) {
    Open(2, {0, 5, 9});
    EXPECT_EQ(Shown(dlg, "field1"), 0);
    EXPECT_EQ(Shown(dlg, "field2"), -1);
    EXPECT_EQ(Shown(dlg, "field3"), -1);
    EXPECT_FALSE(dlg.OnOK());
    Click(dlg, "count1");
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.m_anLabelField, (std::array<int, 3>{0, -1, -1}));
}

TEST_F(LabelDlgTest, WithoutFieldsOnlyNoLabelsIsAccepted) {
    dlg.m_nLabelCount = 1;
    dlg.m_anLabelField = {0, 1, 2};
    dlg.OnInitDialog();
    for (int count : {1, 2, 3}) {
        Click(dlg, CountButton(count).c_str());
        EXPECT_FALSE(dlg.OnOK()) << count;
    }
    Click(dlg, "count0");
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>(3, kNoLabels));
    EXPECT_EQ(dlg.m_anLabelField, (std::array<int, 3>{-1, -1, -1}));
}

class MagnitudeDlgTest : public ::testing::Test {
protected:
    void Open(int count, std::array<int, 3> fields) {
        dlg.m_astrFieldNames = FiveFieldNames();
        dlg.m_nMagnitudeCount = count;
        dlg.m_anMagnitudeField = fields;
        dlg.OnInitDialog();
    }
    std::vector<bool> Rows() {
        std::vector<bool> rows;
        for (const char* box : kBoxes)
            rows.push_back(Enabled(dlg, box));
        return rows;
    }

    CRecordingInteraction ui;
    CMagnitudeDlg dlg{ui};
};

TEST_F(MagnitudeDlgTest, EnablesTheCountsRowsAtStartAndOnEveryClick) {
    Open(2, {0, 1, 2});
    EXPECT_EQ(Rows(), (std::vector<bool>{true, true, false}));
    for (int count : {0, 3, 1, 2}) {
        Click(dlg, CountButton(count).c_str());
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(Enabled(dlg, kBoxes[row]), row < count) << count << " " << row;
        }
    }
    CMagnitudeDlg outOfRange(ui);
    outOfRange.m_nMagnitudeCount = -2;
    outOfRange.OnInitDialog();
    for (const char* box : kBoxes)
        EXPECT_TRUE(Enabled(outOfRange, box));
}

TEST_F(MagnitudeDlgTest, CountZeroIsAcceptedWithEveryBoxEmpty) {
    Open(0, {-1, -1, -1});
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.m_nMagnitudeCount, 0);
    EXPECT_EQ(dlg.m_anMagnitudeField, (std::array<int, 3>{-1, -1, -1}));
}

TEST_F(MagnitudeDlgTest, RefusesMissingCountedFieldsAndStoresTheOthers) {
    Open(3, {2, 3, 8});
    EXPECT_EQ(Shown(dlg, "field3"), -1);
    EXPECT_FALSE(dlg.OnOK());
    Choose(dlg, "field1", -1);
    Choose(dlg, "field3", 0);
    EXPECT_FALSE(dlg.OnOK());
    Click(dlg, "count0");
    Click(dlg, "count2");
    EXPECT_FALSE(dlg.OnOK());
    Choose(dlg, "field1", 4);
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>(3, kNoMagnitudes));
    EXPECT_EQ(dlg.m_nMagnitudeCount, 2);
    EXPECT_EQ(dlg.m_anMagnitudeField, (std::array<int, 3>{4, 3, 0}));
}

}  // namespace
