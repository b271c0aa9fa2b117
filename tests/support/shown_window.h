#pragma once
// A test with a window of its own (`window`), shown on the screen and
// exposed before the test begins.

#include <QTest>

#include <gtest/gtest.h>

namespace diaspring::testing {

template <class Window>
class ShownWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  Window window;
};

}  // namespace diaspring::testing
