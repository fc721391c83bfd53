// The whole scenario as a JSON document and back, without losing a byte.
//
// The document names every field of the record by its own name, one table
// entry per object, texts as UTF-8. What it does to stay lossless:
// - A text is a string when its cp932 bytes convert to UTF-8 and back to the
//   same bytes; otherwise (bytes that are not cp932, or one of the duplicate
//   codes that convert back to another code) it is {"hex": "8140..."}. The
//   random stamp is always hex. A length byte above the slot's capacity (a
//   damaged file) is kept as {"hex": <the whole slot>, "length": N}.
// - A table entry equal to the entry a reset leaves (names, pictures and all)
//   is left out; a missing entry, or a missing key of an entry, means that
//   default.
// - A field whose cell run is whole (1..120 by 1..120, cellCount equal to
//   width x height, inside the store, after the previous such field's run)
//   has "cells": five layers of width x height numbers in position order.
//   Cells whose stored col/row differ from their position are listed in
//   "cellPositions" as [position, col, row]. Every other non-empty cell
//   (outside those runs, e.g. of a damaged field) is listed in the top-level
//   "strayCells" as [cellNumber, col, row, enter, event, chara, item, place].
//   A field without "cells" keeps its firstCell, cellCount, width and height
//   exactly as given, so a damaged layout comes back as it was.
// - Import refuses, naming the JSON path, whatever it cannot store exactly:
//   unknown keys, wrong types, numbers outside their field's width, texts too
//   long for their slot or not writable in cp932, layers of the wrong length,
//   maps that overlap or do not follow field order, entries out of order.
#pragma once

#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "scenario/scenario.h"

namespace qrn::cli {

using Json = nlohmann::ordered_json;

// Reads a document from text. Refuses text that is not JSON and a key given
// twice in one object (which of the values was meant cannot be told).
// Returns an empty string on success, otherwise one line saying why.
std::string parseScenarioJson(const std::string& text, Json& out);

// The document for a scenario. The record itself is not changed.
Json exportScenario(const Scenario& s);

// Builds the scenario a document describes into `s` (reset first, then every
// given value stored). Returns an empty string on success, otherwise one line
// "$.path: why" naming the first value that cannot be stored exactly; `s` is
// then incomplete and must not be saved.
std::string importScenario(const Json& doc, Scenario& s);

// Every text slot of the record: its first byte (the length) and capacity.
void forEachTextSlot(Scenario& s, const std::function<void(unsigned char* slot, int capacity)>& fn);

// Zeroes the bytes after each text's length; they carry no meaning, and an
// import gives them back as zero.
void clearInsignificantBytes(Scenario& s);

}  // namespace qrn::cli
