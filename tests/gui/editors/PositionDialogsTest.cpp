// The position, label, magnitude and size dialogs, driven by scripts of what a person does:
// which boxes each choice enables, what OK refuses (in order, with a stop message, the dialog
// staying open) and what the dialog stores, unused and disabled boxes included. The rules
// themselves are tested without widgets in DialogRulesTest.
#include <gtest/gtest.h>

#include <memory>

#include "PositionEditorsSupport.h"
#include "core/editing/DialogRules.h"
#include "gui/editors/LabelDlg.h"
#include "gui/editors/MagnitudeDlg.h"
#include "gui/editors/RaDecDlg.h"
#include "gui/editors/SizeDlg.h"
#include "support/RecordingInteraction.h"

namespace {

// The position dialog shows the refusals of the rule it shares with the other front ends.
const std::string kNoEpoch = RaDecRefusal("", 0, {}, 0, {});
const std::string kBadEpoch = RaDecRefusal("X", 0, {}, 0, {});
const std::string kNoRa = RaDecRefusal("J", 0, {-1, 0, 0}, 0, {});
const std::string kNoDec = RaDecRefusal("J", 0, {}, 0, {-1, 0, 0, 0});
const std::string kNoLabels = "Please select the fields required to\nspecify the object labels.";
const std::string kNoMagnitudes =
    "Please select the fields required to\nspecify the object magnitude.";
const std::string kNoSize =
    "Please select the fields required to\nspecify the object size and position angle.";

// A dialog opened on the members written in values, over a list of field names.
struct Opened {
    std::unique_ptr<QDialog> dlg;
    Members members;
};

template <class D, Members (*Of)(D&)>
Opened Open(IUserInteraction& ui, const std::string& values, std::vector<std::string> names) {
    auto dlg = std::make_unique<D>(ui);
    dlg->m_astrFieldNames = std::move(names);
    Members members = Of(*dlg);
    Write(members, values);
    dlg->OnInitDialog();
    return {std::move(dlg), std::move(members)};
}

// How a dialog opens, the boxes an "enabled" step looks at and the field names it offers.
struct Kind {
    Opened (*open)(IUserInteraction&, const std::string&, std::vector<std::string>);
    std::vector<const char*> boxes;
    std::vector<std::string> names = {"RAh", "RAm", "RAs", "DE-", "DEd"};
};

const Kind kRaDec = {
    Open<CRaDecDlg, RaDecMembers>,
    {"raHours", "raMinutes", "raSeconds", "decSign", "decDegrees", "decMinutes", "decSeconds"}};
const Kind kRaDecWithoutFields = {Open<CRaDecDlg, RaDecMembers>, {}, {}};
const Kind kLabels = {Open<CLabelDlg, LabelMembers>,
                      {"field1", "field2", "field3", "prefix1", "prefix2", "prefix3"}};
const Kind kMagnitudes = {Open<CMagnitudeDlg, MagnitudeMembers>, {"field1", "field2", "field3"}};
const Kind kSize = {Open<CSizeDlg, SizeMembers>, {"majorAxis", "minorAxis", "positionAngleField"}};

// What a dialog opens on, the steps a person takes (see Do) and what it stores.
struct Script {
    struct {
        const char* name;
        const Kind* kind;
        std::string members;  // the members the dialog opens on
    } opening;
    std::vector<std::string> steps;
    struct {
        std::vector<std::string> messages;
        std::string members;  // empty: not compared
    } stored;
};

void PrintTo(const Script& script, std::ostream* os) {
    *os << script.opening.name;
}

class PositionDialogs : public ::testing::TestWithParam<Script> {};

TEST_P(PositionDialogs, FollowTheScript) {
    const Script& script = GetParam();
    CRecordingInteraction ui;
    const Kind& kind = *script.opening.kind;
    const Opened opened = kind.open(ui, script.opening.members, kind.names);
    QDialog& dlg = *opened.dlg;
    for (const std::string& step : script.steps)
        Do(dlg, step, kind.boxes);
    EXPECT_EQ(ui.Texts(), script.stored.messages);
    for (const auto& message : ui.messages)
        EXPECT_EQ(message.icon, MessageIcon::Stop);
    if (!script.stored.members.empty()) {
        EXPECT_EQ(Read(opened.members), script.stored.members);
    }
}

const Script kScripts[] = {
    {{"RaDecNotations", &kRaDec, "J2000.0|3|1|0|1|2|3|4|0|1|"},
     {"enabled x..xxx.", "label raHoursLabel Degrees:", "click raNotation1", "enabled xx.xxx.",
      "label raHoursLabel &Hours:", "click decNotation2", "enabled xx..x..", "click raNotation2",
      "enabled x...x..", "click raNotation0", "enabled xxx.x..", "click decNotation0",
      "enabled xxxxxxx", "click decNotation1", "enabled xxxxxx.", "click raNotation3",
      "enabled x..xxx.", "label raHoursLabel Degrees:", "ok"},
     {{}, "J2000.0|3|1|0|1|2|3|4|0|1|"}},
    {{"RaDecOutOfRange", &kRaDec, "J2000.0|5|-3|0|1|2|3|4|0|1|"},
     {"enabled xxxxxxx", "refused", "click raNotation0", "refused", "click decNotation0", "ok"},
     {{kNoRa, kNoDec}, "J2000.0|0|0|0|1|2|3|4|0|1|"}},
    {{"RaDecRefusals", &kRaDec, "b1950|0|0|0|1|2|3|4|0|1|"},
     {"type epoch ", "choose raSeconds -1", "choose decMinutes -1", "refused", "type epoch 2000.0",
      "refused", "type epoch X2000", "refused", "type epoch B", "refused", "choose raSeconds 2",
      "refused", "choose decMinutes 0", "ok"},
     {{kNoEpoch, kBadEpoch, kBadEpoch, kNoRa, kNoDec}, "B|0|0|0|1|2|3|4|0|1|"}},
    {{"RaDecStaleIndexes", &kRaDec, "J2000.0|2|2|7|5|2|99|4|0|1|"},
     {"refused", "choose raHours 0", "ok"},
     {{kNoRa}, "J2000.0|2|2|0|-1|2|-1|4|0|1|"}},
    {{"RaDecWithoutFields", &kRaDecWithoutFields, "J2000.0|0|0|0|1|2|3|4|0|1|"},
     {"refused"},
     {{kNoRa}, ""}},
    {{"LabelCounts", &kLabels, "2|0|1|2|NGC |IC |\xB0|"},
     {"enabled xx.xx.", "click count0", "enabled ......", "click count3", "enabled xxxxxx",
      "click count1", "enabled x..x..", "choose field3 4", "type prefix2 M\xE9", "ok"},
     {{}, "1|0|1|4|NGC |M\xE9|\xB0|"}},
    {{"LabelStaleIndex", &kLabels, "2|3|5|4|NGC |IC |\xB0|"},
     {"refused", "click count1", "ok"},
     {{kNoLabels}, "1|3|-1|4|NGC |IC |\xB0|"}},
    {{"LabelOutOfRange", &kLabels, "7|0|1|2|NGC |IC |\xB0|"},
     {"enabled xxxxxx", "refused"},
     {{kNoLabels}, ""}},
    {{"MagnitudeCounts", &kMagnitudes, "2|0|1|2|"},
     {"enabled xx.", "click count0", "enabled ...", "click count3", "enabled xxx", "click count1",
      "enabled x..", "ok"},
     {{}, "1|0|1|2|"}},
    {{"MagnitudeNone", &kMagnitudes, "0|-1|-1|-1|"}, {"ok"}, {{}, "0|-1|-1|-1|"}},
    {{"MagnitudeRefusals", &kMagnitudes, "3|2|3|8|"},
     {"refused", "choose field1 -1", "choose field3 0", "refused", "click count0", "click count2",
      "refused", "choose field1 4", "ok"},
     {{kNoMagnitudes, kNoMagnitudes, kNoMagnitudes}, "2|4|3|0|"}},
    {{"MagnitudeOutOfRange", &kMagnitudes, "-2|0|1|2|"}, {"enabled xxx"}, {{}, ""}},
    {{"SizeClicks", &kSize, "0|1|0|0|1|0|2|"},
     {"enabled ...", "click sizeFields1", "enabled x..", "click positionAngle", "enabled x.x",
      "click sizeFields2", "enabled xxx", "click sizeUnits2", "click sizeMeaning1",
      "click sizeFields0", "enabled ..x", "click positionAngle", "enabled ...", "ok"},
     {{}, "0|2|1|0|1|0|2|"}},
    {{"SizeAngleCheckedAtStart", &kSize, "1|1|0|0|1|1|2|"},
     {"enabled x.x", "ok"},
     {{}, "1|1|0|0|1|1|2|"}},
    {{"SizeRefusals", &kSize, "0|1|0|0|1|1|-1|"},
     {"refused", "click positionAngle", "click sizeFields2", "choose minorAxis -1", "refused",
      "click sizeFields1", "click sizeUnits2", "click sizeMeaning1", "ok"},
     {{kNoSize, kNoSize}, "1|2|1|0|-1|0|-1|"}},
    {{"SizeStaleIndexes", &kSize, "1|1|0|5|7|0|9|"},
     {"refused", "choose positionAngleField 2", "click sizeFields0", "ok"},
     {{kNoSize}, "0|1|0|-1|-1|0|2|"}},
    {{"SizeOutOfRange", &kSize, "4|9|-5|0|1|0|2|"},
     {"enabled xx.", "refused", "click sizeFields2", "ok"},
     {{kNoSize}, "2|9|-5|0|1|0|2|"}},
    // The epoch box shows and takes upper case, Latin-1 letters included, at most 30 of them;
    // a character without a Latin-1 byte is not taken.
    {{"RaDecEpochKeys", &kRaDec, "b1950.0|0|0|0|1|2|3|4|0|1|"},
     {"text epoch B1950.0", "type epoch ", "keys epoch j2000.0 \xC3\xA9t\xC3\xA9 \xC3\xBF",
      "text epoch J2000.0 \xC9T\xC9 \xFF", "keys epoch \xE2\x82\xAC",
      "text epoch J2000.0 \xC9T\xC9 \xFF", "keys epoch abcdefghijklmnopqrstuvwxyz",
      "text epoch J2000.0 \xC9T\xC9 \xFF"
      "ABCDEFGHIJKLMNOPQ",
      "ok"},
     {{},
      "J2000.0 \xC9T\xC9 \xFF"
      "ABCDEFGHIJKLMNOPQ|0|0|0|1|2|3|4|0|1|"}},
};

INSTANTIATE_TEST_SUITE_P(Scripts, PositionDialogs, ::testing::ValuesIn(kScripts),
                         [](const auto& test) { return std::string(test.param.opening.name); });

}  // namespace
