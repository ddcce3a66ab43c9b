// The workers of a search: files read ahead only up to the bound, given up when asked, and
// threads that always end.

#include "search/searchpool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/corpus.h"

namespace varnel {
namespace {

using namespace std::chrono_literals;

const auto kNeverWait = [] { return false; };
const auto kKeepWaiting = [] { return true; };

TEST(SearchPoolTest, WorkersForZeroJobsAreOnePerCoreAndAlwaysAtLeastOne) {
  EXPECT_EQ(SearchPool::WorkersFor(0), int(std::max(1u, std::thread::hardware_concurrency())));
  EXPECT_EQ(SearchPool::WorkersFor(-3), SearchPool::WorkersFor(0));
  EXPECT_EQ(SearchPool::WorkersFor(1), 1);
  EXPECT_EQ(SearchPool::WorkersFor(3), 3);
  EXPECT_EQ(SearchPool::WorkersFor(100000), kMostSearchJobs);
}

TEST(SearchPoolTest, ReadFilesComeBackInAnyOrderTheyAreTaken) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "cur/sample.cur");
  SearchPool pool(2, {LoadStyle::ExcludingDuplicates}, 8);
  auto icon = pool.Submit(test::CorpusPath("ico/python.ico"));
  auto cursor = pool.Submit(test::CorpusPath("cur/sample.cur"));
  auto missing = pool.Submit("/no/such/file.ico");
  std::optional<FileContents> second = pool.Take(*cursor, kKeepWaiting);
  std::optional<FileContents> first = pool.Take(*icon, kKeepWaiting);
  ASSERT_TRUE(first && second);
  ASSERT_EQ(first->icons.size(), 1u);
  EXPECT_EQ(first->icons[0].name, "python");
  EXPECT_EQ(first->icons[0].icon->Images().Count(), 3);
  EXPECT_TRUE(first->icons[0].keys.hash.has_value());
  EXPECT_EQ(second->kind, TFileKind::fkIcon);
  std::optional<FileContents> none = pool.Take(*missing, kKeepWaiting);
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->icons.empty());
}

TEST(SearchPoolTest, SubmitWaitsWhileTheReadAheadIsFullAndStopsWaitingWhenClosed) {
  // Without workers nothing is ever read: files are only given up.
  SearchPool pool(0, {}, 2);
  auto first = pool.Submit("/a");
  auto second = pool.Submit("/b");
  ASSERT_TRUE(first && second);
  std::atomic<bool> submitted = false;
  std::thread third([&] {
    EXPECT_TRUE(pool.Submit("/c"));
    submitted = true;
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(submitted);
  // A file not read yet is given up once the caller stops waiting; its place is free again.
  EXPECT_FALSE(pool.Take(*first, kNeverWait));
  third.join();
  EXPECT_TRUE(submitted);

  std::thread closed([&] { EXPECT_FALSE(pool.Submit("/d")); });
  std::this_thread::sleep_for(20ms);
  pool.StopAccepting();
  closed.join();
  pool.GiveUp(*second);
  EXPECT_FALSE(pool.Submit("/e"));
}

TEST(SearchPoolTest, EndingThePoolJoinsWorkersWithFilesStillQueued) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/bug785447.ico");
  auto pool = std::make_unique<SearchPool>(2, FileReadOptions{LoadStyle::ExcludingDuplicates}, 64);
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(pool->Submit(test::CorpusPath("ico/bug785447.ico")));
  pool.reset();
}

}  // namespace
}  // namespace varnel
