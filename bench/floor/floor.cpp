// The least Qt Widgets program that shows one window: the floor that the
// game's start-up time and memory are measured against.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Floor");
  window.resize(490, 420);
  window.show();
  return app.exec();
}
