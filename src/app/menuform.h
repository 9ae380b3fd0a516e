// The menu window `menuform`: a tool window over the top of the main window with the menu bar
// and the toolbar `Toolbar1`. It closes when it loses the activation, and the main window then
// moves to where it was, which makes it the handle of the borderless main window.
#pragma once

#include <QMainWindow>
#include <QToolBar>

namespace gd {

class Application;

// The menu's commands that have keys of their own answer them in `window` too, so that they work
// without the menu open; the menu shows the same keys beside its entries.
void AddCommandKeys(QWidget& window, Application& app);

class MenuForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit MenuForm(Application& app, QWidget* mainWindow);
    // Size, place and caption from the main window.
    void Load();
    QToolBar* Toolbar1() const { return toolbar_; }
    // Opened by a key: its first menu drops down, and the arrow keys walk the menu bar.
    void TakeKeys();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbar();

    Application& app_;
    QWidget* main_;
    QToolBar* toolbar_ = nullptr;
    bool closed_ = false;
};

}  // namespace gd
