// The level-up table drawn: by level 2..50, the running experience on its own
// axis (linear or logarithmic) and the running hit points, strength, speed and
// magic points on another, with the levels that teach a magic marked on the
// level axis. It draws what it is given; the level-up window gives it the
// same totals its grid shows.
#pragma once

#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "scenario/levelrules.h"

class QCheckBox;
class QChart;
class QChartView;
class QLineSeries;
class QLogValueAxis;
class QScatterSeries;
class QValueAxis;

namespace qrn {

class LevelChart : public QWidget {
    Q_OBJECT
public:
    explicit LevelChart(QWidget* parent = nullptr);

    // Redraws one line (0 experience, 1 + LevelStat a stat) from its curve.
    void showCurve(int line, const LevelCurve& curve);
    // Marks each (level, magic name) on the level axis.
    void showMagics(std::vector<std::pair<int, QString>> magics);
    // Draws the experience the automatic setting would give as a dashed
    // line, or removes it (nullptr).
    void showPreview(const LevelCurve* curve);

    // The experience axis: linear or logarithmic.
    void setLogarithmic(bool on);
    bool logarithmic() const { return log_; }

    // What hovering shows: the level, the running value and what the level
    // added ("" outside 2..50 or for an unknown line); a magic mark's name.
    QString pointText(int line, int level) const;
    QString magicText(int level) const;

    QLineSeries* curveSeries(int line) const { return lines_[static_cast<std::size_t>(line)]; }
    QScatterSeries* magicSeries() const { return magics_; }
    QLineSeries* previewSeries() const { return preview_; }
    QCheckBox* logBox() const { return logBox_; }
    QChartView* view() const { return view_; }

private:
    void attachExperience(QLineSeries* series);
    void rescale();
    double plotted(std::int64_t value) const;
    void replot(QLineSeries* series, const LevelCurve& curve) const;

    QChart* chart_;
    QChartView* view_;
    QCheckBox* logBox_;
    QValueAxis* levelAxis_;
    QValueAxis* statAxis_;
    QValueAxis* linearAxis_;
    QLogValueAxis* logAxis_;
    std::array<QLineSeries*, kLevelCurves> lines_{};
    std::array<LevelCurve, kLevelCurves> curves_{};
    QScatterSeries* magics_;
    std::vector<std::pair<int, QString>> magicNames_;
    QLineSeries* preview_;
    LevelCurve previewCurve_;
    bool previewShown_ = false;
    bool log_ = false;
};

}  // namespace qrn
