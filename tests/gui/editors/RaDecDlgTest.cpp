#include "gui/editors/RaDecDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "PositionEditorsSupport.h"
#include "support/RecordingInteraction.h"

namespace {

const std::string kNoEpoch =
    "Please supply an epoch for the data,\nsuch as \"J2000.0\" or \"B1950.0\"";
const std::string kBadEpoch = "The epoch must begin with either \"B\" or \"J\"";
const std::string kNoRa =
    "Please select the fields required to\nspecify the object right ascension.";
const std::string kNoDec = "Please select the fields required to\nspecify the object declination.";

const std::vector<const char*> kRaBoxes = {"raHours", "raMinutes", "raSeconds"};
const std::vector<const char*> kDecBoxes = {"decSign", "decDegrees", "decMinutes", "decSeconds"};
// The boxes each notation enables.
const std::vector<std::vector<bool>> kRaTable = {
    {true, true, true}, {true, true, false}, {true, false, false}, {true, false, false}};
const std::vector<std::vector<bool>> kDecTable = {
    {true, true, true, true}, {true, true, true, false}, {false, true, false, false}};

// Types text key by key, as a keyboard would, Latin-1 letters and others included.
void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

// Five fields with every component chosen (field i for box i, modulo 5).
void Give(CRaDecDlg& dlg, int raNotation, int decNotation, const std::string& epoch) {
    dlg.m_astrFieldNames = FiveFieldNames();
    dlg.m_nRaNotation = raNotation;
    dlg.m_nDecNotation = decNotation;
    dlg.m_strEpoch = epoch;
    dlg.m_nRaHoursField = 0;
    dlg.m_nRaMinutesField = 1;
    dlg.m_nRaSecondsField = 2;
    dlg.m_nDecSignField = 3;
    dlg.m_nDecDegreesField = 4;
    dlg.m_nDecMinutesField = 0;
    dlg.m_nDecSecondsField = 1;
}

// The notations, then the seven field indexes, as the dialog holds them.
std::vector<int> Stored(const CRaDecDlg& dlg) {
    return {dlg.m_nRaNotation,      dlg.m_nDecNotation,     dlg.m_nRaHoursField,
            dlg.m_nRaMinutesField,  dlg.m_nRaSecondsField,  dlg.m_nDecSignField,
            dlg.m_nDecDegreesField, dlg.m_nDecMinutesField, dlg.m_nDecSecondsField};
}

class RaDecDlgTest : public ::testing::Test {
protected:
    void Open(int raNotation, int decNotation, const std::string& epoch = "J2000.0") {
        Give(dlg, raNotation, decNotation, epoch);
        dlg.OnInitDialog();
    }

    CRecordingInteraction ui;
    CRaDecDlg dlg{ui};
};

TEST_F(RaDecDlgTest, EnablesTheBoxesOfTheStoredNotationsAtStart) {
    for (std::size_t notation = 0; notation < 4; ++notation) {
        CRaDecDlg fresh(ui);
        const std::size_t dec = (3 - notation) % 3;
        Give(fresh, int(notation), int(dec), "J2000.0");
        fresh.OnInitDialog();
        EXPECT_EQ(EnabledOf(fresh, kRaBoxes), kRaTable[notation]) << notation;
        EXPECT_EQ(EnabledOf(fresh, kDecBoxes), kDecTable[dec]) << notation;
        EXPECT_EQ(Control<QLabel>(fresh, "raHoursLabel")->text(),
                  notation == 3 ? "Degrees:" : "Hours:");
    }
}

TEST_F(RaDecDlgTest, NotationOutOfRangeChecksNoButtonAndLeavesEveryBoxEnabled) {
    Open(5, -3);
    EXPECT_EQ(EnabledOf(dlg, kRaBoxes), std::vector<bool>(3, true));
    EXPECT_EQ(EnabledOf(dlg, kDecBoxes), std::vector<bool>(4, true));
    for (const std::string button : {"raNotation0", "raNotation1", "raNotation2", "raNotation3",
                                     "decNotation0", "decNotation1", "decNotation2"}) {
        EXPECT_FALSE(Control<QRadioButton>(dlg, button.c_str())->isChecked()) << button;
    }
    // Both notations are refused, in order, until a button is clicked.
    EXPECT_FALSE(dlg.OnOK());
    Click(dlg, "raNotation0");
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kNoRa, kNoDec}));
    Click(dlg, "decNotation0");
    EXPECT_TRUE(dlg.OnOK());
}

TEST_F(RaDecDlgTest, EachClickAppliesItsGroupsRowOfTheTableOnly) {
    Open(0, 0);
    const int clicks[] = {2, 1, 0, 2, 2, 0, 1};
    for (int notation : {3, 2, 1, 0, 3, 3, 2, 0, 1}) {
        Click(dlg, ("raNotation" + std::to_string(notation)).c_str());
        EXPECT_EQ(EnabledOf(dlg, kRaBoxes), kRaTable[std::size_t(notation)]) << notation;
        EXPECT_EQ(EnabledOf(dlg, kDecBoxes), kDecTable[0]) << "declination untouched";
        EXPECT_EQ(Control<QLabel>(dlg, "raHoursLabel")->text(),
                  notation == 3 ? "Degrees:" : "Hours:");
    }
    for (int notation : clicks) {
        Click(dlg, ("decNotation" + std::to_string(notation)).c_str());
        EXPECT_EQ(EnabledOf(dlg, kDecBoxes), kDecTable[std::size_t(notation)]) << notation;
        EXPECT_EQ(EnabledOf(dlg, kRaBoxes), kRaTable[1]) << "right ascension untouched";
    }
    // Disabling keeps what the boxes show.
    Click(dlg, "raNotation2");
    Click(dlg, "decNotation2");
    EXPECT_EQ(Shown(dlg, "raSeconds"), 2);
    EXPECT_EQ(Shown(dlg, "decSign"), 3);
}

TEST_F(RaDecDlgTest, RefusesInOrderWithTheTextsAndStaysOpenUntilAllIsGiven) {
    Open(0, 0, "");
    auto* epoch = Control<QLineEdit>(dlg, "epoch");
    Choose(dlg, "raSeconds", -1);
    Choose(dlg, "decMinutes", -1);
    EXPECT_FALSE(dlg.OnOK());
    for (const char* text : {"2000.0", "X2000", "B"}) {
        epoch->setText(text);
        EXPECT_FALSE(dlg.OnOK()) << text;
    }
    Choose(dlg, "raSeconds", 2);
    EXPECT_FALSE(dlg.OnOK());
    Choose(dlg, "decMinutes", 0);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{kNoEpoch, kBadEpoch, kBadEpoch, kNoRa, kNoDec}));
    for (const auto& message : ui.messages)
        EXPECT_EQ(message.icon, MessageIcon::Stop);
    EXPECT_EQ(dlg.m_strEpoch, "B");
}

TEST_F(RaDecDlgTest, StaleIndexShowsNothingIsRefusedOnlyWhereNeededAndUnusedBoxesAreStored) {
    Give(dlg, 2, 2, "J2000.0");
    dlg.m_nRaHoursField = 7;
    dlg.m_nRaMinutesField = 5;
    dlg.m_nDecSignField = 99;
    dlg.OnInitDialog();
    EXPECT_EQ(Shown(dlg, "raHours"), -1);
    EXPECT_EQ(Shown(dlg, "raMinutes"), -1);
    EXPECT_EQ(Shown(dlg, "decDegrees"), 4);
    EXPECT_EQ(Control<QComboBox>(dlg, "raHours")->count(), 5);
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{kNoRa});
    Choose(dlg, "raHours", 0);
    ASSERT_TRUE(dlg.OnOK());
    // Stale boxes read back as no field; the unused ones are stored as they show.
    EXPECT_EQ(Stored(dlg), (std::vector<int>{2, 2, 0, -1, 2, -1, 4, 0, 1}));
}

TEST_F(RaDecDlgTest, NoFieldsGiveEmptyBoxesAndTheRightAscensionRefusal) {
    Give(dlg, 0, 0, "J2000.0");
    dlg.m_astrFieldNames.clear();
    dlg.OnInitDialog();
    EXPECT_EQ(Control<QComboBox>(dlg, "raHours")->count(), 0);
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{kNoRa});
}

TEST_F(RaDecDlgTest, EpochIsUpperCaseAndAtMostThirtyCharacters) {
    Open(0, 0, "b1950.0");
    auto* epoch = Control<QLineEdit>(dlg, "epoch");
    EXPECT_EQ(epoch->text(), "B1950.0");
    epoch->clear();
    Type(epoch, QString::fromLatin1("j2000.0 \xe9t\xe9 \xff"));  // Latin-1 letters are typed too
    EXPECT_EQ(epoch->text(), QString::fromLatin1("J2000.0 \xc9T\xc9 \xff"));
    Type(epoch, QString::fromUtf8("\u20ac"));  // no Latin-1 byte: not taken
    EXPECT_EQ(epoch->text().size(), 13);
    Type(epoch, "abcdefghijklmnopqrstuvwxyz");
    const char* const kept =
        "J2000.0 \xc9T\xc9 \xff"
        "ABCDEFGHIJKLMNOPQ";
    EXPECT_EQ(epoch->text(), QString::fromLatin1(kept));
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.m_strEpoch, kept);
    EXPECT_EQ(dlg.m_strEpoch.size(), 30u);
}

}  // namespace
