// Many random scripts of what a user and Windows do, each played on a fresh program and
// judged by what applications saw (see ButtonJudge). A failing script is shrunk to the
// shortest that still fails. VORNATIC_RANDOM_COUNT and VORNATIC_RANDOM_SEED choose how
// many and which; with a count given, every script is run and the faults are counted by
// kind before the first failure is shrunk. The test run counts its scripts' faults by kind
// against those still open.
#include <gtest/gtest.h>
#include <rapidcheck.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "unit/ProgramScript.h"

namespace {

using script::Act;
using script::Place;

rc::Gen<script::Step> AnyStep() {
  return rc::gen::build<script::Step>(
      rc::gen::set(&script::Step::act,
                   rc::gen::weightedElement<Act>({{50, Act::Button},
                                                  {12, Act::Move},
                                                  {8, Act::StartStop},
                                                  {4, Act::Shortcut},
                                                  {6, Act::LockOrReturn},
                                                  {4, Act::HookLost},
                                                  {4, Act::RefuseInjection},
                                                  {1, Act::FailInjection},
                                                  {1, Act::FailInHook},
                                                  {1, Act::Close},
                                                  {2, Act::PressDuringInjection},
                                                  {6, Act::Settings}})),
      rc::gen::set(&script::Step::button, rc::gen::weightedElement<int>({{6, 0}, {3, 1}, {2, 2}})),
      rc::gen::set(&script::Step::place,
                   rc::gen::weightedElement<Place>({{6, Place::Plain},
                                                    {3, Place::Near},
                                                    {4, Place::Far},
                                                    {1, Place::LeftMonitor},
                                                    {2, Place::OwnWindow},
                                                    {2, Place::TrayIcon}})),
      rc::gen::set(&script::Step::choice, rc::gen::inRange(0, 32)),
      // Closer than 50 ms, past a hold time, past the double-click time, long after.
      rc::gen::set(&script::Step::gapMs, rc::gen::element(120, 10, 40, 350, 700, 2500)));
}

rc::Gen<script::Script> AnyScript() {
  return rc::gen::build<script::Script>(
      rc::gen::set(&script::Script::setup,
                   rc::gen::build<script::Setup>(
                       rc::gen::set(&script::Setup::buttonsSwapped, rc::gen::weightedElement<bool>({{3, false}, {1, true}})),
                       rc::gen::set(&script::Setup::doubleClickMs, rc::gen::element(500u, 200u, 900u)),
                       rc::gen::set(&script::Setup::doubleClickSide, rc::gen::element(4, 20)),
                       rc::gen::set(&script::Setup::trayIconKnown, rc::gen::element(true, false)))),
      rc::gen::set(&script::Script::steps, rc::gen::container<std::vector<script::Step>>(AnyStep())));
}

std::string Describe(const script::Outcome& outcome) {
  std::ostringstream text;
  for (const judge::Violation& v : outcome.violations) text << v << "\n";
  text << "applications saw: " << outcome.seen;
  return text.str();
}

int FromEnvironment(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text != nullptr ? std::atoi(text) : fallback;
}

// VORNATIC_RANDOM_FAULT (a kind's number) shrinks towards that kind of fault alone.
void EveryScriptKeepsThePromise() {
  const int only = FromEnvironment("VORNATIC_RANDOM_FAULT", -1);
  const script::Outcome outcome = script::Play(*AnyScript());
  for (const judge::Violation& v : outcome.violations)
    if (only < 0 || static_cast<int>(v.fault) == only) RC_FAIL(Describe(outcome));
}

// The scripts are short enough that a failure reads at a glance once shrunk.
constexpr int kLongestScript = 50;
constexpr int kScriptsInTheTestRun = 10'000;
constexpr std::uint64_t kTestRunSeed = 20261207;

// What the test run's scripts still find, by kind, at its seed: the cases the program does
// not yet put right, each a hand and Windows doing two things at once that no hook of ours
// saw (the shortest of each, and why, are in the changelog's list of what is still open).
// The run fails when a kind is found in more scripts than this, and shrinks the first such
// script; a mend that finds fewer lowers the figure here, never the other way.
constexpr std::array<int, judge::kFaultKinds> kStillFound{
    1,  // a release applications never saw pressed
    2,  // what the crash path would let go of differs from what is kept down
    1,  // down in applications with nobody holding it, after giving up
    0,  // down in applications after the program has gone
    0,  // the pointer not given back where the hand is
};

// Runs every script of a run and counts, by kind, the scripts with each fault.
std::array<int, judge::kFaultKinds> Survey(int count, std::uint64_t seed, bool sayAsItGoes) {
  const auto started = std::chrono::steady_clock::now();
  std::array<int, judge::kFaultKinds> byKind{};
  std::size_t steps = 0;
  int failing = 0;
  rc::Random random(seed);
  for (int i = 0; i < count; ++i) {
    const script::Script drawn = AnyScript()(random.split(), i % (kLongestScript + 1)).value();
    const script::Outcome outcome = script::Play(drawn);
    steps += outcome.steps;
    std::array<bool, judge::kFaultKinds> seen{};
    for (const judge::Violation& v : outcome.violations) seen[static_cast<std::size_t>(v.fault)] = true;
    for (std::size_t k = 0; k < seen.size(); ++k) byKind[k] += seen[k];
    failing += !outcome.violations.empty();
    // A long run says where it is, so that one cut short still has its figures.
    if (i + 1 == count || (sayAsItGoes && (i + 1) % 10'000 == 0)) {
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      std::cout << i + 1 << " scripts, " << steps << " steps, seed " << seed << ", " << seconds << " s; " << failing
                << " failed\n";
      for (std::size_t k = 0; k < byKind.size(); ++k)
        std::cout << "  " << k << ": " << byKind[k] << "  " << judge::Name(static_cast<judge::Fault>(k)) << "\n";
      std::cout.flush();
    }
  }
  return byKind;
}

// The shortest script RapidCheck finds with a fault of that kind (any kind: -1).
std::string Shrunk(int count, std::uint64_t seed, int kind) {
  if (kind >= 0) ::setenv("VORNATIC_RANDOM_FAULT", std::to_string(kind).c_str(), 1);
  rc::detail::TestParams params;
  params.seed = seed;
  params.maxSize = kLongestScript;
  params.maxSuccess = count;
  rc::detail::TestMetadata metadata;
  metadata.id = metadata.description = "every script keeps the promise";
  const auto result = rc::detail::checkTestable(&EveryScriptKeepsThePromise, metadata, params);
  if (kind >= 0) ::unsetenv("VORNATIC_RANDOM_FAULT");
  if (result.template is<rc::detail::SuccessResult>()) return {};
  std::ostringstream message;
  rc::detail::printResultMessage(result, message);
  return message.str();
}

TEST(InterleavingTest, EveryScriptKeepsThePromise) {
  const int surveyed = FromEnvironment("VORNATIC_RANDOM_COUNT", 0);
  const auto seed = static_cast<std::uint64_t>(FromEnvironment("VORNATIC_RANDOM_SEED", kTestRunSeed));
  if (surveyed > 0) {
    // A run asked for by hand: its figures, and the first failure shrunk.
    Survey(surveyed, seed, true);
    const std::string failure = Shrunk(surveyed, seed, FromEnvironment("VORNATIC_RANDOM_FAULT", -1));
    EXPECT_TRUE(failure.empty()) << failure;
    return;
  }
  const std::array<int, judge::kFaultKinds> found = Survey(kScriptsInTheTestRun, seed, false);
  for (std::size_t k = 0; k < found.size(); ++k) {
    const int allowed = seed == kTestRunSeed ? kStillFound[k] : 0;
    if (found[k] > allowed)
      ADD_FAILURE() << judge::Name(static_cast<judge::Fault>(k)) << " in " << found[k] << " scripts, more than the "
                    << allowed << " still open:\n"
                    << Shrunk(kScriptsInTheTestRun, seed, static_cast<int>(k));
  }
}

}  // namespace
