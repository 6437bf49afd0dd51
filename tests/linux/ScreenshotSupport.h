// Screenshots of a wlroots compositor's output through grim (wlr-screencopy), for what a
// client shows where no window tree lists it (layer surfaces).
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

#include <cctype>
#include <cstdint>

namespace nvtest {

// One output's pixels as RGB rows; empty when grim failed.
struct Screenshot {
    int width = 0;
    int height = 0;
    QByteArray rgb;

    // 0xffRRGGBB.
    uint32_t at(int x, int y) const
    {
        const auto* p = reinterpret_cast<const uint8_t*>(rgb.constData()) + (static_cast<size_t>(y) * width + x) * 3;
        return 0xff000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
    // Every pixel of the rows [top, bottom) has colour argb.
    bool rows(int top, int bottom, uint32_t argb) const
    {
        if (width == 0)
            return false;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y) != argb)
                    return false;
        return true;
    }
    bool anywhere(uint32_t argb) const
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y) == argb)
                    return true;
        return false;
    }
    // The rows [top, bottom) are as in other.
    bool sameRows(const Screenshot& other, int top, int bottom) const
    {
        if (width == 0 || width != other.width || height != other.height)
            return false;
        const qsizetype row = qsizetype(width) * 3;
        return rgb.mid(top * row, (bottom - top) * row) == other.rgb.mid(top * row, (bottom - top) * row);
    }
};

// waylandDisplay: the compositor's socket, an absolute path.
inline Screenshot screenshot(const QString& waylandDisplay, const QString& output)
{
    QProcess grim;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("WAYLAND_DISPLAY", waylandDisplay);
    grim.setProcessEnvironment(env);
    grim.start("grim", {"-o", output, "-t", "ppm", "-"});
    Screenshot shot;
    if (!grim.waitForFinished(10000) || grim.exitCode() != 0)
        return shot;
    // "P6 width height 255" and one white space, then the pixels.
    const QByteArray ppm = grim.readAllStandardOutput();
    int values[3] = {};
    qsizetype i = 0;
    for (int field = 0; field < 4 && i < ppm.size(); ++field) {
        while (i < ppm.size() && std::isspace(static_cast<unsigned char>(ppm[i])))
            ++i;
        const qsizetype start = i;
        while (i < ppm.size() && !std::isspace(static_cast<unsigned char>(ppm[i])))
            ++i;
        if (field > 0)
            values[field - 1] = ppm.mid(start, i - start).toInt();
    }
    shot.rgb = ppm.mid(i + 1);
    if (shot.rgb.size() == qsizetype(values[0]) * values[1] * 3) {
        shot.width = values[0];
        shot.height = values[1];
    }
    return shot;
}

} // namespace nvtest
