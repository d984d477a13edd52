#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orv::fuzz {

void fail(const char* file, int line, const char* check, const QString& detail) {
  std::fprintf(stderr, "\n%s:%d: check failed: %s\n%s\n", file, line, check,
               detail.toUtf8().constData());
  std::fflush(stderr);
  std::abort();
}

QString shown(QStringView text) {
  QString out = QStringLiteral("\"");
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x7F && u != u'\\' && u != u'"') {
      out.append(c);
    } else {
      out.append(QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0')));
    }
  }
  return out + u'"';
}

const QString& scratchFolder() {
  static const QString folder = [] {
    const QString base = QDir(QStringLiteral("/dev/shm")).isReadable() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
    std::string pattern =
        QFile::encodeName(base + QStringLiteral("/orv-fuzz-XXXXXX")).toStdString();
    if (::mkdtemp(pattern.data()) == nullptr) {
      fail(__FILE__, __LINE__, "mkdtemp", QStringLiteral("no scratch folder in ") + base);
    }
    static std::string made = pattern;
    std::atexit([] { QDir(QFile::decodeName(made.c_str())).removeRecursively(); });
    return QFile::decodeName(pattern.c_str()) + u'/';
  }();
  return folder;
}

QString textOfBytes(QByteArrayView bytes, bool utf16) {
  if (!utf16) return QString::fromUtf8(bytes);
  QString text(bytes.size() / 2, Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    text[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return text;
}

QList<QByteArrayView> splitFields(QByteArrayView bytes) {
  QList<QByteArrayView> fields;
  for (;;) {
    const qsizetype at = bytes.indexOf(QByteArrayView("\xFF\xFF"));
    if (at < 0) break;
    fields.append(bytes.first(at));
    bytes = bytes.sliced(at + 2);
  }
  fields.append(bytes);
  return fields;
}

}  // namespace orv::fuzz
