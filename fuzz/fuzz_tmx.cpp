// The tile map reading path with arbitrary file bytes: the map's XML, its CSV
// and base64 layer data, then, when the map reads, the checks and the write
// into a 10 x 10 field. The CSV rows are parsed straight from the file's bytes
// unless the file holds a marker like the reader's own; the same bytes with
// such a marker in a comment at the end must read the same through the XML
// reader alone.
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "render/tmxfile.h"
#include "fuzz_support.h"
#include "scenario/fieldlayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qrn;
    static const std::unique_ptr<Scenario> s = [] {
        auto made = std::make_unique<Scenario>();
        createFirstField(*made, "", "", "", 10, 10);
        return made;
    }();
    const std::string path = fuzz::writeScratch("map.tmx", data, size);
    TmxMapData map;
    const TmxFileResult read = readTmxMap(QString::fromStdString(path), map);
    if (!read.ok && (read.error.isEmpty() || !map.layers.empty())) std::abort();
    if (read.ok) {
        for (const TmxLayerData& layer : map.layers)
            if (layer.width < 0 || layer.height < 0 || static_cast<long long>(layer.width) * layer.height > (1 << 20))
                std::abort();
        const TmxImportResult r = importTmxLayers(*s, 1, map);
        if (r.status != TmxImportStatus::Done && tmxImportMessage(r).empty()) std::abort();
    }

    // (Only for UTF-8 text: after bytes that are not, the comment would turn
    // a broken last character into a broken one in the middle.)
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (QString::fromUtf8(bytes).toUtf8() != bytes) return 0;
    const std::string plain = fuzz::writeScratch("plain.tmx", data, size);
    if (FILE* f = std::fopen(plain.c_str(), "ab")) {
        std::fputs("\n<!-- #lifted- -->\n", f);
        std::fclose(f);
    }
    TmxMapData again;
    if (readTmxMap(QString::fromStdString(plain), again).ok != read.ok) std::abort();
    if (!read.ok) return 0;
    if (again.width != map.width || again.height != map.height || again.layers.size() != map.layers.size())
        std::abort();
    for (std::size_t i = 0; i < map.layers.size(); ++i) {
        const TmxLayerData& layer = map.layers[i];
        if (again.layers[i].gids != layer.gids || again.layers[i].name != layer.name) std::abort();
    }
    return 0;
}
