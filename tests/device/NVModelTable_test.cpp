#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

TEST(ModelTable, IdentitiesHaveTheFixedFormAndAreUnique)
{
    const std::regex maker("NUVRO_[MTP][0-9A-F]{3}");
    const std::regex oem("OEM(00|02|06|07|08|12|14|19)_[MTP][0-9A-F]{3}");
    std::set<std::string> names;
    std::set<uint32_t> types;
    for (const auto& m : nv_maker_models()) {
        EXPECT_TRUE(std::regex_match(m.identity, maker)) << m.identity;
        names.insert(m.identity);
        types.insert(m.devType);
    }
    for (const auto& m : nv_oem_models()) {
        EXPECT_TRUE(std::regex_match(m.identity, oem)) << m.identity;
        names.insert(m.identity);
        types.insert(m.devType);
    }
    const size_t total = nv_maker_models().size() + nv_oem_models().size();
    EXPECT_EQ(names.size(), total);
    EXPECT_EQ(types.size(), total);
    EXPECT_GE(nv_maker_models().size(), 55u);
    EXPECT_GE(nv_oem_models().size(), 35u);
    EXPECT_EQ(names.count(NV_PEN_STANDARD), 0u) << "pen nodes are not models";
}

TEST(ModelTable, LookupsAgreeWithTheRows)
{
    for (uint32_t t = 1; t <= 100; ++t) {
        const NVModelInfo* m = nv_model_info(t);
        if (!m)
            continue;
        EXPECT_EQ(m->devType, t);
        EXPECT_STREQ(get_dev_type(t), m->identity);
        EXPECT_STREQ(get_pen_node_in_xml(t), m->penNode);
        EXPECT_EQ(nv_model_by_identity(m->identity), m);
        EXPECT_EQ(std::string(m->penNode).rfind("NUVRO_P", 0), 0u);
    }
    EXPECT_EQ(nv_model_info(0), nullptr);
    EXPECT_EQ(nv_model_info(101), nullptr);
    EXPECT_EQ(nv_model_by_identity("NUVRO_X000"), nullptr);
}

TEST(ModelTable, SpecialDeviceTypesHaveTheKeysTheirBehaviourNeeds)
{
    for (uint32_t t : {7u, 8u, 13u}) { // touch keys: ids decode to positions 0..12
        const NVModelInfo* m = nv_model_info(t);
        ASSERT_NE(m, nullptr);
        EXPECT_GE(m->mekeyNum, 1);
        EXPECT_EQ(m->mekeyPositions[0], 13);
    }
    for (uint32_t t : {19u, 21u, 25u, 39u, 87u}) { // fixed strips of 16 soft keys
        ASSERT_NE(nv_model_info(t), nullptr);
        EXPECT_EQ(nv_model_info(t)->sbtnNum, 16) << t;
    }
    ASSERT_NE(nv_model_info(22), nullptr);
    // Mirrored hard keys: the kept key and the swapped pairs exist.
    EXPECT_GT(nv_model_info(21)->hbtnNum, 12);
    EXPECT_GT(nv_model_info(25)->hbtnNum, 12);
    EXPECT_GT(nv_model_info(34)->hbtnNum, 4);
    EXPECT_GT(nv_model_info(70)->hbtnNum, 4);
    EXPECT_GT(nv_model_info(71)->hbtnNum, 6);
    EXPECT_GT(nv_model_info(93)->hbtnNum, 7);
    EXPECT_GT(nv_model_info(95)->hbtnNum, 0);
    for (uint32_t t : {24u, 32u, 37u, 38u, 45u, 72u, 74u, 81u}) { // function-set menus
        ASSERT_NE(nv_model_info(t), nullptr);
        EXPECT_GE(nv_model_info(t)->mekeyNum, 1) << t;
        EXPECT_GT(nv_model_info(t)->mekeySets[0], 1) << t;
    }
    for (uint32_t t : {21u, 22u, 25u, 34u, 70u, 71u}) // menus listed three functions a set
        EXPECT_EQ(nv_model_info(t)->mekeyPositions[0], 3) << t;
}
