#pragma once

#include <QWidget>

namespace plv::gui {

// The list area above the preview pane, split by the slider's value: the list area takes
// that many tenths of the height plus the strip of the tab captions, the preview the rest.
// Each part keeps at least its own minimum height.
class PaneArea : public QWidget {
    Q_OBJECT
  public:
    PaneArea(QWidget* top, QWidget* bottom, QWidget* parent = nullptr);

    void setProportion(int sliderValue);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The height the list area gets at the current size and proportion.
    int topHeight() const;
    void layoutParts();
    int strip() const;

    QWidget* top_;
    QWidget* bottom_;
    int value_ = 5;
};

} // namespace plv::gui
