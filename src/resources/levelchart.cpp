#include "resources/levelchart.h"

#include <QCheckBox>
#include <QCursor>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

namespace qrn {

namespace {

// Names as the grid's heading calls the columns; colours told apart in print.
const char* const kLineNames[kLevelCurves] = {"累計経験値", "体力", "筋力", "素早さ", "魔力"};
const QColor kLineColours[kLevelCurves] = {QColor(0x20, 0x20, 0x20), QColor(0xd6, 0x27, 0x28),
                                           QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
                                           QColor(0x1f, 0x77, 0xb4)};

}  // namespace

LevelChart::LevelChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("levelchart"));
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    logBox_ = new QCheckBox(QStringLiteral("経験値を対数目盛で表示(&O)"), this);
    logBox_->setObjectName(QStringLiteral("chartlog"));
    logBox_->setToolTip(QStringLiteral("経験値の軸を対数目盛／等間隔目盛に切替"));
    top->addWidget(logBox_);

    chart_ = new QChart;
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    view_ = new QChartView(chart_, this);
    view_->setObjectName(QStringLiteral("levelchartview"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumHeight(120);
    top->addWidget(view_, 1);

    levelAxis_ = new QValueAxis(chart_);
    levelAxis_->setTitleText(QStringLiteral("ﾚﾍﾞﾙ"));
    levelAxis_->setRange(2, 50);
    levelAxis_->setTickType(QValueAxis::TicksDynamic);
    levelAxis_->setTickAnchor(0);
    levelAxis_->setTickInterval(5);
    levelAxis_->setMinorTickCount(4);
    levelAxis_->setLabelFormat(QStringLiteral("%d"));
    statAxis_ = new QValueAxis(chart_);
    statAxis_->setTitleText(QStringLiteral("能力"));
    statAxis_->setLabelFormat(QStringLiteral("%d"));
    linearAxis_ = new QValueAxis(chart_);
    linearAxis_->setTitleText(QStringLiteral("累計経験値"));
    linearAxis_->setLabelFormat(QStringLiteral("%.0f"));
    // Not in the chart while the linear one is: the chart takes ownership on addAxis.
    logAxis_ = new QLogValueAxis(this);
    logAxis_->setTitleText(QStringLiteral("累計経験値（対数）"));
    logAxis_->setLabelFormat(QStringLiteral("%.0f"));
    logAxis_->setMinorTickCount(-1);
    chart_->addAxis(levelAxis_, Qt::AlignBottom);
    chart_->addAxis(statAxis_, Qt::AlignLeft);
    chart_->addAxis(linearAxis_, Qt::AlignRight);

    for (int line = 0; line < kLevelCurves; ++line) {
        auto* series = new QLineSeries(chart_);
        series->setName(QString::fromUtf8(kLineNames[line]));
        QPen pen(kLineColours[line]);
        pen.setWidthF(line == 0 ? 2.5 : 1.5);
        series->setPen(pen);
        series->setPointsVisible(true);
        chart_->addSeries(series);
        series->attachAxis(levelAxis_);
        if (line == 0) series->attachAxis(linearAxis_);
        else series->attachAxis(statAxis_);
        lines_[static_cast<std::size_t>(line)] = series;
        connect(series, &QLineSeries::hovered, this, [this, line](const QPointF& point, bool state) {
            if (state) QToolTip::showText(QCursor::pos(), pointText(line, qRound(point.x())), view_);
            else QToolTip::hideText();
        });
    }

    preview_ = new QLineSeries(chart_);
    preview_->setName(QStringLiteral("自動設定後の累計経験値"));
    QPen dashed(QColor(0x90, 0x90, 0x90));
    dashed.setStyle(Qt::DashLine);
    dashed.setWidthF(1.5);
    preview_->setPen(dashed);
    chart_->addSeries(preview_);
    preview_->attachAxis(levelAxis_);
    preview_->attachAxis(linearAxis_);
    preview_->setVisible(false);

    magics_ = new QScatterSeries(chart_);
    magics_->setName(QStringLiteral("修得魔法"));
    magics_->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
    magics_->setMarkerSize(11);
    magics_->setColor(QColor(0x94, 0x67, 0xbd));
    magics_->setBorderColor(QColor(0x94, 0x67, 0xbd));
    chart_->addSeries(magics_);
    magics_->attachAxis(levelAxis_);
    magics_->attachAxis(statAxis_);
    connect(magics_, &QScatterSeries::hovered, this, [this](const QPointF& point, bool state) {
        if (state) QToolTip::showText(QCursor::pos(), magicText(qRound(point.x())), view_);
        else QToolTip::hideText();
    });

    connect(logBox_, &QCheckBox::toggled, this, &LevelChart::setLogarithmic);
    rescale();
}

double LevelChart::plotted(std::int64_t value) const {
    // A logarithmic axis has no place for 0: such totals lie on its foot.
    return log_ ? static_cast<double>(std::max<std::int64_t>(value, 1)) : static_cast<double>(value);
}

void LevelChart::replot(QLineSeries* series, const LevelCurve& curve) const {
    QList<QPointF> points;
    points.reserve(kLevelRows);
    for (int r = 0; r < kLevelRows; ++r)
        points.append(QPointF(r + 2, plotted(curve.total[static_cast<std::size_t>(r)])));
    series->replace(points);
}

void LevelChart::showCurve(int line, const LevelCurve& curve) {
    if (line < 0 || line >= kLevelCurves) return;
    curves_[static_cast<std::size_t>(line)] = curve;
    replot(lines_[static_cast<std::size_t>(line)], curve);
    rescale();
}

void LevelChart::showMagics(std::vector<std::pair<int, QString>> magics) {
    magicNames_ = std::move(magics);
    QList<QPointF> points;
    for (const auto& [level, name] : magicNames_) points.append(QPointF(level, 0));
    magics_->replace(points);
}

void LevelChart::showPreview(const LevelCurve* curve) {
    previewShown_ = curve != nullptr;
    if (curve) {
        previewCurve_ = *curve;
        replot(preview_, previewCurve_);
    }
    preview_->setVisible(previewShown_);
    rescale();
}

void LevelChart::attachExperience(QLineSeries* series) {
    for (QAbstractAxis* axis : series->attachedAxes())
        if (axis != levelAxis_) series->detachAxis(axis);
    series->attachAxis(log_ ? static_cast<QAbstractAxis*>(logAxis_) : linearAxis_);
}

void LevelChart::setLogarithmic(bool on) {
    if (on == log_) return;
    QAbstractAxis* old = log_ ? static_cast<QAbstractAxis*>(logAxis_) : linearAxis_;
    log_ = on;
    // Points first: a logarithmic axis given a 0 would complain.
    replot(lines_[0], curves_[0]);
    replot(preview_, previewCurve_);
    rescale();
    chart_->removeAxis(old);
    old->setParent(this);  // kept for switching back
    chart_->addAxis(log_ ? static_cast<QAbstractAxis*>(logAxis_) : linearAxis_, Qt::AlignRight);
    attachExperience(lines_[0]);
    attachExperience(preview_);
    if (logBox_->isChecked() != on) logBox_->setChecked(on);
    rescale();
}

void LevelChart::rescale() {
    std::int64_t stats = 10, experience = 10;
    for (int line = 1; line < kLevelCurves; ++line)
        for (std::int64_t v : curves_[static_cast<std::size_t>(line)].total) stats = std::max(stats, v);
    for (std::int64_t v : curves_[0].total) experience = std::max(experience, v);
    if (previewShown_)
        for (std::int64_t v : previewCurve_.total) experience = std::max(experience, v);
    statAxis_->setRange(0, static_cast<double>(stats));
    statAxis_->applyNiceNumbers();
    if (log_) {
        logAxis_->setRange(1, static_cast<double>(experience) * 1.2);
    } else {
        linearAxis_->setRange(0, static_cast<double>(experience));
        linearAxis_->applyNiceNumbers();
    }
}

QString LevelChart::pointText(int line, int level) const {
    if (line < 0 || line >= kLevelCurves || level < 2 || level > 50) return {};
    const LevelCurve& c = curves_[static_cast<std::size_t>(line)];
    const auto r = static_cast<std::size_t>(level - 2);
    const std::int64_t increase = c.increase[r];
    return QStringLiteral("ﾚﾍﾞﾙ %1\n%2：%3（%4%5）")
        .arg(level)
        .arg(QString::fromUtf8(kLineNames[line]))
        .arg(c.total[r])
        .arg(increase < 0 ? QString() : QStringLiteral("+"))
        .arg(increase);
}

QString LevelChart::magicText(int level) const {
    for (const auto& [at, name] : magicNames_)
        if (at == level) return QStringLiteral("ﾚﾍﾞﾙ %1：%2").arg(level).arg(name);
    return {};
}

}  // namespace qrn
