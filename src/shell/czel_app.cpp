#include "shell/czel_app.h"

#include "shell/app_icon.h"
#include "shell/cmain_frame.h"

namespace zel {

CZelApp::CZelApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("zel"));
  // No display name: on X11 the toolkit would append it to every window's caption.
  setApplicationVersion(QStringLiteral("1.1"));
  setDesktopFileName(QStringLiteral("zel"));
  setWindowIcon(AppIcon());
}

CZelApp::~CZelApp() = default;

bool CZelApp::InitInstance() {
  frame_ = std::make_unique<CMainFrame>();
  frame_->show();
  return true;
}

}  // namespace zel
