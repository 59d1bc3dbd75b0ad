#pragma once

class QTextDocument;

namespace plv::gui {

// Multiplies every font size a formatted text names by `factor`; text without a size of its
// own follows the widget's font.
void scalePointSizes(QTextDocument& doc, double factor);

} // namespace plv::gui
