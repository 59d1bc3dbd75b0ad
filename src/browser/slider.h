#pragma once

namespace plv::browser {

inline constexpr int kSliderMin = 1;
inline constexpr int kSliderMax = 10;
inline constexpr int kSliderDefault = 5;

// A stored or spoken slider value brought into the slider's range.
int clampSlider(int value);

// The preview-pane proportion: the list area takes `value` tenths of the slider's height
// plus a fixed strip (the tab captions); the body editor takes the space below.
int tabAreaHeight(int sliderHeight, int value, int strip);

} // namespace plv::browser
