#include "tools/picgen/NVIcoFile.h"

namespace {

void put16(QByteArray& out, uint32_t v)
{
    out.append(static_cast<char>(v & 0xff));
    out.append(static_cast<char>((v >> 8) & 0xff));
}

void put32(QByteArray& out, uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// BITMAPINFOHEADER, colour rows bottom up in BGRA, then the AND mask (1 = transparent),
// each row of the mask padded to four bytes.
QByteArray dib(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, static_cast<uint32_t>(w));
    put32(out, static_cast<uint32_t>(2 * h)); // colour and mask stacked
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // uncompressed
    put32(out, static_cast<uint32_t>(h * (w * 4 + maskStride)));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
            out.append(static_cast<char>(qAlpha(row[x])));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        out.append(mask);
    }
    return out;
}

} // namespace

QByteArray nv_ico_bytes(const std::vector<QImage>& images)
{
    if (images.empty() || images.size() > 0xffff)
        return {};
    std::vector<QByteArray> bodies;
    for (const QImage& image : images) {
        if (image.width() < 1 || image.width() > 256 || image.height() < 1 || image.height() > 256)
            return {};
        bodies.push_back(dib(image));
    }
    QByteArray out;
    put16(out, 0);
    put16(out, 1); // icon
    put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.append(static_cast<char>(images[i].width() & 0xff)); // 0 stands for 256
        out.append(static_cast<char>(images[i].height() & 0xff));
        out.append('\0'); // no palette
        out.append('\0');
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(bodies[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const QByteArray& body : bodies)
        out.append(body);
    return out;
}
