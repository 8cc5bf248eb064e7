// The RA/Dec, Labels, Size and Magnitude commands: copy in, run, copy back on OK only.
#include "gui/widgets/ModalRun.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <functional>

#include "PositionEditorsSupport.h"
#include "gui/editors/EditorCommands.h"
#include "gui/editors/LabelDlg.h"
#include "gui/editors/MagnitudeDlg.h"
#include "gui/editors/RaDecDlg.h"
#include "gui/editors/SizeDlg.h"
#include "support/RecordingInteraction.h"

namespace {

// The position group: the notations, then the seven field indexes.
std::array<int*, 9> RaDecMembers(CCatforgeDoc& doc) {
    return {&doc.m_nRaNotation,      &doc.m_nDecNotation,     &doc.m_nRaHoursField,
            &doc.m_nRaMinutesField,  &doc.m_nRaSecondsField,  &doc.m_nDecSignField,
            &doc.m_nDecDegreesField, &doc.m_nDecMinutesField, &doc.m_nDecSecondsField};
}
std::vector<int> RaDec(CCatforgeDoc& doc) {
    std::vector<int> values;
    for (int* member : RaDecMembers(doc))
        values.push_back(*member);
    return values;
}
void SetRaDec(CCatforgeDoc& doc, const std::array<int, 9>& values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        *RaDecMembers(doc)[i] = values[i];
}

class PositionCommandsTest : public ::testing::Test {
protected:
    PositionCommandsTest() {
        doc.NewDocument();
        AddFields(doc, {"Name", "RAh", "RAm", "RAs", "DE-", "DEd", "DEm", "DEs", "Vmag"});
    }

    // Runs each command with a person who does steps and then presses OK (or Cancel).
    void Press(bool ok, std::function<void(QDialog&)> steps = {}) {
        SetModalDialogRunner([this, ok, steps](QDialog& dlg) {
            ++runs;
            EXPECT_EQ(Control<QComboBox>(dlg, boxName)->count(), 9);
            EXPECT_EQ(Control<QComboBox>(dlg, boxName)->itemText(8), "Vmag");
            if (steps)
                steps(dlg);
            Click(dlg, ok ? "ok" : "cancel");
            return dlg.result();
        });
    }

    const CModalRunnerScope runnerScope;  // Press replaces the runner until the test ends
    CCatforgeDoc doc;
    CRecordingInteraction ui;
    const char* boxName = "";
    int runs = 0;
};

TEST_F(PositionCommandsTest, RaDecCopiesTheWholeGroupBack) {
    SetRaDec(doc, {2, 0, 1, 2, -1, 4, 5, 6, 7});
    doc.m_strEpoch = "b1950";
    const auto change = [](QDialog& dlg) {
        Click(dlg, "decNotation2");
        Choose(dlg, "raSeconds", 3);
        Control<QLineEdit>(dlg, "epoch")->setText("J2000.0");
    };
    boxName = "raHours";
    Press(true, change);
    EXPECT_TRUE(RunRaDecEditor(doc, ui, nullptr));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(RaDec(doc), (std::vector<int>{2, 2, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(doc.m_strEpoch, "J2000.0");
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PositionCommandsTest, LabelsStoreRowsBeyondTheCountAndTheirPrefixes) {
    doc.m_nLabelCount = 3;
    doc.m_anLabelField = {0, 8, 3};
    doc.m_astrLabelPrefix = {"", "V=", "\xB0"};
    boxName = "field1";
    Press(true, [](QDialog& dlg) {
        Click(dlg, "count1");
        Control<QLineEdit>(dlg, "prefix1")->setText("Star ");
    });
    EXPECT_TRUE(RunLabelsEditor(doc, ui, nullptr));
    EXPECT_EQ(doc.m_nLabelCount, 1);
    EXPECT_EQ(doc.m_anLabelField, (std::array<int, 3>{0, 8, 3}));
    EXPECT_EQ(doc.m_astrLabelPrefix, (std::array<std::string, 3>{"Star ", "V=", "\xB0"}));
}

TEST_F(PositionCommandsTest, RefusedOkThenCancelLeavesTheDocumentAsItWas) {
    doc.m_nMagnitudeCount = 1;
    doc.m_anMagnitudeField = {8, -1, -1};
    boxName = "field1";
    Press(true, [](QDialog& dlg) { Click(dlg, "count2"); });
    EXPECT_FALSE(RunMagnitudeEditor(doc, ui, nullptr));
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{
                  "Please select the fields required to\nspecify the object magnitude."});
    EXPECT_EQ(doc.m_nMagnitudeCount, 1);
    EXPECT_FALSE(doc.IsModified());

    Press(true, [](QDialog& dlg) { Choose(dlg, "field3", 2); });
    EXPECT_TRUE(RunMagnitudeEditor(doc, ui, nullptr));
    EXPECT_EQ(doc.m_anMagnitudeField, (std::array<int, 3>{8, -1, 2}));
}

TEST_F(PositionCommandsTest, SizeCopiesAllSevenMembers) {
    doc.m_nSizeFields = 2;
    doc.m_nMajorAxisField = 1;
    doc.m_nMinorAxisField = 2;
    doc.m_nPositionAngleField = 12;
    boxName = "minorAxis";
    Press(true, [](QDialog& dlg) {
        Click(dlg, "sizeFields1");
        Click(dlg, "sizeUnits1");
        Click(dlg, "sizeMeaning0");
        Click(dlg, "positionAngle");
        Choose(dlg, "positionAngleField", 8);
        Choose(dlg, "minorAxis", 6);  // disabled by now, still stored
    });
    EXPECT_TRUE(RunSizeEditor(doc, ui, nullptr));
    EXPECT_EQ((std::vector<int>{doc.m_nSizeFields, doc.m_nSizeUnits, doc.m_nSizeMeaning,
                                doc.m_nMajorAxisField, doc.m_nMinorAxisField, doc.m_bPositionAngle,
                                doc.m_nPositionAngleField}),
              (std::vector<int>{1, 1, 0, 1, 6, 1, 8}));
}

}  // namespace
