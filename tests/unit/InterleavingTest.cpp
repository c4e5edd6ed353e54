// Many random scripts of what a user and Windows do, each played on a fresh program and
// judged by what applications saw (see ButtonJudge). A failing script is shrunk to the
// shortest that still fails. VORNATIC_RANDOM_COUNT and VORNATIC_RANDOM_SEED choose how
// many and which; with a count given, every script is run and the faults are counted by
// kind before the first failure is shrunk.
#include <gtest/gtest.h>
#include <rapidcheck.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <sstream>

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
  for (const judge::Violation& v : outcome.violations) {
    text << judge::Name(v.fault);
    if (v.button >= 0) text << " (button " << "PSM"[v.button] << ")";
    text << "\n";
  }
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
// ThreadSanitizer makes every hand-over between the hook's thread and the window's slow.
#if defined(__SANITIZE_THREAD__)
constexpr int kScriptsInTheTestRun = 1'000;
#else
constexpr int kScriptsInTheTestRun = 10'000;
#endif

// Runs every script of a long run and counts, by kind, the scripts with each fault.
void Survey(int count, std::uint64_t seed) {
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
    if ((i + 1) % 10'000 == 0 || i + 1 == count) {
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      std::cout << i + 1 << " scripts, " << steps << " steps, seed " << seed << ", " << seconds << " s; " << failing
                << " failed\n";
      for (std::size_t k = 0; k < byKind.size(); ++k)
        std::cout << "  " << k << ": " << byKind[k] << "  " << judge::Name(static_cast<judge::Fault>(k)) << "\n";
      std::cout.flush();
    }
  }
}

TEST(InterleavingTest, EveryScriptKeepsThePromise) {
  const int surveyed = FromEnvironment("VORNATIC_RANDOM_COUNT", 0);
  rc::detail::TestParams params;
  params.seed = static_cast<std::uint64_t>(FromEnvironment("VORNATIC_RANDOM_SEED", 20261207));
  params.maxSize = kLongestScript;
  params.maxSuccess = surveyed > 0 ? surveyed : kScriptsInTheTestRun;
  if (surveyed > 0) Survey(surveyed, params.seed);
  rc::detail::TestMetadata metadata;
  metadata.id = metadata.description = "every script keeps the promise";
  const auto result = rc::detail::checkTestable(&EveryScriptKeepsThePromise, metadata, params);
  std::ostringstream message;
  rc::detail::printResultMessage(result, message);
  EXPECT_TRUE(result.template is<rc::detail::SuccessResult>()) << message.str();
}

}  // namespace
