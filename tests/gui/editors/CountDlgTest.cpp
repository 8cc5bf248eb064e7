// The label and magnitude dialogs: a count group over three rows of field selection boxes.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>

#include "PositionEditorsSupport.h"
#include "gui/editors/LabelDlg.h"
#include "gui/editors/MagnitudeDlg.h"
#include "gui/widgets/FieldSelectionBox.h"
#include "support/RecordingInteraction.h"

namespace {

const std::string kNoLabels = "Please select the fields required to\nspecify the object labels.";
const std::string kNoMagnitudes =
    "Please select the fields required to\nspecify the object magnitude.";

const std::vector<const char*> kBoxes = {"field1", "field2", "field3"};
const std::vector<const char*> kPrefixes = {"prefix1", "prefix2", "prefix3"};
// The rows each count enables.
const std::vector<std::vector<bool>> kRowTable = {
    {false, false, false}, {true, false, false}, {true, true, false}, {true, true, true}};

std::string CountButton(int n) {
    return "count" + std::to_string(n);
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
    // Which rows are enabled; a row's box and prefix always go together.
    static std::vector<bool> Rows(QWidget& labels) {
        EXPECT_EQ(EnabledOf(labels, kBoxes), EnabledOf(labels, kPrefixes));
        return EnabledOf(labels, kBoxes);
    }

    CRecordingInteraction ui;
    CLabelDlg dlg{ui};
};

TEST_F(LabelDlgTest, EnablesTheCountsRowsAtStartAndOnEveryClick) {
    for (std::size_t count = 0; count < 4; ++count) {
        CLabelDlg fresh(ui);
        fresh.m_nLabelCount = int(count);
        fresh.OnInitDialog();
        EXPECT_EQ(Rows(fresh), kRowTable[count]) << count;
    }
    Open(1, {0, 1, 2});
    for (int count : {3, 0, 2, 1, 1, 3}) {
        Click(dlg, CountButton(count).c_str());
        EXPECT_EQ(Rows(dlg), kRowTable[std::size_t(count)]) << count;
    }
}

TEST_F(LabelDlgTest, CountOutOfRangeLeavesEveryRowEnabledAndIsRefused) {
    Open(7, {0, 1, 2});
    EXPECT_EQ(Rows(dlg), std::vector<bool>(3, true));
    for (int n = 0; n < 4; ++n)
        EXPECT_FALSE(Control<QRadioButton>(dlg, CountButton(n).c_str())->isChecked());
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{kNoLabels});
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
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

TEST_F(LabelDlgTest, RefusesACountWhoseRowsLackAFieldAndStoresUnusedRows) {
    Open(2, {3, 5, 4});  // field 5 is stale: the box shows nothing
    EXPECT_EQ(Shown(dlg, "field1"), 3);
    EXPECT_EQ(Shown(dlg, "field2"), -1);
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    Click(dlg, "count1");
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{kNoLabels});
    EXPECT_EQ(dlg.m_nLabelCount, 1);
    EXPECT_EQ(dlg.m_anLabelField, (std::array<int, 3>{3, -1, 4}));
}

class MagnitudeDlgTest : public ::testing::Test {
protected:
    void Open(CMagnitudeDlg& magnitudes, int count, std::array<int, 3> fields) {
        magnitudes.m_astrFieldNames = FiveFieldNames();
        magnitudes.m_nMagnitudeCount = count;
        magnitudes.m_anMagnitudeField = fields;
        magnitudes.OnInitDialog();
    }

    CRecordingInteraction ui;
    CMagnitudeDlg dlg{ui};
};

TEST_F(MagnitudeDlgTest, EnablesTheCountsRowsAtStartAndOnEveryClick) {
    Open(dlg, 2, {0, 1, 2});
    EXPECT_EQ(EnabledOf(dlg, kBoxes), kRowTable[2]);
    for (int count : {0, 3, 1, 2}) {
        Click(dlg, CountButton(count).c_str());
        EXPECT_EQ(EnabledOf(dlg, kBoxes), kRowTable[std::size_t(count)]) << count;
    }
    CMagnitudeDlg outOfRange(ui);
    outOfRange.m_nMagnitudeCount = -2;
    outOfRange.OnInitDialog();
    EXPECT_EQ(EnabledOf(outOfRange, kBoxes), std::vector<bool>(3, true));
}

TEST_F(MagnitudeDlgTest, RefusesMissingCountedFieldsAndStoresTheOthers) {
    // No magnitudes need no fields.
    CMagnitudeDlg none(ui);
    Open(none, 0, {-1, -1, -1});
    ASSERT_TRUE(none.OnOK());
    EXPECT_EQ(none.m_nMagnitudeCount, 0);
    EXPECT_EQ(none.m_anMagnitudeField, (std::array<int, 3>{-1, -1, -1}));

    Open(dlg, 3, {2, 3, 8});
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
