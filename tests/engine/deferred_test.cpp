#include "engine/deferred.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using tavrix::DeferredEvents;
using tavrix::Screen;
using Event = DeferredEvents::Event;

std::string Name(const Event& e) {
  if (e.kind == Event::Kind::FocusLost) return "lost" + std::to_string(e.row);
  switch (e.screen) {
    case Screen::Start: return "active:start";
    case Screen::Quiz: return "active:quiz";
    case Screen::About: return "active:about";
  }
  return "?";
}

Event Parse(const std::string& name) {
  if (name.rfind("lost", 0) == 0) return Event::FocusLost(static_cast<std::int16_t>(std::stoi(name.substr(4))));
  if (name == "active:start") return Event::Activated(Screen::Start);
  if (name == "active:quiz") return Event::Activated(Screen::Quiz);
  return Event::Activated(Screen::About);
}

// Runs a script of handler scopes, message boxes and events against a queue
// and logs what is delivered, with "|" where the script says "mark".
//   open / close         a handler starts / returns
//   box / unbox          a message box opens / is answered
//   post:EV / notice:EV  the program's own event / the toolkit's notice
//   flush / mark
// A delivered event may react: reactions[EV] runs inside its delivery.
struct Rig : DeferredEvents::Target {
  DeferredEvents q{*this};
  std::vector<std::string> log;
  std::vector<std::unique_ptr<DeferredEvents::Scope>> scopes;
  std::vector<std::unique_ptr<DeferredEvents::BoxScope>> boxes;
  std::map<std::string, std::function<void()>> reactions;

  void Deliver(const Event& e) override {
    log.push_back(Name(e));
    if (auto it = reactions.find(Name(e)); it != reactions.end()) it->second();
  }
  void Run(const std::vector<std::string>& script) {
    for (const std::string& op : script) {
      if (op == "open") scopes.push_back(std::make_unique<DeferredEvents::Scope>(q));
      else if (op == "close") scopes.pop_back();
      else if (op == "box") boxes.push_back(std::make_unique<DeferredEvents::BoxScope>(q));
      else if (op == "unbox") boxes.pop_back();
      else if (op == "flush") q.Flush();
      else if (op == "mark") log.push_back("|");
      else if (op.rfind("post:", 0) == 0) q.Post(Parse(op.substr(5)));
      else if (op.rfind("notice:", 0) == 0) q.Notice(Parse(op.substr(7)));
      else FAIL() << "unknown op " << op;
    }
  }
};

TEST(DeferredEvents, DeliversAfterTheOutermostHandlerInOrder) {
  struct Case {
    const char* name;
    std::vector<std::string> script;
    std::vector<std::string> delivered;
  };
  const std::vector<Case> cases = {
      {"a handler's events wait until it returns",
       {"open", "post:lost3", "post:active:quiz", "mark", "close"},
       {"|", "lost3", "active:quiz"}},
      {"nested handlers deliver only when the outermost returns",
       {"open", "open", "post:lost1", "close", "mark", "notice:active:about", "close"},
       {"|", "lost1", "active:about"}},
      {"an event between handlers waits for the next one, or a flush",
       {"post:lost2", "notice:lost4", "mark", "open", "close", "mark", "post:lost5", "mark", "flush"},
       {"|", "lost2", "lost4", "|", "|", "lost5"}},
      {"the toolkit's notices while a box is open are dropped, the program's own kept",
       {"open", "box", "notice:lost2", "notice:active:about", "post:lost3", "unbox", "close"},
       {"lost3"}},
      {"notices after the box is answered count again",
       {"open", "box", "unbox", "notice:active:quiz", "close"},
       {"active:quiz"}},
      {"a flush inside a handler delivers nothing yet",
       {"open", "post:lost1", "flush", "mark", "close"},
       {"|", "lost1"}},
      {"nothing raised, nothing delivered", {"open", "close", "flush"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Run(c.script);
    EXPECT_EQ(rig.log, c.delivered);
    EXPECT_FALSE(rig.q.Pending());
    EXPECT_FALSE(rig.q.HandlerRunning());
  }
}

// What an event raises while it is delivered runs after the events already
// waiting, also when it is raised inside a handler of its own (a message box
// answered, a focus move made), and never inside the event that raised it.
TEST(DeferredEvents, EventsRaisedWhileDeliveringJoinTheQueue) {
  Rig rig;
  rig.reactions["lost1"] = [&] {
    EXPECT_TRUE(rig.q.HandlerRunning());
    DeferredEvents::Scope handler(rig.q);
    rig.q.Post(Event::FocusLost(7));
    rig.log.push_back("end of lost1");
  };
  rig.reactions["lost7"] = [&] { rig.q.Post(Event::Activated(Screen::Quiz)); };
  rig.Run({"open", "post:lost1", "post:lost2", "close"});
  EXPECT_EQ(rig.log, (std::vector<std::string>{"lost1", "end of lost1", "lost2", "lost7", "active:quiz"}));
}

TEST(DeferredEvents, AHandlerLeftByAnExceptionDeliversNothing) {
  Rig rig;
  EXPECT_THROW(
      {
        DeferredEvents::Scope handler(rig.q);
        rig.q.Post(Event::FocusLost(1));
        throw std::runtime_error("handler failed");
      },
      std::runtime_error);
  EXPECT_TRUE(rig.log.empty());
  EXPECT_FALSE(rig.q.HandlerRunning());
  rig.q.Flush();
  EXPECT_EQ(rig.log, std::vector<std::string>{"lost1"});
}

}  // namespace

// The flow tells the program's own showings from the desktop's notices.
TEST(DeferredEvents, NoticesAreMarkedAsTheDesktops) {
  struct Recorder : DeferredEvents::Target {
    std::vector<Event> got;
    void Deliver(const Event& e) override { got.push_back(e); }
  } target;
  DeferredEvents q(target);
  q.Post(Event::Activated(Screen::Quiz));
  q.Notice(Event::Activated(Screen::Quiz));
  q.Flush();
  ASSERT_EQ(target.got.size(), 2u);
  EXPECT_FALSE(target.got[0].byDesktop);
  EXPECT_TRUE(target.got[1].byDesktop);
}
