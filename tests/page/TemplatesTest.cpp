// The templates as shipped beside the program: the page writer copies their lines as
// CP932 and ends each with CR LF, so they must already be CP932 with CR LF line ends for
// the page to reach the browser as written.

#include "tests/support/Files.h"
#include "text/Cp932.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

namespace {

QByteArray shipped(const char* name) {
  return orv::test::readFile(QStringLiteral(ORV_PROGRAM_DIR) + u'/' + QLatin1String(name));
}

class Template : public testing::TestWithParam<const char*> {};

TEST_P(Template, IsCp932WithCrLfLineEnds) {
  const QByteArray bytes = shipped(GetParam());
  ASSERT_FALSE(bytes.isEmpty());
  EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
  EXPECT_TRUE(bytes.endsWith("\r\n")) << "the last line ends too";
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      EXPECT_EQ(bytes.mid(i, 2), "\r\n") << "a lone CR at byte " << i;
    }
    if (bytes[i] == '\n') {
      EXPECT_EQ(bytes.mid(i - 1, 2), "\r\n") << "a lone LF at byte " << i;
    }
  }
  EXPECT_TRUE(orv::text::cp932::decodeStrict(bytes).has_value());
}

TEST_P(Template, LoadsNothingFromOutsideAndWritesNoMarkupFromData) {
  const QByteArray bytes = shipped(GetParam());
  for (const char* word :
       {"http:", "https:", "//cdn", "import(", "type=\"module\"", "fetch(", "XMLHttpRequest",
        "innerHTML", "outerHTML", "insertAdjacentHTML", "document.write", "eval("}) {
    EXPECT_FALSE(bytes.contains(word)) << word;
  }
}

INSTANTIATE_TEST_SUITE_P(Shipped, Template, testing::Values("head.txt", "tail.txt"));

TEST(HeadTemplate, DeclaresTheDocumentAndItsCodePageEarlyAndEndsInsideAScript) {
  const QByteArray head = shipped("head.txt");
  EXPECT_TRUE(head.startsWith("<!DOCTYPE html>\r\n"));
  const qsizetype charset = head.indexOf("<meta charset=\"Shift_JIS\">");
  ASSERT_GE(charset, 0);
  // The browser looks for the code page in the first 1,024 bytes only.
  EXPECT_LE(charset + qsizetype(sizeof "<meta charset=\"Shift_JIS\">" - 1), 1024);
  EXPECT_TRUE(head.endsWith("\r\n<script>\r\n")) << "the data block must land in a script";
  EXPECT_EQ(head.count("<script"), 1);
}

TEST(TailTemplate, ContinuesTheScriptUsingEveryArrayAndClosesIt) {
  const QByteArray tail = shipped("tail.txt");
  const qsizetype close = tail.indexOf("</script>");
  ASSERT_GE(close, 0);
  const QByteArray script = tail.left(close);
  // Inside a script these would end it early or change how the rest is parsed.
  EXPECT_FALSE(script.contains("<!--"));
  EXPECT_FALSE(script.contains("<script"));
  EXPECT_FALSE(script.toLower().contains("</script"));
  for (const char* name : {"cnt", "cdtitle", "cdartist", "fil", "bg_name", "tim"}) {
    EXPECT_TRUE(script.contains(name)) << name;
  }
  EXPECT_TRUE(tail.endsWith("</html>\r\n"));
}

}  // namespace
