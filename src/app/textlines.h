#pragma once
// Text wrapped into a few lines of a width, the last one ending in an ellipsis when the text
// does not fit.

#include <QFont>
#include <QString>
#include <QStringList>

namespace varnel {

QStringList WrapLines(const QString& text, const QFont& font, int width, int maxLines);

}  // namespace varnel
