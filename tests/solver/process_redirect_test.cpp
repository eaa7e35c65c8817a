#include "tav/solver/TavProcessRedirect.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <thread>

namespace tav {
namespace {

using Clock = std::chrono::steady_clock;

const std::string kChild = TAV_TEST_CHILD;

// Notes every notification in order ("started ...", "out ...", "err ...",
// "terminated") and lets the test wait for them.
class Recorder : public CTavProcessRedirect {
 public:
  ~Recorder() override { ShutdownChildProcess(); }

  // Starts the test child in `mode`.
  int Start(const std::string& mode) { return StartChildProcess((kChild + " " + mode).c_str(), 0); }
  // Waits (10 s at most) until `count` events of `kind` have come in all.
  bool WaitFor(const std::string& kind, size_t count = 1) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return TextsOf(kind).size() >= count; });
  }
  std::vector<std::string> Events() {
    std::lock_guard lock(m_mutex);
    return m_events;
  }
  std::vector<std::string> Out() {
    std::lock_guard lock(m_mutex);
    return TextsOf("out ");
  }
  std::string Err() {
    std::lock_guard lock(m_mutex);
    std::string all;
    for (const auto& chunk : TextsOf("err ")) all += chunk;
    return all;
  }

  Clock::time_point terminatedAt;

 protected:
  void OnChildStarted(const char* commandLine) override { Note("started ", commandLine); }
  void OnChildStdOutWrite(const char* text) override { Note("out ", text); }
  void OnChildStdErrWrite(const char* text) override { Note("err ", text); }
  void OnChildTerminate() override { Note("terminated", ""); }

 private:
  void Note(const std::string& kind, const char* text) {
    {
      std::lock_guard lock(m_mutex);
      m_events.push_back(kind + text);
      if (kind == "terminated") terminatedAt = Clock::now();
    }
    m_changed.notify_all();
  }
  // The texts of the events of one kind; the caller holds the lock.
  std::vector<std::string> TextsOf(const std::string& kind) const {
    std::vector<std::string> texts;
    for (const auto& event : m_events) {
      if (event.rfind(kind, 0) == 0) texts.push_back(event.substr(kind.size()));
    }
    return texts;
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::string> m_events;
};

// Starts the test child in `mode` and waits for its end to be reported.
::testing::AssertionResult RunsToEnd(Recorder& redirect, const std::string& mode) {
  if (redirect.Start(mode) != 1) return ::testing::AssertionFailure();
  if (!redirect.WaitFor("terminated")) return ::testing::AssertionFailure() << "no end reported";
  return ::testing::AssertionSuccess();
}

// The process id at the end of a line such as "pid 1234" or "started 1234".
pid_t PidIn(const std::string& line) { return std::stoi(line.substr(line.rfind(' ') + 1)); }

bool Gone(pid_t pid) { return ::kill(pid, 0) == -1 && errno == ESRCH; }

// Gone, or killed and waiting for whoever inherited it to reap it.
bool Ended(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(stat, text);
  const size_t close = text.rfind(')');
  return Gone(pid) || (close != std::string::npos && text.compare(close, 3, ") Z") == 0);
}

// A killed process that is not one's own child ends a moment later.
bool EndsSoon(pid_t pid) {
  const auto until = Clock::now() + std::chrono::seconds(5);
  while (!Ended(pid) && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return Ended(pid);
}

// Everything a run of the child in "lines" mode reports.
const std::vector<std::string> kLinesRun = {"started " + kChild + " lines", "out first", "out second", "terminated"};

TEST(ProcessRedirectTest, EmptyLinesVanishAndTheEndComesAfterTheOutput) {
  Recorder redirect;
  ASSERT_EQ(redirect.Start("lines"), 1);
  EXPECT_EQ(redirect.Events().at(0), kLinesRun[0]);  // before the start returns
  ASSERT_TRUE(redirect.WaitFor("terminated"));
  EXPECT_EQ(redirect.Events(), kLinesRun);
  redirect.TerminateChildProcess();
  EXPECT_EQ(redirect.GetChildExitCode(), 0);
  EXPECT_EQ(redirect.IsChildRunning(), 0);
}

// A run ends as soon as the child has exited and its output is read, not a
// fixed pause later; a background program the child leaves holding the pipe
// delays the end only by a short grace, and is killed with the child's group.
// The bounds are loose on purpose: the old pause alone took a second.
TEST(ProcessRedirectTest, TheEndFollowsTheChildsExitAndItsLastLine) {
  struct Case {
    const char* name;
    std::string command;
    std::vector<std::string> out;
    std::string err;
    std::chrono::milliseconds within;
  };
  const std::string script = ::testing::TempDir() + "/tav_leaves_a_sleeper.sh";
  std::ofstream(script) << "sleep 30 &\necho $!\n";
  const Case cases[] = {
      {"lines", kChild + " lines", {"first", "second"}, "", std::chrono::milliseconds(500)},
      {"errors only", kChild + " stderr", {}, "err1\nerr2\n", std::chrono::milliseconds(500)},
      {"no output", kChild + " exit 3", {}, "", std::chrono::milliseconds(500)},
      {"background program left", "/bin/sh " + script, {"<pid>"}, "", std::chrono::milliseconds(1500)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder redirect;
    const auto start = Clock::now();
    ASSERT_EQ(redirect.StartChildProcess(c.command.c_str(), 0), 1);
    ASSERT_TRUE(redirect.WaitFor("terminated"));
    EXPECT_LT(redirect.terminatedAt - start, c.within);
    EXPECT_EQ(redirect.Events().back(), "terminated");
    std::vector<std::string> out = redirect.Out();
    const pid_t sleeper = c.out == std::vector<std::string>{"<pid>"} && out.size() == 1 ? PidIn(out[0]) : 0;
    if (sleeper > 0) out[0] = "<pid>";
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(redirect.Err(), c.err);
    redirect.TerminateChildProcess();
    if (sleeper > 0) {
      EXPECT_TRUE(EndsSoon(sleeper)) << "the background program runs on";
    }
  }
  std::remove(script.c_str());
}

// A chunk ends at its first NUL; a long line arrives in pieces of at most
// 10 KiB. (Errors alone: TheEndFollowsTheChildsExitAndItsLastLine.)
TEST(ProcessRedirectTest, NulBytesAndLongLines) {
  Recorder nul;
  ASSERT_TRUE(RunsToEnd(nul, "nul"));
  EXPECT_EQ(nul.Out(), std::vector<std::string>{"a b"});
  EXPECT_EQ(nul.Err(), "x");
  Recorder redirect;
  ASSERT_TRUE(RunsToEnd(redirect, "long"));
  const auto pieces = redirect.Out();
  ASSERT_GE(pieces.size(), 2U);
  size_t total = 0;
  for (const auto& piece : pieces) {
    EXPECT_LE(piece.size(), 10240U);
    EXPECT_EQ(piece.find_first_not_of('x'), std::string::npos);
    total += piece.size();
  }
  EXPECT_EQ(total, 15000U);
}

TEST(ProcessRedirectTest, AHangingChildIsKilledAndReaped) {
  Recorder redirect;
  ASSERT_EQ(redirect.Start("hang"), 1);
  ASSERT_TRUE(redirect.WaitFor("out "));
  ASSERT_EQ(redirect.Out().front().rfind("started ", 0), 0U);
  const pid_t pid = PidIn(redirect.Out().front());
  EXPECT_EQ(redirect.IsChildRunning(), 1);
  const auto before = Clock::now();
  redirect.TerminateChildProcess();
  EXPECT_LT(Clock::now() - before, std::chrono::seconds(4));
  EXPECT_EQ(redirect.GetChildExitCode(), 1);
  EXPECT_TRUE(Gone(pid));  // and not a zombie
  EXPECT_TRUE(redirect.WaitFor("terminated"));
}

TEST(ProcessRedirectTest, TeardownWhenIdleAndTwice) {
  Recorder idle;
  idle.TerminateChildProcess();
  idle.TerminateChildProcess();
  Recorder used;
  ASSERT_TRUE(RunsToEnd(used, "exit 3"));
  used.TerminateChildProcess();
  used.TerminateChildProcess();
  EXPECT_EQ(used.GetChildExitCode(), 3);
}

// A second start without a teardown in between, whatever became of the
// first child: it is stopped and reaped first, everything it reported comes
// before the second child's start, and the second run is whole.
TEST(ProcessRedirectTest, StartingAgainWithoutATeardownFinishesTheFirstChild) {
  enum class Before { kEndReported, kOutputSeen, kNothing };
  struct Case {
    const char* name;
    std::string first;  // the first command line
    Before before;      // what the host waits for before starting again
    std::vector<std::string> firstEvents;
  };
  const std::string pidChild = kChild + " pid";
  const std::string hangChild = kChild + " hang";
  const std::string missing = "/no/such/program with arguments";  // reported as output, no start
  const Case cases[] = {
      {"ended and reported", pidChild, Before::kEndReported, {"started " + pidChild, "out pid", "terminated"}},
      {"ended, end not yet reported", pidChild, Before::kOutputSeen, {"started " + pidChild, "out pid", "terminated"}},
      {"still running", hangChild, Before::kOutputSeen, {"started " + hangChild, "out started", "terminated"}},
      {"never started", missing, Before::kNothing, {"out Unable to start " + missing + "\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder redirect;
    const bool starts = c.first != missing;
    EXPECT_EQ(redirect.StartChildProcess(c.first.c_str(), 0), starts ? 1 : 0);
    EXPECT_EQ(redirect.IsChildRunning(), starts ? 1 : 0);
    if (c.before != Before::kNothing) {
      ASSERT_TRUE(redirect.WaitFor(c.before == Before::kEndReported ? "terminated" : "out "));
    }
    const pid_t firstPid = starts ? PidIn(redirect.Out().front()) : 0;

    ASSERT_EQ(redirect.Start("lines"), 1);
    if (starts) {
      EXPECT_TRUE(Gone(firstPid)) << "the first child is left over";
    }
    std::vector<std::string> events = redirect.Events();
    ASSERT_EQ(events.size(), c.firstEvents.size() + 1);
    for (size_t i = 0; i < c.firstEvents.size(); ++i) {
      EXPECT_EQ(events[i].rfind(c.firstEvents[i], 0), 0U) << events[i];  // the pid follows
    }
    EXPECT_EQ(events.back(), kLinesRun[0]);

    ASSERT_TRUE(redirect.WaitFor("terminated", starts ? 2 : 1));
    redirect.TerminateChildProcess();
    events = redirect.Events();
    EXPECT_EQ(std::vector<std::string>(events.end() - 4, events.end()), kLinesRun);
    EXPECT_EQ(redirect.GetChildExitCode(), 0);
  }
}

// A host thread blocked on a full input pipe (the child never reads) is let
// go when the run is stopped, and the next run starts and reads its input.
TEST(ProcessRedirectTest, InputToAChildThatDoesNotReadGivesUpWhenTheRunStops) {
  Recorder redirect;
  ASSERT_EQ(redirect.Start("hang"), 1);
  ASSERT_TRUE(redirect.WaitFor("out "));
  const std::string text(1 << 20, 'x');  // far more than a pipe holds
  std::thread writer([&redirect, &text] { redirect.WriteChildStdIn(text.c_str()); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  redirect.TerminateChildProcess();
  writer.join();
  ASSERT_EQ(redirect.Start("stdin"), 1);
  redirect.WriteChildStdIn("again\n");
  ASSERT_TRUE(redirect.WaitFor("terminated", 2));
  EXPECT_EQ(redirect.Out().back(), "got again");
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
  EXPECT_THAT(result, ::testing::AllOf(::testing::StartsWith("/"), ::testing::EndsWith("/TaV")));

  CString text = "one\r\n\r\ntwo\nthree\r";
  CStringArray lines = {"kept"};
  CTavProcessRedirect::SeperateStr(text, lines);
  EXPECT_EQ(lines, (CStringArray{"kept", "one", "two", "three"}));
  EXPECT_EQ(CTavProcessRedirect::CopyData(nullptr, 2, nullptr, "x", 2), 0);
}

}  // namespace
}  // namespace tav
