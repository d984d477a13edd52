#include "bench/ProcessMeasures.h"

#include "tests/support/Files.h"

#include <QDir>
#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

namespace orv::bench {
namespace {

bool dropPageCache() {
  ::sync();
  QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
  return drop.open(QIODevice::WriteOnly) && drop.write("3\n") == 2 && drop.flush();
}

}  // namespace

bool prepare(const QString& folder, bool cold) {
  if (cold) return dropPageCache();
  for (const QString& name : QDir(folder).entryList(QDir::Files)) test::readFile(folder + name);
  ::sync();
  return false;
}

double processorMilliseconds() {
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

qint64 bytesReadByThisProcess() {
  QFile io(QStringLiteral("/proc/self/io"));
  if (!io.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : io.readAll().split('\n')) {
    if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
  }
  return 0;
}

QString loadAverage() {
  QFile f(QStringLiteral("/proc/loadavg"));
  if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("?");
  return QString::fromLatin1(f.readAll()).section(u' ', 0, 0);
}

}  // namespace orv::bench
