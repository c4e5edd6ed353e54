// Every sequence of events up to a depth, on the drag decision alone with the least of a
// shell around it (what the controller does with its verdicts and chores, whether Windows
// takes what we inject, what applications see), each state judged by the same judge as the
// random scripts. Iterative deepening: the first violation found is a shortest one. States
// met again with no more depth left to explore are not explored twice. VORNATIC_SEARCH_DEPTH
// searches deeper than the test run does.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "autodrag/DragDecision.h"
#include "unit/ButtonJudge.h"

namespace {

using drag::Button;

using judge::kPress;
using judge::kRelease;
constexpr rt::ScreenPoint kHere{100, 100}, kThere{600, 650}, kOwnWindow{400, 400}, kTrayIcon{1808, 1058};
constexpr std::uint32_t kHoldMs = 300, kDoubleClickMs = 500;

enum class Place { Pointer, OwnWindow, TrayIcon };

// One letter of the alphabet: a button of the hand toggled at a place, or something else.
enum class Kind { Button, MoveAway, PastHoldTime, PastDoubleClickTime, StartStop, LockOrReturn, HookLost, Latch, Refuse };
struct Letter {
  Kind kind;
  int button = 0;
  Place place = Place::Pointer;
};

std::vector<Letter> Alphabet() {
  std::vector<Letter> letters;
  for (int b = 0; b < 3; ++b)
    for (Place place : {Place::Pointer, Place::OwnWindow, Place::TrayIcon}) letters.push_back({Kind::Button, b, place});
  for (Kind kind : {Kind::MoveAway, Kind::PastHoldTime, Kind::PastDoubleClickTime, Kind::StartStop, Kind::LockOrReturn,
                    Kind::HookLost, Kind::Latch, Kind::Refuse})
    letters.push_back({kind});
  return letters;
}

std::string Describe(const Letter& letter) {
  static const char* const kPlaces[] = {"", " on our window", " on the tray icon"};
  switch (letter.kind) {
    case Kind::Button:
      return std::string("button ") + "PSM"[letter.button] + kPlaces[static_cast<int>(letter.place)];
    case Kind::MoveAway: return "move beyond the drag threshold";
    case Kind::PastHoldTime: return "+350 ms";
    case Kind::PastDoubleClickTime: return "+600 ms";
    case Kind::StartStop: return "Start/Stop (or the shortcut)";
    case Kind::LockOrReturn: return "lock/return";
    case Kind::HookLost: return "hook lost";
    case Kind::Latch: return "latch on/off";
    case Kind::Refuse: return "refuse the next injection";
  }
  return "?";
}

// The decision with the shell's part played as modMouse and the controller play it.
struct World {
  drag::DragDecision decision;
  judge::ButtonJudge judge;
  std::uint32_t now = 1000;
  rt::ScreenPoint hand = kHere;
  bool hookIn = false;
  // Windows took the hook away; a button event since then lets the watch notice it.
  bool hookLost = false;
  bool lossSeen = false;
  bool away = false;
  bool refuseNext = false;
  bool latchOn = false;
  std::uint64_t filling = 0;
  std::uint32_t fillFrom = 0;

  World() {
    decision.SetDoubleClick(kDoubleClickMs, {4, 4});
    judge.HandAt(hand);
  }

  // An event at the hook: applications see it unless a hook of ours is in and swallows it.
  bool Deliver(std::uint32_t message, rt::ScreenPoint at, bool ours, bool onOwnUi) {
    drag::Event event;
    event.message = message;
    event.at = at;
    event.time = now;
    event.ours = ours;
    event.onOwnUi = onOwnUi;
    const bool swallowed = hookIn && decision.Decide(event);
    if (!swallowed) judge.AppsSaw(message, at, ours);
    return swallowed;
  }

  drag::ButtonBits HandBits() const {
    drag::ButtonBits bits = 0;
    for (int b = 0; b < 3; ++b)
      if (judge.HandHolds(b)) bits |= drag::Bit(static_cast<Button>(b));
    return bits;
  }
  void Inject(const drag::Release& release) {
    const int b = static_cast<int>(release.button);
    if (!release.handLetGoElsewhere && !judge.AppsSeeDown(b)) return decision.AlreadyUp(release.button);
    if (away) return;
    if (std::exchange(refuseNext, false)) {
      judge.InjectionRefused();
      decision.SetTrouble(drag::Trouble::InjectionRefused);
      return;
    }
    decision.Injected(release.button);
    // Without a point of its own it lands where the pointer is: where the hand is.
    const rt::ScreenPoint at = release.at.value_or(hand);
    Deliver(kRelease[static_cast<std::size_t>(b)], at, true, false);
    if (release.at && !(hand == *release.at)) Deliver(rt::msg::kMouseMove, hand, true, false);
  }
  void InjectOwed() {
    for (const Button button : {Button::Primary, Button::Secondary, Button::Middle})
      if (const std::optional<drag::Release> due = decision.Due(button)) Inject(*due);
  }
  void EndHold(bool putBack) {
    // As the shell does: a release the hand made while we are away was made over there.
    decision.Reconcile(HandBits(), false, away);
    decision.EndHold(putBack);
    InjectOwed();
  }
  bool HookWanted() const {
    return decision.StartOn() || decision.CurrentLatch().holdTime || decision.ReleasesToSwallow() ||
           decision.Holding() || decision.PutBackOwed();
  }
  void TakeOut() {
    hookIn = false;
    decision.HookBack();
  }
  void Install() {
    if (hookLost || !hookIn) decision.HookBack();
    hookIn = true;
    hookLost = lossSeen = false;
    judge.HookGone(false);
  }
  void Stop() {
    EndHold(true);
    decision.EndStart();
    EndHold(false);
    decision.ClearTrouble();
    if (!HookWanted()) TakeOut();
  }
  void StartStop() {
    judge.GaveUp();
    if (decision.LatchedHold()) return EndHold(true);
    if (decision.StartOn()) return Stop();
    decision.Start();
    Install();
  }

  // What the window's thread does when the hook rang: the chores, then the controller.
  void Chores() {
    const drag::Chores chores = decision.TakeChores();
    if (chores.fillFrom) {
      filling = chores.fillFrom->number;
      fillFrom = now;
    }
    if (chores.retryPutBack) InjectOwed();
    if (chores.reviewHook && !HookWanted()) TakeOut();
    if (!chores.attention) return;
    if (decision.StartOn()) {
      if (decision.ClickCount() > 1) {
        EndHold(false);
        decision.ResetClickCount();
        return Stop();
      }
      if (decision.CurrentTrouble() != drag::Trouble::None || decision.GiveUpAsked()) Stop();
    } else if (decision.GiveUpAsked() || decision.CurrentTrouble() == drag::Trouble::HookLost) {
      EndHold(true);
      decision.ClearTrouble();
    }
  }

  void Hand(const Letter& letter) {
    const std::size_t b = static_cast<std::size_t>(letter.button);
    const rt::ScreenPoint at = letter.place == Place::OwnWindow  ? kOwnWindow
                               : letter.place == Place::TrayIcon ? kTrayIcon
                                                                 : hand;
    const bool onOwnUi = letter.place != Place::Pointer;
    if (!away && !(at == hand)) Move(at);
    const std::optional<bool> toggled = judge.HandToggles(letter.button, at, onOwnUi);
    if (!toggled) return;
    const bool press = *toggled;
    if (hookLost) lossSeen = true;
    if (Deliver(press ? kPress[b] : kRelease[b], at, false, onOwnUi) && press) judge.PressKeptFromApps(letter.button);
    Chores();
  }
  void Move(rt::ScreenPoint to) {
    hand = to;
    judge.HandAt(to);
    if (!away) {
      Deliver(rt::msg::kMouseMove, to, false, false);
      Chores();
    }
  }
  void Wait(std::uint32_t ms) {
    now += ms;
    if (filling != 0 && now - fillFrom >= kHoldMs) decision.ShowHeld(std::exchange(filling, 0));
    if (!lossSeen) return;
    // The watch saw a button go by the hook: Windows took it away. Raw input still tells
    // what the hand holds.
    decision.Reconcile(HandBits(), false, away);
    const bool holding = decision.HookLost(true);
    lossSeen = false;
    if (holding) {
      decision.SetTrouble(drag::Trouble::HookLost);
      Chores();
    } else if (decision.StartOn() || latchOn) {
      Install();
    }
  }

  void Apply(const Letter& letter) {
    switch (letter.kind) {
      case Kind::Button: Hand(letter); break;
      case Kind::MoveAway: Move(hand == kHere ? kThere : kHere); break;
      case Kind::PastHoldTime: Wait(350); break;
      case Kind::PastDoubleClickTime: Wait(600); break;
      case Kind::StartStop:
        if (!away) StartStop();
        break;
      case Kind::LockOrReturn:
        // As the shell leaves the desktop: what the hand let go of here, by a hook Windows may
        // have taken away, is settled before it could be taken for a release made over there.
        if (!away) decision.Reconcile(HandBits(), false);
        away = !away;
        if (away && (decision.StartOn() || decision.LatchedHold())) StartStop();
        judge.Away(away);
        if (!away) {
          decision.Reconcile(HandBits(), true);
          InjectOwed();
          if (!HookWanted()) TakeOut();
        }
        break;
      case Kind::HookLost:
        if (hookIn) {
          hookIn = false;
          hookLost = true;
          judge.HookGone(true);
        }
        break;
      case Kind::Latch:
        latchOn = !latchOn;
        decision.SetLatch(latchOn ? drag::Latch{std::chrono::milliseconds(kHoldMs), true, true} : drag::Latch{});
        if (decision.StartOn()) break;
        if (!latchOn) {
          EndHold(false);
          if (!HookWanted()) TakeOut();
        } else if (!hookIn) {
          Install();
        }
        break;
      case Kind::Refuse: refuseNext = true; break;
    }
    Chores();
    judge.Settled(decision.KeptDown());
  }

  // Everything that decides what comes next, as bytes.
  std::string Key() const {
    std::string key;
    const auto add = [&key](const auto& value) {
      key.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    if constexpr (std::is_trivially_copyable_v<drag::DragDecision>) add(decision);
    add(judge.State());
    add(now);
    add(hand);
    const std::uint8_t flags = hookIn | hookLost << 1 | lossSeen << 2 | away << 3 | refuseNext << 4 | latchOn << 5;
    add(flags);
    add(filling);
    add(fillFrom);
    return key;
  }
};

struct Search {
  std::vector<Letter> alphabet = Alphabet();
  // The most depth left with which a state was explored, by the hash of its bytes (with
  // millions of states, two sharing a 64-bit hash is a chance of about one in a million).
  std::unordered_map<std::size_t, int> explored;
  std::size_t sequences = 0;
  std::size_t nodes = 0;
  std::vector<Letter> path;
  std::vector<Letter> failing;
  std::vector<judge::Violation> violations;
  bool dedupe = std::is_trivially_copyable_v<drag::DragDecision>;
  // Going on past a violation: how many steps broke the promise, by kind, and the shortest
  // sequence for each kind.
  bool survey = false;
  std::array<std::size_t, judge::kFaultKinds> byKind{};
  std::array<std::vector<Letter>, judge::kFaultKinds> shortest{};

  bool Explore(const World& world, int left) {
    if (left == 0) {
      ++sequences;
      return false;
    }
    if (dedupe) {
      auto [it, fresh] = explored.try_emplace(std::hash<std::string>{}(world.Key()), left);
      if (!fresh && it->second >= left) return false;
      it->second = left;
    }
    for (const Letter& letter : alphabet) {
      World next = world;
      next.Apply(letter);
      ++nodes;
      path.push_back(letter);
      if (!next.judge.Clean()) {
        if (!survey) {
          failing = path;
          violations = next.judge.Violations();
          return true;
        }
        for (const judge::Violation& v : next.judge.Violations()) {
          const auto k = static_cast<std::size_t>(v.fault);
          ++byKind[k];
          if (shortest[k].empty() || shortest[k].size() > path.size()) shortest[k] = path;
        }
        path.pop_back();
        continue;
      }
      if (Explore(next, left - 1)) return true;
      path.pop_back();
    }
    return false;
  }
};

TEST(DecisionSearchTest, NoSequenceOfEventsBreaksThePromise) {
  const char* asked = std::getenv("VORNATIC_SEARCH_DEPTH");
  const int depth = asked != nullptr && *asked != '\0' ? std::atoi(asked) : 6;
  Search search;
  search.survey = std::getenv("VORNATIC_SEARCH_SURVEY") != nullptr;
  const auto started = std::chrono::steady_clock::now();
  int reached = 0;
  for (int d = search.survey ? depth : 1; d <= depth && search.failing.empty(); ++d) {
    search.explored.clear();
    search.Explore(World{}, d);
    reached = d;
  }
  for (std::size_t k = 0; k < judge::kFaultKinds && search.survey; ++k) {
    std::cout << "  " << search.byKind[k] << " steps: " << judge::Name(static_cast<judge::Fault>(k));
    for (const Letter& letter : search.shortest[k]) std::cout << "\n      " << Describe(letter);
    std::cout << "\n";
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout << "depth " << reached << " over " << search.alphabet.size() << " events: " << search.sequences
            << " sequences, " << search.nodes << " steps, " << search.explored.size() << " distinct states"
            << (search.dedupe ? "" : " (not kept: the decision is not plain data)") << ", " << seconds << " s\n";
  std::ostringstream failing;
  for (const Letter& letter : search.failing) failing << "\n  " << Describe(letter);
  for (const judge::Violation& v : search.violations) failing << "\n" << v;
  EXPECT_TRUE(search.failing.empty()) << "after:" << failing.str();
}

}  // namespace
