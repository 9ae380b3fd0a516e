// The menu window `menuform`: a tool window over the top of the main window with the menu bar
// and the toolbar `Toolbar1`. It closes when it loses the activation, and the main window then
// moves to where it was, which makes it the handle of the borderless main window.
#pragma once

#include <QMainWindow>
#include <QToolBar>

namespace gd {

class Application;

class MenuForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit MenuForm(Application& app, QWidget* mainWindow);
    // Size, place and caption from the main window.
    void Load();
    QToolBar* Toolbar1() const { return toolbar_; }

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbar();

    Application& app_;
    QWidget* main_;
    QToolBar* toolbar_ = nullptr;
    bool closed_ = false;
};

}  // namespace gd
