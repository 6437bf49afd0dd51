#include "core/config/NVXmlDoc.h"

#include "core/log/NVLog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sys/resource.h>
#include <vector>

namespace {

NVXmlDocPtr parse(const std::string& text)
{
    return nv_xml_read_memory(text.data(), text.size());
}

} // namespace

TEST(XmlDoc, PathsTakeTheFirstMatchInDocumentOrder)
{
    // The first B has no C: the first match lies under the second B.
    auto doc = parse("<A><B><D>1</D></B><B><C>2<E>x</E></C><C>3</C></B></A>");
    ASSERT_TRUE(doc);
    EXPECT_EQ(nv_xml_string_value(nv_xml_first(doc.get(), "/A/B/C")), "2x");
    EXPECT_EQ(nv_xml_all(doc.get(), "/A/B/C").size(), 2u);
    EXPECT_EQ(nv_xml_first(doc.get(), "/A/B/F"), nullptr);
    EXPECT_EQ(nv_xml_first(doc.get(), "/A//C"), nullptr);
    EXPECT_EQ(nv_xml_first(doc.get(), "/A/B/"), nullptr);
    EXPECT_EQ(nv_xml_first(doc.get(), "A/B"), nullptr);
    EXPECT_EQ(nv_xml_first(doc.get(), "/B"), nullptr);
}

TEST(XmlDoc, TextIsSetLiterallyAndSerialisedPrettyPrinted)
{
    auto doc = parse("<A><B><C/></B></A>");
    nv_xml_set_text(nv_xml_first(doc.get(), "/A/B"), "x < y & \"z\"");
    EXPECT_EQ(nv_xml_string_value(nv_xml_first(doc.get(), "/A/B")), "x < y & \"z\"");
    const std::string out = nv_xml_serialise(doc.get());
    EXPECT_EQ(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<A>\n  <B>x &lt; y &amp; \"z\"</B>\n</A>\n");
    auto again = parse(out);
    EXPECT_EQ(nv_xml_string_value(nv_xml_first(again.get(), "/A/B")), "x < y & \"z\"");
}

TEST(XmlDoc, HostileDocumentsAreRefusedWithOneLogLine)
{
    nvtest::TempDir dir;
    const std::string secret = (dir.path() / "secret.txt").string();
    nvtest::write_file(secret, "SECRET");
    std::string deep;
    for (int d = 0; d < 100000; ++d)
        deep += "<a>";
    const std::string cases[] = {
        // External entity.
        "<!DOCTYPE A [<!ENTITY x SYSTEM \"file://" + secret + "\">]><A>&x;</A>",
        // External DTD.
        "<!DOCTYPE A SYSTEM \"file://" + secret + "\"><A/>",
        // Billion laughs.
        "<?xml version=\"1.0\"?><!DOCTYPE A [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">]><A>&f;&f;&f;</A>",
        deep,
        "<A><B></A>",
        "",
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string& text = cases[i];
        const std::string file = (dir.path() / ("case" + std::to_string(i) + ".xml")).string();
        nvtest::write_file(file, text);
        NVLogCapture log;
        EXPECT_EQ(nv_xml_read_file(file), nullptr) << "case " << i;
        EXPECT_EQ(log.count("XML document refused"), 1u) << "case " << i;
    }
}

TEST(XmlDoc, OversizedFilesAreRefusedUnparsed)
{
    nvtest::TempDir dir;
    const std::string file = (dir.path() / "big.xml").string();
    std::string text = "<A>";
    text += std::string(NV_XML_MAX_FILE, 'x');
    text += "</A>";
    nvtest::write_file(file, text);
    NVLogCapture log;
    EXPECT_EQ(nv_xml_read_file(file), nullptr);
    EXPECT_TRUE(log.contains("larger than"));
}

TEST(XmlDoc, MissingFileIsSilent)
{
    NVLogCapture log;
    EXPECT_EQ(nv_xml_read_file("/nonexistent/none.xml"), nullptr);
    EXPECT_TRUE(log.lines().empty());
}

TEST(XmlDoc, AtomicWriteReplacesWholeOrNothing)
{
    nvtest::TempDir dir;
    const auto file = dir.path() / "f.xml";
    nvtest::write_file(file, "old");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    ASSERT_TRUE(nv_write_file_atomic(file.string(), "new content"));
    EXPECT_EQ(nvtest::read_file(file), "new content");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));

    // A target that cannot be replaced keeps what it was and leaves no temporary file.
    const auto blocked = dir.path() / "blocked";
    std::filesystem::create_directories(blocked / "inner");
    EXPECT_FALSE(nv_write_file_atomic(blocked.string(), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(blocked / "inner"));
    EXPECT_FALSE(nv_write_file_atomic((dir.path() / "missing" / "f.xml").string(), "x"));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u);
}

TEST(XmlDoc, ASaveKilledMidWriteLeavesTheOldFileAndNoTemporary)
{
    nvtest::TempDir dir;
    const auto file = dir.path() / "config_user.xml";
    nvtest::write_file(file, "old");
    // The file-size limit kills the writer inside its write, as a crash would.
    const auto killedWhileWriting = [&] {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 4096;
        setrlimit(RLIMIT_FSIZE, &limit);
        nv_write_file_atomic(file.string(), std::string(1 << 20, 'x'));
        std::_Exit(0);
    };
    EXPECT_EXIT(killedWhileWriting(), ::testing::KilledBySignal(SIGXFSZ), "");
    EXPECT_EQ(nvtest::read_file(file), "old");
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"config_user.xml"});
}

TEST(XmlDoc, StaleTemporariesOfAFileAreRemovedFreshOnesAndOthersKept)
{
    nvtest::TempDir dir;
    const auto file = dir.path() / "config_user.xml";
    nvtest::write_file(file, "kept");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {"config_user.xml.a1B2c3", "config_user.xml.ZZZZZZ", "config_user.xml.bak",
                             "config_user.xml.a1B2c3d", "other.xml.a1B2c3", "config_user.xml.dir123"}) {
        if (std::string(name).ends_with("dir123"))
            std::filesystem::create_directory(dir.path() / name);
        else
            nvtest::write_file(dir.path() / name, "x");
        std::filesystem::last_write_time(dir.path() / name, old);
    }
    nvtest::write_file(dir.path() / "config_user.xml.Fresh1", "being written");
    nv_remove_stale_temporaries(file.string());
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"config_user.xml", "config_user.xml.bak", "config_user.xml.a1B2c3d",
                                            "other.xml.a1B2c3", "config_user.xml.dir123", "config_user.xml.Fresh1"}));
    EXPECT_EQ(nvtest::read_file(file), "kept");
}
