#include "gui/editors/SizeDlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRadioButton>

#include "PositionEditorsSupport.h"
#include "support/RecordingInteraction.h"

namespace {

const std::string kNoSize =
    "Please select the fields required to\nspecify the object size and position angle.";
const std::vector<const char*> kBoxes = {"majorAxis", "minorAxis", "positionAngleField"};

// Size fields, units, meaning, major, minor, angle checked, angle field, as the dialog holds
// them.
std::vector<int> Stored(const CSizeDlg& dlg) {
    return {dlg.m_nSizeFields,        dlg.m_nSizeUnits,      dlg.m_nSizeMeaning,
            dlg.m_nMajorAxisField,    dlg.m_nMinorAxisField, dlg.m_bPositionAngle,
            dlg.m_nPositionAngleField};
}

class SizeDlgTest : public ::testing::Test {
protected:
    // Units 1 and meaning 0; Open also shows the dialog.
    void Give(int sizeFields, bool positionAngle, int major = 0, int minor = 1, int angle = 2) {
        dlg.m_astrFieldNames = FiveFieldNames();
        dlg.m_nSizeFields = sizeFields;
        dlg.m_nSizeUnits = 1;
        dlg.m_nSizeMeaning = 0;
        dlg.m_nMajorAxisField = major;
        dlg.m_nMinorAxisField = minor;
        dlg.m_bPositionAngle = positionAngle ? 1 : 0;
        dlg.m_nPositionAngleField = angle;
    }
    void Open(int sizeFields, bool positionAngle, int major = 0, int minor = 1, int angle = 2) {
        Give(sizeFields, positionAngle, major, minor, angle);
        dlg.OnInitDialog();
    }

    CRecordingInteraction ui;
    CSizeDlg dlg{ui};
};

TEST_F(SizeDlgTest, AppliesTheAxesAndAngleRulesAtStart) {
    const std::vector<std::vector<bool>> axes = {{false, false}, {true, false}, {true, true}};
    for (int sizeFields = -1; sizeFields <= 3; ++sizeFields) {
        for (bool angle : {false, true}) {
            CSizeDlg fresh(ui);
            fresh.m_nSizeFields = sizeFields;
            fresh.m_bPositionAngle = angle;
            fresh.OnInitDialog();
            const bool inRange = sizeFields >= 0 && sizeFields <= 2;
            std::vector<bool> expected =
                inRange ? axes[std::size_t(sizeFields)] : std::vector<bool>{true, true};
            expected.push_back(angle);
            EXPECT_EQ(EnabledOf(fresh, kBoxes), expected) << sizeFields << " " << angle;
            EXPECT_EQ(Control<QCheckBox>(fresh, "positionAngle")->isChecked(), angle);
            EXPECT_EQ(
                EnabledOf(fresh, {"sizeUnits0", "sizeUnits2", "sizeMeaning0", "sizeMeaning1"}),
                std::vector<bool>(4, true));
        }
    }
}

TEST_F(SizeDlgTest, EachClickAppliesItsRule) {
    Open(0, false);
    const std::pair<const char*, std::vector<bool>> steps[] = {
        {"sizeFields1", {true, false, false}},   {"positionAngle", {true, false, true}},
        {"sizeFields2", {true, true, true}},     {"sizeUnits2", {true, true, true}},
        {"sizeMeaning1", {true, true, true}},    {"sizeFields0", {false, false, true}},
        {"positionAngle", {false, false, false}}};
    for (const auto& [button, enabled] : steps) {
        Click(dlg, button);
        EXPECT_EQ(EnabledOf(dlg, kBoxes), enabled) << button;
    }
    // Disabled boxes keep what they show.
    EXPECT_EQ(Shown(dlg, "majorAxis"), 0);
    EXPECT_EQ(Shown(dlg, "minorAxis"), 1);
    EXPECT_EQ(Shown(dlg, "positionAngleField"), 2);
}

TEST_F(SizeDlgTest, RefusesUntilTheNeededFieldsAreChosenAndStoresTheRest) {
    Open(0, true, 0, 1, -1);
    EXPECT_FALSE(dlg.OnOK());  // angle checked, no angle field
    Click(dlg, "positionAngle");
    Click(dlg, "sizeFields2");
    Choose(dlg, "minorAxis", -1);
    EXPECT_FALSE(dlg.OnOK());  // minor axis missing
    Click(dlg, "sizeFields1");
    Click(dlg, "sizeUnits2");
    Click(dlg, "sizeMeaning1");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>(2, kNoSize));
    for (const auto& message : ui.messages)
        EXPECT_EQ(message.icon, MessageIcon::Stop);
    EXPECT_EQ(Stored(dlg), (std::vector<int>{1, 2, 1, 0, -1, 0, -1}));
}

TEST_F(SizeDlgTest, StaleIndexIsRefusedOnlyWhenNeededAndAnUncheckedAngleStoresItsBox) {
    Open(1, false, 5, 7, 9);
    EXPECT_EQ(Shown(dlg, "majorAxis"), -1);
    EXPECT_EQ(Shown(dlg, "positionAngleField"), -1);
    EXPECT_FALSE(dlg.OnOK());
    Choose(dlg, "positionAngleField", 2);
    Click(dlg, "sizeFields0");
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(Stored(dlg), (std::vector<int>{0, 1, 0, -1, -1, 0, 2}));
}

TEST_F(SizeDlgTest, OutOfRangeChoicesAreRefusedAndOutOfRangeUnitsKept) {
    Give(4, false);
    dlg.m_nSizeUnits = 9;
    dlg.m_nSizeMeaning = -5;
    dlg.OnInitDialog();
    EXPECT_FALSE(Control<QRadioButton>(dlg, "sizeUnits0")->isChecked());
    EXPECT_FALSE(dlg.OnOK());
    Click(dlg, "sizeFields2");
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.m_nSizeUnits, 9);
    EXPECT_EQ(dlg.m_nSizeMeaning, -5);
}

}  // namespace
