// Scenario <-> JSON: lossless round trips on random, damaged and maximal
// records, every cp932 character, the refusals of import-json and the look of
// an exported scenario.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/json_scenario.h"
#include "scenario/fieldlayout.h"
#include "scenario/resets.h"
#include "scenario/scenario.h"
#include "scenario/scenariofile.h"
#include "scenario/text.h"

namespace {

using qrn::Scenario;
using qrn::cli::Json;
namespace fs = std::filesystem;

std::unique_ptr<Scenario> freshScenario(std::uint64_t seed = 1) {
    auto s = std::make_unique<Scenario>();
    qrn::EditorSideData side{};
    qrn::alldatainitialize(*s, side, seed);
    return s;
}

std::unique_ptr<Scenario> importOrFail(const Json& doc) {
    auto s = std::make_unique<Scenario>();
    const std::string error = qrn::cli::importScenario(doc, *s);
    EXPECT_EQ(error, "");
    return s;
}

// The record as an import must give it back: the original with the bytes
// after each text's length cleared.
void expectSameAsNormalised(const Scenario& original, const Scenario& imported) {
    auto expected = std::make_unique<Scenario>(original);
    qrn::cli::clearInsignificantBytes(*expected);
    const unsigned char* a = expected->bytes();
    const unsigned char* b = imported.bytes();
    for (int i = 0; i < qrn::kRecordSize; ++i) {
        if (a[i] != b[i]) {
            ADD_FAILURE() << "first difference at byte " << i << ": " << int(a[i]) << " != " << int(b[i]);
            return;
        }
    }
}

// Export, write as text, read back, import.
std::unique_ptr<Scenario> roundTrip(const Scenario& s) {
    const Json doc = qrn::cli::exportScenario(s);
    Json back;
    EXPECT_EQ(qrn::cli::parseScenarioJson(doc.dump(), back), "");
    return importOrFail(back);
}

// Every character cp932 can hold, as its bytes.
const std::vector<std::string>& cp932Characters() {
    static const std::vector<std::string> chars = [] {
        std::vector<std::string> out;
        for (int b = 0x00; b <= 0xFF; ++b) {
            const std::string c(1, char(b));
            if (!qrn::isCp932LeadByte(static_cast<unsigned char>(b)) && qrn::cp932ToUtf8(c)) out.push_back(c);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!qrn::isCp932LeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                const std::string c{char(lead), char(trail)};
                if (qrn::cp932ToUtf8(c)) out.push_back(c);
            }
        }
        return out;
    }();
    return chars;
}

// Gives every text slot a random text: empty, valid cp932, random bytes, or
// (in a damaged file) a length byte above the slot's capacity.
void randomiseTexts(Scenario& s, std::mt19937_64& rng) {
    const auto& chars = cp932Characters();
    qrn::cli::forEachTextSlot(s, [&](unsigned char* slot, int capacity) {
        switch (rng() % 5) {
            case 0: slot[0] = 0; break;
            case 1: case 2: {
                std::string text;
                const std::size_t want = rng() % (capacity + 1);
                while (true) {
                    const std::string& c = chars[rng() % chars.size()];
                    if (text.size() + c.size() > want) break;
                    text += c;
                }
                slot[0] = static_cast<unsigned char>(text.size());
                std::memcpy(slot + 1, text.data(), text.size());
                break;
            }
            case 3: slot[0] = static_cast<unsigned char>(rng() % (capacity + 1)); break;
            default: slot[0] = static_cast<unsigned char>(capacity + rng() % (256 - capacity)); break;
        }
    });
}

void fillRandom(void* p, std::size_t n, std::mt19937_64& rng) {
    auto* b = static_cast<unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(rng());
}

void layOut(Scenario& s, int field, int firstCell, int width, int height) {
    qrn::FieldDef& f = s.field(field);
    f.firstCell = firstCell;
    f.width = width;
    f.height = height;
    f.cellCount = static_cast<qrn::i16>(width * height);
    for (int p = 0; p < width * height; ++p) {
        qrn::Cell& c = s.cell(firstCell + p);
        c.col = static_cast<qrn::u8>(p % width);
        c.row = static_cast<qrn::u8>(p / width);
    }
}

// Random bytes everywhere; a few whole maps with random cells (some with
// stored positions that do not match), damaged fields (overlapping, wrong
// cell count, random), and random cells scattered over the store.
std::unique_ptr<Scenario> randomScenario(std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    auto s = std::make_unique<Scenario>();
    fillRandom(s.get(), sizeof(Scenario), rng);
    std::memset(s->cells, 0, sizeof s->cells);
    int next = 1 + static_cast<int>(rng() % 50);
    for (int f = 1; f <= 4; ++f) {
        const int w = 1 + static_cast<int>(rng() % 30), h = 1 + static_cast<int>(rng() % 30);
        layOut(*s, f, next, w, h);
        for (int p = 0; p < w * h; ++p) {
            qrn::Cell& c = s->cell(next + p);
            fillRandom(&c.enter, 8, rng);
            if (rng() % 10 == 0) fillRandom(&c.col, 2, rng);
        }
        next += w * h + static_cast<int>(rng() % 20);
    }
    layOut(*s, 5, s->field(4).firstCell + 1, 5, 5);      // overlaps field 4
    layOut(*s, 6, next + 100, 10, 10);                    // whole but for its count
    s->field(6).cellCount = 99;
    for (int i = 0; i < 500; ++i) fillRandom(&s->cell(1 + static_cast<int>(rng() % qrn::kCellCount)), 10, rng);
    randomiseTexts(*s, rng);
    return s;
}

TEST(JsonRoundTrip, RandomRecordsComeBackByteForByte) {
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        auto s = randomScenario(seed);
        const Json doc = qrn::cli::exportScenario(*s);
        // The record has whole maps, stored positions that differ, stray
        // cells and texts kept as bytes.
        EXPECT_TRUE(doc["fields"][0].contains("cells"));
        EXPECT_FALSE(doc["fields"][4].contains("cells"));
        EXPECT_TRUE(doc.contains("strayCells"));
        int withPositions = 0;
        for (const Json& f : doc["fields"]) withPositions += f.contains("cellPositions");
        EXPECT_GT(withPositions, 0);
        EXPECT_NE(doc["comments"].dump().find("\"length\""), std::string::npos);
        expectSameAsNormalised(*s, *roundTrip(*s));
    }
}

TEST(JsonRoundTrip, EveryByteRandomIncludingTheCellStore) {
    std::mt19937_64 rng(99);
    auto s = std::make_unique<Scenario>();
    fillRandom(s.get(), sizeof(Scenario), rng);
    randomiseTexts(*s, rng);
    const Json doc = qrn::cli::exportScenario(*s);
    ASSERT_TRUE(doc.contains("strayCells"));
    EXPECT_GT(doc["strayCells"].size(), 290000u);
    expectSameAsNormalised(*s, *importOrFail(doc));
}

TEST(JsonRoundTrip, MaximalScenario) {
    auto s = freshScenario();
    std::mt19937_64 rng(7);
    const std::string fullName = qrn::cp932Literal("漢字漢字漢字漢字漢字漢字漢字漢字");  // 32 bytes
    const std::string fullFile(255, 'x');
    qrn::cli::forEachTextSlot(*s, [&](unsigned char* slot, int capacity) {
        const std::string& text = capacity == 255 ? fullFile : fullName;
        const std::size_t n = std::min<std::size_t>(text.size(), capacity);
        slot[0] = static_cast<unsigned char>(n);
        std::memcpy(slot + 1, text.data(), n);
    });
    // 100 fields of 60 x 50 fill all 300,000 cells; every layer is painted.
    for (int f = 1; f <= qrn::kFieldCount; ++f) layOut(*s, f, 1 + (f - 1) * 3000, 60, 50);
    for (int c = 1; c <= qrn::kCellCount; ++c) {
        qrn::Cell& cell = s->cell(c);
        cell.enter = cell.event = cell.chara = cell.item = static_cast<qrn::u8>(1 + rng() % 250);
        cell.place = 1 + static_cast<int>(rng() % 400);
    }
    const Json doc = qrn::cli::exportScenario(*s);
    EXPECT_EQ(doc["charas"].size(), 250u);
    EXPECT_EQ(doc["places"].size(), 400u);
    EXPECT_EQ(doc["comments"].size(), 500u);
    EXPECT_EQ(doc["fields"].size(), 100u);
    EXPECT_TRUE(doc["fields"][99].contains("cells"));
    EXPECT_FALSE(doc.contains("strayCells"));
    expectSameAsNormalised(*s, *importOrFail(Json::parse(doc.dump())));
}

TEST(JsonRoundTrip, EveryCp932Character) {
    // Characters that come back as themselves go into texts of their own, the
    // duplicate codes (which convert back to another code) into others.
    std::vector<std::string> canonical, duplicates;
    for (const std::string& c : cp932Characters()) {
        (qrn::utf8ToCp932(*qrn::cp932ToUtf8(c)) == c ? canonical : duplicates).push_back(c);
    }
    EXPECT_GT(canonical.size(), 7000u);
    EXPECT_FALSE(duplicates.empty());
    auto s = freshScenario();
    int comment = 1, line = 0;
    std::vector<std::string> lines;
    const auto pack = [&](const std::vector<std::string>& chars) {
        std::string text;
        for (std::size_t i = 0; i <= chars.size(); ++i) {
            if (i == chars.size() || text.size() + chars[i].size() > 250) {
                qrn::ShortString250* slots[] = {&s->comment(comment).line1, &s->comment(comment).line2,
                                                &s->comment(comment).line3, &s->comment(comment).line4};
                slots[line]->assignRaw(text);
                lines.push_back(text);
                if (++line == 4) line = 0, ++comment;
                text.clear();
            }
            if (i < chars.size()) text += chars[i];
        }
    };
    pack(canonical);
    const std::size_t canonicalLines = lines.size();
    pack(duplicates);
    const Json doc = qrn::cli::exportScenario(*s);
    const char* keys[] = {"line1", "line2", "line3", "line4"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Json& text = doc["comments"][i / 4][keys[i % 4]];
        if (i < canonicalLines) EXPECT_EQ(text, *qrn::cp932ToUtf8(lines[i])) << "line " << i;
        else EXPECT_TRUE(text.is_object()) << "line " << i;
    }
    expectSameAsNormalised(*s, *importOrFail(Json::parse(doc.dump())));
}

TEST(JsonExport, TextsKeepTheirBytesWhenTheyCannotBeStrings) {
    auto s = freshScenario();
    s->chara(1).name.assignRaw("\x81");                    // a lone lead byte
    s->chara(2).name.assign(qrn::cp932Literal("勇者"));
    s->comment(1).name.len = 40;                           // above its capacity of 32
    std::memset(s->comment(1).name.chars, 'A', 32);
    const Json doc = qrn::cli::exportScenario(*s);
    EXPECT_EQ(doc["charas"][0]["name"], Json({{"hex", "81"}}));
    EXPECT_EQ(doc["charas"][1]["name"], "勇者");
    EXPECT_EQ(doc["comments"][0]["name"]["length"], 40);
    std::string allA;
    for (int i = 0; i < 32; ++i) allA += "41";
    EXPECT_EQ(doc["comments"][0]["name"]["hex"], allA);
    EXPECT_TRUE(doc["settings"]["randomStamp"].contains("hex"));
    expectSameAsNormalised(*s, *roundTrip(*s));
}

TEST(JsonExport, DefaultEntriesAreLeftOutAndMissingOnesComeBackAsDefaults) {
    auto s = freshScenario();
    s->chara(3).name.assign(qrn::cp932Literal("村人"));
    s->charaImageFiles[2].assign("villager.bmp");
    s->placeImage2Files[9].assign("flower.bmp");           // only a picture differs
    s->level(5).magic = 2;
    s->item(4).name.assign("tmp");                        // changed and changed back,
    qrn::freshItem(s->item(4), 4);                        // leaving only a stale tail
    s->item(4).name.chars[20] = 'z';
    const Json doc = qrn::cli::exportScenario(*s);
    ASSERT_EQ(doc["charas"].size(), 1u);
    EXPECT_EQ(doc["charas"][0]["number"], 3);
    EXPECT_EQ(doc["charas"][0]["image"], "villager.bmp");
    ASSERT_EQ(doc["places"].size(), 1u);
    EXPECT_EQ(doc["places"][0]["image2"], "flower.bmp");
    EXPECT_EQ(doc["levels"].size(), 1u);
    EXPECT_TRUE(doc["items"].empty());
    EXPECT_TRUE(doc["fields"].empty());

    // A hand-written entry may name only what differs from the default.
    Json small = {{"format", "quorantel-scenario"}, {"version", 1},
                  {"charas", {{{"number", 3}, {"name", "村人"}, {"image", "villager.bmp"}}}},
                  {"places", {{{"number", 10}, {"image2", "flower.bmp"}}}},
                  {"levels", {{{"number", 5}, {"magic", 2}}}},
                  {"settings", {{"randomStamp", doc["settings"]["randomStamp"]}}}};
    expectSameAsNormalised(*s, *importOrFail(small));
}

TEST(JsonExport, DamagedLayoutsKeepEveryCell) {
    auto s = freshScenario();
    layOut(*s, 1, 1, 10, 10);
    layOut(*s, 2, 50, 10, 10);            // overlaps field 1
    layOut(*s, 3, 300, 4, 4);             // after a free slot, still a whole map
    s->field(4).firstCell = 299990;       // runs past the end of the store
    s->field(4).width = s->field(4).height = 10;
    s->field(4).cellCount = 100;
    s->cell(55).place = 7;                // field 1's map holds it
    s->cell(120).place = -3;              // in field 2 only: stray
    s->cell(300).col = 3;                 // position 1 of field 3 claims column 3
    s->cell(299999).item = 9;
    const Json doc = qrn::cli::exportScenario(*s);
    const Json& fields = doc["fields"];
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_TRUE(fields[0].contains("cells"));
    EXPECT_EQ(fields[0]["cells"]["place"][54], 7);
    EXPECT_FALSE(fields[1].contains("cells"));
    EXPECT_EQ(fields[2]["cellPositions"], Json::parse("[[1, 3, 0]]"));
    EXPECT_FALSE(fields[3].contains("cells"));
    const Json& stray = doc["strayCells"];
    EXPECT_EQ(stray.front()[0], 101);     // field 2's cells after field 1's run
    EXPECT_EQ(stray.back(), Json::parse("[299999, 0, 0, 0, 0, 0, 9, 0]"));
    expectSameAsNormalised(*s, *roundTrip(*s));
}

// ---- refusals -------------------------------------------------------------------

Json smallDocument() {
    auto s = freshScenario();
    qrn::createFirstField(*s, "t", "d", "f", 10, 10);
    s->chara(4).name.assign("x");
    return qrn::cli::exportScenario(*s);
}

TEST(JsonImport, RefusesWhatItCannotStoreExactly) {
    struct Case {
        const char* what;
        std::function<void(Json&)> change;
        const char* error;
    };
    const Case cases[] = {
        {"text too long",
         [](Json& d) { d["charas"][0]["name"] = "あいうえおかきくけこさしすせそたち"; },
         "$.charas[0].name: the text takes 34 bytes in cp932, its slot holds 32"},
        {"not in cp932", [](Json& d) { d["hero"]["heroname"] = "勇\xF0\x9F\x98\x80"; },
         "$.hero.heroname: the character U+1F600 cannot be stored in cp932"},
        {"u8 too big", [](Json& d) { d["charas"][0]["chsale"][2] = 300; },
         "$.charas[0].chsale[2]: 300 is outside 0..255"},
        {"i32 too big", [](Json& d) { d["hero"]["hemoney"] = 2147483648LL; },
         "$.hero.hemoney: 2147483648 is outside -2147483648..2147483647"},
        {"u16 negative", [](Json& d) { d["charas"][0]["chpower"] = -1; },
         "$.charas[0].chpower: -1 is outside 0..65535"},
        {"huge number", [](Json& d) { d["settings"]["scsaleby"] = 18446744073709551615ULL; },
         "$.settings.scsaleby: 18446744073709551615 is outside 0..255"},
        {"fraction", [](Json& d) { d["settings"]["scsaleby"] = 1.5; },
         "$.settings.scsaleby: 1.5 is not a whole number"},
        {"short layer", [](Json& d) { d["fields"][0]["cells"]["place"].erase(99); },
         "$.fields[0].cells.place: expected width x height = 100 values, found an array of 99 values"},
        {"overlapping fields",
         [](Json& d) {
             Json f = d["fields"][0];
             f["number"] = 2;
             f["firstCell"] = 50;
             d["fields"].push_back(f);
         },
         "$.fields[1].firstCell: cells 50..149 overlap or come before those of field 1 (1..100); fields lie in "
         "the cell store in field order"},
        {"out of order fields",
         [](Json& d) {
             Json f = d["fields"][0];
             d["fields"][0]["firstCell"] = 201;
             f["number"] = 2;
             d["fields"].push_back(f);
         },
         "$.fields[1].firstCell: cells 1..100 overlap or come before those of field 1 (201..300); fields lie in "
         "the cell store in field order"},
        {"cell count", [](Json& d) { d["fields"][0]["cellCount"] = 90; },
         "$.fields[0].cellCount: 90 is not width x height = 100"},
        {"cells of a free field", [](Json& d) { d["fields"][0]["firstCell"] = 0; },
         "$.fields[0].cells: the field is not in use (firstCell 0)"},
        {"unknown key", [](Json& d) { d["charas"][0]["chname"] = "x"; }, "$.charas[0].chname: unknown key"},
        {"unknown top key", [](Json& d) { d["heroes"] = Json::object(); }, "$.heroes: unknown key"},
        {"unknown layer", [](Json& d) { d["fields"][0]["cells"]["items"] = Json::array(); },
         "$.fields[0].cells.items: unknown key"},
        {"text as number", [](Json& d) { d["hero"]["heroname"] = 5; },
         "$.hero.heroname: expected a text (a string or {\"hex\": ...}), found 5"},
        {"number as text", [](Json& d) { d["hero"]["hemoney"] = "5"; },
         "$.hero.hemoney: expected a number, found \"5\""},
        {"table as object", [](Json& d) { d["items"] = Json::object(); },
         "$.items: expected an array of entries, found {}"},
        {"array too short", [](Json& d) { d["charas"][0]["chsale"].erase(0); },
         "$.charas[0].chsale: expected an array of 10 values, found an array of 9 values"},
        {"number twice", [](Json& d) { d["charas"].push_back({{"number", 4}}); },
         "$.charas[1].number: entry 4 comes after entry 4; entries go in ascending order, each once"},
        {"number too big", [](Json& d) { d["walkImages"] = {{{"number", 11}}}; },
         "$.walkImages[0].number: 11 is outside 1..10"},
        {"bad hex", [](Json& d) { d["settings"]["randomStamp"] = {{"hex", "0G"}}; },
         "$.settings.randomStamp.hex: \"0G\" is not a hex byte"},
        {"hex too long", [](Json& d) { d["settings"]["scdoller"] = {{"hex", std::string(34, 'a')}}; },
         "$.settings.scdoller.hex: 17 bytes, its slot holds 16"},
        {"stray cell in a map", [](Json& d) { d["strayCells"] = Json::parse("[[5, 0, 0, 0, 0, 0, 0, 1]]"); },
         "$.strayCells[0][0]: cell 5 belongs to a field whose cells are given as layers"},
        {"wrong format", [](Json& d) { d["format"] = "other"; }, "$.format: expected \"quorantel-scenario\""},
        {"wrong version", [](Json& d) { d.erase("version"); }, "$.version: expected 1"},
    };
    Json parsed;
    EXPECT_EQ(qrn::cli::parseScenarioJson(R"({"charas": [{"number": 1}, {"number": 2, "name": "a", "name": "b"}]})",
                                          parsed),
              "$.charas[1].name: the key is given twice");
    EXPECT_EQ(qrn::cli::parseScenarioJson(R"({"a": [1, 2,]})", parsed).substr(0, 30), "parse error at line 1, column ");

    const Json base = smallDocument();
    {
        auto s = std::make_unique<Scenario>();
        ASSERT_EQ(qrn::cli::importScenario(base, *s), "");
    }
    for (const Case& c : cases) {
        Json doc = base;
        c.change(doc);
        auto s = std::make_unique<Scenario>();
        EXPECT_EQ(qrn::cli::importScenario(doc, *s), c.error) << c.what;
    }
}

// ---- the command line ---------------------------------------------------------------

class JsonCli : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/qrn-json-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Runs the command line tool; stdout and stderr land in files.
    int run(const std::string& args) {
        const std::string cmd = std::string(QRN_CLI_PATH) + " " + args + " >" + path("stdout") + " 2>" +
                                path("stderr");
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void save(Scenario& s, const std::string& name) { ASSERT_TRUE(qrn::saveScenario(path(name), s, false).ok); }

    fs::path dir_;
};

TEST_F(JsonCli, FileRoundTripIsByteForByte) {
    auto s = randomScenario(11);
    save(*s, "in.snr");
    ASSERT_EQ(run("export-json " + path("in.snr") + " -o " + path("out.json")), 0) << read(path("stderr"));
    ASSERT_EQ(run("import-json " + path("out.json") + " " + path("back.snr")), 0) << read(path("stderr"));
    qrn::cli::clearInsignificantBytes(*s);
    save(*s, "normalised.snr");
    EXPECT_TRUE(read(path("back.snr")) == read(path("normalised.snr")));

    ASSERT_EQ(run("export-json " + path("in.snr")), 0);  // to stdout
    EXPECT_EQ(read(path("stdout")), read(path("out.json")));
}

TEST_F(JsonCli, RefusalWritesNothing) {
    auto s = freshScenario();
    save(*s, "old.snr");
    const std::string old = read(path("old.snr"));
    Json doc = smallDocument();
    doc["charas"][0]["chsale"][2] = 300;
    std::ofstream(path("bad.json")) << doc.dump(2);
    EXPECT_EQ(run("import-json " + path("bad.json") + " " + path("old.snr")), 2);
    EXPECT_EQ(read(path("stderr")), "quorantel-cli: $.charas[0].chsale[2]: 300 is outside 0..255\n");
    EXPECT_EQ(run("import-json " + path("bad.json") + " " + path("new.snr")), 2);
    std::ofstream(path("broken.json")) << "{\"format\": ";
    EXPECT_EQ(run("import-json " + path("broken.json") + " " + path("new.snr")), 2);
    const std::string err = read(path("stderr"));
    EXPECT_NE(err.find("broken.json: parse error"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
    EXPECT_EQ(read(path("old.snr")), old);
    EXPECT_FALSE(fs::exists(path("new.snr")));
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++files;
    EXPECT_EQ(files, 5);  // old.snr, bad.json, broken.json, stdout, stderr: nothing half-written
    EXPECT_EQ(run("import-json " + path("missing.json") + " " + path("new.snr")), 1);
    EXPECT_EQ(run("export-json"), 2);
}

TEST_F(JsonCli, ExportReadsNaturallyAndPaintingChangesOneLine) {
    auto s = freshScenario();
    qrn::createFirstField(*s, qrn::cp932Literal("竜の谷"), "", qrn::cp932Literal("村"), 10, 10);
    s->chara(1).name.assign(qrn::cp932Literal("長老"));
    s->charaImageFiles[0].assign("elder.bmp");
    s->chara(1).chcomment = 1;
    s->comment(1).line1.assign(qrn::cp932Literal("よく来たな、旅の者よ。"));
    s->cell(qrn::cellOf(*s, 1, 2 * 10 + 4)).place = 12;  // column 3, row 2
    save(*s, "a.snr");
    ASSERT_EQ(run("export-json " + path("a.snr")), 0);
    const std::string before = read(path("stdout"));
    EXPECT_NE(before.find("\"scenarioname\": \"竜の谷\""), std::string::npos);
    EXPECT_NE(before.find("\"name\": \"長老\",\n"), std::string::npos);
    EXPECT_NE(before.find("\"image\": \"elder.bmp\""), std::string::npos);
    EXPECT_NE(before.find("\"line1\": \"よく来たな、旅の者よ。\""), std::string::npos);
    EXPECT_NE(before.find("\n            0,   0,   0,  12,   0,   0,   0,   0,   0,   0,\n"), std::string::npos);

    s->cell(qrn::cellOf(*s, 1, 57)).chara = 1;
    save(*s, "a.snr");
    ASSERT_EQ(run("export-json " + path("a.snr")), 0);
    const std::string after = read(path("stdout"));
    std::istringstream a(before), b(after);
    std::string la, lb;
    int changed = 0, lines = 0;
    while (std::getline(a, la) && std::getline(b, lb)) {
        ++lines;
        changed += la != lb;
    }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), std::count(after.begin(), after.end(), '\n'));
}

}  // namespace
