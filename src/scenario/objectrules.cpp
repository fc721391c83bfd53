#include "scenario/objectrules.h"

namespace qrn {

void setPlacePassable(PlaceDef& p, bool passable) {
    if (passable) {
        p.plmove = 1;
        return;
    }
    p.plmove = 0;
    p.plwantitem = 0;
    p.plwalkimg = 0;
    p.plenemytype = 0;
    p.plwondering = 0;
    p.plhealing = 0;
    p.pldamage = 0;
    p.plrecover = 0;
    p.plsound = 0;
}

bool applyPlaceRules(PlaceDef& p, const ShortString255& extendImageFile) {
    bool cleared = false;
    if (extendImageFile.empty() && (p.plshowitem != 0 || p.plshowevent != 0)) {
        p.plshowitem = 0;
        p.plshowevent = 0;
        cleared = true;
    }
    if (p.plhealing == 0 && p.pldamage == 0 && p.plrecover != 0) {
        p.plrecover = 0;
        cleared = true;
    }
    return cleared;
}

bool applyEnterRules(EnterDef& e, ShortString255& animationImageFile) {
    if (e.enmove != 0) return false;
    const bool had = !animationImageFile.empty() || e.enwantitem != 0 || e.jumpField != 0 || e.jumpPosition != 0 ||
                     e.ensound != 0;
    animationImageFile.clear();
    e.enwantitem = 0;
    e.jumpField = 0;
    e.jumpPosition = 0;
    e.ensound = 0;
    return had;
}

}  // namespace qrn
