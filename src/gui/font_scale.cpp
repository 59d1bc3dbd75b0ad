#include "gui/font_scale.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <utility>
#include <vector>

namespace plv::gui {

void scalePointSizes(QTextDocument& doc, double factor) {
    // Formats change after the walk: a change while walking would split the fragments.
    std::vector<std::pair<QTextCursor, QTextCharFormat>> changes;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment part = it.fragment();
            QTextCharFormat format = part.charFormat();
            if (format.fontPointSize() > 0) {
                QTextCursor cursor(&doc);
                cursor.setPosition(part.position());
                cursor.setPosition(part.position() + part.length(), QTextCursor::KeepAnchor);
                format.setFontPointSize(format.fontPointSize() * factor);
                changes.emplace_back(cursor, format);
            }
        }
    }
    for (auto& [cursor, format] : changes) {
        cursor.setCharFormat(format);
    }
}

} // namespace plv::gui
