#pragma once

#include "core/RuntimeError.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orv {

// A page template of the program folder, read and encoded for the page once: its lines in
// CP932, each ending in CR LF, or the error its reading or encoding met, which the page
// writer raises where it would have read the template.
//
//   const PageTemplate head = PageTemplate::load("/usr/lib/orv/", "head.txt", fileSystem);
//   head.appendTo(page);   // the encoded lines, or head.txt's error
class PageTemplate {
 public:
  // Never raises a RuntimeError: it is kept for appendTo. kFileNotFound for a missing
  // template, the file system's error for one that can't be read, kPathFileAccessError
  // for one that isn't CP932 text; each description names the template.
  static PageTemplate load(const QString& programFolder, const QString& name,
                           platform::FileSystem& fileSystem);

  void appendTo(QByteArray& page) const;

  // What the template puts into a page, or the error it raises there, as bytes that
  // differ whenever either does.
  QByteArray identity() const;

 private:
  QByteArray lines_;
  std::optional<RuntimeError> error_;
};

// head.txt and tail.txt. The window reads them anew for every page, so that a template
// changed between builds shows; the batch reads them once for all its albums.
struct PageTemplates {
  PageTemplate head;
  PageTemplate tail;

  static PageTemplates load(const QString& programFolder, platform::FileSystem& fileSystem);

  // A hash (SHA-256) of both, which tells whether pages made with other templates would
  // read otherwise: what the batch keeps of the templates with each album it built.
  //
  //   templates.fingerprint() != PageTemplates::load(folder, fs).fingerprint()   // after an edit
  QByteArray fingerprint() const;
};

}  // namespace orv
