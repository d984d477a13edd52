#include "app/Module1.h"

namespace orv::Module1 {

void Main(platform::WindowSystem& windowSystem, const std::function<Frm010_Orv&()>& mainWindow) {
  if (windowSystem.previousInstanceRunning()) {
    windowSystem.messageBox(kAlreadyRunningMessage, platform::kMsgBoxExclamation,
                            kAlreadyRunningTitle);
    windowSystem.endProgram();
  }
  mainWindow().LoadProc();
}

}  // namespace orv::Module1
