// Every member of the definition, changed by the member table, survives each form the table
// drives: the definition file, the catalogue's copy, JSON; and the reset gives the defaults.
#include <gtest/gtest.h>

#include "DefinitionJson.h"
#include "core/io/ByteIO.h"
#include "core/model/DefinitionCodec.h"
#include "support/EveryMember.h"

namespace {

// definition written in the form and read back as the version reads it, leaving left bytes.
Definition Decoded(const Definition& definition, DefinitionBytes form, std::int32_t version,
                   std::size_t left = 0) {
    std::string bytes;
    CByteWriter out(bytes);
    EncodeDefinitionMembers(definition, form, out);
    Definition back;
    CByteReader in(bytes);
    DecodeDefinitionMembers(in, form, version, back);
    EXPECT_FALSE(in.Failed()) << in.Error();
    EXPECT_EQ(in.Remaining(), left);
    return back;
}

// definition with the members of the given storage back at their defaults.
Definition WithDefaults(Definition definition, std::uint8_t storage) {
    const Definition defaults;
    for (const Member<Definition>& member : MemberTable<Definition>::kMembers) {
        if ((member.storage & storage) != 0)
            std::visit([&](auto pointer) { definition.*pointer = defaults.*pointer; },
                       member.pointer);
    }
    return definition;
}

class DefinitionForms : public ::testing::TestWithParam<int> {};

TEST_P(DefinitionForms, MemberSurvivesFileCatalogueAndJson) {
    Definition changed;
    ChangeEveryMember(changed, GetParam());
    ASSERT_FALSE(changed == Definition());

    EXPECT_TRUE(Decoded(changed, DefinitionBytes::File, 2) == changed);

    // The catalogue's copy and version 1 files leave members out: those keep their defaults.
    EXPECT_TRUE(Decoded(changed, DefinitionBytes::Catalogue, 1) ==
                WithDefaults(changed, kNotInCatalogue));
    const Definition inVersion1 = WithDefaults(changed, kSinceVersion2);
    // A version 1 file: its members as written by the version 2 writer, cut where it ends; the
    // type mode and the two list counts are not read.
    EXPECT_TRUE(Decoded(inVersion1, DefinitionBytes::File, 1, 12) == inVersion1);

    Definition fromJson;
    std::string error;
    ASSERT_TRUE(DefinitionFromJson(DefinitionToJson(changed), fromJson, error)) << error;
    EXPECT_TRUE(fromJson == changed);

    ResetDefinition(changed);
    EXPECT_TRUE(changed == Definition());
}

// -1: every member at once; then each member of the table alone.
INSTANTIATE_TEST_SUITE_P(
    EveryMember, DefinitionForms,
    ::testing::Range(-1, static_cast<int>(std::size(MemberTable<Definition>::kMembers))));

}  // namespace
