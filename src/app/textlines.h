#pragma once
// Text wrapped between words into a few lines of a width; the last line ends in an ellipsis
// when the text does not fit, and so does a line holding a single word longer than the width.

#include <QFont>
#include <QString>
#include <QStringList>

namespace varnel {

QStringList WrapLines(const QString& text, const QFont& font, int width, int maxLines);

}  // namespace varnel
