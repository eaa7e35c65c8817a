#include "tav/solver/TavProcessRedirect.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tav {
namespace {

using Clock = std::chrono::steady_clock;

const std::string kChild = TAV_TEST_CHILD;

// Records every notification; Wait blocks until the child has ended.
class Recorder : public CTavProcessRedirect {
 public:
  ~Recorder() override { ShutdownChildProcess(); }

  bool WaitTerminated(std::chrono::seconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [this] { return terminated; });
  }
  bool WaitForOutput(std::chrono::seconds limit = std::chrono::seconds(10)) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [this] { return !out.empty(); });
  }
  std::vector<std::string> Out() {
    std::lock_guard lock(m_mutex);
    return out;
  }
  std::string Err() {
    std::lock_guard lock(m_mutex);
    std::string all;
    for (const auto& chunk : err) all += chunk;
    return all;
  }

  std::vector<std::string> out;
  std::vector<std::string> err;
  std::vector<std::string> started;
  bool terminated = false;
  Clock::time_point lastOutput;
  Clock::time_point terminatedAt;

 protected:
  void OnChildStarted(const char* commandLine) override {
    std::lock_guard lock(m_mutex);
    started.emplace_back(commandLine);
  }
  void OnChildStdOutWrite(const char* text) override {
    {
      std::lock_guard lock(m_mutex);
      out.emplace_back(text);
      lastOutput = Clock::now();
    }
    m_changed.notify_all();
  }
  void OnChildStdErrWrite(const char* text) override {
    std::lock_guard lock(m_mutex);
    err.emplace_back(text);
    lastOutput = Clock::now();
  }
  void OnChildTerminate() override {
    {
      std::lock_guard lock(m_mutex);
      terminated = true;
      terminatedAt = Clock::now();
    }
    m_changed.notify_all();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
};

TEST(ProcessRedirectTest, EmptyLinesVanishAndTheEndComesAfterTheOutput) {
  Recorder redirect;
  const auto start = Clock::now();
  ASSERT_EQ(redirect.StartChildProcess((kChild + " lines").c_str(), 0), 1);
  EXPECT_EQ(redirect.started, std::vector<std::string>{kChild + " lines"});
  ASSERT_TRUE(redirect.WaitTerminated());
  EXPECT_EQ(redirect.Out(), (std::vector<std::string>{"first", "second"}));
  // The end is reported after the drain pause of about a second.
  EXPECT_GE(redirect.terminatedAt - start, std::chrono::milliseconds(900));
  EXPECT_GE(redirect.terminatedAt, redirect.lastOutput);
  redirect.TerminateChildProcess();
  EXPECT_EQ(redirect.GetChildExitCode(), 0);
  EXPECT_EQ(redirect.IsChildRunning(), 0);
}

TEST(ProcessRedirectTest, NulBytesOnBothStreams) {
  Recorder redirect;
  ASSERT_EQ(redirect.StartChildProcess((kChild + " nul").c_str(), 0), 1);
  ASSERT_TRUE(redirect.WaitTerminated());
  EXPECT_EQ(redirect.Out(), std::vector<std::string>{"a b"});
  EXPECT_EQ(redirect.Err(), "x");  // a chunk ends at its first NUL
}

TEST(ProcessRedirectTest, LongLinesArriveInPiecesAndErrorsInChunks) {
  Recorder redirect;
  ASSERT_EQ(redirect.StartChildProcess((kChild + " long").c_str(), 0), 1);
  ASSERT_TRUE(redirect.WaitTerminated());
  const auto pieces = redirect.Out();
  ASSERT_GE(pieces.size(), 2U);
  size_t total = 0;
  for (const auto& piece : pieces) {
    EXPECT_LE(piece.size(), 10240U);
    EXPECT_EQ(piece.find_first_not_of('x'), std::string::npos);
    total += piece.size();
  }
  EXPECT_EQ(total, 15000U);

  Recorder errors;
  ASSERT_EQ(errors.StartChildProcess((kChild + " stderr").c_str(), 0), 1);
  ASSERT_TRUE(errors.WaitTerminated());
  EXPECT_EQ(errors.Err(), "err1\nerr2\n");  // not cut into lines
  EXPECT_TRUE(errors.Out().empty());
}

TEST(ProcessRedirectTest, AMissingProgramIsReportedAsText) {
  Recorder redirect;
  EXPECT_EQ(redirect.StartChildProcess("/no/such/program with arguments", 0), 0);
  EXPECT_EQ(redirect.out, std::vector<std::string>{"Unable to start /no/such/program with arguments\n"});
  EXPECT_TRUE(redirect.started.empty());
  EXPECT_FALSE(redirect.WaitTerminated(std::chrono::seconds(1)));
  EXPECT_EQ(redirect.IsChildRunning(), 0);
}

TEST(ProcessRedirectTest, AHangingChildIsKilledAndReaped) {
  Recorder redirect;
  ASSERT_EQ(redirect.StartChildProcess((kChild + " hang").c_str(), 0), 1);
  ASSERT_TRUE(redirect.WaitForOutput());
  const std::string line = redirect.Out().front();
  ASSERT_EQ(line.rfind("started ", 0), 0U);
  const pid_t pid = std::stoi(line.substr(8));
  EXPECT_EQ(redirect.IsChildRunning(), 1);
  const auto before = Clock::now();
  redirect.TerminateChildProcess();
  EXPECT_LT(Clock::now() - before, std::chrono::seconds(4));
  EXPECT_EQ(redirect.GetChildExitCode(), 1);
  EXPECT_EQ(::kill(pid, 0), -1);  // gone, and not a zombie
  EXPECT_EQ(errno, ESRCH);
  EXPECT_TRUE(redirect.WaitTerminated());
}

TEST(ProcessRedirectTest, TeardownWhenIdleAndTwice) {
  Recorder idle;
  idle.TerminateChildProcess();
  idle.TerminateChildProcess();
  Recorder used;
  ASSERT_EQ(used.StartChildProcess((kChild + " exit 3").c_str(), 0), 1);
  ASSERT_TRUE(used.WaitTerminated());
  used.TerminateChildProcess();
  used.TerminateChildProcess();
  EXPECT_EQ(used.GetChildExitCode(), 3);
}

TEST(ProcessRedirectTest, InputReachesTheChild) {
  Recorder redirect;
  ASSERT_EQ(redirect.StartChildProcess((kChild + " stdin").c_str(), 0), 1);
  redirect.WriteChildStdIn("hello\n");
  ASSERT_TRUE(redirect.WaitTerminated());
  EXPECT_EQ(redirect.Out(), std::vector<std::string>{"got hello"});
}

TEST(ProcessRedirectTest, PathAndTextUtilities) {
  CString result;
  CTavProcessRedirect::GetDirectoryName(result, "/work/models/frame.tAv");
  EXPECT_EQ(result, "/work/models");
  CTavProcessRedirect::GetDirectoryName(result, "frame.tAv");
  EXPECT_EQ(result, "");
  CTavProcessRedirect::GetFileName(result, "/work/models/frame.tAv");
  EXPECT_EQ(result, "frame.tAv");
  CTavProcessRedirect::GetCommandLineA(nullptr, result, "/opt/solver/TaV");
  EXPECT_EQ(result, "/opt/solver/TaV");
  CTavProcessRedirect::GetCommandLineA(nullptr, result, "TaV");
  EXPECT_EQ(result.size() > 4 && result.substr(result.size() - 4) == "/TaV", true) << result;
  EXPECT_EQ(result[0], '/');

  CString text = "one\r\n\r\ntwo\nthree\r";
  CStringArray lines = {"kept"};
  CTavProcessRedirect::SeperateStr(text, lines);
  EXPECT_EQ(lines, (CStringArray{"kept", "one", "two", "three"}));
  EXPECT_EQ(CTavProcessRedirect::CopyData(nullptr, 2, nullptr, "x", 2), 0);
}

}  // namespace
}  // namespace tav
