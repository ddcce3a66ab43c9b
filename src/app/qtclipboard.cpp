#include "app/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app/qtbitmap.h"

namespace varnel {
namespace {

QString MimeName(const std::string& format) {
  return QString::fromStdString(format);
}

const QMimeData* Current() {
  return QGuiApplication::clipboard()->mimeData();
}

}  // namespace

void TQtClipboard::Clear() {
  pending_.clear();
  pendingBitmap_.reset();
  QGuiApplication::clipboard()->clear();
}

void TQtClipboard::SetFormat(const std::string& format, std::vector<uint8_t> data) {
  // Formats put there by others since our last change stay, as on the platform clipboard.
  if (pending_.empty() && !pendingBitmap_) {
    if (const QMimeData* current = Current()) {
      for (const QString& name : current->formats()) {
        QByteArray bytes = current->data(name);
        pending_.emplace_back(name.toStdString(), std::vector<uint8_t>(bytes.begin(), bytes.end()));
      }
    }
  }
  std::erase_if(pending_, [&](const auto& entry) { return entry.first == format; });
  pending_.emplace_back(format, std::move(data));
  Publish();
}

void TQtClipboard::SetBitmap(const TBitmap& bitmap) {
  pendingBitmap_ = bitmap;
  Publish();
}

void TQtClipboard::Publish() {
  auto* data = new QMimeData;
  for (const auto& [format, bytes] : pending_)
    data->setData(MimeName(format),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
  if (pendingBitmap_) data->setImageData(ToQImage(*pendingBitmap_, true));
  QGuiApplication::clipboard()->setMimeData(data);
}

bool TQtClipboard::HasFormat(const std::string& format) const {
  const QMimeData* data = Current();
  return data && data->hasFormat(MimeName(format));
}

std::vector<std::string> TQtClipboard::Formats() const {
  std::vector<std::string> names;
  if (const QMimeData* data = Current())
    for (const QString& name : data->formats()) names.push_back(name.toStdString());
  return names;
}

std::optional<std::vector<uint8_t>> TQtClipboard::GetFormat(const std::string& format) const {
  const QMimeData* data = Current();
  if (!data || !data->hasFormat(MimeName(format))) return std::nullopt;
  QByteArray bytes = data->data(MimeName(format));
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::optional<TBitmap> TQtClipboard::GetBitmap() const {
  const QMimeData* data = Current();
  if (!data || !data->hasImage()) return std::nullopt;
  QImage image = qvariant_cast<QImage>(data->imageData());
  if (image.isNull()) return std::nullopt;
  return FromQImage(image);
}

}  // namespace varnel
