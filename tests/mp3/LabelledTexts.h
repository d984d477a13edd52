#pragma once

// The labelled tag texts of labelled_texts.txt: how real files hold 8-bit text, and what
// their writers meant by it.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace orv::test {

// How a text's bytes were written into its tag.
enum class TextLabel {
  kWindows1252,
  kCp932,
  kUtf8,
  kCp949,  // Korean
  kGbk,    // simplified Chinese
  kBig5,   // traditional Chinese
  kWindows1251,
  kWindows1250,
};

// A label as the tables write it ("cp949"); nullopt for none.
std::optional<TextLabel> labelNamed(const QString& name);
QString nameOf(TextLabel label);

struct LabelledText {
  TextLabel label;
  QString text;
  // What the program reads instead, where the table records a known misreading; empty
  // where it reads `text`.
  QString readsAs;
  QString section;  // the heading of its part of the table: "Korean", "Kana" …
};

// Every entry of the table, in its order. Throws when the table cannot be read.
const std::vector<LabelledText>& labelledTexts();

// The tag bytes of `entry`: its text in its label's encoding.
//
//   tagBytes({TextLabel::kCp932, u"テスト"}) == "\x83\x65\x83\x58\x83\x67"
QByteArray tagBytes(const LabelledText& entry);

}  // namespace orv::test
