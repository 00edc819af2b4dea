// Draws Tellit's icon (a mobile phone whose screen shows a letter) and writes it as an .ico file
// with 16x16 and 32x32 images, 32 bits per pixel with an AND mask. Portable; runs at build time.
//   icongen OUTPUT.ico
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

struct Image {
    int size;
    std::vector<Rgba> px;
    explicit Image(int s) : size(s), px(size_t(s * s), Rgba{0, 0, 0, 0}) {}
    // Coverage-weighted paint of one pixel.
    void Blend(int x, int y, Rgba c, double cover) {
        if (x < 0 || y < 0 || x >= size || y >= size || cover <= 0) return;
        Rgba& d = px[size_t(y * size + x)];
        double a = std::min(1.0, cover) * c.a / 255.0;
        double da = d.a / 255.0;
        double oa = a + da * (1 - a);
        if (oa <= 0) return;
        auto mix = [&](uint8_t s, uint8_t t) { return uint8_t(std::lround((s * a + t * da * (1 - a)) / oa)); };
        d = Rgba{mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b), uint8_t(std::lround(oa * 255))};
    }
};

// Signed distance from (px, py) to a rounded rectangle, in pixels (negative inside).
double RoundRectDistance(double px, double py, double x0, double y0, double x1, double y1, double r) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    double hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
    double qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

void FillRoundRect(Image& im, double x0, double y0, double x1, double y1, double r, Rgba c) {
    for (int y = 0; y < im.size; ++y)
        for (int x = 0; x < im.size; ++x) {
            double d = RoundRectDistance(x + 0.5, y + 0.5, x0, y0, x1, y1, r);
            im.Blend(x, y, c, 0.5 - d);
        }
}

// A line of the given width, anti-aliased by distance.
void Line(Image& im, double ax, double ay, double bx, double by, double w, Rgba c) {
    for (int y = 0; y < im.size; ++y)
        for (int x = 0; x < im.size; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double vx = bx - ax, vy = by - ay;
            double t = std::clamp(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
            double d = std::hypot(px - (ax + t * vx), py - (ay + t * vy)) - w / 2;
            im.Blend(x, y, c, 0.5 - d);
        }
}

Image Draw(int size) {
    Image im(size);
    const double s = size / 32.0;
    const Rgba body{0x1F, 0x4E, 0x8C, 255}, edge{0x10, 0x2A, 0x50, 255}, screen{0xE8, 0xF4, 0xFF, 255};
    const Rgba letter{0xF2, 0xB1, 0x2C, 255}, fold{0x9A, 0x62, 0x00, 255}, key{0xB8, 0xCC, 0xE4, 255};
    FillRoundRect(im, 7 * s, 1 * s, 25 * s, 31 * s, 4 * s, edge);
    FillRoundRect(im, 8 * s, 2 * s, 24 * s, 30 * s, 3.2 * s, body);
    FillRoundRect(im, 10 * s, 5 * s, 22 * s, 19 * s, 1.2 * s, screen);
    // The letter on the screen.
    FillRoundRect(im, 11.5 * s, 8.5 * s, 20.5 * s, 15.5 * s, 0.6 * s, letter);
    Line(im, 11.8 * s, 8.8 * s, 16 * s, 12.6 * s, std::max(1.0, 1.1 * s), fold);
    Line(im, 20.2 * s, 8.8 * s, 16 * s, 12.6 * s, std::max(1.0, 1.1 * s), fold);
    // Keys.
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            FillRoundRect(im, (10.5 + col * 4) * s, (21 + row * 3) * s, (13.5 + col * 4) * s, (23 + row * 3) * s,
                          0.6 * s, key);
    return im;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// The icon image as stored in the file: BITMAPINFOHEADER (double height), BGRA rows bottom-up,
// then the AND mask (1 = transparent) with rows padded to 32 bits.
std::vector<uint8_t> Encode(const Image& im) {
    std::vector<uint8_t> out;
    const int n = im.size;
    Put32(out, 40);
    Put32(out, unsigned(n));
    Put32(out, unsigned(2 * n));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    const int maskStride = ((n + 31) / 32) * 4;
    Put32(out, unsigned(n * n * 4 + maskStride * n));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            const Rgba& p = im.px[size_t(y * n + x)];
            out.insert(out.end(), {p.b, p.g, p.r, p.a});
        }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(maskStride), 0);
        for (int x = 0; x < n; ++x)
            if (im.px[size_t(y * n + x)].a < 128) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen OUTPUT.ico\n");
        return 2;
    }
    const int sizes[] = {16, 32, 48};
    std::vector<std::vector<uint8_t>> images;
    for (int s : sizes)
        images.push_back(Encode(Draw(s)));
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, unsigned(images.size()));
    unsigned offset = unsigned(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(uint8_t(sizes[i]));
        file.push_back(uint8_t(sizes[i]));
        file.push_back(0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, 32);
        Put32(file, unsigned(images[i].size()));
        Put32(file, offset);
        offset += unsigned(images[i].size());
    }
    for (auto& im : images)
        file.insert(file.end(), im.begin(), im.end());
    FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
