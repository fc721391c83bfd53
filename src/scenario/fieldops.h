// Adding, resizing and deleting fields in the shared cell store, with the
// repair of every location that points into moved or dropped cells.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "resets.h"
#include "scenario.h"

namespace qrn {

// Receives each message (cp932 bytes) that an operation tells the author.
using FieldMessageSink = std::function<void(const std::string& cp932Message)>;

// First field slot 1..100 that is free, or 0 when all are used.
int firstFreeFieldSlot(const Scenario& s);
// Last cell number in use: the end of the used part of the pool.
int usedPoolEnd(const Scenario& s);
// Pool cells free after the last used cell.
int freePoolCells(const Scenario& s);

// A side the size dialog can offer: 10..120 in steps of 10.
bool validFieldSide(int cells);

// True when the fields in use form the run 1..k, lie in the store one after
// the other from cell 1 without gaps, and each has a size of 1..120 by 1..120
// that matches its cellCount. The operations below refuse to touch a store
// that fails this (a damaged or hostile file), so they never index outside it.
bool fieldLayoutSound(const Scenario& s);

// What the author is told when an operation is refused because the fields'
// layout in the cell store is damaged (cp932 bytes).
const std::string& damagedFieldLayoutMessage();

enum class AddFieldResult { Added, NoFreeSlot, PoolTooSmall, Refused };
// Places a new field of width x height in `slot` right after the previous
// slot's cells, lays out its cells and empties them. On anything but Added
// nothing changes. Refused: bad size, slot not the next one after the fields
// in use, or a damaged layout.
AddFieldResult placeNewField(Scenario& s, int slot, int width, int height);

enum class FieldOpResult { Done, NotInUse, BadSize, PoolTooSmall, FirstField, BadLayout };

// Resizes field F; messages for every reset location go to `tell`. Cells
// keep their column and row; later fields move with the pool. On anything but
// Done nothing changes (no message is sent either).
FieldOpResult resizefield(Scenario& s, int field, int newWidth, int newHeight,
                          const FieldMessageSink& tell);

// Deletes field k (k >= 2), repairing locations and renumbering later fields
// together with their item pictures. On anything but Done nothing changes.
FieldOpResult deleteField(Scenario& s, EditorSideData& side, int field);

// Every way the fields break the rules of the cell store: layout, each
// cell's column and row, empty cells after the last field, every location
// inside its field. Empty when all is well. Plain text for tests and tools.
std::vector<std::string> fieldInvariantViolations(const Scenario& s);

}  // namespace qrn
