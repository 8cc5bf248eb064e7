#include "editors/RaDecDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

#include "editors/PositionEditorsSupport.h"
#include "support/RecordingInteraction.h"

namespace {

const std::string kNoEpoch =
    "Please supply an epoch for the data,\nsuch as \"J2000.0\" or \"B1950.0\"";
const std::string kBadEpoch = "The epoch must begin with either \"B\" or \"J\"";
const std::string kNoRa =
    "Please select the fields required to\nspecify the object right ascension.";
const std::string kNoDec = "Please select the fields required to\nspecify the object declination.";

const char* const kRaBoxes[] = {"raHours", "raMinutes", "raSeconds"};
const char* const kDecBoxes[] = {"decSign", "decDegrees", "decMinutes", "decSeconds"};

// Types text key by key, as a keyboard would, Latin-1 letters and others included.
void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

class RaDecDlgTest : public ::testing::Test {
protected:
    // A dialog over five fields with every component chosen (field i for box i, modulo 5).
    void Open(int raNotation, int decNotation, const std::string& epoch = "J2000.0") {
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
        dlg.OnInitDialog();
    }
    std::vector<bool> RaEnabled() {
        std::vector<bool> enabled;
        for (const char* box : kRaBoxes)
            enabled.push_back(Enabled(dlg, box));
        return enabled;
    }
    std::vector<bool> DecEnabled() {
        std::vector<bool> enabled;
        for (const char* box : kDecBoxes)
            enabled.push_back(Enabled(dlg, box));
        return enabled;
    }

    CRecordingInteraction ui;
    CRaDecDlg dlg{ui};
};

const std::vector<std::vector<bool>> kRaTable = {
    {true, true, true}, {true, true, false}, {true, false, false}};
const std::vector<std::vector<bool>> kDecTable = {
    {true, true, true, true}, {true, true, true, false}, {false, true, false, false}};

TEST_F(RaDecDlgTest, EnablesTheBoxesOfTheStoredNotationsAtStart) {
    for (int notation = 0; notation < 3; ++notation) {
        CRaDecDlg fresh(ui);
        fresh.m_astrFieldNames = FiveFieldNames();
        fresh.m_nRaNotation = notation;
        fresh.m_nDecNotation = 2 - notation;
        fresh.OnInitDialog();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Enabled(fresh, kRaBoxes[i]), kRaTable[static_cast<std::size_t>(notation)][i])
                << notation << " " << kRaBoxes[i];
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Enabled(fresh, kDecBoxes[i]),
                      kDecTable[static_cast<std::size_t>(2 - notation)][i])
                << notation << " " << kDecBoxes[i];
        }
    }
}

TEST_F(RaDecDlgTest, NotationOutOfRangeChecksNoButtonAndLeavesEveryBoxEnabled) {
    Open(5, -3);
    EXPECT_EQ(RaEnabled(), std::vector<bool>(3, true));
    EXPECT_EQ(DecEnabled(), std::vector<bool>(4, true));
    for (int i = 0; i < 3; ++i) {
        const std::string ra = "raNotation" + std::to_string(i);
        const std::string dec = "decNotation" + std::to_string(i);
        EXPECT_FALSE(Control<QRadioButton>(dlg, ra.c_str())->isChecked());
        EXPECT_FALSE(Control<QRadioButton>(dlg, dec.c_str())->isChecked());
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
    for (int notation : clicks) {
        Click(dlg, ("raNotation" + std::to_string(notation)).c_str());
        EXPECT_EQ(RaEnabled(), kRaTable[static_cast<std::size_t>(notation)]) << notation;
        EXPECT_EQ(DecEnabled(), kDecTable[0]) << "declination untouched";
    }
    for (int notation : clicks) {
        Click(dlg, ("decNotation" + std::to_string(notation)).c_str());
        EXPECT_EQ(DecEnabled(), kDecTable[static_cast<std::size_t>(notation)]) << notation;
        EXPECT_EQ(RaEnabled(), kRaTable[1]) << "right ascension untouched";
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
    epoch->setText("2000.0");
    EXPECT_FALSE(dlg.OnOK());
    epoch->setText("X2000");
    EXPECT_FALSE(dlg.OnOK());
    epoch->setText("B");
    EXPECT_FALSE(dlg.OnOK());
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

TEST(RaDecRefusal, NeedsExactlyTheFieldsOfEachNotation) {
    // Every combination of chosen boxes against every notation: the required ones are the
    // ones the notation enables.
    for (int notation = -1; notation <= 3; ++notation) {
        for (int mask = 0; mask < 16; ++mask) {
            std::array<int, 4> dec{};
            std::array<int, 3> ra{};
            for (std::size_t i = 0; i < 4; ++i)
                dec[i] = (mask >> i) & 1 ? 7 : -1;
            for (std::size_t i = 0; i < 3; ++i)
                ra[i] = (mask >> i) & 1 ? 7 : -1;
            const bool inRange = notation >= 0 && notation <= 2;
            bool raComplete = inRange, decComplete = inRange;
            for (std::size_t i = 0; inRange && i < 3; ++i) {
                if (kRaTable[static_cast<std::size_t>(notation)][i] && ra[i] < 0)
                    raComplete = false;
            }
            for (std::size_t i = 0; inRange && i < 4; ++i) {
                if (kDecTable[static_cast<std::size_t>(notation)][i] && dec[i] < 0)
                    decComplete = false;
            }
            const std::array<int, 3> allRa{0, 1, 2};
            const std::array<int, 4> allDec{0, 1, 2, 3};
            EXPECT_EQ(RaDecRefusal("J2000", notation, ra, 0, allDec), raComplete ? "" : kNoRa)
                << notation << " " << mask;
            EXPECT_EQ(RaDecRefusal("J2000", 0, allRa, notation, dec), decComplete ? "" : kNoDec)
                << notation << " " << mask;
        }
    }
    // The epoch comes first, whatever else is missing.
    EXPECT_EQ(RaDecRefusal("", 0, {-1, -1, -1}, 0, {-1, -1, -1, -1}), kNoEpoch);
    EXPECT_EQ(RaDecRefusal("j2000", 0, {-1, -1, -1}, 0, {-1, -1, -1, -1}), kBadEpoch);
}

TEST_F(RaDecDlgTest, UnusedBoxesAreStoredAsTheyShow) {
    Open(2, 2);
    Choose(dlg, "raMinutes", 4);
    Choose(dlg, "raSeconds", -1);
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.m_nRaNotation, 2);
    EXPECT_EQ(dlg.m_nDecNotation, 2);
    EXPECT_EQ(dlg.m_nRaHoursField, 0);
    EXPECT_EQ(dlg.m_nRaMinutesField, 4);
    EXPECT_EQ(dlg.m_nRaSecondsField, -1);
    EXPECT_EQ(dlg.m_nDecSignField, 3);
    EXPECT_EQ(dlg.m_nDecDegreesField, 4);
    EXPECT_EQ(dlg.m_nDecMinutesField, 0);
    EXPECT_EQ(dlg.m_nDecSecondsField, 1);
}

TEST_F(RaDecDlgTest, StaleIndexShowsNothingAndIsRefusedOnlyWhereNeeded) {
    dlg.m_astrFieldNames = FiveFieldNames();
    dlg.m_strEpoch = "J2000.0";
    dlg.m_nRaNotation = 2;
    dlg.m_nDecNotation = 2;
    dlg.m_nRaHoursField = 7;
    dlg.m_nRaMinutesField = 5;
    dlg.m_nDecDegreesField = 4;
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
    EXPECT_EQ(dlg.m_nRaMinutesField, -1);
    EXPECT_EQ(dlg.m_nDecSignField, -1);
}

TEST_F(RaDecDlgTest, NoFieldsGiveEmptyBoxesAndTheRightAscensionRefusal) {
    dlg.m_nRaNotation = 0;
    dlg.m_nDecNotation = 0;
    dlg.m_strEpoch = "J2000.0";
    dlg.m_nRaHoursField = 0;
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
    EXPECT_EQ(epoch->text(), QString::fromLatin1("J2000.0 \xc9T\xc9 \xff"
                                                 "ABCDEFGHIJKLMNOPQ"));
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.m_strEpoch,
              "J2000.0 \xc9T\xc9 \xff"
              "ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(dlg.m_strEpoch.size(), 30u);
}

}  // namespace
