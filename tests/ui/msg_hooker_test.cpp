#include "ui/msg_hooker.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "test_dialog.h"
#include "ui/window.h"

namespace Ostra {
namespace {

using testing::FunctionHooker;

constexpr UINT kProbe = WM_APP + 1;
constexpr UINT kNested = WM_APP + 2;

WindowMessage probe(UINT message = kProbe) { return WindowMessage{nullptr, message, 0, 0, 1}; }

// Notes its name in a shared log and answers as told.
class LoggingHooker : public IMsgHooker {
 public:
  LoggingHooker(std::string name, std::string& log, bool handles = false)
      : name_(std::move(name)), log_(log), handles_(handles) {}
  bool onMessage(WindowMessage&) override {
    log_ += name_;
    return handles_;
  }

 private:
  std::string name_;
  std::string& log_;
  bool handles_;
};

// Deletes itself when it gets a message, then notes how many chains are alive.
class SelfDeleting : public IMsgHooker {
 public:
  explicit SelfDeleting(int& liveAfterwards) : liveAfterwards_(liveAfterwards) {}
  bool onMessage(WindowMessage&) override {
    int& out = liveAfterwards_;
    delete this;
    out = CMsgHookerChain::liveCount();
    return true;
  }

 private:
  int& liveAfterwards_;
};

TEST(MsgHookerChain, EveryHookerCalledInOrderWhateverTheEarlierOnesReturned) {
  const struct {
    bool first, second, third;
    bool handled;
  } cases[] = {
      {false, false, false, false},
      {true, false, false, true},
      {false, false, true, true},
      {true, true, true, true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    std::string log;
    auto* chain = new CMsgHookerChain;
    LoggingHooker a("a", log, cases[i].first), b("b", log, cases[i].second), c("c", log, cases[i].third);
    chain->add(a);
    chain->add(b);
    chain->add(c);
    WindowMessage m = probe();
    EXPECT_EQ(cases[i].handled, chain->dispatch(m)) << "case " << i;
    EXPECT_EQ("abc", log) << "case " << i;
  }
}

TEST(MsgHookerChain, HookerAddedDuringDispatchIsCalledFromTheNextMessageOn) {
  std::string log;
  auto* chain = new CMsgHookerChain;
  LoggingHooker late("L", log);
  bool added = false;
  FunctionHooker adder([&](WindowMessage&) {
    log += "a";
    if (!added) chain->add(late);
    added = true;
    return false;
  });
  chain->add(adder);
  WindowMessage first = probe();
  chain->dispatch(first);
  EXPECT_EQ("a", log);
  WindowMessage second = probe();
  chain->dispatch(second);
  EXPECT_EQ("aaL", log);
}

TEST(MsgHookerChain, HookerDestroyedDuringDispatchIsSkippedAndErasedWhenTheOutermostDispatchEnds) {
  // The victim goes in the outer dispatch or in one nested inside it; either
  // way its entry stays until the outer one has ended.
  for (const bool nested : {false, true}) {
    std::string log;
    auto* chain = new CMsgHookerChain;
    auto victim = std::make_unique<LoggingHooker>("v", log);
    int entriesAfterInner = -1;
    FunctionHooker killer([&](WindowMessage& m) {
      if (nested && m.message == kProbe) {
        WindowMessage inner = probe(kNested);
        chain->dispatch(inner);
        entriesAfterInner = chain->entryCount();
      } else {
        victim.reset();
      }
      return false;
    });
    int entriesDuringDispatch = -1;
    FunctionHooker observer([&](WindowMessage& m) {
      if (m.message == kProbe) entriesDuringDispatch = chain->entryCount();
      return false;
    });
    chain->add(killer);
    chain->add(*victim);
    chain->add(observer);
    WindowMessage m = probe();
    chain->dispatch(m);
    EXPECT_EQ("", log) << "nested " << nested;
    EXPECT_EQ(3, entriesDuringDispatch) << "nested " << nested;
    EXPECT_EQ(nested ? 3 : -1, entriesAfterInner);
    EXPECT_EQ(2, chain->entryCount()) << "nested " << nested;
  }
}

TEST(MsgHookerChain, HookerAddedTwiceLeavesBothEntriesWhenDestroyedDuringDispatch) {
  std::string log;
  auto* chain = new CMsgHookerChain;
  auto twice = std::make_unique<LoggingHooker>("t", log);
  FunctionHooker killer([&](WindowMessage&) {
    twice.reset();
    return false;
  });
  chain->add(killer);
  chain->add(*twice);
  chain->add(*twice);
  WindowMessage m = probe();
  chain->dispatch(m);
  // Neither entry may call the destroyed object.
  EXPECT_EQ("", log);
  EXPECT_EQ(1, chain->entryCount());
}

TEST(MsgHookerChain, ChainDeletesItselfWhenItsLastHookerGoes) {
  const int before = CMsgHookerChain::liveCount();
  {
    auto* chain = new CMsgHookerChain;
    std::string log;
    LoggingHooker a("a", log), b("b", log);
    chain->add(a);
    chain->add(b);
    EXPECT_EQ(before + 1, CMsgHookerChain::liveCount());
  }
  EXPECT_EQ(before, CMsgHookerChain::liveCount());

  // The last hooker destroys itself in the middle of a dispatch: the chain
  // stays for the rest of the dispatch and goes when it ends.
  auto* chain = new CMsgHookerChain;
  int liveDuringDispatch = -1;
  chain->add(*new SelfDeleting(liveDuringDispatch));
  WindowMessage m = probe();
  EXPECT_TRUE(chain->dispatch(m));
  EXPECT_EQ(before + 1, liveDuringDispatch);
  EXPECT_EQ(before, CMsgHookerChain::liveCount());
}

TEST(MsgHookerChain, WindowDeletedBeforeTheApplicationHookerKeepsTheChain) {
  const int before = CMsgHookerChain::liveCount();
  std::string log;
  auto window = std::make_unique<CWindow>();
  auto application = std::make_unique<LoggingHooker>("app", log);
  CMsgHookerChain& chain = window->chain();
  chain.add(*application);
  window.reset();
  EXPECT_EQ(before + 1, CMsgHookerChain::liveCount());
  WindowMessage m = probe();
  chain.dispatch(m);
  EXPECT_EQ("app", log);
  application.reset();
  EXPECT_EQ(before, CMsgHookerChain::liveCount());
}

TEST(MsgHookerChain, ExceptionSkipsTheRestAndPassesOn) {
  std::string log;
  auto* chain = new CMsgHookerChain;
  auto victim = std::make_unique<LoggingHooker>("v", log);
  LoggingHooker before("b", log);
  FunctionHooker thrower([&](WindowMessage&) -> bool {
    victim.reset();
    throw std::runtime_error("hooker failed");
  });
  LoggingHooker after("a", log);
  chain->add(before);
  chain->add(*victim);
  chain->add(thrower);
  chain->add(after);
  WindowMessage m = probe();
  EXPECT_THROW(chain->dispatch(m), std::runtime_error);
  EXPECT_EQ("bv", log);
  // The destroyed hooker's entry went even though the dispatch failed.
  EXPECT_EQ(3, chain->entryCount());
  WindowMessage next = probe(kNested);
  EXPECT_THROW(chain->dispatch(next), std::runtime_error);
  EXPECT_EQ("bvb", log);
}

TEST(MsgHookerChain, NestedDispatchOnTheSameThreadReachesEveryHooker) {
  std::string log;
  auto* chain = new CMsgHookerChain;
  FunctionHooker sender([&](WindowMessage& m) {
    log += m.message == kProbe ? "P" : "n";
    if (m.message == kProbe) {
      WindowMessage inner = probe(kNested);
      chain->dispatch(inner);
    }
    return false;
  });
  LoggingHooker second("s", log);
  chain->add(sender);
  chain->add(second);
  WindowMessage m = probe();
  chain->dispatch(m);
  EXPECT_EQ("Pnss", log);
}

}  // namespace
}  // namespace Ostra
