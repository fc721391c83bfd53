#include "services/imeset.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

#include "services/editorcontext.h"
#include "services/options.h"

namespace qrn {

namespace {

class ImeOnEnter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) imeset(static_cast<QWidget*>(watched));
        return false;
    }
};

}  // namespace

void imeset(QWidget* box) {
    const bool on = editor().options ? editor().options->autoime : true;
    box->setAttribute(Qt::WA_InputMethodEnabled, on);
}

void imesetOnEnter(QWidget* box) { box->installEventFilter(new ImeOnEnter(box)); }

}  // namespace qrn
