// A truck's visits (truck and day) with the image as found and as left, and the truck's history
// as CSV: one table of event lists, each with the visits it must give.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "history/TruckCsv.h"
#include "history/Visits.h"
#include "image/Catalogue.h"
#include "image/DefaultImage.h"

namespace zorv::test {
namespace {

using history::EventKind;

struct At {
  EventKind kind;
  const char* truck;
  int day;      // days after 2026-03-02, the user's own day
  int minutes;  // after 09:00 local time
  std::uint8_t byte10;
};

history::Event Made(const At& at) {
  SettingsImage image;
  GlobalTrimPair trims;
  LoadDefaultImage(image, trims);
  history::Event event = history::NewEvent(at.kind, image.bytes);
  event.image[10] = at.byte10;
  event.truck = at.truck;
  event.product = "Zorv v1.1";
  event.timeUtc =
      QDateTime(QDate(2026, 3, 2).addDays(at.day), QTime(9, 0).addSecs(at.minutes * 60)).toUTC();
  return event;
}

// "day truck events found left": found and left are byte 10 of the visit's images, - for none.
std::string Summary(const history::Visit& visit) {
  const auto byte = [](const history::Event* e) { return e ? std::to_string(e->image[10]) : "-"; };
  return visit.day.toString("MM-dd").toStdString() + " " + visit.truck.toStdString() + " " +
         std::to_string(visit.events.size()) + " " + byte(visit.Before()) + " " +
         byte(visit.After());
}

struct VisitRow {
  const char* name;
  std::vector<At> events;
  std::vector<std::string> visits;  // newest first
  const char* firstDifference;      // of the newest visit: "" for a named difference
};

void PrintTo(const VisitRow& row, std::ostream* out) {
  *out << row.name;
}

class VisitsTest : public ::testing::TestWithParam<VisitRow> {};

TEST_P(VisitsTest, GroupsByTruckAndDay) {
  const VisitRow& row = GetParam();
  std::vector<history::Event> events;
  for (const At& at : row.events) events.push_back(Made(at));
  const std::vector<history::Visit> visits = history::GroupVisits(events);
  std::vector<std::string> summaries;
  for (const history::Visit& visit : visits) summaries.push_back(Summary(visit));
  EXPECT_EQ(summaries, row.visits);
  ASSERT_FALSE(visits.empty());
  const QStringList differences = visits.front().Differences();
  if (*row.firstDifference != '\0') {
    EXPECT_EQ(differences, QStringList{row.firstDifference});
  } else {
    // The named difference of byte 10, from the image found to the image left.
    SettingsImage found;
    SettingsImage left;
    found.bytes = visits.front().Before()->image;
    left.bytes = visits.front().After()->image;
    const auto expected = Compare(found, left, product::kZorv11);
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_EQ(differences, QStringList{QString::fromStdString(expected.front().Line())});
  }
}

constexpr auto D = EventKind::Downloaded;
constexpr auto U = EventKind::Uploaded;
constexpr auto F = EventKind::FileOpened;

INSTANTIATE_TEST_SUITE_P(
    Rows, VisitsTest,
    ::testing::Values(
        VisitRow{"DownloadThenUploads",
                 {{D, "Unit 7", 0, 0, 3}, {U, "Unit 7", 0, 5, 4}, {U, "Unit 7", 0, 9, 6}},
                 {"03-02 Unit 7 3 3 6"},
                 ""},
        VisitRow{"GivenOutOfOrder",
                 {{U, "Unit 7", 0, 9, 6}, {D, "Unit 7", 0, 0, 3}, {U, "Unit 7", 0, 5, 4}},
                 {"03-02 Unit 7 3 3 6"},
                 ""},
        VisitRow{"DownloadAfterTheFirstUploadIsNotAsFound",
                 {{F, "Unit 7", 0, 0, 1}, {U, "Unit 7", 0, 5, 4}, {D, "Unit 7", 0, 9, 4}},
                 {"03-02 Unit 7 3 - 4"},
                 "No download before the first upload: the image before the visit is not known."},
        VisitRow{"NothingUploaded",
                 {{D, "Unit 7", 0, 0, 3}, {D, "Unit 7", 0, 30, 3}},
                 {"03-02 Unit 7 2 3 -"},
                 "Nothing was uploaded in this visit."},
        VisitRow{"UploadedWhatWasFound",
                 {{D, "Unit 7", 0, 0, 3}, {U, "Unit 7", 0, 1, 3}},
                 {"03-02 Unit 7 2 3 3"},
                 "No differences."},
        VisitRow{
            "TwoTrucksTwoDays",
            {{D, "Unit 7", 0, 0, 3},
             {D, "Unit 42", 0, 2, 8},
             {U, "Unit 7", 1, 0, 5},
             {D, "Unit 7", 1, -1, 4},
             {U, "Unit 42", 0, 600, 9},
             {D, "", 1, 3, 1}},
            {"03-03 Unit 7 2 4 5", "03-03  1 1 -", "03-02 Unit 7 1 3 -", "03-02 Unit 42 2 8 9"},
            ""}));

// The customer's CSV: a byte order mark, CRLF, oldest first, local time with its offset, CRCs in
// hex, each event's named differences from the one before, and nothing a spreadsheet would run.
TEST(TruckCsvTest, OneLineAnEventOldestFirst) {
  history::Event found = Made({D, "=Unit 7", 0, 0, 3});
  found.linkText = "Zorv v1.1";
  history::Event left = Made({U, "=Unit 7", 0, 5, 4});
  left.crc = 0x1234ABCD;
  left.flashCrc = 0xCD;
  left.filePath = "/tmp/a, b.joy";
  const QByteArray csv = history::TruckHistoryCsv({left, found});
  ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
  const QStringList lines = QString::fromUtf8(csv.mid(3)).split("\r\n");
  ASSERT_EQ(lines.size(), 4);  // the header, two events, the end of the last line
  EXPECT_EQ(lines[0],
            "Time,Kind,Truck,Product,Link,Chip,File CRC-32,Flash CRC-32,File,Differences");
  // The time field: local time with its offset, read back as the same moment.
  const QString firstTime = lines[1].section(',', 0, 0);
  EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d([+-]\\d\\d:\\d\\d|Z)$")
                  .match(firstTime)
                  .hasMatch())
      << firstTime.toStdString();
  EXPECT_EQ(QDateTime::fromString(firstTime, Qt::ISODate), found.timeUtc);
  EXPECT_EQ(lines[1], firstTime + ",Downloaded,'=Unit 7,Zorv v1.1,Zorv v1.1,,,,,");
  const QString secondTime = lines[2].section(',', 0, 0);
  EXPECT_EQ(QDateTime::fromString(secondTime, Qt::ISODate), left.timeUtc);
  SettingsImage a;
  SettingsImage b;
  a.bytes = found.image;
  b.bytes = left.image;
  const std::string difference = Compare(a, b, product::kZorv11).front().Line();
  EXPECT_EQ(lines[2], secondTime +
                          ",Uploaded,'=Unit 7,Zorv v1.1,,,1234ABCD,000000CD,\"/tmp/a, b.joy\"," +
                          QString::fromStdString(difference));
  EXPECT_EQ(lines[3], "");
}

}  // namespace
}  // namespace zorv::test
