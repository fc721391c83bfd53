#include "tmxmapping.h"

#include <algorithm>

namespace qrn {

namespace {

int entryOf(const Cell& c, int layer) {
    switch (layer) {
        case 1: return c.place;
        case 2: return c.enter;
        case 3: return c.event;
        case 4: return c.item;
        case 5: return c.chara;
        default: return 0;
    }
}

// The cell drawn at each position, row by row; 0 where none stands.
std::vector<int> cellsByPosition(const Scenario& s, int field) {
    const FieldDef& f = s.field(field);
    std::vector<int> at(static_cast<std::size_t>(f.width) * static_cast<std::size_t>(f.height), 0);
    const int last = myend(s, field);
    for (int n = f.firstCell; n <= last; ++n) {
        const Cell& c = s.cell(n);
        if (c.col < f.width && c.row < f.height) at[static_cast<std::size_t>(c.row * f.width + c.col)] = n;
    }
    return at;
}

const TmxLayerData* findLayer(const TmxMapData& map, const std::string& name, bool& duplicate) {
    const TmxLayerData* found = nullptr;
    duplicate = false;
    for (const auto& l : map.layers) {
        if (l.name != name) continue;
        if (found) duplicate = true;
        found = &l;
    }
    return found;
}

const TmxTilesetRange* findTileset(const TmxMapData& map, const std::string& name) {
    for (const auto& t : map.tilesets)
        if (t.name == name) return &t;
    return nullptr;
}

}  // namespace

bool tmxFieldUsable(const Scenario& s, int field) {
    if (!fieldInUse(s, field)) return false;
    const FieldDef& f = s.field(field);
    if (f.width < 10 || f.width > kMaxFieldSide || f.height < 10 || f.height > kMaxFieldSide) return false;
    const long long last = static_cast<long long>(f.firstCell) + f.cellCount - 1;
    return f.firstCell >= 1 && f.cellCount >= 1 && last <= kCellCount;
}

std::vector<std::uint32_t> fieldLayerGids(const Scenario& s, int field, int layer, std::uint32_t firstGid) {
    if (!tmxFieldUsable(s, field)) return {};
    int count = 0;
    for (const auto& layerDef : kTmxLayers)
        if (layerDef.layer == layer) count = layerDef.objectCount;
    const std::vector<int> at = cellsByPosition(s, field);
    std::vector<std::uint32_t> gids(at.size(), 0);
    for (std::size_t i = 0; i < at.size(); ++i) {
        if (!at[i]) continue;
        const int k = entryOf(s.cell(at[i]), layer);
        if (k >= 1 && k <= count) gids[i] = firstGid + static_cast<std::uint32_t>(k - 1);
    }
    return gids;
}

TmxImportResult importTmxLayers(Scenario& s, int field, const TmxMapData& map) {
    TmxImportResult r;
    auto refuse = [&r](TmxImportStatus status) {
        r.status = status;
        return r;
    };
    if (!tmxFieldUsable(s, field)) return refuse(TmxImportStatus::FieldUnusable);
    const FieldDef& f = s.field(field);
    const int w = f.width, h = f.height;
    if (map.width != w || map.height != h) return refuse(TmxImportStatus::SizeDiffers);
    const std::size_t cells = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);

    // Every check first: the object number of each layer at each position
    // (index 0 place .. 4 chara).
    static_assert(kTmxLayers[0].layer == 1 && kTmxLayers[1].layer == 2 && kTmxLayers[2].layer == 3 &&
                  kTmxLayers[3].layer == 4 && kTmxLayers[4].layer == 5);
    std::array<std::vector<std::uint16_t>, kTmxLayers.size()> objects;
    for (std::size_t li = 0; li < kTmxLayers.size(); ++li) {
        const TmxLayerSpec& layerDef = kTmxLayers[li];
        r.layer = layerDef.name;
        bool duplicate = false;
        const TmxLayerData* layer = findLayer(map, layerDef.name, duplicate);
        if (!layer) return refuse(TmxImportStatus::MissingLayer);
        if (duplicate) return refuse(TmxImportStatus::DuplicateLayer);
        if (layer->width != w || layer->height != h || layer->gids.size() != cells)
            return refuse(TmxImportStatus::LayerSizeDiffers);
        const TmxTilesetRange* own = findTileset(map, layerDef.name);
        bool anyTile = false;
        for (std::uint32_t g : layer->gids) anyTile = anyTile || g != 0;
        if (!own && anyTile) return refuse(TmxImportStatus::MissingTileset);
        objects[li].assign(cells, 0);
        const std::uint64_t first = own ? own->firstGid : 0;
        const std::uint64_t count = own ? std::min<std::uint64_t>(own->tileCount, layerDef.objectCount) : 0;
        for (std::size_t i = 0; i < cells; ++i) {
            const std::uint32_t gid = layer->gids[i];
            if (gid == 0) continue;
            if (gid - first < count) {  // the usual case: a tile of the layer's own tileset
                objects[li][i] = static_cast<std::uint16_t>(gid - first + 1);
                continue;
            }
            r.col = static_cast<int>(i % static_cast<std::size_t>(w));
            r.row = static_cast<int>(i / static_cast<std::size_t>(w));
            r.gid = gid;
            if (gid & kTmxFlipBits) return refuse(TmxImportStatus::FlippedTile);
            const std::uint64_t g = gid;
            if (g < own->firstGid || g >= own->firstGid + own->tileCount) {
                for (const auto& other : map.tilesets)
                    if (&other != own && g >= other.firstGid && g < other.firstGid + other.tileCount)
                        return refuse(TmxImportStatus::ForeignTile);
            }
            return refuse(TmxImportStatus::TileOutOfRange);
        }
    }
    r = TmxImportResult{};

    // An empty entry stays as it was stored, even one outside its layer's
    // table (the map shows it empty).
    auto next = [](int now, int want, int count) { return want == 0 && (now < 1 || now > count) ? now : want; };
    const std::vector<int> at = cellsByPosition(s, field);
    for (std::size_t i = 0; i < cells; ++i) {
        if (!at[i]) continue;
        Cell& c = s.cell(at[i]);
        const int place = next(c.place, objects[0][i], kPlaceCount);
        const int enter = next(c.enter, objects[1][i], kEnterCount);
        const int event = next(c.event, objects[2][i], kEventCount);
        const int item = next(c.item, objects[3][i], kItemCount);
        const int chara = next(c.chara, objects[4][i], kCharaCount);
        if (place == c.place && enter == c.enter && event == c.event && item == c.item && chara == c.chara) continue;
        c.place = place;
        c.enter = static_cast<u8>(enter);
        c.event = static_cast<u8>(event);
        c.item = static_cast<u8>(item);
        c.chara = static_cast<u8>(chara);
        ++r.changedCells;
    }
    return r;
}

std::string tmxImportMessage(const TmxImportResult& r) {
    const std::string at = "(" + std::to_string(r.col + 1) + ", " + std::to_string(r.row + 1) + ")";
    const std::string tile = "タイル " + std::to_string(r.gid);
    switch (r.status) {
        case TmxImportStatus::Done: return {};
        case TmxImportStatus::FieldUnusable: return "このﾌｨｰﾙﾄﾞには読み込めません。";
        case TmxImportStatus::SizeDiffers: return "マップの大きさがﾌｨｰﾙﾄﾞの大きさと違います。";
        case TmxImportStatus::MissingLayer: return "レイヤー「" + r.layer + "」がありません。";
        case TmxImportStatus::DuplicateLayer: return "レイヤー「" + r.layer + "」が二つ以上あります。";
        case TmxImportStatus::LayerSizeDiffers: return "レイヤー「" + r.layer + "」の大きさがマップと違います。";
        case TmxImportStatus::MissingTileset: return "タイルセット「" + r.layer + "」がありません。";
        case TmxImportStatus::FlippedTile:
            return "レイヤー「" + r.layer + "」の" + at + "のタイルは反転または回転しています。";
        case TmxImportStatus::ForeignTile:
            return "レイヤー「" + r.layer + "」の" + at + "の" + tile + "は別のタイルセットのタイルです。";
        case TmxImportStatus::TileOutOfRange:
            return "レイヤー「" + r.layer + "」の" + at + "の" + tile + "は範囲外です。";
    }
    return {};
}

}  // namespace qrn
