#include "settings/logic/NVAppList.h"

#include "core/model/NVText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

TEST(AppListEntry, NamingPerKindShowsTheRealNameAndKeepsTheMappedNodeName)
{
    const NVAppListEntry d = nv_app_entry_default();
    EXPECT_EQ(d.kind, NVAppEntryKind::Default);
    EXPECT_EQ(d.appName, "Default");
    EXPECT_EQ(d.nodeName, "Default");

    const NVAppListEntry f = nv_app_entry_for_url("file:///opt/Corel%20Painter/Painter%202019.bin.x");
    EXPECT_EQ(f.kind, NVAppEntryKind::File);
    EXPECT_EQ(f.appName, "Painter2019") << "cut before the first dot, spaces removed";
    EXPECT_EQ(f.nodeName, "Painter2019");

    const NVAppListEntry digit = nv_app_entry_for_url("file:///usr/bin/3dcoat");
    EXPECT_EQ(digit.appName, "3dcoat") << "the list shows the real name";
    EXPECT_EQ(digit.nodeName, "_3dcoat") << "the context keeps the store's element name";

    const NVAppListEntry path = nv_app_entry_for_url("/usr/bin/krita");
    EXPECT_EQ(path.appName, "krita");
    EXPECT_EQ(path.nodeName, "krita");

    // A folder named after the default context names no default entry.
    const NVAppListEntry inDefaultDir = nv_app_entry_for_app_path("file:///opt/DefaultTools/");
    EXPECT_EQ(inDefaultDir.kind, NVAppEntryKind::Missing);
    EXPECT_EQ(inDefaultDir.appName, "DefaultTools");

    const NVAppListEntry missing = nv_app_entry_for_app_path("file:///nowhere/Old%20App.bin");
    EXPECT_EQ(missing.kind, NVAppEntryKind::Missing);
    EXPECT_EQ(missing.appName, "Old App.bin") << "the last path component as it is";
    EXPECT_EQ(missing.nodeName, "OldApp");

    EXPECT_EQ(nv_app_entry_for_app_path("Default").kind, NVAppEntryKind::Default);
    EXPECT_EQ(nv_app_entry_for_app_path("file:///bin/sh").kind, NVAppEntryKind::File);
    EXPECT_EQ(nv_path_of_url("file:///a%20b/c%zz"), "/a b/c%zz");
    EXPECT_EQ(nv_path_of_url("/plain path"), "/plain path");
}

TEST(AppList, LimitDuplicatesAndContextIndexes)
{
    std::vector<NVAppListEntry> entries{nv_app_entry_default(), nv_app_entry_for_url("/usr/bin/krita")};
    EXPECT_FALSE(nv_app_list_full(entries.size()));
    EXPECT_FALSE(nv_app_list_full(7));
    EXPECT_TRUE(nv_app_list_full(8)) << "the default and seven applications";

    EXPECT_EQ(nv_app_list_find(entries, nv_app_entry_for_url("/opt/other/krita").nodeName), 1u)
        << "another program of the same name would share the context";
    EXPECT_EQ(nv_app_list_find(entries, nv_app_entry_for_url("/usr/bin/kri ta").nodeName), 1u);
    EXPECT_FALSE(nv_app_list_find(entries, "gimp"));

    const std::vector<std::string> names{"Default", "gimp", "krita"};
    EXPECT_EQ(nv_context_index(names, "krita"), 2);
    EXPECT_FALSE(nv_context_index(names, "inkscape"));
}

TEST(AppList, PlacementPerFlavourKeepsTheBottomOffsetInDownwardCoordinates)
{
    const NVWindowRect main{100, 50, 900, 700};
    const NVWindowRect p = nv_app_list_placement(NVFlavour::Primary, main);
    EXPECT_EQ(p.x, 748);
    EXPECT_EQ(p.y + p.height, 750 - 62);
    EXPECT_EQ(p.width, 310);
    EXPECT_EQ(p.height, 520);
    const NVWindowRect s = nv_app_list_placement(NVFlavour::Second, main);
    EXPECT_EQ(s.x, 600);
    EXPECT_EQ(s.y + s.height, 750 - 78);
    EXPECT_EQ(nv_app_list_placement(NVFlavour::Third, main).x, 600);
}

class CfgContexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(cfg.get(), 0, sizeof(NVConfig));
        set(0, "Default", 10);
    }
    void set(int i, const char* path, uint64_t key)
    {
        std::strcpy(cfg->contexts[i].appPath, path);
        cfg->contexts[i].hbtns[0].funcBit = key;
    }
    std::string path(int i) { return std::string(nv_buffer_text(cfg->contexts[i].appPath)); }
    std::unique_ptr<NVConfig> cfg = std::make_unique<NVConfig>();
};

TEST_F(CfgContexts, AddCopiesTheDefaultAndRefusesWhatWouldNotFitOrHasNoPlace)
{
    ASSERT_TRUE(nv_cfg_add_context(*cfg, 1, "file:///usr/bin/krita"));
    EXPECT_EQ(path(1), "file:///usr/bin/krita");
    EXPECT_EQ(cfg->contexts[1].hbtns[0].funcBit, 10u);

    const std::string longest(NV_STR_MAX - 1, 'a');
    EXPECT_TRUE(nv_cfg_add_context(*cfg, 2, longest));
    EXPECT_EQ(path(2), longest);
    EXPECT_FALSE(nv_cfg_add_context(*cfg, 3, longest + "b")) << "a cut path would match the wrong program";
    EXPECT_FALSE(nv_app_path_fits(longest + "b"));
    EXPECT_FALSE(nv_cfg_add_context(*cfg, 0, "x")) << "the default is not replaced";
    EXPECT_FALSE(nv_cfg_add_context(*cfg, NV_CONTEXT_MAX, "x"));
    EXPECT_EQ(path(3), "");
}

TEST_F(CfgContexts, RemoveMovesLaterContextsDownAndClearsTheLast)
{
    for (int i = 1; i < NV_CONTEXT_MAX; ++i)
        set(i, ("app" + std::to_string(i)).c_str(), static_cast<uint64_t>(i));
    nv_cfg_remove_context(*cfg, 2);
    EXPECT_EQ(path(1), "app1");
    EXPECT_EQ(path(2), "app3");
    EXPECT_EQ(cfg->contexts[2].hbtns[0].funcBit, 3u);
    EXPECT_EQ(path(6), "app7");
    EXPECT_EQ(path(7), "");
    EXPECT_EQ(cfg->contexts[7].hbtns[0].funcBit, 0u);
    nv_cfg_remove_context(*cfg, 0);
    EXPECT_EQ(path(0), "Default") << "the default context stays";
}

} // namespace
