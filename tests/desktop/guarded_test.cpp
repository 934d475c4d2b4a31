// SPDX-License-Identifier: GPL-3.0-or-later
#include "guarded.h"

#include <functional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

namespace lvx {
namespace {

struct NotAnException {};

// What a handler throws never leaves Guarded, and what it did before the
// throw stays done.
TEST(Guarded, SwallowsWhatTheHandlerThrowsAfterItsWork) {
  const struct {
    const char* name;
    std::function<void()> toThrow;
  } cases[] = {
      {"nothing", [] {}},
      {"runtime_error", [] { throw std::runtime_error("bad"); }},
      {"bad_alloc", [] { throw std::bad_alloc(); }},
      {"int", [] { throw 7; }},
      {"string", [] { throw std::string("text"); }},
      {"no exception type", [] { throw NotAnException{}; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int steps = 0;
    Guarded([&] {
      ++steps;
      c.toThrow();
      ++steps;
    });
    EXPECT_EQ(steps, std::string(c.name) == "nothing" ? 2 : 1);
  }
}

TEST(Guarded, IsNoexceptForEveryHandler) {
  static_assert(noexcept(Guarded([] { throw 1; })));
  int calls = 0;
  auto handler = [&calls]() mutable { ++calls; };
  Guarded(handler);
  Guarded(handler);
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace lvx
