#pragma once
// A test whose window is shown, and exposed on the screen, before it runs;
// its controls are found by their names. A fixture that needs something made
// before the window (a watcher of message boxes) lists a base holding it
// ahead of this one: bases are made in the order they are listed.

#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "main_window.h"

template <class Window = diaspring::app::MainWindow>
class ShownWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  template <class Control = QWidget>
  Control* find(const char* name) const {
    return window.template findChild<Control*>(QString::fromUtf8(name));
  }

  Window window;
};
