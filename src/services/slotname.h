// The name of a palette slot as the windows show it.
#pragma once

#include <QString>

#include "scenario/maplayers.h"

namespace qrn {

// Name of a slot for display; empty when the slot is not in use.
QString slotName(Scenario& s, int layer, int number);

}  // namespace qrn
