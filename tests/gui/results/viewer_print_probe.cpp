// Opens the results viewer on a small generated table and prints it on the system's default
// printer, as "Print" does; with --grab FILE it saves the window's picture instead. Exit code
// 0 when no error box was raised; the error texts go to standard error.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "app/window_set.h"
#include "gui/results/results_viewer.h"
#include "gui/results/run_controller.h"
#include "recording_messages.h"
#include "viewer_fixture.h"

using namespace fetaldose;
using namespace fetaldose::gui;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QString grabFile;
    bool postNatal = false;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--grab") && i + 1 < arguments.size())
            grabFile = arguments[++i];
        else if (arguments[i] == QStringLiteral("--postnatal"))
            postNatal = true;
    }

    QTemporaryDir work;
    if (!work.isValid() || !QDir(work.path()).mkpath(QStringLiteral("data")) ||
        !QDir::setCurrent(work.path())) {
        std::fprintf(stderr, "cannot make a working directory\n");
        return 2;
    }
    const std::string data = QDir(work.path()).filePath(QStringLiteral("data/")).toStdString();
    test::writeFile(data + "nuclides.txt", "1\r\nPu-239\r\n2.411E+04 y\r\n");
    test::writeFile(data + "Pu-239.dat",
                    test::dataFileText({0, 2, 1}, {0, 2, 1}, [](const test::FieldKey& key) {
                        char text[40];
                        const int mantissa = 10 + (key.row * 7 + key.line * 3) % 89;
                        std::snprintf(text, sizeof text, "%d.%dE-%02d", mantissa / 10,
                                      mantissa % 10, 6 + key.line + key.row % 3);
                        return std::string(text);
                    }));

    RecordingMessages messages;
    Platform platform;
    platform.messages = &messages;
    WindowSet windows(std::move(platform));
    windows.create();
    messages.clear();

    SelectionSnapshot selection;
    selection.nuclides = {"Pu-239"};
    selection.halfLives = {"2.411E+04 y"};
    selection.memberOfPublic = true;
    selection.particulates = true;
    selection.aerosol[6] = true;
    selection.allAcutes = true;
    selection.allOrgans = true;
    selection.allPeriods = true;

    bool grabbed = false;
    test::ViewerDriver driver(windows.viewer());
    driver.then([](ResultsViewer& viewer) { viewer.showNextTable(); });
    if (postNatal) driver.then([](ResultsViewer& viewer) { viewer.showPostNatalView(); });
    driver.then([&](ResultsViewer& viewer) {
        if (grabFile.isEmpty())
            viewer.print();
        else
            grabbed = viewer.grab().save(grabFile);
    });
    driver.run([&] { windows.run(selection); });

    for (const QString& text : messages.all) std::fprintf(stderr, "%s\n", qPrintable(text));
    if (!driver.opened()) {
        std::fprintf(stderr, "the viewer did not open\n");
        return 1;
    }
    if (!grabFile.isEmpty() && !grabbed) return 1;
    return messages.all.isEmpty() ? 0 : 1;
}
