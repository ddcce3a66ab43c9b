#include "app/textlines.h"

#include <QFontMetrics>
#include <QTextLayout>

namespace varnel {

QStringList WrapLines(const QString& text, const QFont& font, int width, int maxLines) {
  QStringList lines;
  if (text.isEmpty() || maxLines < 1) return lines;
  QFontMetrics metrics(font);
  QTextLayout layout(text, font);
  QTextOption option;
  // Lines break between words only; a word longer than the line is elided, never split.
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  int consumed = 0;
  while (lines.size() < maxLines - 1) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(width);
    QString words = text.mid(line.textStart(), line.textLength()).trimmed();
    lines << metrics.elidedText(words, Qt::ElideRight, width);
    consumed = line.textStart() + line.textLength();
  }
  layout.endLayout();
  QString rest = text.mid(consumed).trimmed();
  if (!rest.isEmpty()) lines << metrics.elidedText(rest, Qt::ElideRight, width);
  return lines;
}

}  // namespace varnel
