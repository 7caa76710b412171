// draw_resources: draws the program's pictures, so that every pixel of them
// comes from this file. It writes into the folder given:
//   glimmerbox.ico        the application icon: a glowing green LED, 16, 20, 24, 32 and 48 px
//   relation_marks.bmp    the 16 x 16 image strip of the relation list: a check mark, a cross
// Both are 32-bit with straight (not premultiplied) alpha. The committed
// copies beside glimmerbox.rc are compared with a fresh drawing by a test.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Colour {
    double r, g, b, a;  // 0..1, straight alpha
};

// Paints "source" over "target" (both straight alpha).
Colour Over(const Colour& source, const Colour& target) {
    double a = source.a + target.a * (1 - source.a);
    if (a <= 0) return {0, 0, 0, 0};
    auto mix = [&](double s, double t) { return (s * source.a + t * target.a * (1 - source.a)) / a; };
    return {mix(source.r, target.r), mix(source.g, target.g), mix(source.b, target.b), a};
}

class Picture {
public:
    Picture(int width, int height) : width_(width), height_(height), pixels_(width * height, Colour{0, 0, 0, 0}) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    const Colour& At(int x, int y) const { return pixels_[y * width_ + x]; }

    // Paints a layer: "paint" gives the colour at a point (its alpha the layer's
    // opacity there); each pixel averages 8 x 8 samples, which smooths the edges.
    void Paint(const std::function<Colour(double x, double y)>& paint) {
        constexpr int kSamples = 8;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                Colour sum{0, 0, 0, 0};
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx) {
                        Colour c = paint(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
                        sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
                    }
                if (sum.a <= 0) continue;
                Colour layer{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / (kSamples * kSamples)};
                Colour& pixel = pixels_[y * width_ + x];
                pixel = Over(layer, pixel);
            }
    }

private:
    int width_, height_;
    std::vector<Colour> pixels_;
};

uint8_t Byte(double value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255)); }

double Smoothstep(double edge0, double edge1, double x) {
    double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

Colour Blend(const Colour& from, const Colour& to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

// The LED seen from the front: a soft halo of light, a dark green rim, the lit
// dome brightest towards its centre, and a small reflection at the top left.
Picture DrawLed(int size) {
    Picture picture(size, size);
    const double centre = size / 2.0;
    const double dome = size * 0.31;
    const double rim = std::max(1.0, size / 16.0);
    auto distance = [=](double x, double y) { return std::hypot(x - centre, y - centre); };

    picture.Paint([=](double x, double y) {
        double d = distance(x, y);
        double halo = 1 - Smoothstep(dome, size * 0.5, d);
        return Colour{0.45, 1.0, 0.55, 0.9 * halo * halo};
    });
    picture.Paint([=](double x, double y) {
        return Colour{0.05, 0.35, 0.15, distance(x, y) <= dome + rim ? 1.0 : 0.0};
    });
    picture.Paint([=](double x, double y) {
        double d = distance(x - dome * 0.12, y - dome * 0.12) / dome;  // light falls from the top left
        Colour core{0.85, 1.0, 0.85, 1}, body{0.15, 0.85, 0.35, 1}, edge{0.05, 0.6, 0.25, 1};
        Colour c = d < 0.45 ? Blend(core, body, d / 0.45) : Blend(body, edge, std::min(1.0, (d - 0.45) / 0.55));
        c.a = distance(x, y) <= dome ? 1.0 : 0.0;
        return c;
    });
    picture.Paint([=](double x, double y) {
        double d = std::hypot(x - (centre - dome * 0.38), y - (centre - dome * 0.42)) / (dome * 0.32);
        return Colour{1, 1, 1, 0.85 * (1 - Smoothstep(0.4, 1.0, d))};
    });
    return picture;
}

// Distance from a point to the segment from (ax, ay) to (bx, by).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay;
    double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

struct Stroke {
    double ax, ay, bx, by;
};

// Strokes of one pen over a 16 x 16 cell that starts at "left".
void DrawStrokes(Picture& picture, int left, const std::vector<Stroke>& strokes, const Colour& ink, double width) {
    picture.Paint([&](double x, double y) {
        bool inked = false;
        for (const Stroke& s : strokes)
            inked = inked || SegmentDistance(x - left, y, s.ax, s.ay, s.bx, s.by) <= width / 2;
        return Colour{ink.r, ink.g, ink.b, inked ? 1.0 : 0.0};
    });
}

Picture DrawRelationMarks() {
    Picture strip(32, 16);
    DrawStrokes(strip, 0, {{3.0, 8.5, 6.5, 12.0}, {6.5, 12.0, 13.0, 4.0}}, {0.13, 0.62, 0.22, 1}, 2.6);
    DrawStrokes(strip, 16, {{4.0, 4.0, 12.0, 12.0}, {12.0, 4.0, 4.0, 12.0}}, {0.82, 0.14, 0.14, 1}, 2.6);
    return strip;
}

void PutU16(std::string& out, uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void PutU32(std::string& out, uint32_t value) {
    PutU16(out, static_cast<uint16_t>(value & 0xFFFF));
    PutU16(out, static_cast<uint16_t>(value >> 16));
}

// BITMAPINFOHEADER, 32 bits per pixel, uncompressed; "rows" is the height it
// states (an icon states twice its height: colour and mask).
void PutInfoHeader(std::string& out, const Picture& picture, int rows, uint32_t image_bytes) {
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(picture.Width()));
    PutU32(out, static_cast<uint32_t>(rows));
    PutU16(out, 1);   // planes
    PutU16(out, 32);  // bits per pixel
    PutU32(out, 0);   // BI_RGB
    PutU32(out, image_bytes);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
}

// Bottom-up BGRA rows.
void PutPixels(std::string& out, const Picture& picture) {
    for (int y = picture.Height() - 1; y >= 0; --y)
        for (int x = 0; x < picture.Width(); ++x) {
            const Colour& c = picture.At(x, y);
            out += static_cast<char>(Byte(c.b));
            out += static_cast<char>(Byte(c.g));
            out += static_cast<char>(Byte(c.r));
            out += static_cast<char>(Byte(c.a));
        }
}

// The icon's AND mask: 1 where the pixel is fully transparent, rows padded to 32 bits.
void PutMask(std::string& out, const Picture& picture) {
    int row_bytes = (picture.Width() + 31) / 32 * 4;
    for (int y = picture.Height() - 1; y >= 0; --y) {
        std::string row(row_bytes, '\0');
        for (int x = 0; x < picture.Width(); ++x)
            if (Byte(picture.At(x, y).a) == 0) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
}

std::string IconFile(const std::vector<Picture>& images) {
    std::vector<std::string> bodies;
    for (const Picture& image : images) {
        std::string pixels, body;
        PutPixels(pixels, image);
        PutMask(pixels, image);
        PutInfoHeader(body, image, image.Height() * 2, static_cast<uint32_t>(pixels.size()));
        bodies.push_back(body + pixels);
    }
    std::string out;
    PutU16(out, 0);
    PutU16(out, 1);  // icon
    PutU16(out, static_cast<uint16_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out += static_cast<char>(images[i].Width());
        out += static_cast<char>(images[i].Height());
        out += '\0';  // no palette
        out += '\0';
        PutU16(out, 1);   // planes
        PutU16(out, 32);  // bits per pixel
        PutU32(out, static_cast<uint32_t>(bodies[i].size()));
        PutU32(out, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const std::string& body : bodies) out += body;
    return out;
}

std::string BitmapFile(const Picture& picture) {
    std::string pixels, out;
    PutPixels(pixels, picture);
    out += "BM";
    PutU32(out, static_cast<uint32_t>(14 + 40 + pixels.size()));
    PutU32(out, 0);
    PutU32(out, 14 + 40);
    PutInfoHeader(out, picture, picture.Height(), static_cast<uint32_t>(pixels.size()));
    return out + pixels;
}

bool Write(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    file << content;
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_resources FOLDER\n");
        return 1;
    }
    const std::string folder = std::string(argv[1]) + "/";
    std::vector<Picture> icon;
    for (int size : {16, 20, 24, 32, 48}) icon.push_back(DrawLed(size));
    bool written = Write(folder + "glimmerbox.ico", IconFile(icon)) &&
                   Write(folder + "relation_marks.bmp", BitmapFile(DrawRelationMarks()));
    if (!written) std::fprintf(stderr, "draw_resources: cannot write into %s\n", folder.c_str());
    return written ? 0 : 1;
}
