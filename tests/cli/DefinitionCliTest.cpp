// catforge-cli info and create: the listing, JSON both ways, JSON errors and exit statuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliCommands.h"
#include "DefinitionJson.h"
#include "core/model/CatforgeDoc.h"
#include "support/CliRun.h"
#include "support/EveryMember.h"
#include "support/Golden.h"
#include "support/TempDir.h"

namespace {

using Result = CliResult;

Result RunCli(std::vector<std::string> args) {
    return RunCliCommands(AddDefinitionCommands, std::move(args));
}

}  // namespace

TEST(DefinitionInfo, ListingNamesFieldsTypesSymbolsAndMarksSelectionsWithoutAField) {
    CTempDir dir;
    CCatforgeDoc doc;
    doc.m_aFields = {{"RAh", "h", 1, 2}, {"Type", "", 4, 6}};
    doc.m_nRaHoursField = 0;
    doc.m_nRaMinutesField = 2;  // past the end of the list
    doc.m_nRaSecondsField = -7;
    doc.m_nDecNotation = 2;
    doc.m_nDefaultType = 13;
    doc.m_nDefaultSymbol = -2;
    doc.m_crScreenColour = 0x00123456;
    doc.m_strNotes = "first\r\nsecond \xe9";
    doc.m_aUserSymbols = {{"Cross", "0 0 MA\r\n1 1 DA"}};
    doc.m_aTypeRules = {{1, -1, 1, "Gx"}, {9, 3, 0, "\t"}};
    const std::string path = dir.Path("def.zdd");
    ASSERT_TRUE(doc.OnSaveDocument(path));

    const Result r = RunCli({"info", path});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    std::string listing = r.out;
    ASSERT_EQ(listing.find(path), 12u);
    ExpectSameAsGolden(listing.replace(12, path.size(), "def.zdd"), "definition-info.txt");
}

TEST(DefinitionInfo, JsonHasEveryMemberInOrderAndRoundTripsEveryByte) {
    CTempDir dir;
    CCatforgeDoc doc;
    ChangeEveryMember(doc);
    doc.m_aFields[0].m_strName = "Name";
    doc.m_crScreenColour = 0x00123456;
    doc.m_astrLabelPrefix[2] = "\xe9";
    const std::string original = dir.Path("original.zdd");
    ASSERT_TRUE(doc.OnSaveDocument(original));

    const Result info = RunCli({"info", "--json", original});
    ASSERT_EQ(info.status, kExitOk) << info.err;
    const auto json = DefinitionJson::parse(info.out);
    // Every member of the table, in its order.
    std::string keys, members;
    for (const auto& item : json.items())
        keys += item.key() + " ";
    for (const auto& member : MemberTable<Definition>::kMembers)
        members += std::string(member.name) + " ";
    EXPECT_EQ(keys, members);
    EXPECT_EQ(json["m_aFields"][0]["m_strName"], "Name");
    EXPECT_EQ(json["m_crScreenColour"], "0x00123456");
    EXPECT_EQ(json["m_astrLabelPrefix"][2], "\xc3\xa9");  // byte 0xE9 as U+00E9

    const std::string jsonPath = dir.Write("def.json", info.out);
    const std::string copy = dir.Path("copy.zdd");
    const Result create = RunCli({"create", "--from-json", jsonPath, copy});
    ASSERT_EQ(create.status, kExitOk) << create.err;
    EXPECT_EQ(CTempDir::Read(copy), CTempDir::Read(original));
}

TEST(DefinitionCreate, MembersLeftOutTakeTheirDefaults) {
    CTempDir dir;
    // Integers may be written with an exponent or a zero fraction.
    const std::string json = dir.Write("def.json", R"({"m_strTitle": "Only a title",
        "m_crPrinterColour": 255, "m_aFields": [{"m_strName": "Name", "m_nEndCol": 1e3}],
        "m_nRecordLength": 1.04e2, "m_nRaHoursField": -2.0})");
    const std::string out = dir.Path("out.zdd");
    const Result r = RunCli({"create", "--from-json", json, out});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    CCatforgeDoc expected;
    expected.m_strTitle = "Only a title";
    expected.m_crPrinterColour = 0x000000FF;
    expected.m_aFields = {{"Name", "", 1, 1000}};
    expected.m_nRecordLength = 104;
    expected.m_nRaHoursField = -2;
    EXPECT_EQ(CTempDir::Read(out), expected.EncodeDefinition());

    const std::string fresh = dir.Path("new.zdd");
    ASSERT_EQ(RunCli({"create", fresh}).status, kExitOk);
    EXPECT_EQ(CTempDir::Read(fresh), CCatforgeDoc().EncodeDefinition());
}

TEST(DefinitionCreate, BadJsonIsRefusedNamingTheMemberAndWritesNothing) {
    struct Case {
        std::string json;
        std::string error;
    };
    const std::vector<Case> cases = {
        {R"({"m_strTitel": "x"})", "unknown member \"m_strTitel\""},
        {R"({"m_aFields": [{"m_strName": "a"}, {"m_nStart": 1}]})",
         "m_aFields[1]: unknown member \"m_nStart\""},
        {R"({"m_nRecordLength": "104"})", "m_nRecordLength: expected an integer, got a string"},
        {R"({"m_nRecordLength": 10.5})",
         "m_nRecordLength: expected an integer, got a number with a fraction"},
        {R"({"m_bPositionAngle": true})", "m_bPositionAngle: expected an integer, got true/false"},
        {R"({"m_nRecordLength": 2147483648})",
         "m_nRecordLength: 2147483648 is outside the 32-bit integer range"},
        {R"({"m_nRaHoursField": -2147483649})",
         "m_nRaHoursField: -2147483649 is outside the 32-bit integer range"},
        {R"({"m_nRaHoursField": 3e9})",
         "m_nRaHoursField: 3000000000.0 is outside the 32-bit integer range"},
        {R"({"m_aTypeRules": [{"m_nField": null}]})",
         "m_aTypeRules[0].m_nField: expected an integer, got null"},
        {R"({"m_strTitle": 5})", "m_strTitle: expected a string, got an integer"},
        {R"({"m_aFields": {}})", "m_aFields: expected an array, got an object"},
        {R"({"m_aUserSymbols": ["Cross"]})", "m_aUserSymbols[0]: expected an object, got a string"},
        {R"({"m_anLabelField": [1, 2]})", "m_anLabelField: expected an array of 3, got 2 elements"},
        {R"({"m_astrLabelPrefix": ["", 1, ""]})",
         "m_astrLabelPrefix[1]: expected a string, got an integer"},
        {R"({"m_crScreenColour": "white"})",
         "m_crScreenColour: expected a colour \"0x00BBGGRR\" or an integer, got \"white\""},
        {R"({"m_crScreenColour": -1})",
         "m_crScreenColour: -1 is outside the colour range 0..0xFFFFFFFF"},
        {R"({"m_strNotes": "ab\u20ac"})",
         "m_strNotes: character U+20AC at byte 2 does not fit in one byte (only U+0000..U+00FF "
         "can be kept)"},
        {R"({"m_szDataFile": "a\u0000b"})",
         "m_szDataFile: a path cannot hold the character U+0000"},
        {"{\"m_szDataFile\": \"" + std::string(260, 'p') + "\"}",
         "m_szDataFile: 260 bytes long, at most 259 fit"},
        {"[]", "expected an object, got an array"},
    };
    CTempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        const std::string json = dir.Write("bad.json", c.json);
        const std::string out = dir.Path("out.zdd");
        const Result r = RunCli({"create", "--from-json", json, out});
        EXPECT_EQ(r.status, kExitRefused);
        EXPECT_EQ(r.err, "error: " + json + ": " + c.error + "\n");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    const std::string broken = dir.Write("broken.json", "{\"m_strTitle\": ");
    const Result r = RunCli({"create", "--from-json", broken, dir.Path("out.zdd")});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.err.rfind("error: " + broken + ": not valid JSON: ", 0), 0u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.zdd")));
}

TEST(DefinitionJsonText, EveryByteSurvivesLatin1ToUtf8AndBack) {
    const std::string all = every_member::AllBytes();
    const std::string text = Latin1ToUtf8(all);
    EXPECT_EQ(text.size(), all.size() + 128);  // the 128 high bytes take two bytes each
    std::string back;
    std::string error;
    ASSERT_TRUE(Utf8ToLatin1(text, back, error)) << error;
    EXPECT_EQ(back, all);
    for (const std::string bad :
         {"\xc3", "\xc3(", "\xe9t\xe9", "\xc0\x80", "\xe0\x80\x80", "\xff"}) {
        EXPECT_FALSE(Utf8ToLatin1(bad, back, error)) << bad;
        EXPECT_NE(error.find("not UTF-8 text at byte"), std::string::npos) << error;
    }
}

TEST(DefinitionInfo, RefusesWhatIsNoDefinitionAndHandsCataloguesOver) {
    // The reader's own messages (the definition tests check them all), as errors.
    CTempDir dir;
    const std::string other = dir.Write("other.zdd", "hello, world");
    Result r = RunCli({"info", other});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "error: File \"" + other + "\"\nis not a Zenivo data definition file!\n");

    // A compiled catalogue goes to the catalogue side, never to the definition reader.
    const std::string catalogue = dir.Write("cat.zdc", std::string("zdc0Data\x01\0\0\0", 12));
    r = RunCli({"info", catalogue, "--entries", "3"});
    EXPECT_EQ(r.err.find("is not a Zenivo data definition file"), std::string::npos) << r.err;
}

TEST(DefinitionInfo, ProgramExitStatuses) {
    CTempDir dir;
    const std::string example = std::string(CATFORGE_EXAMPLES_DIR) + "/cluster-stars.zdd";
    EXPECT_EQ(RunCliProgram("info --json " + example), kExitOk);
    EXPECT_EQ(RunCliProgram("info " + dir.Path("missing.zdd")), kExitRefused);
    EXPECT_EQ(RunCliProgram(""), kExitUsage);
    EXPECT_EQ(RunCliProgram("info --entries -1 " + example), kExitUsage);
}
