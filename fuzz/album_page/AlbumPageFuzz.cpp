// The page writer on arbitrary track texts and play times, read back by a small parser of
// the page's own: either the page is written or the previous one is left as it was; every
// data line gives back exactly its record's trimmed text (artist, title and album title
// with double quotes made apostrophes, as tag reading stores them) and the milliseconds
// of the plain second conversion; no line holds "</" or "<!--" (either would end or
// confuse the script element) or a raw control character; the data block between the
// templates is valid CP932.
//
// Input: a flag byte, then fields cut at "\xFF\xFF": each record's album title, artist,
// file name, title and play time in turn; missing fields are empty. Flag: 1 + (flag & 3)
// % 3 records; bit 2: the fields are UTF-16 code units (else UTF-8).

#include "core/RuntimeError.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ReferencePlayTime.h"
#include "output/AlbumPage.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/support/Files.h"
#include "text/Cp932.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

using namespace orv;
using namespace orv::fuzz;

namespace {

// A page as users' templates make it: the head leaves it inside a script element.
const QByteArray kHead =
    "<html><head><meta charset=\"Shift_JIS\"><title>\x83\x41\x83\x8B\x83\x6F\x83\x80</title>"
    "</head>\r\n<body><script>\r\n";
const QByteArray kTail = "</script></body></html>\r\n";
const QByteArray kPreviousPage = "<p>the page of the last build</p>\r\n";
const QByteArray kCover = "the program's cover";

struct Folders {
  QString program;
  QString album;
};

const Folders& folders() {
  static const Folders f = [] {
    const Folders made{scratchFolder() + QStringLiteral("program/"),
                       scratchFolder() + QStringLiteral("album/")};
    QDir().mkpath(made.program);
    QDir().mkpath(made.album);
    test::writeFile(made.program + QStringLiteral("head.txt"), kHead);
    test::writeFile(made.program + QStringLiteral("tail.txt"), kTail);
    test::writeFile(made.program + QStringLiteral("jacket.jpg"), kCover);
    return made;
  }();
  return f;
}

// The texts' arrays in the page's order, and the record field each one holds.
constexpr std::array<const char16_t*, 4> kTextArrays = {u"cdtitle", u"cdartist", u"fil",
                                                        u"bg_name"};
constexpr std::array<QString TrackRecord::*, 4> kTextFields = {
    &TrackRecord::albumTitle, &TrackRecord::artist, &TrackRecord::fileName, &TrackRecord::title};

QString trimmedOfSpaces(const QString& text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && text[begin] == u' ') ++begin;
  while (end > begin && text[end - 1] == u' ') --end;
  return text.sliced(begin, end - begin);
}

int hexDigit(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}

// `count` hex digits at `at` of `line` as one number; -1 unless all are there.
int hexNumber(QStringView line, qsizetype at, int count) {
  if (at + count > line.size()) return -1;
  int value = 0;
  for (int i = 0; i < count; ++i) {
    const int digit = hexDigit(line[at + i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// The script string that starts after the opening quote at `pos`, read as a script engine
// reads it, up to its closing quote, where `pos` is left. nullopt for a string without
// its closing quote, and for escapes the writer never writes (octal, line continuation).
std::optional<QString> readScriptString(QStringView line, qsizetype& pos) {
  QString text;
  while (pos < line.size()) {
    const QChar c = line[pos];
    if (c == u'"') return text;
    ++pos;
    if (c != u'\\') {
      text.append(c);
      continue;
    }
    if (pos >= line.size()) return std::nullopt;
    // The escapes of one character, and \xHH and \uXXXX.
    static constexpr std::u16string_view kEscaped = u"\\\"'bfnrtv";
    static constexpr std::u16string_view kMeant = u"\\\"'\b\f\n\r\t\v";
    const char16_t e = line[pos++].unicode();
    if (const auto single = kEscaped.find(e); single != std::u16string_view::npos) {
      text.append(QChar(kMeant[single]));
      continue;
    }
    const int digits = e == u'x' ? 2 : e == u'u' ? 4 : 0;
    const int unit = digits > 0 ? hexNumber(line, pos, digits) : -1;
    if (unit < 0) return std::nullopt;
    text.append(QChar(static_cast<char16_t>(unit)));
    pos += digits;
  }
  return std::nullopt;
}

// The text of the line `array`[k] = "…"; , or nullopt when the line is not of that form.
std::optional<QString> readTextLine(QStringView line, QStringView array, int k) {
  const QString head = array.toString() + QStringLiteral("[%1] = \"").arg(k);
  if (!line.startsWith(head)) return std::nullopt;
  qsizetype pos = head.size();
  auto text = readScriptString(line, pos);
  if (!text || line.sliced(pos) != u"\";") return std::nullopt;
  return text;
}

// The number of the line tim[k] = new Number(…); , or nullopt.
std::optional<long long> readTimeLine(QStringView line, int k) {
  const QString head = QStringLiteral("tim[%1] = new Number(").arg(k);
  if (!line.startsWith(head) || !line.endsWith(u");")) return std::nullopt;
  const QStringView number = line.sliced(head.size()).chopped(2);
  const QStringView digits = number.startsWith(u'-') ? number.sliced(1) : number;
  if (digits.isEmpty() || (digits.size() > 1 && digits[0] == u'0')) return std::nullopt;
  for (const QChar c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
  }
  bool ok = false;
  const long long value = number.toLongLong(&ok);
  return ok ? std::optional(value) : std::nullopt;
}

// The names in a folder's snapshot, for messages.
QString listed(const test::TreeSnapshot& snapshot) {
  QStringList names;
  for (const auto& entry : snapshot) names << QString::fromUtf8(entry.first);
  return names.join(u' ');
}

// What a written page must hold.
struct Expected {
  int n = 0;
  std::array<std::array<QString, 3>, 4> texts;  // [array][record], trimmed
  std::array<int, 3> milliseconds{};
};

void checkDataBlock(QByteArrayView block, const Expected& expected) {
  const auto text = text::cp932::decodeStrict(block);
  FUZZ_CHECK(text.has_value(),
             QStringLiteral("not CP932: ") + QString::fromLatin1(block.toByteArray().toHex(' ')));
  // A browser's decoder reads the same characters.
  QStringDecoder browser("windows-31j");
  if (browser.isValid()) {
    const QString again = browser.decode(block);
    FUZZ_CHECK(!browser.hasError() && again == *text,
               shown(*text) + QStringLiteral(" / ") + shown(again));
  }
  FUZZ_CHECK(text->endsWith(u"\r\n"), shown(*text));
  const QList<QStringView> lines = QStringView(*text).chopped(2).split(u"\r\n");
  for (const QStringView line : lines) {
    FUZZ_CHECK(!line.contains(u"</") && !line.contains(u"<!--"), shown(line));
    for (const QChar c : line) {
      FUZZ_CHECK(c >= u' ' && c != u'\x7F' && c != u'\x2028' && c != u'\x2029', shown(line));
    }
  }

  const int n = expected.n;
  FUZZ_CHECK(lines.size() == 7 + 5 * n, shown(*text));
  FUZZ_CHECK(lines[0] == QStringLiteral("var cnt = Number(%1);").arg(n - 1), shown(lines[0]));
  const char* declared[] = {"cdtitle", "cdartist", "fil", "bg_name", "tim", "num"};
  for (int i = 0; i < 6; ++i) {
    FUZZ_CHECK(lines[1 + i] == QLatin1String(declared[i]) + QLatin1String(" = new Array(cnt+1);"),
               shown(lines[1 + i]));
  }
  qsizetype at = 7;
  for (std::size_t a = 0; a < kTextArrays.size(); ++a) {
    for (int k = 0; k < n; ++k, ++at) {
      const auto read = readTextLine(lines[at], kTextArrays[a], k);
      FUZZ_CHECK(read.has_value(), shown(lines[at]));
      FUZZ_CHECK(*read == expected.texts[a][k],
                 QStringLiteral("line %1 reads %2, expected %3")
                     .arg(shown(lines[at]), shown(*read), shown(expected.texts[a][k])));
    }
  }
  for (int k = 0; k < n; ++k, ++at) {
    const auto milliseconds = readTimeLine(lines[at], k);
    FUZZ_CHECK(milliseconds == expected.milliseconds[k],
               QStringLiteral("%1, expected %2")
                   .arg(shown(lines[at]), QString::number(expected.milliseconds[k])));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int n = 1 + (data[0] & 3) % 3;
  const bool utf16 = (data[0] & 4) != 0;
  const QList<QByteArrayView> fields = splitFields(
      QByteArrayView(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1)));
  const auto field = [&](int i) {
    return i < fields.size() ? textOfBytes(fields[i], utf16) : QString();
  };

  const Folders& f = folders();
  TrackTable table;
  table.resize(Int16(n));
  Expected expected;
  expected.n = n;
  std::optional<PlayTimeOutcome> failure;
  for (int k = 0; k < n; ++k) {
    TrackRecord& r = table[Int16(k)];
    r.folderPath = f.album;
    r.albumTitle = field(5 * k);
    r.artist = field(5 * k + 1);
    r.fileName = field(5 * k + 2);
    r.title = field(5 * k + 3);
    r.duration = field(5 * k + 4);
    // Tag reading stores these three with their double quotes made apostrophes; a file
    // name keeps its own.
    for (QString* tagText : {&r.albumTitle, &r.artist, &r.title}) tagText->replace(u'"', u'\'');
    for (std::size_t a = 0; a < kTextFields.size(); ++a) {
      expected.texts[a][k] = trimmedOfSpaces(r.*kTextFields[a]);
    }
    const PlayTimeOutcome time = referencePlayTime(r.duration);
    if (time.failed && !failure) failure = time;
    expected.milliseconds[k] = time.value;
  }

  // The album folder holds the page of the last build and no cover.
  test::writeFile(f.album + QStringLiteral("disk.html"), kPreviousPage);
  QFile::remove(f.album + QStringLiteral("jacket.jpg"));
  const test::TreeSnapshot before = test::snapshotTree(f.album);
  platform::PosixFileSystem fileSystem;
  std::optional<int> raised;
  try {
    WriteAlbumHtml(table, Int16(n), f.program, fileSystem);
  } catch (const RuntimeError& e) {
    raised = e.number();
  }

  const test::TreeSnapshot after = test::snapshotTree(f.album);
  if (failure) {
    FUZZ_CHECK(raised == failure->value, QStringLiteral("raised %1, expected error %2")
                                             .arg(raised ? QString::number(*raised) : "nothing")
                                             .arg(failure->value));
    FUZZ_CHECK(after == before, QStringLiteral("the album folder changed: ") + listed(after));
    return 0;
  }
  FUZZ_CHECK(!raised, QStringLiteral("raised %1").arg(raised.value_or(0)));
  FUZZ_CHECK(after.size() == 2 && after.count("disk.html") == 1 && after.count("jacket.jpg") == 1 &&
                 after.at("jacket.jpg") == kCover,
             QStringLiteral("the album folder holds ") + listed(after));
  const QByteArray& written = after.at("disk.html");
  FUZZ_CHECK(written.size() >= kHead.size() + kTail.size() && written.startsWith(kHead) &&
                 written.endsWith(kTail),
             QString::fromLatin1(written.toHex(' ')));
  checkDataBlock(
      QByteArrayView(written).sliced(kHead.size(), written.size() - kHead.size() - kTail.size()),
      expected);
  return 0;
}
