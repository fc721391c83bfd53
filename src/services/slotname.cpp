#include "services/slotname.h"

#include "scenario/text.h"

namespace qrn {

QString slotName(Scenario& s, int layer, int number) {
    if (!objectInUse(s, layer, number)) return {};
    return QString::fromStdString(cp932ToUtf8Lossy(objectNameBytes(s, layer, number)));
}

}  // namespace qrn
