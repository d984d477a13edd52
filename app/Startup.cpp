#include "app/Startup.h"

namespace orv {

void StartUp(platform::WindowSystem& windowSystem, const std::function<MainForm&()>& mainForm) {
  if (windowSystem.previousInstanceRunning()) {
    windowSystem.messageBox(kAlreadyRunningMessage, platform::MessageIcon::kWarning,
                            kAlreadyRunningTitle);
    windowSystem.endProgram();
  }
  mainForm().load();
}

}  // namespace orv
