// Opens a written page in headless Chromium and reads back what its script made of the
// track texts: every text arrives as written, and none of them runs as script.

#include "output/AlbumPage.h"

#include "tests/output/PageFolders.h"
#include "text/Cp932.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

QByteArray cp932Bytes(const QString& text) {
  QByteArray out;
  for (const char32_t c : text.toUcs4()) EXPECT_TRUE(text::cp932::appendEncoded(c, out));
  return out;
}

// The template script lists every track, each text as its code points, so that the
// check doesn't depend on how the dump is encoded; the title also as plain text.
const char kHead[] =
    "<!DOCTYPE html>\r\n"
    "<html><head><meta charset=\"Shift_JIS\"><title>ページ</title></head>\r\n"
    "<body><ol id=\"tracks\"></ol>\r\n"
    "<script>\r\n";
const char kTail[] =
    "function codes(s) {\r\n"
    "  return Array.from(s).map(function (c) { return c.codePointAt(0).toString(16); }).join(' "
    "');\r\n"
    "}\r\n"
    "var list = document.getElementById('tracks');\r\n"
    "for (var i = 0; i <= cnt; i++) {\r\n"
    "  var item = document.createElement('li');\r\n"
    "  item.textContent = bg_name[i];\r\n"
    "  item.setAttribute('data-fields', [cdtitle[i], cdartist[i], fil[i], "
    "bg_name[i]].map(codes).join(','));\r\n"
    "  item.setAttribute('data-tim', String(tim[i]));\r\n"
    "  list.appendChild(item);\r\n"
    "}\r\n"
    "document.body.setAttribute('data-pwned', String(window.pwned === 1));\r\n"
    "document.body.setAttribute('data-done', 'yes');\r\n"
    "</script>\r\n"
    "</body></html>\r\n";

QString codes(const QString& text) {
  QStringList out;
  for (const char32_t c : text.toUcs4()) out << QString::number(c, 16);
  return out.join(u' ');
}

QString unescapeHtml(QString text) {
  return text.replace("&lt;", "<")
      .replace("&gt;", ">")
      .replace("&quot;", "\"")
      .replace("&amp;", "&");
}

// The DOM after the page's scripts ran, or an empty text when Chromium didn't deliver it.
QString dumpDom(const QString& page) {
  QTemporaryDir profile;
  QProcess chromium;
  chromium.setProcessChannelMode(QProcess::SeparateChannels);
  chromium.start(
      "/usr/bin/chromium",
      {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
       "--disable-background-networking", "--disable-component-update", "--disable-sync",
       "--user-data-dir=" + profile.path(), "--dump-dom", QUrl::fromLocalFile(page).toString()});
  if (!chromium.waitForStarted(30000)) return {};
  if (!chromium.waitForFinished(120000)) {
    chromium.kill();
    chromium.waitForFinished(10000);
    ADD_FAILURE() << "Chromium took more than two minutes";
    return {};
  }
  return QString::fromUtf8(chromium.readAllStandardOutput());
}

TEST(PageInBrowser, TextsReadAsWrittenAndNoneRuns) {
  if (!QFileInfo::exists("/usr/bin/chromium")) GTEST_SKIP() << "no Chromium";
  PageFolders f;
  f.setTemplates(cp932Bytes(kHead), cp932Bytes(kTail));
  const QList<Track> tracks = {
      {"¥100 〜 −1 😀", "AC\\DC\\", "01_曲.mp3", "</script><script>window.pwned=1</script>",
       "0:03:25"},
      {"\"quoted\" ソ表", "line\nbreak\u2028and\ttab", "<!--x.mp3", "テスト <b>bold</b> \\",
       "1:02:03"},
  };
  TrackTable table;
  table.resize(Int16(tracks.size()));
  for (int k = 0; k < tracks.size(); ++k) {
    table[k] = {f.album,         tracks[k].fileName,   tracks[k].fileName, tracks[k].artist,
                tracks[k].title, tracks[k].albumTitle, tracks[k].duration};
  }
  WriteAlbumHtml(table, table.count(), f.program, f.fileSystem);

  const QString dom = dumpDom(f.album + "disk.html");
  ASSERT_FALSE(dom.isEmpty());
  EXPECT_TRUE(dom.contains("data-done=\"yes\"")) << "the template's script didn't finish\n"
                                                 << dom.toStdString();
  EXPECT_TRUE(dom.contains("data-pwned=\"false\"")) << dom.toStdString();
  EXPECT_EQ(dom.count("<script"), 1) << dom.toStdString();

  static const QRegularExpression item(
      R"re(<li data-fields="([^"]*)" data-tim="([^"]*)">([^<]*)</li>)re");
  QRegularExpressionMatchIterator found = item.globalMatch(dom);
  for (const Track& track : tracks) {
    ASSERT_TRUE(found.hasNext()) << dom.toStdString();
    const QRegularExpressionMatch m = found.next();
    EXPECT_EQ(m.captured(1), QStringList({codes(track.albumTitle), codes(track.artist),
                                          codes(track.fileName), codes(track.title)})
                                 .join(u','));
    EXPECT_EQ(unescapeHtml(m.captured(3)), track.title);
  }
  EXPECT_FALSE(found.hasNext());
  EXPECT_TRUE(dom.contains("data-tim=\"205000\"") && dom.contains("data-tim=\"3723000\""));
}

}  // namespace
}  // namespace orv::test
