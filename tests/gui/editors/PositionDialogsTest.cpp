// The position, label, magnitude and size dialogs, driven by scripts of what a person does:
// which boxes each choice enables, what OK refuses (in order, with a stop message, the dialog
// staying open) and what the dialog stores, unused and disabled boxes included. The rules
// themselves are tested without widgets in DialogRulesTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <sstream>

#include "PositionEditorsSupport.h"
#include "gui/editors/LabelDlg.h"
#include "gui/editors/MagnitudeDlg.h"
#include "gui/editors/RaDecDlg.h"
#include "gui/editors/SizeDlg.h"
#include "support/RecordingInteraction.h"

namespace {

const std::string kNoEpoch =
    "Please supply an epoch for the data,\nsuch as \"J2000.0\" or \"B1950.0\"";
const std::string kBadEpoch = "The epoch must begin with either \"B\" or \"J\"";
const std::string kNoRa =
    "Please select the fields required to\nspecify the object right ascension.";
const std::string kNoDec = "Please select the fields required to\nspecify the object declination.";
const std::string kNoLabels = "Please select the fields required to\nspecify the object labels.";
const std::string kNoMagnitudes =
    "Please select the fields required to\nspecify the object magnitude.";
const std::string kNoSize =
    "Please select the fields required to\nspecify the object size and position angle.";

// The members a dialog stores, each followed by '|'.
void Put(std::string& text, int value) {
    text += std::to_string(value) + "|";
}
void Put(std::string& text, const std::string& value) {
    text += value + "|";
}
template <class T>
void Put(std::string& text, const std::array<T, 3>& values) {
    for (const T& value : values)
        Put(text, value);
}
template <class... T>
std::string Stored(const T&... values) {
    std::string text;
    (Put(text, values), ...);
    return text;
}

// A dialog opened on its members, and what it stores.
struct Opened {
    std::unique_ptr<QDialog> dlg;
    std::function<std::string()> stored;
};

// Right ascension and declination notations and the seven field indexes.
Opened RaDec(IUserInteraction& ui, int ra, int dec, const std::string& epoch = "J2000.0",
             std::array<int, 7> f = {0, 1, 2, 3, 4, 0, 1},
             std::vector<std::string> names = FiveFieldNames()) {
    auto* d = new CRaDecDlg(ui);
    d->m_astrFieldNames = std::move(names);
    d->m_nRaNotation = ra;
    d->m_nDecNotation = dec;
    d->m_strEpoch = epoch;
    d->m_nRaHoursField = f[0];
    d->m_nRaMinutesField = f[1];
    d->m_nRaSecondsField = f[2];
    d->m_nDecSignField = f[3];
    d->m_nDecDegreesField = f[4];
    d->m_nDecMinutesField = f[5];
    d->m_nDecSecondsField = f[6];
    d->OnInitDialog();
    return {std::unique_ptr<QDialog>(d), [d] {
                return Stored(d->m_strEpoch, d->m_nRaNotation, d->m_nDecNotation,
                              d->m_nRaHoursField, d->m_nRaMinutesField, d->m_nRaSecondsField,
                              d->m_nDecSignField, d->m_nDecDegreesField, d->m_nDecMinutesField,
                              d->m_nDecSecondsField);
            }};
}

Opened Labels(IUserInteraction& ui, int count, std::array<int, 3> fields) {
    auto* d = new CLabelDlg(ui);
    d->m_astrFieldNames = FiveFieldNames();
    d->m_nLabelCount = count;
    d->m_anLabelField = fields;
    d->m_astrLabelPrefix = {"NGC ", "IC ", "\xB0"};
    d->OnInitDialog();
    return {std::unique_ptr<QDialog>(d),
            [d] { return Stored(d->m_nLabelCount, d->m_anLabelField, d->m_astrLabelPrefix); }};
}

Opened Magnitudes(IUserInteraction& ui, int count, std::array<int, 3> fields) {
    auto* d = new CMagnitudeDlg(ui);
    d->m_astrFieldNames = FiveFieldNames();
    d->m_nMagnitudeCount = count;
    d->m_anMagnitudeField = fields;
    d->OnInitDialog();
    return {std::unique_ptr<QDialog>(d),
            [d] { return Stored(d->m_nMagnitudeCount, d->m_anMagnitudeField); }};
}

// Size fields, angle checked, major, minor and angle field; units 1 and meaning 0 unless given.
Opened Size(IUserInteraction& ui, int sizeFields, bool angle, int major = 0, int minor = 1,
            int angleField = 2, int units = 1, int meaning = 0) {
    auto* d = new CSizeDlg(ui);
    d->m_astrFieldNames = FiveFieldNames();
    d->m_nSizeFields = sizeFields;
    d->m_nSizeUnits = units;
    d->m_nSizeMeaning = meaning;
    d->m_nMajorAxisField = major;
    d->m_nMinorAxisField = minor;
    d->m_bPositionAngle = angle ? 1 : 0;
    d->m_nPositionAngleField = angleField;
    d->OnInitDialog();
    return {std::unique_ptr<QDialog>(d), [d] {
                return Stored(d->m_nSizeFields, d->m_nSizeUnits, d->m_nSizeMeaning,
                              d->m_nMajorAxisField, d->m_nMinorAxisField, d->m_bPositionAngle,
                              d->m_nPositionAngleField);
            }};
}

const std::vector<const char*> kRaDecBoxes = {"raHours",    "raMinutes",  "raSeconds", "decSign",
                                              "decDegrees", "decMinutes", "decSeconds"};
const std::vector<const char*> kLabelBoxes = {"field1",  "field2",  "field3",
                                              "prefix1", "prefix2", "prefix3"};
const std::vector<const char*> kMagnitudeBoxes = {"field1", "field2", "field3"};
const std::vector<const char*> kSizeBoxes = {"majorAxis", "minorAxis", "positionAngleField"};

// Steps: "click NAME", "choose NAME ENTRY", "type NAME TEXT" (the whole text of a line box),
// "label NAME TEXT", "enabled PATTERN" (x enabled, . disabled, over the case's boxes), "ok"
// (accepted) and "refused" (OK pressed, the dialog stays open).
struct Script {
    const char* name;
    std::function<Opened(IUserInteraction&)> open;
    std::vector<const char*> boxes;
    std::vector<std::string> steps;
    std::vector<std::string> messages;
    std::string stored;  // empty: not compared
};

void PrintTo(const Script& script, std::ostream* os) {
    *os << script.name;
}

class PositionDialogs : public ::testing::TestWithParam<Script> {};

TEST_P(PositionDialogs, FollowTheScript) {
    const Script& script = GetParam();
    CRecordingInteraction ui;
    const Opened opened = script.open(ui);
    QDialog& dlg = *opened.dlg;
    for (const std::string& step : script.steps) {
        SCOPED_TRACE(step);
        std::istringstream words(step);
        std::string verb, name, rest;
        words >> verb >> name;
        std::getline(words >> std::ws, rest);
        if (verb == "ok" || verb == "refused") {
            Click(dlg, "ok");
            EXPECT_EQ(dlg.result(), verb == "ok" ? QDialog::Accepted : QDialog::Rejected);
        } else if (verb == "click") {
            Click(dlg, name.c_str());
        } else if (verb == "choose") {
            Choose(dlg, name.c_str(), std::stoi(rest));
        } else if (verb == "type") {
            Control<QLineEdit>(dlg, name.c_str())->setText(QString::fromLatin1(rest.c_str()));
        } else if (verb == "label") {
            EXPECT_EQ(Control<QLabel>(dlg, name.c_str())->text().toStdString(), rest);
        } else {
            ASSERT_EQ(verb, "enabled");
            std::string pattern;
            for (bool enabled : EnabledOf(dlg, script.boxes))
                pattern += enabled ? 'x' : '.';
            EXPECT_EQ(pattern, name);
        }
    }
    EXPECT_EQ(ui.Texts(), script.messages);
    for (const auto& message : ui.messages)
        EXPECT_EQ(message.icon, MessageIcon::Stop);
    if (!script.stored.empty()) {
        EXPECT_EQ(opened.stored(), script.stored);
    }
}

const Script kScripts[] = {
    {"RaDecNotations",
     [](IUserInteraction& ui) { return RaDec(ui, 3, 1); },
     kRaDecBoxes,
     {"enabled x..xxx.", "label raHoursLabel Degrees:", "click raNotation1", "enabled xx.xxx.",
      "label raHoursLabel &Hours:", "click decNotation2", "enabled xx..x..", "click raNotation2",
      "enabled x...x..", "click raNotation0", "enabled xxx.x..", "click decNotation0",
      "enabled xxxxxxx", "click decNotation1", "enabled xxxxxx.", "click raNotation3",
      "enabled x..xxx.", "label raHoursLabel Degrees:", "ok"},
     {},
     "J2000.0|3|1|0|1|2|3|4|0|1|"},
    {"RaDecOutOfRange",
     [](IUserInteraction& ui) { return RaDec(ui, 5, -3); },
     kRaDecBoxes,
     {"enabled xxxxxxx", "refused", "click raNotation0", "refused", "click decNotation0", "ok"},
     {kNoRa, kNoDec},
     "J2000.0|0|0|0|1|2|3|4|0|1|"},
    {"RaDecRefusals",
     [](IUserInteraction& ui) { return RaDec(ui, 0, 0, "b1950"); },
     kRaDecBoxes,
     {"type epoch ", "choose raSeconds -1", "choose decMinutes -1", "refused", "type epoch 2000.0",
      "refused", "type epoch X2000", "refused", "type epoch B", "refused", "choose raSeconds 2",
      "refused", "choose decMinutes 0", "ok"},
     {kNoEpoch, kBadEpoch, kBadEpoch, kNoRa, kNoDec},
     "B|0|0|0|1|2|3|4|0|1|"},
    {"RaDecStaleIndexes",
     [](IUserInteraction& ui) {
         return RaDec(ui, 2, 2, "J2000.0", {7, 5, 2, 99, 4, 0, 1});
     },
     kRaDecBoxes,
     {"refused", "choose raHours 0", "ok"},
     {kNoRa},
     "J2000.0|2|2|0|-1|2|-1|4|0|1|"},
    {"RaDecWithoutFields",
     [](IUserInteraction& ui) {
         return RaDec(ui, 0, 0, "J2000.0", {0, 1, 2, 3, 4, 0, 1}, {});
     },
     kRaDecBoxes,
     {"refused"},
     {kNoRa},
     ""},
    {"LabelCounts",
     [](IUserInteraction& ui) {
         return Labels(ui, 2, {0, 1, 2});
     },
     kLabelBoxes,
     {"enabled xx.xx.", "click count0", "enabled ......", "click count3", "enabled xxxxxx",
      "click count1", "enabled x..x..", "choose field3 4", "type prefix2 M\xE9", "ok"},
     {},
     "1|0|1|4|NGC |M\xE9|\xB0|"},
    {"LabelStaleIndex",
     [](IUserInteraction& ui) {
         return Labels(ui, 2, {3, 5, 4});
     },
     kLabelBoxes,
     {"refused", "click count1", "ok"},
     {kNoLabels},
     "1|3|-1|4|NGC |IC |\xB0|"},
    {"LabelOutOfRange",
     [](IUserInteraction& ui) {
         return Labels(ui, 7, {0, 1, 2});
     },
     kLabelBoxes,
     {"enabled xxxxxx", "refused"},
     {kNoLabels},
     ""},
    {"MagnitudeCounts",
     [](IUserInteraction& ui) {
         return Magnitudes(ui, 2, {0, 1, 2});
     },
     kMagnitudeBoxes,
     {"enabled xx.", "click count0", "enabled ...", "click count3", "enabled xxx", "click count1",
      "enabled x..", "ok"},
     {},
     "1|0|1|2|"},
    {"MagnitudeNone",
     [](IUserInteraction& ui) {
         return Magnitudes(ui, 0, {-1, -1, -1});
     },
     kMagnitudeBoxes,
     {"ok"},
     {},
     "0|-1|-1|-1|"},
    {"MagnitudeRefusals",
     [](IUserInteraction& ui) {
         return Magnitudes(ui, 3, {2, 3, 8});
     },
     kMagnitudeBoxes,
     {"refused", "choose field1 -1", "choose field3 0", "refused", "click count0", "click count2",
      "refused", "choose field1 4", "ok"},
     {kNoMagnitudes, kNoMagnitudes, kNoMagnitudes},
     "2|4|3|0|"},
    {"MagnitudeOutOfRange",
     [](IUserInteraction& ui) {
         return Magnitudes(ui, -2, {0, 1, 2});
     },
     kMagnitudeBoxes,
     {"enabled xxx"},
     {},
     ""},
    {"SizeClicks",
     [](IUserInteraction& ui) { return Size(ui, 0, false); },
     kSizeBoxes,
     {"enabled ...", "click sizeFields1", "enabled x..", "click positionAngle", "enabled x.x",
      "click sizeFields2", "enabled xxx", "click sizeUnits2", "click sizeMeaning1",
      "click sizeFields0", "enabled ..x", "click positionAngle", "enabled ...", "ok"},
     {},
     "0|2|1|0|1|0|2|"},
    {"SizeAngleCheckedAtStart",
     [](IUserInteraction& ui) { return Size(ui, 1, true); },
     kSizeBoxes,
     {"enabled x.x", "ok"},
     {},
     "1|1|0|0|1|1|2|"},
    {"SizeRefusals",
     [](IUserInteraction& ui) { return Size(ui, 0, true, 0, 1, -1); },
     kSizeBoxes,
     {"refused", "click positionAngle", "click sizeFields2", "choose minorAxis -1", "refused",
      "click sizeFields1", "click sizeUnits2", "click sizeMeaning1", "ok"},
     {kNoSize, kNoSize},
     "1|2|1|0|-1|0|-1|"},
    {"SizeStaleIndexes",
     [](IUserInteraction& ui) { return Size(ui, 1, false, 5, 7, 9); },
     kSizeBoxes,
     {"refused", "choose positionAngleField 2", "click sizeFields0", "ok"},
     {kNoSize},
     "0|1|0|-1|-1|0|2|"},
    {"SizeOutOfRange",
     [](IUserInteraction& ui) { return Size(ui, 4, false, 0, 1, 2, 9, -5); },
     kSizeBoxes,
     {"enabled xx.", "refused", "click sizeFields2", "ok"},
     {kNoSize},
     "2|9|-5|0|1|0|2|"},
};

INSTANTIATE_TEST_SUITE_P(Scripts, PositionDialogs, ::testing::ValuesIn(kScripts),
                         [](const auto& test) { return std::string(test.param.name); });

// Types text key by key, as a keyboard would, Latin-1 letters and others included.
void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

TEST(RaDecDlg, EpochIsUpperCaseAndAtMostThirtyCharacters) {
    CRecordingInteraction ui;
    const Opened opened = RaDec(ui, 0, 0, "b1950.0");
    auto* epoch = Control<QLineEdit>(*opened.dlg, "epoch");
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
    Click(*opened.dlg, "ok");
    EXPECT_EQ(opened.dlg->result(), QDialog::Accepted);
    EXPECT_EQ(opened.stored().substr(0, 31), std::string(kept) + "|");
}

}  // namespace
