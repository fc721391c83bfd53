#include "properties/pagerows.h"

#include <QGridLayout>

#include "pickers/picturebox.h"
#include "properties/pagehelpers.h"

namespace qrn {

PageRow addPageRow(QGridLayout* grid, int& row, const char* base, const QString& caption, RowExtra extra,
                   bool withDelete) {
    QWidget* parent = grid->parentWidget();
    const QString name = QString::fromLatin1(base);
    PageRow r;
    r.set = pageButton(name + QStringLiteral("set"), caption, parent);
    const int setSpan = withDelete ? 2 : 3;
    grid->addWidget(r.set, row, 0, 1, setSpan);
    if (withDelete) {
        r.del = pageButton(name + QStringLiteral("del"), QStringLiteral("消"), parent);
        grid->addWidget(r.del, row, 2);
    }
    r.value = valueLabel(name, parent);
    switch (extra) {
    case RowExtra::Play:
        r.extra = pageButton(name + QStringLiteral("play"), QStringLiteral("♪"), parent);
        grid->addWidget(r.extra, row, 3);
        grid->addWidget(r.value, row + 1, 0, 1, 4);
        break;
    case RowExtra::View:
        r.extra = pageButton(name + QStringLiteral("view"), QStringLiteral("表示"), parent);
        grid->addWidget(r.extra, row, 3);
        grid->addWidget(r.value, row + 1, 0, 1, 4);
        break;
    case RowExtra::Picture:
        r.pic = new PictureBox(name + QStringLiteral("pic"), parent);
        grid->addWidget(r.pic, row, 3, 2, 1);
        grid->addWidget(r.value, row + 1, 0, 1, 3);
        break;
    case RowExtra::None: grid->addWidget(r.value, row + 1, 0, 1, 4); break;
    }
    row += 2;
    return r;
}

QGridLayout* sheetGrid(QWidget* sheet) {
    auto* g = new QGridLayout(sheet);
    g->setContentsMargins(4, 4, 4, 4);
    g->setVerticalSpacing(2);
    return g;
}

}  // namespace qrn
