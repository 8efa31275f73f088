#include "ui/close_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace rapporta::test {
namespace {

// Steps: h/H a handler starts/ends, s/S the window's size loop starts/ends,
// m/M its log menu opens/closes, c a close is asked. Each step's answer:
// 'x' the window closes then, '.' it does not.
TEST(CloseRule, AClosePutOffByHandlersAndLoopsHappensOnceTheLastEnds) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"idle: at once", "c", "x"},
      {"inside a handler: when it ends", "hcH", "..x"},
      {"nested handlers: when the outer ends", "hhcHH", "....x"},
      {"a handler inside a loop: when the loop ends", "shcHS", "....x"},
      {"two loops: when both end", "smcSM", "....x"},
      {"a loop entered twice is one loop", "ssScS", "...x."},
      {"asked twice: closes once", "hccHhH", "...x.."},
      {"nothing asked: never", "hHsSmM", "......"},
  };
  for (const auto& [what, steps, expected] : cases) {
    ui::CloseRule rule;
    std::string answers;
    for (const char* step = steps; *step != 0; ++step) {
      bool closes = false;
      switch (*step) {
        case 'h': rule.Enter(); break;
        case 'H': closes = rule.Leave(); break;
        case 's': closes = rule.SetInLoop(ui::CloseRule::kSizeMove, true); break;
        case 'S': closes = rule.SetInLoop(ui::CloseRule::kSizeMove, false); break;
        case 'm': closes = rule.SetInLoop(ui::CloseRule::kLogMenu, true); break;
        case 'M': closes = rule.SetInLoop(ui::CloseRule::kLogMenu, false); break;
        case 'c': closes = rule.RequestClose(); break;
        default: break;
      }
      answers += closes ? 'x' : '.';
    }
    EXPECT_EQ(answers, expected) << what;
  }
}

}  // namespace
}  // namespace rapporta::test
