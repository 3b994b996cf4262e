// The yardsticks of the start-up benchmark: a Qt program that shows one empty window, or with
// "--text" one that shows a menu bar and a line of text (the least a main window draws: it
// loads the font configuration, a face and the menu bar's style icons).

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        QMainWindow window;
        window.menuBar()->addMenu(QStringLiteral("File"));
        window.setCentralWidget(new QLabel(QStringLiteral("Select:")));
        window.resize(534, 586);
        window.show();
        return app.exec();
    }
    QWidget window;
    window.resize(534, 586);
    window.show();
    return app.exec();
}
