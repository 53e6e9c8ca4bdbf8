// The application: start-up and the main window's lifetime.
#pragma once

#include <QApplication>
#include <memory>

namespace zel {

class CMainFrame;

class CZelApp : public QApplication {
  Q_OBJECT

 public:
  CZelApp(int& argc, char** argv);
  ~CZelApp() override;

  // Opens the main window, which holds a new game. False when the program cannot go on.
  bool InitInstance();

 private:
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace zel
