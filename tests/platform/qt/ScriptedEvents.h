// Form events whose answers a test scripts, for driving the real window.
#pragma once

#include "platform/WindowSystem.h"

#include <functional>

namespace orv::test {

struct ScriptedEvents : platform::FormEvents {
  std::function<void()> onBuildAlbum = [] {};
  std::function<void()> onQuit = [] {};
  std::function<bool()> onQueryClose = [] { return true; };
  int queries = 0;
  void buildAlbum() override { onBuildAlbum(); }
  void quit() override { onQuit(); }
  bool queryClose() override {
    ++queries;
    return onQueryClose();
  }
};

}  // namespace orv::test
