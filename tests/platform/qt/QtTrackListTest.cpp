#include "platform/qt/QtTrackList.h"

#include "platform/qt/TrackListModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

namespace orv::platform {
namespace {

constexpr int kTitle = int(TrackListModel::Column::kTitle);
constexpr int kPlayTime = int(TrackListModel::Column::kPlayTime);
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;  // numbers

// An album of n tracks titled "<title> 1" to "<title> n".
std::vector<ListedTrack> album(int n, const QString& title = QStringLiteral("曲")) {
  std::vector<ListedTrack> tracks;
  for (int i = 1; i <= n; ++i)
    tracks.push_back(
        {QStringLiteral("%1 %2").arg(title).arg(i), QStringLiteral("0:0%1:00").arg(i % 10)});
  return tracks;
}

// What the view shows of a cell or a heading.
struct Shown {
  QString text;
  Qt::Alignment alignment;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
  *os << '"' << s.text.toStdString() << "\" aligned " << int(s.alignment);
}

struct TrackListTest : testing::Test {
  QWidget window;
  QtTrackList list{&window};
  TrackListModel& model = list.model();

  Shown cell(int row, int column) const {
    const QModelIndex index = model.index(row, column);
    return {index.data().toString(), index.data(Qt::TextAlignmentRole).value<Qt::Alignment>()};
  }
  Shown heading(Qt::Orientation o, int section) const {
    return {model.headerData(section, o, Qt::DisplayRole).toString(),
            model.headerData(section, o, Qt::TextAlignmentRole).value<Qt::Alignment>()};
  }
};

TEST_F(TrackListTest, ModelStaysConsistentThroughAlbumsOfEverySize) {
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  for (int n : {1, 10, 3, 0, 250, 1}) {
    list.show(album(n));
    QApplication::processEvents();
    ASSERT_EQ(model.rowCount(), n);
  }
}

// Only the columns that are shown: a screen reader reads every column of the model.
TEST_F(TrackListTest, TenThenThreeTracksShowTheLastAlbumUnderCentredHeadings) {
  for (const auto& [n, title] :
       {std::pair(10, QStringLiteral("ten")), std::pair(3, QStringLiteral("three"))}) {
    SCOPED_TRACE(n);
    list.show(album(n, title));
    QApplication::processEvents();
    ASSERT_EQ(model.rowCount(), n);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(heading(Qt::Horizontal, kTitle), (Shown{"曲名", Qt::AlignCenter}));
    EXPECT_EQ(heading(Qt::Horizontal, kPlayTime), (Shown{"時間", Qt::AlignCenter}));
    for (int r = 0; r < n; ++r) {
      EXPECT_EQ(heading(Qt::Vertical, r), (Shown{QString::number(r + 1), kRight}));
      EXPECT_EQ(cell(r, kTitle), (Shown{QStringLiteral("%1 %2").arg(title).arg(r + 1), kLeft}));
      EXPECT_EQ(cell(r, kPlayTime), (Shown{QStringLiteral("0:0%1:00").arg((r + 1) % 10), kLeft}));
    }
  }
  EXPECT_EQ(model.headerData(3, Qt::Vertical, Qt::DisplayRole), QVariant()) << "no fourth row";
}

TEST_F(TrackListTest, NumbersAlignRightOtherTextsLeft) {
  list.show({{"Intro", ""}, {"1999", "12"}});
  EXPECT_EQ(cell(0, kTitle).alignment, kLeft);
  EXPECT_EQ(cell(1, kTitle).alignment, kRight);
  EXPECT_EQ(cell(1, kPlayTime).alignment, kRight);
}

TEST_F(TrackListTest, HeadingsAndNumbersInTheLargerFontAndTheLargestAlbumFits) {
  list.show(std::vector<ListedTrack>(32766));
  EXPECT_DOUBLE_EQ(
      model.headerData(kTitle, Qt::Horizontal, Qt::FontRole).value<QFont>().pointSizeF(), 14.25);
  EXPECT_DOUBLE_EQ(model.headerData(0, Qt::Vertical, Qt::FontRole).value<QFont>().pointSizeF(),
                   14.25);
  EXPECT_DOUBLE_EQ(list.view()->font().pointSizeF(), 12);
  EXPECT_TRUE(list.view()->verticalHeader()->isVisibleTo(&window));
  EXPECT_EQ(heading(Qt::Vertical, 32765).text, "32766");
}

TEST_F(TrackListTest, ASelectedRowStaysSelectedWhileTheNextAlbumHasIt) {
  list.show(album(10));
  list.view()->setCurrentIndex(model.index(4, kTitle));
  list.show(album(20, QStringLiteral("next")));
  EXPECT_EQ(list.view()->currentIndex(), model.index(4, kTitle));
  EXPECT_TRUE(list.view()->selectionModel()->isSelected(model.index(4, kTitle)));
}

}  // namespace
}  // namespace orv::platform
