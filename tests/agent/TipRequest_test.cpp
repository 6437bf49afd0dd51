// Which tip a function-set switch asks for.
#include "agent/TipRequest.h"

#include "core/channel/NVNotificationNames.h"

#include <gtest/gtest.h>

namespace {

NVPlistDict switch_to(int32_t muxIndex, int32_t screen, NVPlistStrings names = {"Brush", "Eraser|Undo", "Zoom", "Pan"})
{
    return {{nvKeyMuxIndex, muxIndex}, {nvKeyScreenToDisplay, screen}, {nvKeyNameArray, std::move(names)}};
}

} // namespace

TEST(TipRequest, NamesTheNewSetOnTheAskedScreenElseTheFirst)
{
    auto tip = nv_tip_request(switch_to(1, 1), 2);
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->text, "Eraser|Undo");
    EXPECT_EQ(tip->screen, 1);

    tip = nv_tip_request(switch_to(2, 2), 2);
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->text, "Zoom");
    EXPECT_EQ(tip->screen, 0) << "screen 2 of two";
    EXPECT_EQ(nv_tip_request(switch_to(0, -1), 2)->screen, 0);
    EXPECT_EQ(nv_tip_request(switch_to(0, 0), 1)->screen, 0);
}

TEST(TipRequest, OnlyTheFirstThreeSetsWithANameHaveATip)
{
    EXPECT_TRUE(nv_tip_request(switch_to(0, 0), 1));
    EXPECT_FALSE(nv_tip_request(switch_to(3, 0), 1)) << "set 3 exists but has no tip";
    EXPECT_FALSE(nv_tip_request(switch_to(-1, 0), 1));
    EXPECT_FALSE(nv_tip_request(switch_to(2, 0, {"Brush", "Eraser"}), 1)) << "past the names";
    EXPECT_FALSE(nv_tip_request({}, 1)) << "set 0 without names";
}
