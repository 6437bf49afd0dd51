// The translation files: the compiled catalogues are found for a locale and hold every message of
// their sources, every message has English and finished Chinese text, and every key the settings
// application and the helper use has an English text.
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTranslator>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

const fs::path kTsDir = NV_TS_DIR;
const fs::path kSourceDir = NV_SOURCE_DIR;

struct TsMessage {
    std::string source;
    std::string translation;
    bool finished = true;
};
using TsFile = std::map<std::string, TsMessage>; // by id

// A message without an id, or an id given twice (in this file or an earlier one of the same
// language), is a fault of the file.
void read_ts(const fs::path& path, TsFile& messages)
{
    QFile file(QString::fromStdString(path.string()));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    QXmlStreamReader xml(&file);
    TsMessage* current = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"message") {
            const std::string id = xml.attributes().value(QLatin1String("id")).toString().toStdString();
            EXPECT_FALSE(id.empty()) << path << ": message without an id at line " << xml.lineNumber();
            auto [it, added] = messages.try_emplace(id);
            EXPECT_TRUE(added) << path << ": id \"" << id << "\" given twice";
            current = &it->second;
        } else if (xml.name() == u"source" && current) {
            current->source = xml.readElementText().toStdString();
        } else if (xml.name() == u"translation" && current) {
            current->finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            current->translation = xml.readElementText().toStdString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path << ": " << xml.errorString().toStdString();
}

// Every source of one language ("<window>_<language>.ts"), read into one catalogue.
TsFile read_language(const std::string& language)
{
    const std::string suffix = "_" + language + ".ts";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kTsDir)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > suffix.size() && name.ends_with(suffix))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    EXPECT_FALSE(files.empty()) << "no " << suffix << " sources in " << kTsDir;
    TsFile messages;
    for (const fs::path& file : files)
        read_ts(file, messages);
    return messages;
}

const TsFile& english()
{
    static const TsFile file = read_language("en");
    return file;
}

const TsFile& chinese()
{
    static const TsFile file = read_language("zh_CN");
    return file;
}

QString catalogue_dir() { return QString::fromStdString((nvtest::resources_dir() / "translations").string()); }

// The place markers of a text (%1, %L2, %n), sorted: a translation keeps the same ones.
std::vector<std::string> place_markers(const std::string& text)
{
    static const std::regex marker(R"(%L?(\d+|n))");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), marker); it != std::sregex_iterator(); ++it)
        found.push_back(it->str());
    std::sort(found.begin(), found.end());
    return found;
}

// Every message id the C++ and Designer sources under the folders use, with where it is first used:
// arguments of qtTrId and QT_TRID_NOOP, literals that are whole "str_" keys (keys kept in tables,
// e.g. the flavours' window titles) and the ids of Designer strings.
std::map<std::string, std::string> used_keys(const std::vector<fs::path>& folders)
{
    static const std::regex call(R"re((?:qtTrId|QT_TRID_NOOP)\s*\(\s*"([^"\\]+)")re");
    static const std::regex tableKey(R"re("(str_[A-Za-z0-9_]+)")re");
    static const std::regex designer(R"re(<string[^>]*\bid="([^"]+)")re");
    std::map<std::string, std::string> keys;
    for (const fs::path& folder : folders) {
        if (!fs::is_directory(folder))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string ext = entry.path().extension().string();
            const bool designerFile = ext == ".ui";
            if (!entry.is_regular_file() || !(designerFile || ext == ".cpp" || ext == ".h"))
                continue;
            const std::string text = nvtest::read_file(entry.path());
            auto collect = [&](const std::regex& pattern) {
                for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
                    const auto at = text.begin() + it->position();
                    const auto line = 1 + std::count(text.begin(), at, '\n');
                    keys.try_emplace((*it)[1].str(), entry.path().string() + ":" + std::to_string(line));
                }
            };
            if (designerFile) {
                collect(designer);
            } else {
                collect(call);
                collect(tableKey);
            }
        }
    }
    return keys;
}

// "key (where)" for every used key without an English text.
std::vector<std::string> keys_without_english(const std::vector<fs::path>& folders)
{
    std::vector<std::string> missing;
    for (const auto& [key, where] : used_keys(folders)) {
        const auto it = english().find(key);
        if (it == english().end() || it->second.translation.empty())
            missing.push_back(key + " (" + where + ")");
    }
    return missing;
}

TEST(TranslationCatalogues, TheLocaleFindsItsCatalogueAndQtTrIdReadsIt)
{
    int argc = 1;
    char name[] = "translations_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    struct Case {
        const char* locale;
        std::map<const char*, QString> texts;
    };
    const Case cases[] = {
        {"en_US",
         {{"str_M_ok", "OK"},
          {"str_SET_installNow", "Install Now"},
          {"Kelta Graphics Tablet", "Kelta Graphics Tablet"},
          {"str_M_Tablet_OEM", "Graphics Tablet"}}},
        {"zh_CN",
         {{"str_M_ok", QString::fromUtf8("确定")},
          {"str_M_prompt", QString::fromUtf8("提示")},
          {"str_I_XML_file_import", QString::fromUtf8("选择一个以前导出的xml配置文件")},
          {"str_I_XML_file_export", QString::fromUtf8("选择一个路径导出xml配置文件")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        QTranslator translator;
        ASSERT_TRUE(translator.load(QLocale(QString::fromLatin1(c.locale)), "nuvrotablet", "_", catalogue_dir()));
        ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
        for (const auto& [id, text] : c.texts)
            EXPECT_EQ(qtTrId(id).toStdString(), text.toStdString()) << id;
        QCoreApplication::removeTranslator(&translator);
    }
}

TEST(TranslationCatalogues, EachHoldsEveryMessageOfItsSource)
{
    const std::pair<const char*, const TsFile*> catalogues[] = {{"nuvrotablet_en", &english()},
                                                                {"nuvrotablet_zh_CN", &chinese()}};
    for (const auto& [name, source] : catalogues) {
        SCOPED_TRACE(name);
        QTranslator translator;
        ASSERT_TRUE(translator.load(name, catalogue_dir()));
        ASSERT_FALSE(source->empty());
        for (const auto& [id, message] : *source)
            EXPECT_EQ(translator.translate(nullptr, id.c_str()).toStdString(), message.translation) << id;
        EXPECT_TRUE(translator.translate(nullptr, "str_no_such_key").isNull());
    }
}

TEST(TranslationSources, EveryMessageHasEnglishAndFinishedChineseText)
{
    for (const auto& [id, message] : english()) {
        EXPECT_FALSE(message.source.empty()) << id;
        EXPECT_EQ(message.translation, message.source) << id << ": the English text is its source";
        EXPECT_TRUE(message.finished) << id;
    }
    for (const auto& [id, message] : chinese()) {
        EXPECT_TRUE(english().contains(id)) << id << " is translated but has no English text";
        EXPECT_FALSE(message.translation.empty()) << id << " has an empty Chinese text";
        EXPECT_TRUE(message.finished) << id << " is not marked finished in Chinese";
        EXPECT_EQ(place_markers(message.translation), place_markers(message.source)) << id;
    }
    for (const auto& [id, message] : english()) {
        const auto it = chinese().find(id);
        EXPECT_TRUE(it != chinese().end()) << id << " has no Chinese translation";
        if (it != chinese().end()) {
            EXPECT_EQ(it->second.source, message.source) << id << ": the Chinese file translates another text";
        }
    }
}

TEST(TranslationSources, EveryKeyTheProgramsUseHasEnglishText)
{
    EXPECT_EQ(keys_without_english({kSourceDir / "settings", kSourceDir / "helper"}), std::vector<std::string>{});
}

TEST(TranslationSources, TheKeyScanFindsCallsTableKeysAndDesignerIds)
{
    nvtest::TempDir dir;
    fs::create_directories(dir.path() / "ui");
    fs::create_directories(dir.path() / "logic");
    nvtest::write_file(dir.path() / "ui" / "Page.cpp",
                       "label->setText(qtTrId(\"str_M_ok\"));\n"
                       "button->setText(qtTrId( \"str_no_text_call\" ));\n"
                       "static const char* k = QT_TRID_NOOP(\"Kelta Graphics Tablet\");\n"
                       "log(\"plain text, not a key\");\n");
    nvtest::write_file(dir.path() / "logic" / "Table.h", "constexpr const char* kTitle = \"str_no_text_table\";\n");
    nvtest::write_file(dir.path() / "ui" / "Form.ui",
                       "<property name=\"text\"><string id=\"str_no_text_form\">x</string></property>\n");
    const fs::path folder = dir.path();
    EXPECT_EQ(keys_without_english({folder, folder / "absent"}),
              (std::vector<std::string>{"str_no_text_call (" + (folder / "ui/Page.cpp").string() + ":2)",
                                        "str_no_text_form (" + (folder / "ui/Form.ui").string() + ":1)",
                                        "str_no_text_table (" + (folder / "logic/Table.h").string() + ":1)"}));
}

} // namespace
