#include "services/mainwindowhooks.h"

namespace qrn {

namespace {
MainWindowHooks* registered = nullptr;
}

void setMainWindowHooks(MainWindowHooks* hooks) { registered = hooks; }

MainWindowHooks* mainWindowHooks() { return registered; }

}  // namespace qrn
