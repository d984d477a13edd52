#include "tests/batch/BatchLibrary.h"

#include "app/MainForm.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixFolderLocks.h"
#include "platform/taglib/TagLibTrackDetails.h"
#include "tests/batch/BatchRun.h"
#include "tests/support/Fakes.h"
#include "tests/support/Files.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace orv::test {
namespace {

struct Album {
  const char* folder;  // as bytes below the library
  std::vector<const char*> files;
};

const std::vector<Album> kLibrary = {
    {"Artist A/Album One", {"01 Intro.mp3", "02 Second Song.mp3", "03\xE3\x80\x80Third.mp3"}},
    {"Artist A/Album Two", {"a.mp3", "b.MP3", "cover notes.txt"}},
    {"Artist B/Bad Bytes", {"ok song.mp3", "bad\xFF.mp3"}},
    {"Artist B/Clash", {"a b.mp3", "x y.mp3", "x_y.mp3"}},
    {"Bad\xFE Folder", {"a b.mp3"}},
    {"Empty", {"notes.txt"}},
    {".hidden/Album", {"h h.mp3"}},
};

}  // namespace

QString makeLibrary(const QString& root) {
  const QByteArray lib = QFile::encodeName(root) + "/lib/";
  for (const Album& album : kLibrary) {
    const QByteArray folder = lib + album.folder + '/';
    if (!QDir().mkpath(QFile::decodeName(lib))) throw std::runtime_error("no library folder");
    QByteArray path;
    for (const QByteArray& part : QByteArray(album.folder).split('/')) {
      path += part + '/';
      ::mkdir((lib + path).constData(), 0755);
    }
    for (const char* name : album.files) {
      writeFileAt(folder + name, track(QString::fromUtf8(name), QString::fromUtf8(album.folder)));
    }
  }
  if (::symlink("Artist A/Album One", (lib + "Link").constData()) != 0) {
    throw std::runtime_error("no link");
  }
  writeFile(root + QStringLiteral("/lib/Artist A/Album Two/jacket.jpg"), "the user's own cover");
  return root + QStringLiteral("/lib");
}

std::optional<QString> windowBuild(const QString& file) {
  FakeWindowSystem windowSystem;
  FakeFormControls controls;
  platform::PosixFileSystem fileSystem;
  platform::TagLibTrackDetails trackDetails;
  platform::PosixFolderLocks folderLocks;
  MainForm form(controls.asFormControls(), {.windowSystem = windowSystem,
                                            .album = {.fileSystem = fileSystem,
                                                      .trackDetails = trackDetails,
                                                      .folderLocks = folderLocks,
                                                      .programFolder = kProgramFolder}});
  controls.openFileDialog.answers.push_back(file);
  try {
    form.buildAlbum();
  } catch (const ProgramEnded&) {
  }
  if (windowSystem.messageBoxes.empty()) return std::nullopt;
  return windowSystem.messageBoxes.back().text;
}

QList<QJsonObject> jsonLines(const QString& out) {
  QList<QJsonObject> objects;
  for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    objects << doc.object();
  }
  return objects;
}

}  // namespace orv::test
