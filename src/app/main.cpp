#include <QApplication>

#include "app/window_set.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    fetaldose::gui::WindowSet windows;
    windows.start();
    return app.exec();
}
