// catforge-cli info and create: the listing, JSON both ways and JSON errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliCommands.h"
#include "DefinitionJson.h"
#include "core/model/CatforgeDoc.h"
#include "support/CliRun.h"
#include "support/EveryMember.h"
#include "support/Golden.h"
#include "support/TempDir.h"

static CliResult RunCli(std::vector<std::string> args) {
    return RunCliCommands(AddDefinitionCommands, std::move(args));
}

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

    CliResult r = RunCli({"info", path});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(r.out.find(path), 12u);
    ExpectSameAsGolden(r.out.replace(12, path.size(), "def.zdd"), "definition-info.txt");
}

TEST(DefinitionInfo, JsonHasEveryMemberInOrderAndRoundTripsEveryByte) {
    CTempDir dir;
    CCatforgeDoc doc;
    ChangeEveryMember(doc);
    const std::string original = dir.Path("original.zdd");
    ASSERT_TRUE(doc.OnSaveDocument(original));

    const CliResult info = RunCli({"info", "--json", original});
    ASSERT_EQ(info.status, kExitOk) << info.err;
    // Every member of the table in its order, colours as hex, bytes over 0x7F as characters.
    ExpectSameAsGolden(info.out, "definition/every-member.json");

    const std::string copy = dir.Path("copy.zdd");
    const CliResult create =
        RunCli({"create", "--from-json", dir.Write("def.json", info.out), copy});
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
    const CliResult r = RunCli({"create", "--from-json", json, out});
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

// Each bad definition is refused with its reason, which the golden transcript lists under it.
TEST(DefinitionCreate, BadJsonIsRefusedNamingTheMemberAndWritesNothing) {
    const std::string cases[] = {
        R"({"m_strTitel": "x"})",
        R"({"m_aFields": [{"m_strName": "a"}, {"m_nStart": 1}]})",
        R"({"m_nRecordLength": "104"})",
        R"({"m_nRecordLength": 10.5})",
        R"({"m_bPositionAngle": true})",
        R"({"m_nRecordLength": 2147483648})",
        R"({"m_nRaHoursField": -2147483649})",
        R"({"m_nRaHoursField": 3e9})",
        R"({"m_aTypeRules": [{"m_nField": null}]})",
        R"({"m_strTitle": 5})",
        R"({"m_aFields": {}})",
        R"({"m_aUserSymbols": ["Cross"]})",
        R"({"m_anLabelField": [1, 2]})",
        R"({"m_astrLabelPrefix": ["", 1, ""]})",
        R"({"m_crScreenColour": "white"})",
        R"({"m_crScreenColour": -1})",
        R"({"m_strNotes": "ab\u20ac"})",
        R"({"m_szDataFile": "a\u0000b"})",
        "{\"m_szDataFile\": \"" + std::string(260, 'p') + "\"}",
        "[]",
        "{\"m_strTitle\": ",
    };
    CTempDir dir;
    const std::string out = dir.Path("out.zdd");
    std::string transcript;
    for (const std::string& text : cases) {
        const std::string json = dir.Write("bad.json", text);
        const CliResult r = RunCli({"create", "--from-json", json, out});
        EXPECT_EQ(r.status, kExitRefused) << text;
        EXPECT_FALSE(std::filesystem::exists(out)) << text;
        const std::string prefix = "error: " + json + ": ";
        transcript +=
            text + "\n  " + (r.err.rfind(prefix, 0) == 0 ? r.err.substr(prefix.size()) : r.err);
    }
    ExpectSameAsGolden(transcript, "bad-definitions.txt");
}

// Every byte surviving the way to UTF-8 and back is left to the member round trips.
TEST(DefinitionJsonText, WhatIsNotUtf8IsRefused) {
    std::string back, error;
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
    CliResult r = RunCli({"info", other});
    EXPECT_EQ(r.status, kExitRefused);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "error: File \"" + other + "\"\nis not a Zenivo data definition file!\n");

    // A compiled catalogue goes to the catalogue side, never to the definition reader.
    const std::string catalogue = dir.Write("cat.zdc", std::string("zdc0Data\x01\0\0\0", 12));
    r = RunCli({"info", catalogue, "--entries", "3"});
    EXPECT_EQ(r.err.find("is not a Zenivo data definition file"), std::string::npos) << r.err;
}
