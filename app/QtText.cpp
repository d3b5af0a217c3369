#include "app/QtText.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

namespace tarvelo::app {

QString ToQString(std::string_view text) {
  const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = utf8.decode(bytes);
  if (!utf8.hasError()) return decoded;
  return QString::fromLatin1(bytes);
}

std::string ToUtf8(const QString& text) { return text.toStdString(); }

std::string ToFilePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromFilePath(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace tarvelo::app
