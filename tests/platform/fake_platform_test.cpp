// The substitute's clock is what every run test leans on: check it first.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace zepx {

TEST(FakeMessageLoop, TimersAndScriptedEventsRunInVirtualTimeOrder) {
  FakePlatform fake;
  std::vector<std::string> seen;
  std::uint32_t id = fake.SetTimer(1000, [&] { seen.push_back("tick@" + std::to_string(fake.now)); });
  fake.At(2500, [&] { seen.push_back("stop@" + std::to_string(fake.now)); fake.KillTimer(id); });
  while (!seen.empty() ? seen.back().rfind("stop", 0) != 0 : true) fake.ProcessOneMessage();
  EXPECT_EQ(seen, (std::vector<std::string>{"tick@1000", "tick@2000", "stop@2500"}));
  EXPECT_EQ(fake.ActiveTimers(), 0u);
  EXPECT_THROW(fake.ProcessOneMessage(), FakeDeadlock);
}

TEST(FakeMessageLoop, PendingMessagesDoNotAdvanceTheClock) {
  FakePlatform fake;
  int runs = 0;
  fake.PostTask([&] { ++runs; });
  fake.SetTimer(10, [&] { runs += 100; });
  fake.ProcessPendingMessages();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(fake.now, 0);
  fake.Sleep(15);  // a blocking sleep lets the timer fall due, but runs nothing
  EXPECT_EQ(runs, 1);
  fake.ProcessPendingMessages();
  EXPECT_EQ(runs, 101);
}

TEST(FakeRegistry, KeepsTypesAndRefusesMissingKeys) {
  FakePlatform fake;
  IRegistry::Key k;
  EXPECT_FALSE(fake.OpenKey("\\Software\\VELMOR\\ZEPX", k));
  ASSERT_TRUE(fake.CreateKey("\\Software\\VELMOR\\ZEPX", k));
  fake.SetValue(k, "Layered", RegType::Dword, std::string("\xC8\0\0\0", 4));
  fake.CloseKey(k);
  EXPECT_EQ(fake.RegDword("Software\\VELMOR\\ZEPX", "Layered"), 200u);
  ASSERT_TRUE(fake.OpenKey("\\Software\\VELMOR\\ZEPX", k));
  RegType t;
  std::string data;
  EXPECT_TRUE(fake.QueryValue(k, "Layered", t, data));
  EXPECT_EQ(t, RegType::Dword);
  EXPECT_FALSE(fake.QueryValue(k, "Missing", t, data));
}

}  // namespace zepx
