// Field bitmap export and the join.
//   export_bmp_120x120: a 120 x 120 field with all five layers set, drawn
//     and written as a 3840 x 3840 bitmap file; ratio against writing an
//     already composed image of that size with the same writer.
//   cli_export_bmp_120x120: the whole quorantel-cli export-bmp process for
//     that field; ratio against tmxrasterizer drawing the same field exported
//     as TMX (goal <= 0.5), or a 0.10 s goal where it is not installed.
//   join_maximal: every cell of the store set, 900 distinct pictures, 762
//     large bitmaps and 100 media files named; ratio against copying the
//     join's own output folder, file by file, in the same run.
//   cli_join: the whole quorantel-cli join process on that scenario into a
//     new empty folder; ratio against a cp -r process copying the join's output
//     folder to a new one.
//   cli_join_again: the join over the files of the join before; ratio
//     against cp -r of the output over the copy before.
// `bench_join --make DIR` only writes that scenario (DIR/max.snr) and its
// resource folder (DIR/res), for looking at the join from outside.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench_util.h"
#include "render/fieldrenderer.h"
#include "scenario/fieldlayout.h"
#include "scenario/fieldops.h"
#include "scenario/join.h"
#include "scenario/joinfiles.h"
#include "scenario/resets.h"
#include "scenario/scenariofile.h"

extern char** environ;

using namespace qrn;
namespace fs = std::filesystem;

namespace {

constexpr int kSide = 120;

double medianMs(const std::function<void()>& work, int runs) {
    std::vector<double> times;
    work();  // warm up
    for (int i = 0; i < runs; ++i) times.push_back(bench::millis(work));
    return bench::median(times);
}

void report(const char* op, double ms, double baseMs) {
    std::printf("op=%s median_ms=%.3f ratio=%.2f baseline_ms=%.3f\n", op, ms, ms / baseMs, baseMs);
    std::fflush(stdout);
}

// A chip picture; masked ones have a white border that becomes transparent.
QImage picture(QRgb colour, bool masked) {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(masked ? qRgb(255, 255, 255) : colour);
    QPainter p(&image);
    p.fillRect(masked ? QRect(6, 6, 20, 20) : QRect(0, 0, 32, 32), QColor(colour));
    p.setPen(Qt::black);
    p.drawLine(8, 8, 24, 24);
    return image;
}

std::string fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Field 1 of 120 x 120, four objects per layer, mixed so that the field
// shows hundreds of different looks; pictures saved in `res` when given.
void fieldScenario(Scenario& s, EditorSideData& side, const fs::path& res) {
    alldatainitialize(s, side, 1);
    createFirstField(s, "", "", "", kSide, kSide);
    const QRgb colours[] = {qRgb(40, 160, 60), qRgb(150, 120, 60), qRgb(60, 90, 200), qRgb(220, 200, 40),
                            qRgb(200, 60, 60)};
    ShortString255* files[] = {s.placeImageFiles, s.enterImageFiles, s.eventImageFiles, s.itemImageFiles,
                               s.charaImageFiles};
    for (int layer = 0; layer < 5; ++layer)
        for (int n = 1; n <= 4; ++n) {
            const std::string name = "l" + std::to_string(layer) + "_" + std::to_string(n) + ".bmp";
            files[layer][n - 1].assign(name);
            if (!res.empty()) picture(colours[layer] + static_cast<QRgb>(n * 20), layer > 0).save(QString::fromStdString((res / name).string()), "BMP");
        }
    for (int n = 1; n <= kSide * kSide; ++n) {
        Cell& c = s.cell(n);
        std::uint32_t mix = static_cast<std::uint32_t>(n) * 2654435761u;
        int v[5];
        for (int& x : v) {
            x = 1 + static_cast<int>((mix >> 7) % 4);
            mix = mix * 1664525u + 1013904223u;
        }
        c.place = v[0];
        c.enter = static_cast<u8>(v[1]);
        c.event = static_cast<u8>(v[2]);
        c.item = static_cast<u8>(v[3]);
        c.chara = static_cast<u8>(v[4]);
    }
    for (int n = 1; n <= 4; ++n) {
        s.enter(n).imageTransparent = s.event(n).imageTransparent = 1;
        s.item(n).imageTransparent = s.chara(n).imageTransparent = 1;
        s.enter(n).imageColour = s.event(n).imageColour = 0xFFFFFF;
        s.item(n).imageColour = s.chara(n).imageColour = 0xFFFFFF;
    }
}

int runProcess(const std::string& cmd) {
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void benchExport(const fs::path& dir) {
    auto s = std::make_unique<Scenario>();
    EditorSideData side{};
    const fs::path res = dir / "res";
    fs::create_directories(res);
    fieldScenario(*s, side, res);
    ResourceFolder folder(res.string());
    PictureIndexTables tables{};
    ChipImages chips;
    loadScenarioPictures(*s, folder, tables, chips, nullptr);
    const std::string out = (dir / "field.bmp").string();

    const double ms = medianMs([&] {
        FieldRenderer renderer(chips, tables);
        if (!renderer.writeFieldBmp(*s, 1, out)) std::abort();
    }, 11);
    FieldRenderer renderer(chips, tables);
    const QImage composed = renderer.renderField(*s, 1);

    const double base = medianMs([&] { if (!writeBmp24(composed, out)) std::abort(); }, 11);
    report("export_bmp_120x120", ms, base);

    // The whole command-line process, scenario file and pictures included.
    const std::string snr = (dir / "field.snr").string();
    if (!saveScenario(snr, *s, false).ok) std::abort();
    const std::string cmd = std::string(QRN_CLI_PATH) + " export-bmp " + snr + " 1 " + out + " --resources " + res.string();
    const double cli = medianMs([&] { if (runProcess(cmd) != 0) std::abort(); }, 11);
    // The floor: the tile map editor's command-line renderer drawing the same
    // field exported as TMX with the same pictures, where it is installed.
    const fs::path tmx = dir / "tmx";
    fs::create_directories(tmx);
    const std::string toTmx = std::string(QRN_CLI_PATH) + " export-tmx " + snr + " 1 " + tmx.string() + " --resources " +
                              res.string() + " >/dev/null";
    std::string map;
    if (runProcess("command -v tmxrasterizer >/dev/null") == 0 && runProcess(toTmx) == 0)
        for (const auto& e : fs::directory_iterator(tmx))
            if (e.path().extension() == ".tmx") map = e.path().string();
    if (map.empty()) {
        std::printf("op=cli_export_bmp_120x120 median_ms=%.3f goal_ms=100\n", cli);
        return;
    }
    const std::string raster = "QT_QPA_PLATFORM=offscreen tmxrasterizer " + map + " " + (dir / "tiled.png").string() + " 2>/dev/null";
    const double tiled = medianMs([&] { if (runProcess(raster) != 0) std::abort(); }, 11);
    report("cli_export_bmp_120x120", cli, tiled);
}

// Runs argv to completion with its output thrown away; false if it could
// not start or failed.
bool spawnAndWait(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The largest join: every cell of the store set, 900 distinct pictures,
// every large bitmap and media slot named; its files are written into `res`.
std::unique_ptr<Scenario> maximalScenario(const fs::path& res) {
    auto s = std::make_unique<Scenario>();
    EditorSideData side{};
    alldatainitialize(*s, side, 2);
    createFirstField(*s, "", "", "", kSide, kSide);
    // 20 fields of 120 x 120 and one of 120 x 100 fill the store exactly.
    for (int f = 2; f <= 21; ++f)
        if (placeNewField(*s, f, kSide, f == 21 ? 100 : kSide) != AddFieldResult::Added) std::abort();
    if (myend(*s, 21) != kCellCount) std::abort();
    for (int n = 1; n <= kCellCount; ++n) {
        Cell& c = s->cell(n);
        c.place = 1 + n % 400;
        c.enter = static_cast<u8>(1 + n % 250);
        c.event = static_cast<u8>(1 + n % 249);
        c.item = static_cast<u8>(1 + n % 247);
        c.chara = static_cast<u8>(1 + n % 241);
    }
    fs::create_directories(res);
    // 900 distinct pictures: terrains 1..400, their extends, buildings 1..100.
    QImage pic = picture(qRgb(90, 140, 30), false);
    for (int k = 0; k < 900; ++k) {
        const std::string name = "p" + std::to_string(k) + ".bmp";
        ShortString255& slot = k < 400 ? s->placeImageFiles[k] : k < 800 ? s->placeImage2Files[k - 400] : s->enterImageFiles[k - 800];
        slot.assign(name);
        pic.setPixel(k % 32, 0, qRgb(k % 256, 0, 0));
        pic.save(QString::fromStdString((res / name).string()), "BMP");
    }
    const std::string large(64 * 1024, 'L'), midi(8 * 1024, 'M'), wave(32 * 1024, 'W');
    auto media = [&](ShortString255& slot, const std::string& name, const std::string& bytes) {
        slot.assign(name);
        std::ofstream(res / name, std::ios::binary) << bytes;
    };
    for (int k = 1; k <= 250; ++k) {
        media(s->chara(k).chbossimg, "boss" + std::to_string(k) + ".bmp", large);
        media(s->event(k).evprologuebmp, "pro" + std::to_string(k) + ".bmp", large);
        media(s->event(k).evepiloguebmp, "epi" + std::to_string(k) + ".bmp", large);
    }
    for (int i = 0; i < 5; ++i) {
        media(s->settings.titleBitmaps[i], "title" + std::to_string(i) + ".bmp", large);
        media(s->settings.endingBitmaps[i], "ending" + std::to_string(i) + ".bmp", large);
    }
    media(s->settings.scwallbmp, "wall.bmp", large);
    media(s->settings.scopeningbmp, "opening.bmp", large);
    for (int k = 1; k <= 50; ++k) {
        media(s->bgm(k).fileName, "bgm" + std::to_string(k) + ".mid", midi);
        media(s->sound(k).fileName, "se" + std::to_string(k) + ".wav", wave);
    }
    return s;
}

// The whole process, scenario file and resource folder as given on the
// command line; run before the in-process join so that neither side meets
// the files that one removes.
void benchCliJoin(const fs::path& dir, Scenario& s, const fs::path& res) {
    // Against cp -r of the output it writes, each run right after the other
    // so that both meet the same load: first into an empty folder each, then
    // over the files of the run before (a join again). The empty folders are
    // new ones, none removed between the runs: a file system without a
    // journal passes over inodes freed in the last half minute when it makes
    // files, which would charge the removals to whichever process runs first.
    const std::string snr = (dir / "max.snr").string();
    if (!saveScenario(snr, s, false).ok) std::abort();
    const fs::path runs = dir / "runs";
    auto joinInto = [&](const fs::path& folder) {
        return std::vector<std::string>{QRN_CLI_PATH, "join", snr, folder.string(), "BENCH", "--resources", res.string()};
    };
    {
        std::vector<double> tool, floor;
        for (int i = 0; i < 9; ++i) {
            const fs::path into = runs / ("out" + std::to_string(i));
            fs::create_directories(into);
            tool.push_back(bench::millis([&] {
                if (!spawnAndWait(joinInto(into))) std::abort();
            }));
            floor.push_back(bench::millis([&] {
                if (!spawnAndWait({"/bin/cp", "-r", into.string(), (runs / ("copy" + std::to_string(i))).string()}))
                    std::abort();
            }));
        }
        for (std::size_t k = 0; k < tool.size(); ++k) std::printf("# run %zu join %.1f cp %.1f\n", k, tool[k], floor[k]);
        report("cli_join", bench::median(tool), bench::median(floor));
    }
    {
        const fs::path into = runs / "out0";
        const fs::path copy = runs / "copy0";
        std::vector<double> tool, floor;
        for (int i = 0; i < 8; ++i) {
            tool.push_back(bench::millis([&] {
                if (!spawnAndWait(joinInto(into))) std::abort();
            }));
            floor.push_back(bench::millis([&] {
                if (!spawnAndWait({"/bin/cp", "-r", into.string() + "/.", copy.string()})) std::abort();
            }));
        }
        report("cli_join_again", bench::median(tool), bench::median(floor));
    }
}

void benchJoin(const fs::path& dir) {
    const fs::path res = dir / "jres";
    const std::unique_ptr<Scenario> s = maximalScenario(res);
    benchCliJoin(dir, *s, res);
    ResourceFolder folder(res.string());
    PictureIndexTables tables{};
    ChipImages chips;
    loadScenarioPictures(*s, folder, tables, chips, nullptr);

    const fs::path out = dir / "jout";
    fs::create_directories(out);
    int warnings = 0;
    JoinHooks hooks;
    hooks.drawSheet = [&](const ChipAssignment& a) {
        FieldRenderer renderer(chips, tables);
        return renderer.sheetBitmap(a);
    };
    hooks.warn = [&](const std::string&) { ++warnings; };
    auto before = std::make_unique<Scenario>();
    std::memcpy(before->bytes(), s->bytes(), kRecordSize);
    const double ms = medianMs([&] {
        if (joinScenario(*s, {out.string(), res.string(), "BENCH"}, hooks).status != JoinStatus::Done) std::abort();
    }, 5);
    // Every source was there, and the scenario came out as it went in.
    if (warnings != 0 || std::memcmp(before->bytes(), s->bytes(), kRecordSize) != 0) std::abort();

    // The baseline: copy every output file's bytes into another folder.
    const fs::path copy = dir / "jcopy";
    fs::create_directories(copy);
    std::vector<fs::path> outputs;
    std::uintmax_t bytes = 0;
    for (const auto& e : fs::directory_iterator(out)) {
        outputs.push_back(e.path());
        bytes += e.file_size();
    }
    const double base = medianMs([&] {
        for (const fs::path& p : outputs)
            if (!writeWholeFile((copy / p.filename()).string(), fileBytes(p))) std::abort();
    }, 5);
    report("join_maximal", ms, base);
    std::printf("# join_maximal wrote %zu files, %.1f MB\n", outputs.size(), static_cast<double>(bytes) / 1e6);

}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--make") == 0) {
        const fs::path dir = argv[2];
        const std::unique_ptr<Scenario> s = maximalScenario(dir / "res");
        return saveScenario((dir / "max.snr").string(), *s, false).ok ? 0 : 1;
    }
    // In TMPDIR when set, so that the runs can be put on another file system.
    std::string tmpl = (fs::temp_directory_path() / "qrn_join_bench_XXXXXX").string();
    const fs::path dir = ::mkdtemp(tmpl.data());
    benchExport(dir);
    if (!std::getenv("QRN_SKIP_JOIN")) benchJoin(dir);
    fs::remove_all(dir);
    return 0;
}
