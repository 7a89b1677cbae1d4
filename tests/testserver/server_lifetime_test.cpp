// Shutting down with clients mid-transfer, and the ostrel-testserver program.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "tests/testkit/files.h"
#include "tests/testkit/served_folder.h"
#include "tests/testkit/temp_dir.h"
#include "tests/testkit/wait.h"
#include "tests/testserver/http_client.h"

namespace ostrel::testserver::test {
namespace {

using namespace std::chrono_literals;

TEST(ServerLifetimeTest, DestructorEndsStalledAndPacedTransfers) {
  testkit::TempDir dir;
  auto server = std::make_unique<testkit::ServedFolder>(dir.path());
  server->Put("a.bin", testkit::RandomBytes(100000));
  // Each of these would keep its client busy for minutes.
  std::string urls[] = {server->Url("fault/stall=600000,stallat=10/a.bin"),
                        server->Url("fault/stallhead=600000/a.bin"),
                        server->Url("fault/rate=100/a.bin")};
  std::vector<std::thread> clients;
  for (const std::string& url : urls) clients.emplace_back([url] { Fetch(url); });
  ASSERT_TRUE(testkit::WaitUntil([&] { return server->Requests().size() == 3; }, 30s));

  auto started = std::chrono::steady_clock::now();
  server.reset();
  // A hang check, not a speed check: the transfers had minutes to go.
  EXPECT_LT(std::chrono::steady_clock::now() - started, 60s);
  for (std::thread& client : clients) client.join();
}

TEST(ServerLifetimeTest, ProgramServesUntilTerminated) {
  testkit::TempDir dir;
  const std::string data = testkit::RandomBytes(1000);
  testkit::WriteFile(dir / "a.bin", data);
  std::string portFile = (dir.path() / "port").string();
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    execl(OSTREL_TESTSERVER_EXE, OSTREL_TESTSERVER_EXE, "--port-file", portFile.c_str(),
          dir.path().c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string port;
  EXPECT_TRUE(testkit::WaitUntil([&] {
    std::ifstream in(portFile);
    return static_cast<bool>(in >> port);
  }, 30s));
  FetchResult result = Fetch("http://127.0.0.1:" + port + "/a.bin");
  EXPECT_TRUE(result.body == data);

  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ServerLifetimeTest, ProgramRejectsBadArguments) {
  auto run = [](std::string args) {
    std::string command = std::string(OSTREL_TESTSERVER_EXE) + " " + args + " 2>/dev/null";
    int status = system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run(""), 2);
  EXPECT_EQ(run("--port"), 2);
  EXPECT_EQ(run("--port 70000 /tmp"), 2);
  EXPECT_EQ(run("--bogus /tmp"), 2);
  EXPECT_EQ(run("/nonexistent-folder-for-test"), 2);
}

}  // namespace
}  // namespace ostrel::testserver::test
