// The history command as a user runs it: the real executable in a temporary
// working directory.

#include <gtest/gtest.h>

#include <QProcess>

#include "history/history_store.h"
#include "lists/list_file.h"
#include "support/core/fake_marketplace.h"
#include "support/core/history_records.h"
#include "support/core/temp_dir.h"

namespace shop {
namespace {

struct Finished {
  int exit_code = -1;
  std::string out;
  std::string err;
};

Finished shopkeeper(const QStringList& arguments, const std::filesystem::path& directory) {
  QProcess process;
  process.setWorkingDirectory(QString::fromStdString(directory.native()));
  process.start(QStringLiteral(SHOP_EXECUTABLE), arguments);
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitCode(), process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

TEST(HistoryCommand, PrintsTheChecksOfOneItemAsATable) {
  testing::TempDir dir;
  {
    auto store = HistoryStore::open(dir.file("排名历史.db"));
    store->add(testing::found_record(0, 43));
    store->add(testing::not_within_record(1));
    store->add(testing::found_record(2, 7, "B"));
  }
  const Finished listed = shopkeeper(
      {"history", "taobao", "--keyword", QString::fromUtf8("连衣裙"), "--item", "A"}, dir.path());
  EXPECT_EQ(listed.exit_code, 0) << listed.err;
  EXPECT_EQ(listed.out,
            "时间                      结果        排名  关键字  网址\n"
            "2020-01-01T08:00:00.000Z  2页第3个    43    连衣裙  A\n"
            "2020-01-02T08:00:00.000Z  不在10页内  -     连衣裙  A\n");
  EXPECT_EQ(shopkeeper({"history", "ebay"}, dir.path()).exit_code, 2);
  EXPECT_EQ(shopkeeper({"history", "export"}, dir.path()).exit_code, 2);
}

// Export, then import into another directory twice: the same records, once.
TEST(HistoryCommand, ExportAndImportMoveTheHistory) {
  testing::TempDir from, to;
  HistoryStore::open(from.file("排名历史.db"))->add(testing::failed_record(0));
  const std::string csv = (from.path() / "all.csv").string();
  EXPECT_EQ(shopkeeper({"history", "export", QString::fromStdString(csv)}, from.path()).exit_code,
            0);
  for (int time = 0; time < 2; ++time) {
    const Finished imported =
        shopkeeper({"history", "import", QString::fromStdString(csv)}, to.path());
    EXPECT_EQ(imported.exit_code, 0) << imported.err;
  }
  EXPECT_EQ(HistoryStore::open_existing(to.file("排名历史.db"))->records({"taobao", {}, {}}),
            std::vector<CheckRecord>{testing::failed_record(0)});
}

TEST(HistoryCommand, AMalformedCsvIsOneLineOnStandardErrorAndWritesNothing) {
  testing::TempDir dir;
  testing::write_file(dir.file("in.csv"),
                      "time,marketplace,keyword,item_address,item_key,sort_choice,page_count,"
                      "outcome,page,place,result_text,rank\r\nx\r\n");
  const Finished imported = shopkeeper({"history", "import", "in.csv"}, dir.path());
  EXPECT_EQ(imported.exit_code, 1);
  EXPECT_EQ(imported.err, "shopkeeper history: 第2行：列数与表头不符，文件未导入\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("排名历史.db")));
}

// The check command records each row; a history file it cannot use stays as it is,
// costs one line on stderr, and the run goes on.
TEST(HistoryCommand, CheckRecordsEveryRowOrSaysOnceWhyItCannot) {
  test_support::FakeMarketplace market;
  testing::TempDir dir;
  const std::string code = "9723820700000000040100000C465B4E";
  market.write_settings(dir.path());
  testing::write_file(
      dir.file("拍拍排名.txt"),
      format_list_text({{"0", "k", "http://auction1.paipai.com/" + code, "", "", ""},
                        {"1", "k", "http://auction1.paipai.com/x", "", "", ""}}));
  market.set_paipai_page("k", "77", 1, test_support::FakeMarketplace::paipai_page({code}));

  const Finished first = shopkeeper({"check", "paipai", "--pages", "1"}, dir.path());
  EXPECT_EQ(first.exit_code, 0) << first.err;
  const auto records =
      HistoryStore::open_existing(dir.file("排名历史.db"))->records({"paipai", {}, {}});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].result_text, "1页第1个");
  EXPECT_EQ(records[1].outcome, CheckOutcome::not_within);

  std::filesystem::remove(dir.file("排名历史.db"));
  testing::write_file(dir.file("排名历史.db"), "text");
  const Finished second = shopkeeper({"check", "paipai", "--pages", "1"}, dir.path());
  EXPECT_EQ(second.exit_code, 0);
  EXPECT_EQ(second.err, "排名历史.db 不是本软件的排名历史文件，已保持原样；本次不记录排名历史。\n");
  EXPECT_EQ(testing::read_file(dir.file("排名历史.db")), "text");
}

}  // namespace
}  // namespace shop
