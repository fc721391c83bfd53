// Writes the fuzzers' seed corpora: fuzz_seeds DEMO.snr OUTPUT_FOLDER.
// Each fuzzer gets a folder of small cases made here from the demo, a maximal
// scenario and hand-made inputs.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_scenarios.h"
#include "json_scenario.h"

namespace {

using namespace qrn;
namespace fs = std::filesystem;

fs::path out;

void seed(const std::string& fuzzer, const std::string& name, const std::string& bytes) {
    fs::create_directories(out / fuzzer);
    std::ofstream(out / fuzzer / name, std::ios::binary) << bytes;
}

std::string le(std::uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
}

// A patch block of the scenario fuzzer: offset, length, bytes.
std::string patch(std::size_t offset, const std::string& bytes) {
    return le(static_cast<std::uint32_t>(offset), 3) + static_cast<char>(bytes.size()) + bytes;
}

std::size_t offsetOf(const Scenario& s, const void* member) {
    return static_cast<std::size_t>(static_cast<const unsigned char*>(member) - s.bytes());
}

void scenarioSeeds(const std::string& demoPath) {
    // Each start with each operation of the per-table target, and with every
    // operation at once for the whole-record target. Arguments a..h.
    const std::string args("\x03\x01\x02\x00\x01\x01", 6);
    const char* starts[] = {"fresh", "demo", "maximal"};
    for (int start = 0; start < 3; ++start) {
        for (int op = 0; op < 16; ++op)
            seed("scenario", std::string(starts[start]) + "-" + std::to_string(op),
                 std::string(1, static_cast<char>(start)) + static_cast<char>(op) + args);
        seed("scenario_whole", starts[start], std::string(1, static_cast<char>(start)) + "\xFF" + args);
    }
    seed("scenario", "cleanup-reset", std::string("\x01\x00\x03\x01\x05\x00\x03\x07", 8));
    seed("scenario", "resize", std::string("\x01\x09\x01\x05\x00\x03\x07\x02", 8));
    seed("scenario_whole", "resize-delete", std::string("\x01\x0C\x01\x05\x00\x03\x07\x02", 8));

    // Damaged records: one field or text made hostile, then every operation.
    auto s = std::make_unique<Scenario>();
    const FieldDef& f1 = s->field(1);
    const FieldDef& f2 = s->field(2);
    const std::vector<std::pair<std::string, std::string>> damage = {
        {"first-cell-far", patch(offsetOf(*s, &f1.firstCell), le(0x7FFFFFF0, 4))},
        {"negative-size", patch(offsetOf(*s, &f1.width), le(0xFFFFFFFF, 4))},
        {"cell-count", patch(offsetOf(*s, &f2.cellCount), le(0x7FFF, 2))},
        {"text-length", patch(offsetOf(*s, &s->comment(1)), "\xFF\x82")},
        {"cell-objects",
         patch(offsetOf(*s, &s->cell(1)), std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 10))},
    };
    for (const auto& [name, bytes] : damage) {
        for (int op = 0; op < 16; op += 3)
            seed("scenario", name + "-" + std::to_string(op), std::string(1, '\1') + static_cast<char>(op) + args + bytes);
        seed("scenario_whole", name, std::string("\1\xFF", 2) + args + bytes);
    }
    const fuzz::Image demo = fuzz::readImage(demoPath);
    for (const char* fuzzer : {"scenario", "scenario_whole"}) {
        seed(fuzzer, "truncated", std::string("\3\xFF", 2) + std::string(demo.begin(), demo.begin() + 4096));
        seed(fuzzer, "empty-file", std::string("\3\xFF", 2));
    }
}

void jsonSeeds(const std::string& demoPath) {
    auto s = std::make_unique<Scenario>();
    const fuzz::Image fresh = fuzz::freshImage();
    std::memcpy(s->bytes(), fresh.data(), kRecordSize);
    lockdata(*s, false);
    seed("json", "fresh", cli::exportScenario(*s).dump(1));
    EditorSideData side{};
    if (openScenario(demoPath, *s, side).ok) seed("json", "demo", cli::exportScenario(*s).dump());
    seed("json", "empty-object", "{}");
    seed("json", "one-field", R"({"fields":[{"name":"a","width":10,"height":10}]})");
    seed("json", "hex-text", R"({"comments":[{"line1":{"hex":"8140ff"}}]})");
    seed("json", "duplicate-key", R"({"a":1,"a":2})");
}

void settingsSeeds() {
    seed("settings", "placements",
         "[mainform]\nleft=10\ntop=20\nright=610\nbottom=500\nmaxleft=-4\nmaxtop=-4\nmaximize=1\n"
         "[allmap]\nleft=0x7fffffff\ntop=-2147483648\nright=-2147483648\nbottom=2147483647\n");
    seed("settings", "options",
         "[tool]\nshowpanel=0\ngridline=1\n[path]\ncompiledfileout=/tmp\nserchpath=\nquilmark=a b\n"
         "[map]\nplchipview=0\ncolrowsizes=3\n");
    seed("settings", "lists", "[map]\ncolrowsizes=1, 2\n[path]\nserchpath=@Invalid()\n");
    seed("settings", "empty", "");
}

std::string encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

void pictureSeeds() {
    QImage rgb(32, 32, QImage::Format_RGB32);
    rgb.fill(qRgb(255, 255, 255));
    for (int i = 0; i < 32; ++i) rgb.setPixel(i, i, qRgb(200, 10, 10));
    seed("picture", "rgb32.bmp", encoded(rgb, "BMP"));
    seed("picture", "indexed.bmp", encoded(rgb.convertToFormat(QImage::Format_Indexed8), "BMP"));
    seed("picture", "mono.bmp", encoded(rgb.convertToFormat(QImage::Format_Mono), "BMP"));
    seed("picture", "wide.bmp", encoded(rgb.scaled(96, 20), "BMP"));
    seed("picture", "small.png", encoded(rgb.scaled(8, 8), "PNG"));
    const std::string whole = encoded(rgb, "BMP");
    seed("picture", "truncated.bmp", whole.substr(0, 200));
    // A header promising 40000 x 40000 pixels and nothing after it.
    std::string huge = "BM" + le(54, 4) + le(0, 4) + le(54, 4) + le(40, 4) + le(40000, 4) + le(40000, 4) + le(1, 2) +
                       le(24, 2) + le(0, 4) + le(0, 4) + le(0, 4) + le(0, 4) + le(0, 4) + le(0, 4);
    seed("picture", "huge-header.bmp", huge);
    seed("picture", "not-a-picture", "this is not a bitmap");
}

void commentSeeds() {
    seed("commenttext", "ascii", std::string("\x03\x01\x02\x00\x00\x00", 6) + "a" + "bb" + "a line\r\nanother");
    std::string wide;
    for (int i = 0; i < 130; ++i) wide += "\x95\x5C";  // a character whose second byte is "\"
    seed("commenttext", "double-byte-boundary", std::string("\x00\x01\x01\x00\x00\x05", 6) + "\\" + "x" + wide);
    seed("commenttext", "full", std::string("\x02\x02\x00\x10\x00\x03", 6) + "\x82\x60" + std::string(1000, 'z'));
    seed("commenttext", "lead-at-end", std::string("\x01\x01\x00\x00\x00\x00", 6) + "a" + "abc\x82");
}

// 10 x 10 maps as the tile map editor saves them: CSV with a commented-out
// layer, base64 without and with zlib, and one with a DOCTYPE.
void tmxSeeds() {
    static const char* const names[5] = {"地形", "建造物", "ｲﾍﾞﾝﾄ", "ｱｲﾃﾑ", "ｷｬﾗｸﾀ"};
    static const int first[5] = {1, 401, 651, 901, 1151};
    auto map = [](const std::string& prolog, const std::string& attributes, const std::string& data) {
        std::string x = prolog + "<map version=\"1.8\" orientation=\"orthogonal\" width=\"10\" height=\"10\" "
                                 "tilewidth=\"32\" tileheight=\"32\" infinite=\"0\">\n"
                                 " <!-- <data encoding=\"csv\">9,9</data> -->\n";
        for (int i = 0; i < 5; ++i)
            x += " <tileset firstgid=\"" + std::to_string(first[i]) + "\" name=\"" + names[i] +
                 "\" tilewidth=\"32\" tileheight=\"32\" tilecount=\"250\" columns=\"10\"/>\n";
        for (int i = 0; i < 5; ++i)
            x += std::string(" <layer name=\"") + names[i] + "\" width=\"10\" height=\"10\">\n  <data " + attributes +
                 ">" + data + "</data>\n </layer>\n";
        return x + "</map>\n";
    };
    std::string csv = "\n";
    for (int i = 0; i < 100; ++i) csv += i == 99 ? "0\n" : i % 10 == 9 ? "0,\n" : "0,";
    seed("tmx", "csv", map("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", "encoding=\"csv\"", csv));
    seed("tmx", "base64", map("", "encoding=\"base64\"", std::string(532, 'A') + "AA=="));
    seed("tmx", "base64-zlib", map("", "encoding=\"base64\" compression=\"zlib\"", "eJxjYBgFgwkAAAGQAAE="));
    seed("tmx", "doctype", map("<!DOCTYPE map>\n", "encoding=\"csv\"", csv));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds DEMO.snr OUTPUT_FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    out = argv[2];
    // Seeds of an earlier build may no longer mean the same to a target.
    fs::remove_all(out);
    scenarioSeeds(argv[1]);
    jsonSeeds(argv[1]);
    settingsSeeds();
    pictureSeeds();
    commentSeeds();
    tmxSeeds();
    return 0;
}
