#include "services/editorcontext.h"

#include <QFileInfo>

#include "scenario/joinfiles.h"

#include "services/options.h"

namespace qrn {

EditorContext& editor() {
    static EditorContext context;
    return context;
}

QString EditorContext::resourcePath(const QString& name) const {
    const QString folder = options ? options->serchpath : QString();
    const QString spelt = folder + name;
    if (name.isEmpty() || QFileInfo::exists(spelt)) return spelt;
    // Scenarios made elsewhere often name their files in another case.
    ResourceFolder lookup(folder.toStdString());
    if (const auto found = lookup.find(name.toStdString())) return QString::fromStdString(*found);
    return spelt;
}

int EditorContext::addimg(const QString& name, bool useTransparent, unsigned transparentColour) {
    return imageList.addFile(resourcePath(name), useTransparent, transparentColour);
}

}  // namespace qrn
