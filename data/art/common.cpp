// Noise, colour mixing and the BMP and WAV writers of the generator.
#include <algorithm>
#include <cmath>
#include <fstream>

#include "art.h"

namespace gdart {

std::uint32_t Random::Next() {
    // xorshift32: tiny, fast and the same on every machine.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

namespace {

double LatticeValue(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / 16777215.0;
}

double Smooth(double t) {
    return t * t * (3 - 2 * t);
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

double Noise(double x, double y, std::uint32_t seed) {
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = Smooth(x - x0);
    const double fy = Smooth(y - y0);
    const double top = LatticeValue(x0, y0, seed) * (1 - fx) + LatticeValue(x0 + 1, y0, seed) * fx;
    const double bottom =
        LatticeValue(x0, y0 + 1, seed) * (1 - fx) + LatticeValue(x0 + 1, y0 + 1, seed) * fx;
    return top * (1 - fy) + bottom * fy;
}

double Fractal(double x, double y, int octaves, std::uint32_t seed) {
    double sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(x, y, seed + 31u * static_cast<std::uint32_t>(i));
        total += amplitude;
        amplitude *= 0.5;
        x *= 2;
        y *= 2;
    }
    return sum / total;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t),
                            static_cast<float>(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QImage Canvas(int width, int height, int scale, QImage::Format format) {
    QImage image(width * scale, height * scale, format);
    image.setDevicePixelRatio(scale);
    image.fill(format == QImage::Format_RGB32 ? Qt::black : Qt::transparent);
    return image;
}

std::string ScaledName(const std::string& file, int scale) {
    if (scale == 1) return file;
    const std::size_t dot = file.rfind('.');
    return file.substr(0, dot) + "@" + std::to_string(scale) + "x" + file.substr(dot);
}

QRectF TwipRect(int left, int top, int width, int height) {
    return QRectF(Px(left), Px(top), Px(width), Px(height));
}

bool SaveBmp24(const QImage& image, const std::string& path) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const int rowBytes = (width * 3 + 3) & ~3;  // rows are padded to four bytes
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
    std::string out;
    out += "BM";
    PutLittleEndian(out, 54 + pixelBytes, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 54, 4);
    PutLittleEndian(out, 40, 4);  // BITMAPINFOHEADER
    PutLittleEndian(out, static_cast<std::uint32_t>(width), 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(height), 4);  // positive: bottom-up rows
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    PutLittleEndian(out, 0, 4);  // no compression
    PutLittleEndian(out, pixelBytes, 4);
    PutLittleEndian(out, 3780, 4);  // 96 dots per inch
    PutLittleEndian(out, 3780, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            out.push_back(static_cast<char>(line[3 * x + 2]));  // stored as blue, green, red
            out.push_back(static_cast<char>(line[3 * x + 1]));
            out.push_back(static_cast<char>(line[3 * x]));
        }
        out.append(static_cast<std::size_t>(rowBytes - width * 3), '\0');
    }
    return WriteFile(path, out);
}

bool SaveWav(const std::vector<std::int16_t>& samples, const std::string& path) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out;
    out += "RIFF";
    PutLittleEndian(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2);  // PCM
    PutLittleEndian(out, 1, 2);  // mono
    PutLittleEndian(out, kSampleRate, 4);
    PutLittleEndian(out, kSampleRate * 2, 4);
    PutLittleEndian(out, 2, 2);
    PutLittleEndian(out, 16, 2);
    out += "data";
    PutLittleEndian(out, dataBytes, 4);
    for (std::int16_t s : samples)
        PutLittleEndian(out, static_cast<std::uint16_t>(s), 2);
    return WriteFile(path, out);
}

}  // namespace gdart
