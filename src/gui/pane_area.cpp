#include "gui/pane_area.h"

#include "browser/slider.h"

#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

namespace plv::gui {
namespace {
constexpr int kGap = 6;
}

PaneArea::PaneArea(QWidget* top, QWidget* bottom, QWidget* parent)
    : QWidget(parent), top_(top), bottom_(bottom) {
    top_->setParent(this);
    bottom_->setParent(this);
}

void PaneArea::setProportion(int sliderValue) {
    value_ = browser::clampSlider(sliderValue);
    layoutParts();
}

int PaneArea::strip() const {
    if (auto* tabs = qobject_cast<QTabWidget*>(top_)) {
        return tabs->tabBar()->sizeHint().height();
    }
    return 0;
}

int PaneArea::topHeight() const {
    int available = std::max(0, height() - kGap);
    int wanted = browser::tabAreaHeight(available - strip(), value_, strip());
    int topMin = top_->minimumSizeHint().height();
    int bottomMin = bottom_->minimumSizeHint().height();
    return std::clamp(wanted, std::min(topMin, available),
                      std::max(std::min(topMin, available), available - bottomMin));
}

void PaneArea::layoutParts() {
    int topH = topHeight();
    top_->setGeometry(0, 0, width(), topH);
    bottom_->setGeometry(0, topH + kGap, width(), std::max(0, height() - topH - kGap));
}

void PaneArea::resizeEvent(QResizeEvent*) {
    layoutParts();
}

QSize PaneArea::minimumSizeHint() const {
    QSize t = top_->minimumSizeHint();
    QSize b = bottom_->minimumSizeHint();
    return {std::max(t.width(), b.width()), t.height() + b.height() + kGap};
}

QSize PaneArea::sizeHint() const {
    QSize t = top_->sizeHint();
    QSize b = bottom_->sizeHint();
    return {std::max(t.width(), b.width()), t.height() + b.height() + kGap};
}

} // namespace plv::gui
