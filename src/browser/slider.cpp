#include "browser/slider.h"

#include <algorithm>

namespace plv::browser {

int clampSlider(int value) {
    return std::clamp(value, kSliderMin, kSliderMax);
}

int tabAreaHeight(int sliderHeight, int value, int strip) {
    return std::max(0, sliderHeight) * clampSlider(value) / 10 + strip;
}

} // namespace plv::browser
