// A user-defaults suite in its own file under the user's config folder.
#include "settings/logic/NVUserDefaults.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

TEST(NVUserDefaults, ValuesPersistAcrossInstancesAndRemovalIsByKey)
{
    nvtest::ScopedConfigHome home;
    NVUserDefaults suite(nvSuiteNuvroTablet);
    EXPECT_EQ(suite.path(), (home.path() / "suite_nuvrotablet.plist").string());
    EXPECT_FALSE(suite.has(nvKeyOpenDriver));
    EXPECT_TRUE(suite.remove(nvKeyOpenDriver)) << "removing what is not there succeeds";

    ASSERT_TRUE(suite.set(nvKeyOpenDriver, "1310720-4"));
    ASSERT_TRUE(suite.setBool("ContinuousEffectsSN1", true));
    NVUserDefaults again(nvSuiteNuvroTablet);
    EXPECT_EQ(again.string(nvKeyOpenDriver), "1310720-4");
    EXPECT_TRUE(again.boolValue("ContinuousEffectsSN1"));
    EXPECT_FALSE(again.boolValue("ContinuousEffectsSN2"));
    EXPECT_FALSE(again.string("ContinuousEffectsSN1")) << "a number is not a string";

    ASSERT_TRUE(again.remove(nvKeyOpenDriver));
    EXPECT_FALSE(suite.has(nvKeyOpenDriver)) << "each read sees the file as it is now";
    EXPECT_TRUE(suite.boolValue("ContinuousEffectsSN1")) << "other keys stay";
}

TEST(NVUserDefaults, ACorruptOrUnwritableFileIsEmptyAndWritesFail)
{
    nvtest::TempDir dir;
    const auto path = dir.path() / "s.plist";
    nvtest::write_file(path, "<plist><dict><key>a</key>");
    NVUserDefaults suite = NVUserDefaults::atPath(path.string());
    EXPECT_FALSE(suite.has("a"));
    EXPECT_TRUE(suite.set("a", "b")) << "a corrupt file is replaced";
    EXPECT_EQ(suite.string("a"), "b");

    nvtest::write_file(dir.path() / "file", "x");
    NVUserDefaults blocked = NVUserDefaults::atPath((dir.path() / "file" / "s.plist").string());
    EXPECT_FALSE(blocked.set("a", "b"));
}
