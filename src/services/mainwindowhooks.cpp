#include "services/mainwindowhooks.h"

#include "services/editorcontext.h"

namespace qrn {

namespace {
MainWindowHooks* registered = nullptr;
}

void setMainWindowHooks(MainWindowHooks* hooks) { registered = hooks; }

// Tests take the main window away by clearing editor().maker; the hooks
// follow it.
MainWindowHooks* mainWindowHooks() { return editor().maker ? registered : nullptr; }

}  // namespace qrn
