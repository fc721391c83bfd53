// Writes the demo: a resource folder of bitmaps drawn here, a short MIDI
// tune, a WAV effect, and a scenario with three fields that uses them.
//   generate_demo OUTDIR   ->  OUTDIR/resources/*.bmp|*.mid|*.wav, OUTDIR/demo.snr
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/scenariofile.h"
#include "scenario/text.h"

namespace {

using namespace qrn;

constexpr unsigned kWhite = 0xFFFFFF;    // 0x00BBGGRR
constexpr unsigned kMagenta = 0xFF00FF;  // same in both orders
const QColor kMagentaKey(255, 0, 255);

QString g_res;  // resource folder, ending with "/"

// ---- drawing helpers ---------------------------------------------------------

QImage chip(const QColor& background) {
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(background);
    return img;
}

void save(const QImage& img, const char* name) {
    if (!img.save(g_res + QString::fromLatin1(name), "BMP")) std::fprintf(stderr, "cannot write %s\n", name);
}

// Speckles of a few shades over a base colour: grass, sand, stone.
void speckle(QImage& img, const std::vector<QColor>& shades, int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pos(0, 31), pick(0, static_cast<int>(shades.size()) - 1);
    for (int i = 0; i < count; ++i) img.setPixelColor(pos(rng), pos(rng), shades[pick(rng)]);
}

QImage grass(unsigned seed = 1) {
    QImage img = chip(QColor(0x5c, 0xa8, 0x3c));
    speckle(img, {QColor(0x4a, 0x94, 0x30), QColor(0x70, 0xbc, 0x48), QColor(0x3e, 0x86, 0x2a)}, 120, seed);
    return img;
}

QImage water(int phase) {
    QImage img = chip(QColor(0x2c, 0x6c, 0xc8));
    QPainter p(&img);
    p.setPen(QPen(QColor(0x8c, 0xc4, 0xf4), 1.5));
    p.setRenderHint(QPainter::Antialiasing);
    for (int y = 4 + phase; y < 32; y += 10) {
        QPainterPath wave;
        wave.moveTo(2, y);
        wave.cubicTo(8, y - 3, 12, y + 3, 18, y);
        p.drawPath(wave);
        QPainterPath wave2;
        wave2.moveTo(16, y + 5);
        wave2.cubicTo(21, y + 2, 25, y + 8, 30, y + 5);
        p.drawPath(wave2);
    }
    return img;
}

QImage sand() {
    QImage img = chip(QColor(0xe4, 0xcc, 0x8c));
    speckle(img, {QColor(0xd0, 0xb4, 0x70), QColor(0xf0, 0xdc, 0xa4)}, 90, 7);
    return img;
}

QImage road() {
    QImage img = chip(QColor(0xb8, 0x90, 0x5c));
    speckle(img, {QColor(0xa0, 0x78, 0x48), QColor(0xc8, 0xa4, 0x70), QColor(0x8c, 0x6c, 0x44)}, 80, 3);
    return img;
}

QImage tree() {
    QImage img = grass(5);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x44, 0x22));
    p.drawRect(14, 20, 5, 10);
    QRadialGradient g(QPointF(13, 10), 14);
    g.setColorAt(0, QColor(0x48, 0xa0, 0x40));
    g.setColorAt(1, QColor(0x1c, 0x5c, 0x20));
    p.setBrush(g);
    p.drawEllipse(QRectF(4, 2, 24, 21));
    return img;
}

QImage mountain() {
    QImage img = grass(9);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF peak({QPointF(1, 30), QPointF(16, 3), QPointF(31, 30)});
    QLinearGradient g(0, 0, 32, 0);
    g.setColorAt(0, QColor(0x9c, 0x84, 0x6c));
    g.setColorAt(1, QColor(0x5c, 0x48, 0x3c));
    p.setPen(QPen(QColor(0x3c, 0x30, 0x28), 1));
    p.setBrush(g);
    p.drawPolygon(peak);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(16, 3), QPointF(11, 12), QPointF(14, 10), QPointF(17, 13), QPointF(21, 12)}));
    return img;
}

QImage flowers() {
    QImage img = grass(11);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(0xf0, 0x50, 0x60), QColor(0xf8, 0xe0, 0x40), QColor(0xf0, 0xf0, 0xff)};
    std::mt19937 rng(4);
    for (int i = 0; i < 7; ++i) {
        const QPointF c(4 + rng() % 24, 4 + rng() % 24);
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i % 3]);
        for (int k = 0; k < 4; ++k) p.drawEllipse(c + QPointF(k % 2 ? 1.5 : -1.5, k / 2 ? 1.5 : -1.5), 1.6, 1.6);
        p.setBrush(QColor(0xf8, 0xa0, 0x20));
        p.drawEllipse(c, 1, 1);
    }
    return img;
}

QImage bricks(const QColor& base, const QColor& mortar) {
    QImage img = chip(mortar);
    QPainter p(&img);
    for (int row = 0; row < 4; ++row)
        for (int col = -1; col < 3; ++col) {
            const int x = col * 16 + (row % 2 ? 8 : 0);
            p.fillRect(x + 1, row * 8 + 1, 14, 6, base.lighter(100 + (row * 7 + col * 13) % 20));
        }
    return img;
}

QImage floorTiles(const QColor& a, const QColor& b) {
    QImage img = chip(a);
    QPainter p(&img);
    p.fillRect(0, 0, 16, 16, b);
    p.fillRect(16, 16, 16, 16, b);
    p.setPen(a.darker(130));
    p.drawRect(0, 0, 31, 31);
    return img;
}

QImage bridge() {
    QImage img = water(2);
    QPainter p(&img);
    for (int x = 0; x < 32; x += 6) {
        p.fillRect(x, 2, 5, 28, QColor(0xa8, 0x74, 0x3c));
        p.fillRect(x + 4, 2, 1, 28, QColor(0x6c, 0x48, 0x24));
    }
    p.fillRect(0, 2, 32, 2, QColor(0x5c, 0x3c, 0x1c));
    p.fillRect(0, 28, 32, 2, QColor(0x5c, 0x3c, 0x1c));
    return img;
}

QImage caveFloor() {
    QImage img = chip(QColor(0x48, 0x40, 0x44));
    speckle(img, {QColor(0x38, 0x32, 0x36), QColor(0x5c, 0x54, 0x58)}, 110, 21);
    return img;
}

// Buildings: drawn over a transparent key colour.
QImage house(const QColor& roof, bool inn) {
    QImage img = chip(kMagentaKey);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x2c, 0x1c), 1));
    p.setBrush(QColor(0xf0, 0xe0, 0xc0));
    p.drawRect(5, 14, 22, 16);
    p.setBrush(roof);
    p.drawPolygon(QPolygonF({QPointF(2, 15), QPointF(16, 3), QPointF(30, 15)}));
    p.setBrush(QColor(0x7c, 0x4c, 0x24));
    p.drawRect(13, 21, 6, 9);
    p.setBrush(QColor(0x90, 0xc8, 0xf0));
    p.drawRect(7, 17, 4, 4);
    p.drawRect(21, 17, 4, 4);
    if (inn) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf8, 0xd0, 0x30));
        p.drawEllipse(QPointF(16, 11), 3, 3);
    }
    return img;
}

QImage castle() {
    QImage img = chip(kMagentaKey);
    QPainter p(&img);
    const QColor stone(0xb4, 0xb4, 0xbc), dark(0x60, 0x60, 0x6c);
    p.fillRect(3, 10, 26, 21, stone);
    for (int x = 3; x < 29; x += 6) p.fillRect(x, 6, 4, 4, stone);
    p.fillRect(12, 2, 8, 8, stone);
    p.fillRect(15, 0, 1, 3, QColor(0x40, 0x30, 0x20));
    p.fillRect(16, 0, 5, 3, QColor(0xd0, 0x20, 0x30));
    p.fillRect(13, 20, 6, 11, dark);
    p.fillRect(7, 14, 3, 4, dark);
    p.fillRect(22, 14, 3, 4, dark);
    p.setPen(dark);
    p.drawRect(3, 10, 25, 20);
    return img;
}

QImage caveEntrance() {
    QImage img = mountain();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x10, 0x10));
    QPainterPath arch;
    arch.moveTo(10, 31);
    arch.lineTo(10, 22);
    arch.arcTo(QRectF(10, 16, 12, 12), 180, -180);
    arch.lineTo(22, 31);
    arch.closeSubpath();
    p.drawPath(arch);
    return img;
}

QImage stairs(bool up) {
    QImage img = chip(kMagentaKey);
    QPainter p(&img);
    for (int i = 0; i < 6; ++i) {
        const int shade = up ? 0x90 + i * 14 : 0xd0 - i * 20;
        p.fillRect(4, 4 + i * 4, 24, 4, QColor(shade, shade, shade - 8));
        p.fillRect(4, 7 + i * 4, 24, 1, QColor(0x40, 0x40, 0x40));
    }
    return img;
}

// Events.
QImage chest(bool open) {
    QImage img = chip(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x20, 0x08), 1));
    p.setBrush(QColor(0xa0, 0x5c, 0x20));
    p.drawRect(5, 14, 22, 14);
    if (open) {
        p.setBrush(QColor(0x30, 0x18, 0x08));
        p.drawRect(6, 10, 20, 5);
        p.setBrush(QColor(0xf8, 0xd8, 0x40));
        p.drawEllipse(QPointF(16, 13), 4, 2);
    } else {
        p.drawRoundedRect(QRectF(5, 8, 22, 8), 3, 3);
        p.setBrush(QColor(0xf0, 0xc8, 0x30));
        p.drawRect(14, 14, 4, 5);
    }
    p.fillRect(5, 20, 22, 2, QColor(0xd8, 0xb0, 0x30));
    return img;
}

QImage signpost() {
    QImage img = chip(QColor(255, 255, 255));
    QPainter p(&img);
    p.fillRect(15, 12, 3, 18, QColor(0x6c, 0x48, 0x24));
    p.setPen(QColor(0x40, 0x28, 0x10));
    p.setBrush(QColor(0xc8, 0x98, 0x58));
    p.drawRect(5, 5, 22, 10);
    p.setPen(QColor(0x40, 0x28, 0x10));
    p.drawLine(8, 8, 23, 8);
    p.drawLine(8, 11, 19, 11);
    return img;
}

QImage warpCircle(bool lit) {
    QImage img = chip(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(16, 16), 14);
    g.setColorAt(0, lit ? QColor(0xff, 0xff, 0xc0) : QColor(0xc0, 0xe0, 0xff));
    g.setColorAt(1, lit ? QColor(0xf0, 0x90, 0x20) : QColor(0x40, 0x60, 0xd0));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x20, 0x20, 0x60), 1));
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    QPolygonF star;
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 4 * M_PI / 5;
        star << QPointF(16 + 9 * std::cos(a), 16 + 9 * std::sin(a));
    }
    p.drawPolygon(star);
    return img;
}

// Items.
QImage potion() {
    QImage img = chip(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x50), 1));
    p.setBrush(QColor(0xd0, 0xe8, 0xf8));
    p.drawRect(13, 5, 6, 8);
    p.setBrush(QColor(0xe0, 0x30, 0x50));
    p.drawEllipse(QRectF(7, 11, 18, 18));
    p.setBrush(QColor(0x8c, 0x5c, 0x30));
    p.drawRect(12, 3, 8, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 210));
    p.drawEllipse(QPointF(12, 17), 2, 3);
    return img;
}

QImage sword() {
    QImage img = chip(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(16, 16);
    p.rotate(45);
    p.setPen(QPen(QColor(0x40, 0x40, 0x50), 1));
    p.setBrush(QColor(0xe0, 0xe8, 0xf0));
    p.drawPolygon(QPolygonF({QPointF(-2, 6), QPointF(-2, -12), QPointF(0, -15), QPointF(2, -12), QPointF(2, 6)}));
    p.setBrush(QColor(0xd0, 0xa0, 0x30));
    p.drawRect(QRectF(-7, 6, 14, 3));
    p.setBrush(QColor(0x6c, 0x3c, 0x1c));
    p.drawRect(QRectF(-1.5, 9, 3, 6));
    return img;
}

QImage keyItem() {
    QImage img = chip(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xb0, 0x80, 0x10), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(10, 16), 5, 5);
    p.drawLine(15, 16, 28, 16);
    p.drawLine(24, 16, 24, 21);
    p.drawLine(28, 16, 28, 20);
    return img;
}

QImage coins() {
    QImage img = chip(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x90, 0x60, 0x08), 1));
    p.setBrush(QColor(0xf8, 0xd0, 0x30));
    for (int i = 0; i < 4; ++i) p.drawEllipse(QRectF(6 + (i % 2) * 8, 20 - i * 4, 14, 7));
    return img;
}

// Characters: a little figure on the key colour.
struct Figure {
    QColor body, head, hair;
    int facing = 2;  // 0 north, 1 east, 2 south, 3 west
    int step = 0;    // 0 or 1: which leg is forward
    bool crown = false;
};

QImage figure(const Figure& f) {
    QImage img = chip(kMagentaKey);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor outline(0x20, 0x18, 0x18);
    // legs
    const int lx = f.step ? 11 : 13, rx = f.step ? 19 : 17;
    p.fillRect(lx, 24, 3, 6, QColor(0x40, 0x30, 0x60));
    p.fillRect(rx, 24, 3, 6, QColor(0x40, 0x30, 0x60));
    // body
    p.setPen(outline);
    p.setBrush(f.body);
    p.drawRect(10, 14, 12, 11);
    // head
    p.setBrush(f.head);
    p.drawEllipse(QRect(10, 3, 12, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(f.hair);
    if (f.facing == 0) p.drawEllipse(QRect(10, 3, 12, 11));
    else p.drawChord(QRect(10, 2, 12, 10), 0, 180 * 16);
    p.setBrush(outline);
    if (f.facing == 2) {
        p.drawRect(13, 9, 2, 2);
        p.drawRect(18, 9, 2, 2);
    } else if (f.facing == 1) {
        p.drawRect(19, 9, 2, 2);
    } else if (f.facing == 3) {
        p.drawRect(11, 9, 2, 2);
    }
    if (f.crown) {
        p.setBrush(QColor(0xf8, 0xd0, 0x20));
        p.drawPolygon(QPolygon({QPoint(10, 5), QPoint(10, 0), QPoint(13, 3), QPoint(16, 0), QPoint(19, 3),
                                QPoint(22, 0), QPoint(22, 5)}));
    }
    return img;
}

QImage slime() {
    QImage img = chip(kMagentaKey);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.moveTo(4, 28);
    body.cubicTo(4, 14, 12, 6, 16, 4);
    body.cubicTo(20, 6, 28, 14, 28, 28);
    body.closeSubpath();
    QRadialGradient g(QPointF(12, 14), 18);
    g.setColorAt(0, QColor(0x90, 0xd8, 0xff));
    g.setColorAt(1, QColor(0x20, 0x60, 0xd0));
    p.setPen(QPen(QColor(0x10, 0x30, 0x70), 1));
    p.setBrush(g);
    p.drawPath(body);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(12, 18), 3, 3.5);
    p.drawEllipse(QPointF(20, 18), 3, 3.5);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(12.5, 18.5), 1.3, 1.8);
    p.drawEllipse(QPointF(20.5, 18.5), 1.3, 1.8);
    return img;
}

QImage skeleton() {
    QImage img = chip(kMagentaKey);
    QPainter p(&img);
    const QColor bone(0xf0, 0xec, 0xdc), dark(0x30, 0x30, 0x30);
    p.setPen(dark);
    p.setBrush(bone);
    p.drawEllipse(QRect(10, 2, 12, 11));
    p.fillRect(13, 6, 2, 3, dark);
    p.fillRect(18, 6, 2, 3, dark);
    for (int y = 15; y < 24; y += 3) p.fillRect(11, y, 10, 2, bone);
    p.fillRect(15, 13, 2, 12, bone);
    p.fillRect(12, 24, 2, 7, bone);
    p.fillRect(18, 24, 2, 7, bone);
    p.fillRect(7, 15, 2, 9, bone);
    p.fillRect(23, 15, 2, 9, bone);
    return img;
}

// Larger pictures for the title, the ending and an event's prologue.
QImage bigPicture(const QString& caption, const QColor& sky, const QColor& ground, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, sky.darker(160));
    g.setColorAt(1, sky);
    p.fillRect(img.rect(), g);
    p.setPen(Qt::NoPen);
    p.setBrush(ground.darker(130));
    p.drawPolygon(QPolygonF({QPointF(0, h * 0.7), QPointF(w * 0.3, h * 0.45), QPointF(w * 0.55, h * 0.7)}));
    p.drawPolygon(QPolygonF({QPointF(w * 0.4, h * 0.7), QPointF(w * 0.75, h * 0.38), QPointF(w, h * 0.7)}));
    p.setBrush(ground);
    p.drawRect(QRectF(0, h * 0.7, w, h * 0.3));
    p.setBrush(QColor(0xff, 0xf0, 0xb0));
    p.drawEllipse(QPointF(w * 0.82, h * 0.18), h * 0.07, h * 0.07);
    QFont font = p.font();
    font.setPixelSize(h / 8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(img.rect().translated(2, 2), Qt::AlignCenter, caption);
    p.setPen(Qt::white);
    p.drawText(img.rect(), Qt::AlignCenter, caption);
    return img;
}

void writePictures() {
    save(grass(), "grass.bmp");
    save(water(0), "water.bmp");
    save(water(5), "water2.bmp");
    save(sand(), "sand.bmp");
    save(road(), "road.bmp");
    save(tree(), "tree.bmp");
    save(mountain(), "mountain.bmp");
    save(flowers(), "flowers.bmp");
    save(bricks(QColor(0xa8, 0x4c, 0x34), QColor(0xd8, 0xc8, 0xb0)), "wall.bmp");
    save(floorTiles(QColor(0xc8, 0xb8, 0x98), QColor(0xb4, 0xa4, 0x84)), "floor.bmp");
    save(bridge(), "bridge.bmp");
    save(caveFloor(), "cavefloor.bmp");
    save(bricks(QColor(0x58, 0x50, 0x58), QColor(0x30, 0x2c, 0x30)), "cavewall.bmp");

    save(house(QColor(0xc0, 0x38, 0x30), false), "house.bmp");
    save(house(QColor(0x30, 0x60, 0xb8), true), "inn.bmp");
    save(castle(), "castle.bmp");
    save(caveEntrance(), "cave.bmp");
    save(stairs(true), "stairs_up.bmp");
    save(stairs(false), "stairs_down.bmp");

    save(chest(false), "chest.bmp");
    save(chest(true), "chest_open.bmp");
    save(signpost(), "sign.bmp");
    save(warpCircle(false), "warp.bmp");
    save(warpCircle(true), "warp_lit.bmp");

    save(potion(), "potion.bmp");
    save(sword(), "sword.bmp");
    save(keyItem(), "key.bmp");
    save(coins(), "coins.bmp");

    const Figure hero{QColor(0x30, 0x70, 0xd0), QColor(0xf8, 0xd0, 0xa8), QColor(0x60, 0x38, 0x18)};
    Figure villager{QColor(0x50, 0xa0, 0x50), QColor(0xf8, 0xd0, 0xa8), QColor(0x30, 0x30, 0x30)};
    Figure king{QColor(0xb0, 0x20, 0x40), QColor(0xf8, 0xd0, 0xa8), QColor(0xe0, 0xe0, 0xe0)};
    king.crown = true;
    save(figure(hero), "hero.bmp");
    save(figure(villager), "villager.bmp");
    save(figure(king), "elder.bmp");
    save(slime(), "slime.bmp");
    save(skeleton(), "skeleton.bmp");
    // Walk frames: north, east, south, west, two steps each.
    for (int facing = 0; facing < 4; ++facing)
        for (int step = 0; step < 2; ++step) {
            Figure f = hero;
            f.facing = facing;
            f.step = step;
            const std::string name = "hero_walk" + std::to_string(facing * 2 + step + 1) + ".bmp";
            save(figure(f), name.c_str());
        }

    save(bigPicture(QStringLiteral("ミルトの伝説"), QColor(0x50, 0x80, 0xd0), QColor(0x40, 0x90, 0x40), 320, 240),
         "title.bmp");
    save(bigPicture(QStringLiteral("おしまい"), QColor(0xe0, 0x80, 0x50), QColor(0x50, 0x70, 0x40), 320, 240),
         "ending.bmp");
    save(bigPicture(QStringLiteral("暗い洞窟"), QColor(0x30, 0x28, 0x40), QColor(0x40, 0x38, 0x30), 256, 160),
         "cave_scene.bmp");
}

// ---- sound and music -------------------------------------------------------------

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, unsigned v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void putBE16(std::string& out, unsigned v) {
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}
void putBE32(std::string& out, unsigned v) {
    putBE16(out, v >> 16);
    putBE16(out, v & 0xFFFF);
}
void putVarLen(std::string& out, unsigned v) {
    unsigned buffer = v & 0x7F;
    while ((v >>= 7)) buffer = (buffer << 8) | 0x80 | (v & 0x7F);
    for (;;) {
        out += static_cast<char>(buffer & 0xFF);
        if (!(buffer & 0x80)) break;
        buffer >>= 8;
    }
}

bool writeFile(const QString& path, const std::string& bytes) {
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A village tune: melody on a flute over a soft bass, eight bars of 4/4.
void writeMidi(const QString& path) {
    constexpr unsigned kTicks = 96;  // per quarter note
    struct Note {
        int pitch;
        int beats8;  // length in eighth notes
    };
    const Note melody[] = {{72, 2}, {74, 2}, {76, 2}, {79, 2}, {77, 2}, {76, 2}, {74, 4},
                           {72, 2}, {74, 2}, {76, 2}, {72, 2}, {74, 6}, {0, 2},
                           {76, 2}, {77, 2}, {79, 3}, {81, 1}, {79, 2}, {77, 2}, {76, 4},
                           {74, 2}, {76, 2}, {74, 2}, {71, 2}, {72, 8}};
    const int bass[] = {48, 53, 55, 48, 45, 53, 55, 48};
    // Collect events with absolute times, then sort by time.
    struct Event {
        unsigned time;
        std::string bytes;
    };
    std::vector<Event> events;
    unsigned t = 0;
    for (const Note& n : melody) {
        const unsigned len = static_cast<unsigned>(n.beats8) * kTicks / 2;
        if (n.pitch) {
            events.push_back({t, {char(0x90), char(n.pitch), char(96)}});
            events.push_back({t + len - 4, {char(0x80), char(n.pitch), char(0)}});
        }
        t += len;
    }
    for (int bar = 0; bar < 8; ++bar) {
        const unsigned start = static_cast<unsigned>(bar) * 4 * kTicks;
        events.push_back({start, {char(0x91), char(bass[bar]), char(70)}});
        events.push_back({start + 4 * kTicks - 8, {char(0x81), char(bass[bar]), char(0)}});
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.time < b.time; });
    std::string track;
    putVarLen(track, 0);
    track += "\xFF\x51\x03";  // tempo: 500000 us per quarter (120 bpm)
    track += char(0x07);
    track += char(0xA1);
    track += char(0x20);
    putVarLen(track, 0);
    track += {char(0xC0), char(73)};  // flute
    putVarLen(track, 0);
    track += {char(0xC1), char(32)};  // acoustic bass
    unsigned now = 0;
    for (const Event& e : events) {
        putVarLen(track, e.time - now);
        track += e.bytes;
        now = e.time;
    }
    putVarLen(track, kTicks);
    track += "\xFF\x2F";
    track += char(0);

    std::string file = "MThd";
    putBE32(file, 6);
    putBE16(file, 0);  // one track
    putBE16(file, 1);
    putBE16(file, kTicks);
    file += "MTrk";
    putBE32(file, static_cast<unsigned>(track.size()));
    file += track;
    writeFile(path, file);
}

// A coin pick-up: two square-wave tones with a fast decay, 16-bit mono.
void writeWav(const QString& path) {
    constexpr unsigned kRate = 22050;
    std::string samples;
    const struct {
        double freq, seconds;
    } tones[] = {{988.0, 0.07}, {1319.0, 0.25}};
    for (const auto& tone : tones) {
        const unsigned count = static_cast<unsigned>(tone.seconds * kRate);
        for (unsigned i = 0; i < count; ++i) {
            const double phase = std::fmod(i * tone.freq / kRate, 1.0);
            const double envelope = std::exp(-4.0 * i / count);
            const int value = static_cast<int>((phase < 0.5 ? 1 : -1) * 9000 * envelope);
            put16(samples, static_cast<unsigned>(value) & 0xFFFF);
        }
    }
    std::string file = "RIFF";
    put32(file, 36 + static_cast<unsigned>(samples.size()));
    file += "WAVEfmt ";
    put32(file, 16);
    put16(file, 1);  // PCM
    put16(file, 1);  // mono
    put32(file, kRate);
    put32(file, kRate * 2);
    put16(file, 2);
    put16(file, 16);
    file += "data";
    put32(file, static_cast<unsigned>(samples.size()));
    file += samples;
    writeFile(path, file);
}

// ---- the scenario -------------------------------------------------------------

std::string sj(const char* utf8) { return cp932Literal(utf8); }

void picture(ShortString255& slot, const char* file) { slot.assign(file); }

void setPlace(Scenario& s, int n, const char* name, const char* file, bool passable, const char* second = nullptr) {
    PlaceDef& d = s.place(n);
    d.name.assign(sj(name));
    d.plmove = passable ? 1 : 0;
    picture(s.placeImageFiles[n - 1], file);
    if (second) picture(s.placeImage2Files[n - 1], second);
}

void setEnter(Scenario& s, int n, const char* name, const char* file, int jumpField, int jumpPosition,
              const char* second = nullptr) {
    EnterDef& d = s.enter(n);
    d.name.assign(sj(name));
    d.imageTransparent = 1;
    d.imageColour = static_cast<i32>(kMagenta);
    d.image2Transparent = 1;
    d.image2Colour = static_cast<i32>(kMagenta);
    d.jumpField = static_cast<u8>(jumpField);
    d.jumpPosition = jumpPosition;
    picture(s.enterImageFiles[n - 1], file);
    if (second) picture(s.enterImage2Files[n - 1], second);
}

void setChara(Scenario& s, int n, const char* name, const char* file, int kind, int comment) {
    CharaDef& d = s.chara(n);
    d.name.assign(sj(name));
    d.chcharatype = static_cast<u8>(kind);
    d.chcomment = static_cast<i16>(comment);
    d.imageTransparent = 1;
    d.imageColour = static_cast<i32>(kMagenta);
    picture(s.charaImageFiles[n - 1], file);
}

void setItem(Scenario& s, int n, const char* name, const char* file, int group, int price) {
    ItemDef& d = s.item(n);
    d.name.assign(sj(name));
    for (int g = 0; g < 6; ++g) d.itgroup[g] = g == group ? 1 : 0;
    d.itmoney = price;
    d.imageTransparent = 1;
    d.imageColour = static_cast<i32>(kWhite);
    picture(s.itemImageFiles[n - 1], file);
}

void setEvent(Scenario& s, int n, const char* name, const char* before, const char* after, int comment) {
    EventDef& d = s.event(n);
    d.name.assign(sj(name));
    d.evstartcomment = static_cast<i16>(comment);
    d.imageTransparent = 1;
    d.imageColour = static_cast<i32>(kWhite);
    d.image2Transparent = 1;
    d.image2Colour = static_cast<i32>(kWhite);
    picture(s.eventImageFiles[n - 1], before);
    if (after) picture(s.eventImage2Files[n - 1], after);
}

void setComment(Scenario& s, int n, const char* name, std::initializer_list<const char*> lines) {
    CommentDef& c = s.comment(n);
    c.name.assign(sj(name));
    ShortString250* targets[] = {&c.line1, &c.line2, &c.line3, &c.line4};
    int i = 0;
    for (const char* line : lines) targets[i++]->assign(sj(line));
}

int pos(const Scenario& s, int field, int col, int row) { return row * s.field(field).width + col + 1; }

Cell& at(Scenario& s, int field, int col, int row) { return s.cell(s.field(field).firstCell + pos(s, field, col, row) - 1); }

enum Terrain { Grass = 1, Water, Sand, Road, Tree, Mountain, Flowers, Wall, Floor, Bridge, CaveFloor, CaveWall };
enum Building { Village = 1, Cave, VillageExit, House, Inn, CaveExit, Castle };

void paintMeadow(Scenario& s) {  // field 1: 30 x 20
    const int W = 30, H = 20;
    std::mt19937 rng(12);
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            int t = Grass;
            const int roll = static_cast<int>(rng() % 100);
            if (r <= 1 || (r == 2 && c < 12)) t = Mountain;
            else if (roll < 8) t = Tree;
            else if (roll < 13) t = Flowers;
            // a river from north to south, with a sandy bank
            const int river = 15 + static_cast<int>(2 * std::sin(r * 0.5));
            if (c == river || c == river + 1) t = Water;
            else if (c == river - 1 || c == river + 2) t = r > 2 ? Sand : t;
            if (r == 10 && c >= 3 && c <= 26) t = (c == river || c == river + 1) ? Bridge : Road;
            if (c >= 23 && c <= 28 && r >= 14 && r <= 17) t = Tree;
            at(s, 1, c, r).place = t;
        }
    at(s, 1, 24, 9).place = Road;
    at(s, 1, 24, 9).enter = Village;
    // The cave mouth opens in the mountain side: the hero steps onto a road there.
    at(s, 1, 5, 2).place = Road;
    at(s, 1, 5, 2).enter = Cave;
    at(s, 1, 8, 10).event = 2;   // sign
    at(s, 1, 20, 16).event = 1;  // chest
    at(s, 1, 11, 13).chara = 4;  // slime
    at(s, 1, 19, 5).chara = 4;
    at(s, 1, 6, 15).item = 1;    // potion lying on the meadow
    at(s, 1, 4, 10).chara = 0;
}

void paintVillage(Scenario& s) {  // field 2: 20 x 20
    const int W = 20, H = 20;
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            int t = Grass;
            if (r == 0 || c == 0 || c == W - 1 || (r == H - 1 && c != 10)) t = Wall;
            else if (c == 10 || r == 9) t = Road;
            else if ((r * 7 + c * 3) % 11 == 0) t = Flowers;
            at(s, 2, c, r).place = t;
        }
    for (int r = 4; r <= 6; ++r)
        for (int c = 12; c <= 16; ++c) at(s, 2, c, r).place = Floor;
    at(s, 2, 10, 19).place = Road;
    at(s, 2, 10, 19).enter = VillageExit;
    at(s, 2, 4, 5).enter = House;
    at(s, 2, 6, 13).enter = House;
    at(s, 2, 14, 13).enter = Inn;
    at(s, 2, 14, 3).enter = Castle;
    at(s, 2, 9, 8).chara = 2;   // villager
    at(s, 2, 14, 5).chara = 3;  // elder
    at(s, 2, 12, 10).event = 3; // warp circle
    at(s, 2, 3, 16).item = 3;   // coins
}

void paintCave(Scenario& s) {  // field 3: 10 x 10
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c) {
            const bool wall = r == 0 || c == 0 || c == 9 || r == 9 || (r == 4 && c < 7) || (r == 7 && c > 3);
            at(s, 3, c, r).place = wall ? CaveWall : CaveFloor;
        }
    at(s, 3, 1, 8).enter = CaveExit;
    at(s, 3, 8, 2).event = 1;  // chest
    at(s, 3, 5, 5).chara = 5;  // skeleton
    at(s, 3, 2, 2).item = 2;   // sword
}

void buildScenario(Scenario& s) {
    EditorSideData side;
    alldatainitialize(s, side, 20240601);
    createFirstField(s, sj("ミルトの伝説"), sj("クォランテル制作室"), sj("はじまりの草原"), 30, 20);
    layoutFieldCells(s, 2, myend(s, 1) + 1, 20, 20);
    s.field(2).name.assign(sj("ミルトの村"));
    layoutFieldCells(s, 3, myend(s, 2) + 1, 10, 10);
    s.field(3).name.assign(sj("暗い洞窟"));

    setPlace(s, Grass, "草原", "grass.bmp", true);
    setPlace(s, Water, "川", "water.bmp", false, "water2.bmp");
    setPlace(s, Sand, "砂浜", "sand.bmp", true);
    setPlace(s, Road, "道", "road.bmp", true);
    setPlace(s, Tree, "森", "tree.bmp", true);
    setPlace(s, Mountain, "山", "mountain.bmp", false);
    setPlace(s, Flowers, "花畑", "flowers.bmp", true);
    setPlace(s, Wall, "レンガの壁", "wall.bmp", false);
    setPlace(s, Floor, "石畳", "floor.bmp", true);
    setPlace(s, Bridge, "橋", "bridge.bmp", true);
    setPlace(s, CaveFloor, "洞窟の床", "cavefloor.bmp", true);
    setPlace(s, CaveWall, "洞窟の壁", "cavewall.bmp", false);

    // The village gate leads into the village; the cave mouth into the cave;
    // both exits lead back to the meadow.
    setEnter(s, Village, "ミルトの村", "house.bmp", 2, pos(s, 2, 10, 18));
    setEnter(s, Cave, "洞窟の入口", "cave.bmp", 3, pos(s, 3, 2, 8));
    setEnter(s, VillageExit, "村の出口", "stairs_down.bmp", 1, pos(s, 1, 24, 11));
    setEnter(s, House, "民家", "house.bmp", 0, 0);
    setEnter(s, Inn, "宿屋", "inn.bmp", 0, 0);
    setEnter(s, CaveExit, "洞窟の出口", "stairs_up.bmp", 1, pos(s, 1, 5, 3));
    setEnter(s, Castle, "長老の館", "castle.bmp", 0, 0);
    s.enter(Village).enmove = 1;

    setComment(s, 1, "長老のあいさつ", {"ようこそ、ミルトの村へ。", "北の洞窟には魔物が住みついておる。", "どうか村を救ってくだされ。"});
    setComment(s, 2, "村人の話", {"洞窟の中は暗いから気をつけてね。", "宿屋で休むと元気になるよ。"});
    setComment(s, 3, "宝箱", {"宝箱を開けた！"});
    setComment(s, 4, "立て札", {"←北の洞窟　　ミルトの村→"});
    setComment(s, 5, "魔法陣", {"まばゆい光に包まれた……"});

    setChara(s, 1, "アレン", "hero.bmp", 0, 0);
    setChara(s, 2, "村人", "villager.bmp", 0, 2);
    setChara(s, 3, "長老", "elder.bmp", 0, 1);
    setChara(s, 4, "スライム", "slime.bmp", 3, 0);
    setChara(s, 5, "がいこつ剣士", "skeleton.bmp", 3, 0);
    s.chara(4).chpower = 8;
    s.chara(4).chattack = 3;
    s.chara(4).chexperience = 2;
    s.chara(4).chmoney = 5;
    s.chara(5).chpower = 30;
    s.chara(5).chattack = 12;
    s.chara(5).chexperience = 15;
    s.chara(5).chmoney = 40;

    setItem(s, 1, "やくそう", "potion.bmp", 5, 8);
    setItem(s, 2, "はがねの剣", "sword.bmp", 0, 250);
    setItem(s, 3, "金貨の袋", "coins.bmp", 5, 100);
    setItem(s, 4, "洞窟のカギ", "key.bmp", 4, 0);
    s.item(1).ithealing = 30;
    s.item(2).itstrength = 12;

    setEvent(s, 1, "宝箱", "chest.bmp", "chest_open.bmp", 3);
    setEvent(s, 2, "立て札", "sign.bmp", nullptr, 4);
    setEvent(s, 3, "魔法陣", "warp.bmp", "warp_lit.bmp", 5);
    s.event(1).evgetitem[0] = 4;
    // The sign reads its words each time it is examined.
    s.event(2).evprologue = 4;
    s.event(2).evinfinity = 1;
    s.event(3).evprologuebmp.assign("cave_scene.bmp");

    s.walkImg(1).name.assign(sj("アレン"));
    s.walkImg(1).imageTransparent = 1;
    s.walkImg(1).imageColour = static_cast<i32>(kMagenta);
    for (int f = 1; f <= kWalkFrames; ++f)
        s.walkImageFiles[0][f - 1].assign("hero_walk" + std::to_string(f) + ".bmp");
    s.settings.scdefwalkimg = 1;

    s.bgm(1).name.assign(sj("村のテーマ"));
    s.bgm(1).fileName.assign("village.mid");
    s.bgm(1).loop = 1;
    s.sound(1).name.assign(sj("コイン"));
    s.sound(1).fileName.assign("coin.wav");
    s.field(1).fieldBgm = 1;
    s.field(2).fieldBgm = 1;
    s.field(2).fieldsave = 1;
    s.settings.titleBgm = 1;
    s.settings.itemSound = 1;
    s.settings.titleBitmaps[0].assign("title.bmp");
    s.settings.endingBitmaps[0].assign("ending.bmp");
    s.settings.scdoller.assign(sj("ゴールド"));
    // Items lying on each field show the coin picture.
    for (int f = 1; f <= 3; ++f) {
        s.fieldItemImageFiles[f - 1].assign("coins.bmp");
        s.field(f).itemImageTransparent = 1;
        s.field(f).itemImageColour = static_cast<i32>(kWhite);
    }
    s.field(1).warpPoints[0] = pos(s, 1, 24, 9);
    s.field(3).escapeField = 1;
    s.field(3).escapePosition = pos(s, 1, 5, 3);

    s.hero.heroname.assign(sj("アレン"));
    s.hero.startField = 2;
    s.hero.startPosition = pos(s, 2, 10, 17);
    s.hero.hemoney = 50;

    paintMeadow(s);
    paintVillage(s);
    paintCave(s);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_demo OUTDIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    g_res = out + QStringLiteral("/resources/");
    if (!QDir().mkpath(g_res)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(g_res));
        return 1;
    }
    writePictures();
    writeMidi(g_res + QStringLiteral("village.mid"));
    writeWav(g_res + QStringLiteral("coin.wav"));
    Scenario& s = theScenario();
    buildScenario(s);
    const FileResult saved = saveScenario((out + QStringLiteral("/demo.snr")).toStdString(), s, false);
    if (!saved.ok) {
        std::fprintf(stderr, "cannot write demo.snr: %s\n", saved.error.c_str());
        return 1;
    }
    return 0;
}
