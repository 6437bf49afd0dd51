// Keys on the tablet picture: placement, hit tests at the key edges of real layouts,
// layouts without keys, and the indices some models leave unshown.
#include "settings/logic/NVEkeyPicture.h"

#include "tests/settings/ModelLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(EkeyPicture, HitsAtTheEdgesOfEveryKeyOfARealLayout)
{
    // Eight hard keys and one ring.
    const ModelLayout model("NUVRO_TA53");
    ASSERT_EQ(model.layout.ekNum, 9u);
    const NVPoint origin{40, 25};
    const auto keys = nv_ekey_views(model.layout, origin);
    ASSERT_EQ(keys.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const NVRect& r = keys[static_cast<size_t>(i)].outer;
        const NVRect& src = model.layout.ekLayouts[i].rect;
        EXPECT_EQ(r.left, src.left + origin.x);
        EXPECT_EQ(r.bottom, src.bottom + origin.y);
        EXPECT_EQ(nv_ekey_at(keys, {r.left, r.top}), i);
        EXPECT_EQ(nv_ekey_at(keys, {r.right - 1, r.bottom - 1}), i);
        EXPECT_NE(nv_ekey_at(keys, {r.right, r.top}), i);
        EXPECT_NE(nv_ekey_at(keys, {r.left, r.bottom}), i);
        EXPECT_NE(nv_ekey_at(keys, {r.left - 1, r.top}), i);
    }
    // The ring answers on its band, not in its hole.
    const NVEkeyView& ring = keys[8];
    ASSERT_GT(ring.inner.right, ring.inner.left);
    EXPECT_EQ(nv_ekey_at(keys, {(ring.inner.left + ring.inner.right) / 2, (ring.inner.top + ring.inner.bottom) / 2}), -1);
    EXPECT_EQ(nv_ekey_at(keys, {ring.inner.left - 1, (ring.inner.top + ring.inner.bottom) / 2}), 8);
    EXPECT_EQ(nv_ekey_at(keys, {0, 0}), -1);
}

TEST(EkeyPicture, ScaledPictureKeepsEveryKeyUnderItsOwnCentre)
{
    const ModelLayout model("NUVRO_P4D9");
    const auto keys = nv_ekey_views(model.layout, {12, 30}, 0.8);
    ASSERT_EQ(keys.size(), 31u);
    for (size_t i = 0; i < keys.size(); ++i) {
        const NVLayoutEkey& k = model.layout.ekLayouts[i];
        EXPECT_EQ(keys[i].outer.left, 12 + static_cast<int>(std::lround(k.rect.left * 0.8))) << i;
        // The ring's centre lies in its hole; every other key answers at its centre.
        if (keys[i].inner.right == keys[i].inner.left)
            EXPECT_EQ(nv_ekey_at(keys, keys[i].anchor), static_cast<int>(i));
    }
}

TEST(EkeyPicture, SoftKeysFollowTheHardKeys)
{
    const ModelLayout model("NUVRO_P4D9");
    const auto keys = nv_ekey_views(model.layout, {0, 0});
    ASSERT_EQ(keys.size(), 31u);
    const NVRect& soft0 = model.layout.sbtns[0].rect;
    EXPECT_EQ(nv_ekey_at(keys, {soft0.left, soft0.top}), 14);
    const NVRect& ring = model.layout.mekeys[0].rect;
    EXPECT_EQ(nv_ekey_at(keys, {ring.left, (ring.top + ring.bottom) / 2}), 30);
}

TEST(EkeyPicture, LayoutWithoutKeysHitsNothing)
{
    NVLayoutTablet empty{};
    EXPECT_TRUE(nv_ekey_views(empty, {0, 0}).empty());
    EXPECT_EQ(nv_ekey_at({}, {1, 1}), -1);
    const ModelLayout unknown("NO_SUCH_MODEL");
    EXPECT_EQ(nv_ekey_at(nv_ekey_views(unknown.layout, {0, 0}), {10, 10}), -1);
}

TEST(EkeyPicture, UnshownIndices)
{
    EXPECT_TRUE(nv_ekey_index_unshown(34, 4));
    EXPECT_TRUE(nv_ekey_index_unshown(70, 4));
    EXPECT_TRUE(nv_ekey_index_unshown(45, 5));
    EXPECT_TRUE(nv_ekey_index_unshown(71, 6));
    EXPECT_TRUE(nv_ekey_index_unshown(95, 0));
    EXPECT_FALSE(nv_ekey_index_unshown(34, 5));
    EXPECT_FALSE(nv_ekey_index_unshown(11, 4));
}

} // namespace
