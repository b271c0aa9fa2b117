#pragma once
// The module's classes bound to JavaScript with each method under its own
// name, spelled once: .DIASPRING_METHODS(WebWindow, act, state) stands for
// .function("act", &WebWindow::act).function("state", &WebWindow::state).
// (The preprocessor's usual repeat: each DIASPRING_EXPAND rescans the list,
// 64 times in all, enough for 64 methods.)

#include <emscripten/bind.h>

#define DIASPRING_PARENS ()
#define DIASPRING_EXPAND(...) DIASPRING_EXPAND3(DIASPRING_EXPAND3(DIASPRING_EXPAND3(DIASPRING_EXPAND3(__VA_ARGS__))))
#define DIASPRING_EXPAND3(...) DIASPRING_EXPAND2(DIASPRING_EXPAND2(DIASPRING_EXPAND2(DIASPRING_EXPAND2(__VA_ARGS__))))
#define DIASPRING_EXPAND2(...) DIASPRING_EXPAND1(DIASPRING_EXPAND1(DIASPRING_EXPAND1(DIASPRING_EXPAND1(__VA_ARGS__))))
#define DIASPRING_EXPAND1(...) __VA_ARGS__

#define DIASPRING_METHODS(Class, ...) __VA_OPT__(DIASPRING_EXPAND(DIASPRING_METHOD_LIST(Class, __VA_ARGS__)))
#define DIASPRING_METHOD_LIST(Class, name, ...) \
  function(#name, &Class::name) __VA_OPT__(DIASPRING_METHOD_AGAIN DIASPRING_PARENS(Class, __VA_ARGS__))
#define DIASPRING_METHOD_AGAIN() .DIASPRING_METHOD_LIST
