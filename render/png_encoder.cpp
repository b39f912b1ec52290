#include "render/png_encoder.h"

#include "engine/worker_pool.h"

#include <QIODevice>
#include <QImage>

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Below this many raw bytes a second thread costs more than it saves.
constexpr std::size_t kBytesPerThread = std::size_t{256} * 1024;

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

// Appends one chunk: length, type, data, CRC of type and data.
void PutChunk(std::vector<unsigned char>& out, const char (&type)[5], const unsigned char* data,
              std::size_t size)
{
    PutBigEndian(out, static_cast<std::uint32_t>(size));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0) {
        out.insert(out.end(), data, data + size);
    }
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(size + 4));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// The rows [first, last) as PNG scanlines (filter byte 0, then the pixels),
// deflated as a raw stream part that ends byte-aligned (or finished when it
// is the last part), with the Adler-32 of its raw bytes.
struct Part
{
    int first = 0;
    int last = 0;
    bool final = false;
    std::unique_ptr<unsigned char[]> deflated;
    std::size_t size = 0;
    uLong adler = 1;
    std::size_t rawSize = 0;
    bool ok = false;
};

void Scanline(const QImage& image, int y, int channels, unsigned char* out)
{
    *out++ = 0; // filter: none
    const int width = image.width();
    if (channels == 1) {
        std::memcpy(out, image.constScanLine(y), static_cast<std::size_t>(width));
        return;
    }
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    if (channels == 3) {
        for (int x = 0; x < width; ++x) {
            const QRgb p = pixels[x];
            out[0] = static_cast<unsigned char>(qRed(p));
            out[1] = static_cast<unsigned char>(qGreen(p));
            out[2] = static_cast<unsigned char>(qBlue(p));
            out += 3;
        }
        return;
    }
    for (int x = 0; x < width; ++x) {
        const QRgb p = pixels[x];
        out[0] = static_cast<unsigned char>(qRed(p));
        out[1] = static_cast<unsigned char>(qGreen(p));
        out[2] = static_cast<unsigned char>(qBlue(p));
        out[3] = static_cast<unsigned char>(qAlpha(p));
        out += 4;
    }
}

void Compress(const QImage& image, int channels, Part& part)
{
    z_stream z{};
    // Level 1: the pictures are long runs of one colour, which the fastest
    // matcher finds as well as the slower ones. Raw deflate: the parts are
    // joined under one zlib header.
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return;
    }
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(image.width()) * channels;
    const auto rows = static_cast<std::size_t>(part.last - part.first);
    part.rawSize = rowBytes * rows;
    // The rows go through a small buffer that stays in the cache, a stretch
    // at a time; the output is sized for the worst case but left
    // uninitialised, so only the pages the compressed bytes reach are ever
    // touched (a fractal picture packs to a few percent).
    const std::size_t stretch = std::max<std::size_t>(1, (std::size_t{64} * 1024) / rowBytes);
    std::unique_ptr<unsigned char[]> raw(new unsigned char[rowBytes * stretch]);
    // The first part carries the zlib header: deflate, 32 KiB window,
    // fastest.
    const std::size_t lead = part.first == 0 ? 2 : 0;
    const std::size_t room = lead + deflateBound(&z, static_cast<uLong>(part.rawSize)) + 16;
    part.deflated.reset(new unsigned char[room]);
    z.next_out = part.deflated.get() + lead;
    z.avail_out = static_cast<uInt>(room - lead - 4);
    uLong adler = adler32(0L, nullptr, 0);
    bool ok = true;
    for (std::size_t done = 0; done < rows && ok;) {
        const std::size_t count = std::min(stretch, rows - done);
        for (std::size_t i = 0; i < count; ++i) {
            Scanline(image, part.first + static_cast<int>(done + i), channels,
                     raw.get() + i * rowBytes);
        }
        done += count;
        const auto size = static_cast<uInt>(count * rowBytes);
        adler = adler32(adler, raw.get(), size);
        z.next_in = raw.get();
        z.avail_in = size;
        const bool end = done == rows;
        const int flush = !end ? Z_NO_FLUSH : (part.final ? Z_FINISH : Z_SYNC_FLUSH);
        const int result = deflate(&z, flush);
        // A flush that filled the room to the last byte may have more to
        // give: that would be a cut stream, never written as a picture.
        ok = z.avail_in == 0 &&
             (flush == Z_FINISH ? result == Z_STREAM_END : result == Z_OK && z.avail_out > 0);
    }
    part.adler = adler;
    part.ok = ok;
    part.size = lead + z.total_out;
    if (lead != 0) {
        part.deflated[0] = 0x78;
        part.deflated[1] = 0x01;
    }
    deflateEnd(&z);
}

} // namespace

bool WritePng(const QImage& source, QIODevice& out, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error != nullptr) {
            *error = why;
        }
        return false;
    };
    if (source.isNull()) {
        return fail(QStringLiteral("the picture is empty"));
    }
    QImage image = source;
    int channels = 4;
    unsigned char colorType = 6; // RGBA
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() > 0) {
        channels = 1;
        colorType = 3;
    } else if (image.format() == QImage::Format_RGB32) {
        channels = 3;
        colorType = 2;
    } else {
        image = image.convertToFormat(QImage::Format_ARGB32);
    }
    const int width = image.width();
    const int height = image.height();

    std::vector<unsigned char> head = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> ihdr;
    PutBigEndian(ihdr, static_cast<std::uint32_t>(width));
    PutBigEndian(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, colorType, 0, 0, 0});
    PutChunk(head, "IHDR", ihdr.data(), ihdr.size());
    if (colorType == 3) {
        std::vector<unsigned char> palette;
        std::vector<unsigned char> alpha;
        bool translucent = false;
        const QList<QRgb> table = image.colorTable();
        const int used = std::min<int>(static_cast<int>(table.size()), 256);
        for (int i = 0; i < used; ++i) {
            palette.insert(palette.end(), {static_cast<unsigned char>(qRed(table[i])),
                                           static_cast<unsigned char>(qGreen(table[i])),
                                           static_cast<unsigned char>(qBlue(table[i]))});
            alpha.push_back(static_cast<unsigned char>(qAlpha(table[i])));
            translucent = translucent || qAlpha(table[i]) != 255;
        }
        PutChunk(head, "PLTE", palette.data(), palette.size());
        if (translucent) {
            PutChunk(head, "tRNS", alpha.data(), alpha.size());
        }
    }

    const std::size_t rawBytes =
        (1 + static_cast<std::size_t>(width) * channels) * static_cast<std::size_t>(height);
    const auto cores = std::max(1U, std::thread::hardware_concurrency());
    const int parts = static_cast<int>(std::clamp<std::size_t>(
        std::min<std::size_t>(rawBytes / kBytesPerThread, cores), 1, std::size_t(height)));
    std::vector<Part> pieces(static_cast<std::size_t>(parts));
    for (int k = 0; k < parts; ++k) {
        pieces[static_cast<std::size_t>(k)].first =
            static_cast<int>(std::int64_t(height) * k / parts);
        pieces[static_cast<std::size_t>(k)].last =
            static_cast<int>(std::int64_t(height) * (k + 1) / parts);
    }
    pieces.back().final = true;
    // On the drawing's workers, which are likely still waiting busily for
    // more: no thread to start, and none competing with them for a core.
    drawing::RunOnThreads(parts, [&image, channels, &pieces](int k) {
        Compress(image, channels, pieces[static_cast<std::size_t>(k)]);
    });
    uLong adler = pieces.front().adler;
    for (std::size_t k = 1; k < pieces.size(); ++k) {
        adler = adler32_combine(adler, pieces[k].adler, static_cast<z_off_t>(pieces[k].rawSize));
    }
    for (const Part& part : pieces) {
        if (!part.ok) {
            return fail(QStringLiteral("the compressor failed"));
        }
    }

    // The stream's Adler-32 closes the last part; the room left for it.
    Part& last = pieces.back();
    for (int shift = 24; shift >= 0; shift -= 8) {
        last.deflated[last.size++] = static_cast<unsigned char>(adler >> shift);
    }
    std::vector<unsigned char> tail;
    for (const Part& part : pieces) {
        PutChunk(tail, "IDAT", part.deflated.get(), part.size);
    }
    PutChunk(tail, "IEND", nullptr, 0);
    if (out.write(reinterpret_cast<const char*>(head.data()), qint64(head.size())) !=
            qint64(head.size()) ||
        out.write(reinterpret_cast<const char*>(tail.data()), qint64(tail.size())) !=
            qint64(tail.size())) {
        return fail(out.errorString());
    }
    return true;
}
