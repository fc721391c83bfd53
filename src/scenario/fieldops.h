// Adding, resizing and deleting fields in the shared cell store, with the
// repair of every location that points into moved or dropped cells.
#pragma once

#include <functional>
#include <string>

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

enum class AddFieldResult { Added, NoFreeSlot, PoolTooSmall };
// Places a new field of width x height in `slot` right after the previous
// slot's cells and lays out its cells. On PoolTooSmall the slot is left free
// and nothing else changes.
AddFieldResult placeNewField(Scenario& s, int slot, int width, int height);

// Resizes field F; messages for every reset location go to `tell`.
void resizefield(Scenario& s, int field, int newWidth, int newHeight, const FieldMessageSink& tell);

// Deletes field k (k >= 2), repairing locations and renumbering later fields.
void deleteField(Scenario& s, EditorSideData& side, int field);

}  // namespace qrn
