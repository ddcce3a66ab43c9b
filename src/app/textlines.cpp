#include "app/textlines.h"

#include <QFontMetrics>
#include <QTextLayout>

namespace varnel {

QStringList WrapLines(const QString& text, const QFont& font, int width, int maxLines) {
  QStringList lines;
  if (text.isEmpty() || maxLines < 1) return lines;
  QTextLayout layout(text);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.setFont(font);
  layout.beginLayout();
  int consumed = 0;
  while (lines.size() < maxLines - 1) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(width);
    lines << text.mid(line.textStart(), line.textLength()).trimmed();
    consumed = line.textStart() + line.textLength();
  }
  layout.endLayout();
  QString rest = text.mid(consumed).trimmed();
  if (!rest.isEmpty()) lines << QFontMetrics(font).elidedText(rest, Qt::ElideRight, width);
  return lines;
}

}  // namespace varnel
