// walk runs as a separate program on the demo: a fixed walk into the cave
// and back, the shortest way that --keys then walks, and the exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "cli_runner.h"

namespace fs = std::filesystem;
using qrn::testing::readBytes;
using qrn::testing::runCli;

namespace {

#ifdef QRN_DEMO_DIR
const std::string kDemo = (fs::path(QRN_DEMO_DIR) / "demo.snr").string();

nlohmann::json walk(const std::vector<std::string>& args) {
    std::vector<std::string> all{"walk", kDemo};
    all.insert(all.end(), args.begin(), args.end());
    const auto r = runCli(all);
    EXPECT_EQ(r.code, 0) << r.out;
    return nlohmann::json::parse(r.out, nullptr, false);
}

nlohmann::json at(int field, int x, int y) { return {{"field", field}, {"x", x}, {"y", y}}; }
nlohmann::json where(const nlohmann::json& step) { return at(step["field"], step["x"], step["y"]); }
#endif

TEST(WalkCli, TheDemoIsWalkedIntoTheCaveAndBack) {
#ifndef QRN_DEMO_DIR
    GTEST_SKIP() << "the demo is not built";
#else
    const std::string before = readBytes(kDemo);
    // Out of the village, over the meadow into the cave, out again, back to
    // the village, up the road and a word with the villager.
    const std::string toMeadow = "DD", toCave = "ULLLLLLLLLLLUUUUUUULLLLLLLLU", outOfCave = "L",
                      toVillage = "RRRRRRRRDDDDDDDRRRURRRRRRRR", talk = "UUUUUUUUUULA";
    const auto j = walk({"--keys", toMeadow + toCave + outOfCave + toVillage + talk});
    ASSERT_TRUE(j.contains("steps")) << j;
    const auto& steps = j["steps"];
    ASSERT_EQ(steps.size(), (toMeadow + toCave + outOfCave + toVillage + talk).size());
    EXPECT_EQ(j["start"], at(2, 11, 18));
    std::size_t n = toMeadow.size() - 1;
    EXPECT_EQ(where(steps[n]), at(1, 25, 12));
    EXPECT_EQ(steps[n]["events"], nlohmann::json::parse(R"([{"kind": "jump", "field": 1, "x": 25, "y": 12}])"));
    n += toCave.size();
    EXPECT_EQ(where(steps[n]), at(3, 3, 9));
    n += outOfCave.size();
    EXPECT_EQ(where(steps[n]), at(1, 6, 4));
    n += toVillage.size();
    EXPECT_EQ(where(steps[n]), at(2, 11, 19));
    n += talk.size();
    EXPECT_EQ(steps[n - 1]["events"][0]["reason"], "character");
    EXPECT_EQ(steps[n]["events"],
              nlohmann::json::parse(R"([{"kind": "message", "comment": 2, "character": 2}])"));
    EXPECT_EQ(j["end"], nlohmann::json::parse(R"({"field": 2, "x": 11, "y": 9, "items": []})"));
    EXPECT_EQ(readBytes(kDemo), before);
#endif
}

TEST(WalkCli, TheShortestWayIntoTheCaveIsWalkedByItsKeys) {
#ifndef QRN_DEMO_DIR
    GTEST_SKIP() << "the demo is not built";
#else
    const auto way = walk({"--to", "3,5,7"});
    ASSERT_EQ(way["reachable"], true) << way;
    const std::string keys = way["keys"];
    EXPECT_EQ(way["length"], keys.size());
    const auto j = walk({"--keys", keys});
    EXPECT_EQ(j["end"]["field"], 3);
    EXPECT_EQ(j["end"]["x"], 5);
    EXPECT_EQ(j["end"]["y"], 7);
    // A cave wall is no place to stand; from inside the cave the way out is found.
    EXPECT_EQ(walk({"--to", "3,1,1"}), nlohmann::json::parse(R"({"reachable": false})"));
    EXPECT_EQ(walk({"--from", "3,5,7", "--to", "2,11,18"})["reachable"], true);
    // Bad arguments and a start outside the fields in use.
    for (const auto& bad : std::vector<std::vector<std::string>>{{"--keys", "UX"},
                                                                 {"--keys", "I0"},
                                                                 {"--keys", "U", "--to", "1,1,1"},
                                                                 {},
                                                                 {"--to", "1,31,1"},
                                                                 {"--to", "4,1,1"},
                                                                 {"--from", "1,0,1", "--keys", "U"},
                                                                 {"--from", "3,11,1", "--keys", "U"}}) {
        std::vector<std::string> args{"walk", kDemo};
        args.insert(args.end(), bad.begin(), bad.end());
        const auto r = runCli(args);
        EXPECT_EQ(r.code, 2) << testing::PrintToString(bad);
        EXPECT_EQ(r.out, "");
    }
#endif
}

}  // namespace
