#pragma once

// What the fuzz targets share: failing a check, a scratch folder in memory, and arbitrary
// bytes read as texts. Files are written and read with the tests' helpers
// (tests/support/Files.h).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orv::fuzz {

// Ends the run: prints the failed check and `detail` to stderr, then aborts, so libFuzzer
// keeps the input and a replay under CTest fails.
[[noreturn]] void fail(const char* file, int line, const char* check, const QString& detail);

// FUZZ_CHECK(page.startsWith(head), "page: " + shown(text));
#define FUZZ_CHECK(condition, detail)                                                     \
  do {                                                                                    \
    if (!(condition)) ::orv::fuzz::fail(__FILE__, __LINE__, #condition, QString(detail)); \
  } while (false)

// `text` in double quotes, every code unit outside printable ASCII (and \ and ") as
// \uXXXX, so that a failure shows exactly what was compared.
QString shown(QStringView text);

// A folder of this process's own in memory (/dev/shm, or the temporary folder where there
// is none), ending in "/". Made on first call; removed with its files at exit.
const QString& scratchFolder();

// Bytes as a text: UTF-8 (invalid bytes become U+FFFD) or, with `utf16`, little-endian
// UTF-16 code units as they come, lone surrogates included (an odd last byte is dropped).
QString textOfBytes(QByteArrayView bytes, bool utf16);

// Cuts `bytes` at every "\xFF\xFF" (a pair that no UTF-8 text holds).
//
//   splitFields("a\xFF\xFF" "b") == {"a", "b"}
QList<QByteArrayView> splitFields(QByteArrayView bytes);

}  // namespace orv::fuzz
