// JSON import of arbitrary text: the parse, the import into a record, and for
// an accepted document the export, which must give the same document back.
#include <cstdlib>
#include <memory>
#include <string>

#include "json_scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qrn;
    const std::string text(reinterpret_cast<const char*>(data), size);
    cli::Json doc;
    if (!cli::parseScenarioJson(text, doc).empty()) return 0;
    auto s = std::make_unique<Scenario>();
    if (!cli::importScenario(doc, *s).empty()) return 0;
    // What was stored is what the document said: exporting and importing
    // again gives the same record.
    const cli::Json again = cli::exportScenario(*s);
    auto t = std::make_unique<Scenario>();
    if (!cli::importScenario(again, *t).empty()) std::abort();
    cli::clearInsignificantBytes(*s);
    cli::clearInsignificantBytes(*t);
    if (std::memcmp(s->bytes(), t->bytes(), kRecordSize) != 0) std::abort();
    return 0;
}
