#include "services/editorcontext.h"

#include <memory>

#include "scenario/joinfiles.h"

#include "services/options.h"

namespace qrn {

EditorContext& editor() {
    static EditorContext context;
    return context;
}

ResourceFolder& EditorContext::resources() const {
    const std::string folder = options ? options->serchpath.toStdString() : std::string();
    if (!resources_ || resources_->folder() != folder) resources_ = std::make_shared<ResourceFolder>(folder);
    else resources_->refresh();  // files may have come or gone since
    return *resources_;
}

QString EditorContext::resourcePath(const QString& name) const {
    const QString folder = options ? options->serchpath : QString();
    if (name.isEmpty()) return folder;
    // Scenarios made elsewhere often name their files in another case.
    if (const auto found = resources().find(name.toStdString())) return QString::fromStdString(*found);
    return folder + name;
}

QImage EditorContext::readPicture(const QString& name, QString* path) const {
    std::string read;
    const QImage image = name.isEmpty() ? QImage() : readResourcePicture(resources(), name.toStdString(), &read);
    if (path) *path = image.isNull() ? resourcePath(name) : QString::fromStdString(read);
    return image;
}

int EditorContext::addimg(const QString& name, bool useTransparent, unsigned transparentColour) {
    if (imageList.count() == 0) imageList.reset();  // entry 0 must stay the black picture
    const QImage image = readPicture(name);
    if (image.isNull()) return imageList.addBlank();
    return imageList.add(image, useTransparent, transparentColour);
}

}  // namespace qrn
