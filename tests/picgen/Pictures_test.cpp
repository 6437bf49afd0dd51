#include "core/config/NVConfigIO.h"
#include "core/device/libCross/nvParse.h"
#include "core/model/NVLayoutAlloc.h"
#include "settings/logic/NVBattery.h"
#include "settings/logic/NVFlavour.h"
#include "settings/logic/NVPrefsToolbar.h"
#include "tests/support/TestSupport.h"
#include "tools/picgen/NVIcoFile.h"
#include "tools/picgen/NVPicCanvas.h"
#include "tools/picgen/NVPicLayouts.h"
#include "tools/picgen/NVPenPicture.h"
#include "tools/picgen/NVPicStyle.h"
#include "tools/picgen/NVTabletPicture.h"

#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <set>
#include <string>
#include <vector>

namespace {

QString res_dir()
{
    return QString::fromStdString((nvtest::resources_dir() / "res").string());
}

QImage load(const QString& name)
{
    return QImage(res_dir() + "/" + name);
}

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y);
}

std::vector<const NVModelInfo*> all_models()
{
    std::vector<const NVModelInfo*> models;
    for (auto list : {nv_maker_models(), nv_oem_models()})
        for (const NVModelInfo& m : list)
            models.push_back(&m);
    return models;
}

// The layouts are read from the build tree's resources, as the generator read them.
class Pictures : public ::testing::Test {
protected:
    void SetUp() override { nv_set_res_path(nvtest::resources_dir().string()); }
    void TearDown() override { nv_set_res_path(""); }
};

using TabletPictures = Pictures;
using PenPictures = Pictures;

// A key is where its layout puts it when its face colour reaches just inside its left
// and right edges and stops just outside them.
void expect_key_at(const QImage& image, const NVLayoutEkey& k, QRgb face, int scale, const char* what)
{
    const QPoint c = nv_pic_pixel_point(k.centerX, k.centerY, scale);
    const QRect r = nv_pic_pixel_rect(k.rect, scale);
    EXPECT_EQ(at(image, c.x(), c.y()), face) << what << " centre at " << scale << "x";
    EXPECT_EQ(at(image, r.left() + 2 * scale, c.y()), face) << what << " left edge at " << scale << "x";
    EXPECT_NE(at(image, r.left() - 2 * scale, c.y()), face) << what << " left edge at " << scale << "x";
    EXPECT_EQ(at(image, r.right() + 1 - 3 * scale, c.y()), face) << what << " right edge at " << scale << "x";
    EXPECT_NE(at(image, r.right() + 1 + 2 * scale, c.y()), face) << what << " right edge at " << scale << "x";
}

TEST_F(TabletPictures, EveryModelIsDrawnAtItsLayoutSizeWithKeysAtTheirOutlines)
{
    for (const NVModelInfo* m : all_models()) {
        SCOPED_TRACE(m->identity);
        NVLayoutTablet layout{};
        ASSERT_TRUE(nv_pic_read_tablet_layout(*m, &layout));
        const NVPicPalette& p = nv_pic_palette(nv_pic_brand(m->oemType));
        const QString name = QString("tablet_%1.png").arg(get_dev_type(m->devType));
        for (int scale : {1, 2}) {
            const QImage image = load(scale == 1 ? name : nv_pic_2x_name(name));
            ASSERT_EQ(image.size(), nv_pic_pixel_size(layout.size, scale));
            // The rounded body leaves the corners clear.
            EXPECT_EQ(qAlpha(at(image, 0, 0)), 0);
            EXPECT_EQ(qAlpha(at(image, image.width() - 1, image.height() - 1)), 0);
            EXPECT_EQ(qAlpha(at(image, image.width() / 2, image.height() - 2)), 255);
            for (uint32_t d = 0; d < layout.hbtnNum; ++d)
                expect_key_at(image, layout.hbtns[d], p.key.rgba(), scale, "hard key");
            for (uint32_t d = 0; d < layout.sbtnNum; ++d)
                expect_key_at(image, layout.sbtns[d], p.softKey.rgba(), scale, "soft key");
            for (uint32_t d = 0; d < layout.mekeyNum; ++d) {
                const NVLayoutEkey& k = layout.mekeys[d];
                const QPoint c = nv_pic_pixel_point(k.centerX, k.centerY, scale);
                EXPECT_EQ(at(image, c.x(), c.y()), p.key.rgba()) << "ring centre at " << scale << "x";
            }
            // The active area: a recessed surface, or the dark screen of a pen display.
            const QRect wa = nv_pic_pixel_rect(layout.workarea, scale);
            const QColor middle = image.pixelColor(wa.center());
            if (m->bMonitor)
                EXPECT_LT(middle.lightness(), 40);
            else
                EXPECT_EQ(middle, p.panel);
        }
        free_NVTabletLayout(&layout);
    }
}

TEST_F(PenPictures, EveryPenOfTheModelsIsDrawnWithItsButtonsAtTheLayout)
{
    std::set<std::string> pens;
    for (const NVModelInfo* m : all_models())
        pens.insert(get_pen_node_in_xml(m->devType));
    const NVPicPalette& p = nv_pic_palette(NVPicBrand::Nuvro);
    for (const std::string& pen : pens) {
        SCOPED_TRACE(pen);
        NVLayoutPen layout{};
        NVConfigIO::readPenLayout(&layout, pen);
        ASSERT_GE(layout.ekNum, 2u); // the tip and at least one barrel button
        const QString name = QString("pen_%1.png").arg(QString::fromStdString(pen));
        for (int scale : {1, 2}) {
            const QImage image = load(scale == 1 ? name : nv_pic_2x_name(name));
            ASSERT_EQ(image.size(), nv_pic_pixel_size(layout.size, scale));
            EXPECT_EQ(qAlpha(at(image, 0, 0)), 0);
            EXPECT_EQ(qAlpha(at(image, image.width() - 1, image.height() / 2)), 0);
            const NVLayoutEkey& tip = layout.ekLayouts[0];
            const QPoint c = nv_pic_pixel_point(tip.centerX, tip.centerY, scale);
            EXPECT_EQ(at(image, c.x(), c.y()), p.nib.rgba()) << "tip at " << scale << "x";
            for (uint32_t d = 1; d < layout.ekNum; ++d)
                expect_key_at(image, layout.ekLayouts[d], p.key.rgba(), scale, "barrel button");
        }
        free_NVPenLayout(&layout);
    }
}

std::string format(const char* fmt, const std::string& res, int i)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt, res.c_str(), i);
    return buf;
}

// Every picture the settings application and the helper load, by the names their own
// code forms, exists and has a twin of double size for high-density screens.
TEST(BrandPictures, EveryPictureTheProgramsLoadExistsAtOneAndTwoX)
{
    const std::string res = nvtest::resources_dir().string();
    std::set<std::string> paths;
    for (NVFlavour f : {NVFlavour::Primary, NVFlavour::Second, NVFlavour::Third}) {
        const NVFlavourTraits& t = nv_flavour_traits(f);
        for (int i = 0; i < 4; ++i)
            paths.insert(format(t.tabIconFormat, res, i));
        if (t.background)
            paths.insert(format(t.background, res, 0));
    }
    for (int bit = 0; bit <= 256; ++bit)
        paths.insert(nv_battery_picture(res, nv_battery_percent(bit)));
    for (const char* name : {"NuvroUI/Nuvro_logo.png", "NuvroUI/BANNER.jpg", "KeltaUI/Kelta_logo.png", "appList.png",
                             "GenericQuestionMarkIcon.png", "settings.png", "settingsWithUpdate_new.png", "clean.png",
                             "warnning.png", "NUVRO.png"})
        paths.insert(res + "/res/" + name);
    for (bool updateNeeded : {false, true})
        for (const NVPrefsItem& item : nv_prefs_items(true, updateNeeded))
            paths.insert(res + "/res/" + item.image);
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const QImage one(QString::fromStdString(path));
        ASSERT_FALSE(one.isNull());
        const QImage two(nv_pic_2x_name(QString::fromStdString(path)));
        EXPECT_EQ(two.size(), one.size() * 2);
        EXPECT_EQ(two.devicePixelRatio(), 2.0);
    }
}

TEST(IconFile, StatusItemIconHoldsSixteenAndThirtyTwoPixels)
{
    QImageReader reader(res_dir() + "/32.ico");
    EXPECT_EQ(reader.format(), "ico");
    ASSERT_EQ(reader.imageCount(), 2);
    std::vector<QSize> sizes;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        sizes.push_back(image.size());
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    }
    EXPECT_EQ(sizes, (std::vector<QSize>{QSize(16, 16), QSize(32, 32)}));
}

// Rows upside down, swapped channels or a wrong mask would all show in the read-back.
TEST(IconFile, WrittenImagesReadBackPixelForPixel)
{
    QImage a(16, 16, QImage::Format_ARGB32);
    a.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < y; ++x)
            a.setPixel(x, y, qRgba(200, 10 * x, 15 * y, 255));
    QImage b(48, 24, QImage::Format_ARGB32);
    b.fill(qRgba(0, 0, 255, 255));
    b.setPixel(47, 0, qRgba(0, 0, 0, 0));
    QByteArray bytes = nv_ico_bytes({a, b});
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 2);
    const QImage written[] = {a, b};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage& expected = written[i];
        const QImage got = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(got.size(), expected.size());
        for (int y = 0; y < got.height(); ++y)
            for (int x = 0; x < got.width(); ++x)
                ASSERT_EQ(got.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    }
    EXPECT_TRUE(nv_ico_bytes({}).isEmpty());
    EXPECT_TRUE(nv_ico_bytes({QImage(257, 16, QImage::Format_ARGB32)}).isEmpty());
}

// Only the two brands of the suite name themselves on a picture; the other OEM brands
// get the neutral accent and no name.
TEST(PictureBrands, ModelsCarryTheirOwnBrandOrNone)
{
    EXPECT_EQ(nv_pic_brand(nv_model_by_identity("NUVRO_T62E")->oemType), NVPicBrand::Nuvro);
    EXPECT_EQ(nv_pic_brand(nv_model_by_identity("OEM02_P1C5")->oemType), NVPicBrand::Kelta);
    EXPECT_EQ(nv_pic_brand(nv_model_by_identity("OEM08_M1CB")->oemType), NVPicBrand::Neutral);
    EXPECT_EQ(nv_pic_brand(0), NVPicBrand::Neutral);
    EXPECT_STREQ(nv_pic_brand_name(NVPicBrand::Kelta), "Kelta");
    EXPECT_EQ(nv_pic_brand_name(NVPicBrand::Neutral), nullptr);
    EXPECT_NE(nv_pic_palette(NVPicBrand::Nuvro).accent, nv_pic_palette(NVPicBrand::Kelta).accent);
}

// Layouts without keys or buttons still give a body with clear corners, reading no key
// that is not there.
TEST(PictureDrawing, LayoutsWithoutKeysDrawTheBodyAlone)
{
    NVLayoutTablet tablet{};
    tablet.size = NVSize{200, 120};
    tablet.workarea = NVRect{20, 20, 180, 100};
    const QImage t = nv_draw_tablet(tablet, NVTabletLook{NVPicBrand::Neutral, true}, 2);
    ASSERT_EQ(t.size(), QSize(400, 240));
    EXPECT_EQ(qAlpha(t.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(t.pixel(200, 120)), 255);

    NVLayoutPen pen{};
    pen.size = NVSize{60, 400};
    const QImage p = nv_draw_pen(pen, NVPicBrand::Nuvro, 1);
    ASSERT_EQ(p.size(), QSize(60, 400));
    EXPECT_EQ(qAlpha(p.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(p.pixel(30, 200)), 255);
}

// A build must stop when a picture cannot be drawn, not ship without it.
TEST(PictureGenerator, MissingLayoutsFailTheRun)
{
    nvtest::TempDir dir;
    const std::string command = std::string("QT_QPA_PLATFORM=offscreen '") + NV_PICGEN_EXE + "' '"
                                + (dir.path() / "res").string() + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(PictureNames, TheHighDensityTwinIsNamedBeforeTheExtension)
{
    EXPECT_EQ(nv_pic_2x_name("/r/res/KeltaUI/Kelta_icon0.png"), "/r/res/KeltaUI/Kelta_icon0@2x.png");
    EXPECT_EQ(nv_pic_2x_name("/r/res.d/plain"), "/r/res.d/plain@2x");
}

} // namespace
