#include "editor/editorcontext.h"

#include "editor/options.h"

namespace qrn {

EditorContext& editor() {
    static EditorContext context;
    return context;
}

QString EditorContext::resourcePath(const QString& name) const {
    const QString folder = options ? options->serchpath : QString();
    return folder + name;
}

}  // namespace qrn
