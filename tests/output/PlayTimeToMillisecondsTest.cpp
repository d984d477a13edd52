#include "output/PlayTime.h"

#include "tests/support/Errors.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace orv {
namespace {

struct Case {
  const char16_t* text;
  std::int32_t milliseconds;
};

// Names the case by its text in test listings (long texts by their length).
std::string describe(const QString& text) {
  if (text.size() > 40)
    return describe(text.trimmed()) + " padded to " + std::to_string(text.size());
  std::string out = "\"";
  for (const QChar c : text) {
    out += c.unicode() < 0x20
               ? "\\x" + QString::number(c.unicode(), 16).rightJustified(2, u'0').toStdString()
               : QString(c).toStdString();
  }
  return out + "\"";
}

void PrintTo(const Case& c, std::ostream* os) { *os << describe(QString::fromUtf16(c.text)); }

class Converts : public testing::TestWithParam<Case> {};

TEST_P(Converts, ToMilliseconds) {
  const Case c = GetParam();
  EXPECT_EQ(PlayTimeToMilliseconds(QString::fromUtf16(c.text)).value(), c.milliseconds)
      << QString::fromUtf16(c.text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(ShellForms, Converts,
                         testing::Values(Case{u"0:03:25", 205000}, Case{u"00:03:25", 205000},
                                         Case{u"1:02:03", 3723000}, Case{u"0:00:00", 0}));

// Fewer than two colons: the play time is unknown, and the page shows a second.
INSTANTIATE_TEST_SUITE_P(Unknown, Converts,
                         testing::Values(Case{u"3:25", 1000}, Case{u"325", 1000}, Case{u"", 1000},
                                         Case{u"   ", 1000}, Case{u":", 1000},
                                         Case{u"0\uFF1A03\uFF1A25", 1000}));  // full-width colons

INSTANTIATE_TEST_SUITE_P(Blanks, Converts,
                         testing::Values(Case{u"::", 0}, Case{u" 0:03:25 ", 205000},
                                         Case{u"0 : 0 3 : 2 5", 205000},
                                         Case{u"\t0:\n03:2\t5", 205000},
                                         Case{u"- 1:00:00", -3600000},
                                         // A carriage return is no blank: reading stops there.
                                         Case{u"0:03:\r25", 180000}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, Converts,
    testing::Values(Case{u"-1:00:00", -3600000}, Case{u"0:0:+5", 5000}, Case{u"0:0:--5", 0},
                    Case{u"0:0:-", 0}, Case{u"0:0:5.", 5000}, Case{u"0:0:1.2.3", 1000},
                    Case{u"0:03:25abc", 205000}, Case{u"0:03:2x5", 182000}, Case{u"0:1,5:0", 60000},
                    Case{u"0:0:00000000000000000000007", 7000},
                    Case{u"\uFF10:03:25", 205000},  // a full-width digit is no digit
                    // No exponent and no radix prefix.
                    Case{u"0:0:1E3", 1000}, Case{u"0:0:1e3", 1000}, Case{u"0:0:&H10", 0},
                    Case{u"0:0:&O17", 0}));

INSTANTIATE_TEST_SUITE_P(HalvesToEven, Converts,
                         testing::Values(Case{u"0:0:2.5", 2000}, Case{u"0:0:3.5", 4000},
                                         Case{u"0:0:0.5", 0}, Case{u"0:0:.5", 0},
                                         Case{u"0:0:1.5", 2000}, Case{u"0:0:-2.5", -2000},
                                         Case{u"0:0:-3.5", -4000}, Case{u"0:0:2.4999999", 2000},
                                         Case{u"0:0:2.50000000000000000001", 3000},
                                         Case{u"0:0:2.6", 3000}, Case{u"0:0:2 . 5", 2000}));

INSTANTIATE_TEST_SUITE_P(
    Limits, Converts,
    testing::Values(Case{u"596:31:23", 2147483000}, Case{u"-596:-31:-23", -2147483000},
                    Case{u"0:0:32767", 32767000}, Case{u"0:0:-32768", -32768000},
                    Case{u"0:0:32766.5", 32766000}, Case{u"0:0:-32768.5", -32768000},
                    Case{u"0:32767:0", 1966020000}));

struct Failure {
  QString text;
  ErrorCode error;
};

void PrintTo(const Failure& f, std::ostream* os) { *os << describe(f.text); }

class Fails : public testing::TestWithParam<Failure> {};

TEST_P(Fails, WithRunTimeError) {
  const Failure f = GetParam();
  const RuntimeError e = test::errorOf([&] { PlayTimeToMilliseconds(f.text); });
  EXPECT_TRUE(e.is(f.error)) << f.text.left(40).toStdString() << " gave " << e.what();
}

QString padded(const QString& text, qsizetype length) {
  return text + QString(length - text.size(), u' ');
}

INSTANTIATE_TEST_SUITE_P(
    Overflows, Fails,
    testing::Values(
        Failure{"596:31:24", ErrorCode::kOverflow}, Failure{"-596:-31:-24", ErrorCode::kOverflow},
        Failure{"0:0:32768", ErrorCode::kOverflow}, Failure{"0:0:-32769", ErrorCode::kOverflow},
        Failure{"0:0:32767.5", ErrorCode::kOverflow},  // rounds to 32768
        Failure{"0:0:99999999999999999999", ErrorCode::kOverflow},
        Failure{"32768:0:", ErrorCode::kOverflow}, Failure{"0:32768:", ErrorCode::kOverflow},
        Failure{"-32768:0:0", ErrorCode::kOverflow},  // a valid piece, too many ms
        Failure{padded("0:03:25", 32767), ErrorCode::kOverflow},
        // The length is tested before the colons are counted.
        Failure{padded("1:2:3:4", 32767), ErrorCode::kOverflow}));

INSTANTIATE_TEST_SUITE_P(ThirdColon, Fails,
                         testing::Values(Failure{"1:2:3:4", ErrorCode::kSubscriptOutOfRange},
                                         Failure{":::", ErrorCode::kSubscriptOutOfRange},
                                         // Colons are counted before any piece is read.
                                         Failure{"99999:0:0:0", ErrorCode::kSubscriptOutOfRange}));

TEST(PlayTimeToMilliseconds, LongestTextStillConverts) {
  EXPECT_EQ(PlayTimeToMilliseconds(padded("0:03:25", 32766)).value(), 205000);
}

}  // namespace
}  // namespace orv
