#pragma once
// A temporary working directory holding data/nuclides.txt and data files, made the process's
// working directory for the fixture's lifetime, and the window set opened on it with recorded
// message boxes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <utility>
#include <vector>

#include "app/window_set.h"
#include "recording_messages.h"

namespace fetaldose::gui::testing {

struct Nuclide {
    QByteArray name;
    QByteArray halfLife;
};

// A small catalogue; only some of its nuclides have a data file (see kWithDataFile).
inline std::vector<Nuclide> smallCatalogue() {
    return {{"H-3", "12.32 y"},      {"C-14", "5700 y"},    {"Sr-90", "28.79 y"},
            {"I-131", "8.02 d"},     {"Cs-137", "30.08 y"}, {"Pu-238", "87.7 y"},
            {"Pu-239", "24110 y"},   {"Pu-240", "6561 y"},  {"Am-241", "432.6 y"},
            {"Te-131m-a", "33.25 h"}};
}
inline const std::vector<QByteArray> kWithDataFile = {"H-3", "C-14", "I-131", "Cs-137", "Pu-239"};

class WorkingDataSet {
  public:
    WorkingDataSet() : previous_(QDir::currentPath()) {
        QDir(dir_.path()).mkpath(QStringLiteral("data"));
        QDir::setCurrent(dir_.path());
    }
    ~WorkingDataSet() { QDir::setCurrent(previous_); }
    WorkingDataSet(const WorkingDataSet&) = delete;
    WorkingDataSet& operator=(const WorkingDataSet&) = delete;

    QString dataPath(const QByteArray& fileName) const {
        return dir_.path() + QStringLiteral("/data/") + QString::fromLatin1(fileName);
    }

    // nuclides.txt with CR LF line ends: the count line, then a name and a half-life per entry.
    void writeCatalogue(const QByteArray& countLine, const std::vector<Nuclide>& entries) {
        QByteArray text = countLine + "\r\n";
        for (const Nuclide& entry : entries) text += entry.name + "\r\n" + entry.halfLife + "\r\n";
        writeFile("nuclides.txt", text);
    }
    void writeCatalogue(const std::vector<Nuclide>& entries) {
        writeCatalogue(QByteArray::number(static_cast<int>(entries.size())), entries);
    }

    // A data file; only its existence and permissions matter to the selection window.
    // Read-only files need no first-run pass.
    void addDataFile(const QByteArray& nuclide, bool readOnly = true) {
        const QByteArray fileName = nuclide + ".dat";
        writeFile(fileName, "1\r\n");
        QFile::setPermissions(
            dataPath(fileName),
            readOnly ? QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther
                     : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }

    // The small catalogue with the data files of kWithDataFile, already read-only.
    void writeSmallDataSet() {
        writeCatalogue(smallCatalogue());
        for (const QByteArray& name : kWithDataFile) addDataFile(name);
    }

    // Creates the twelve windows (none shown) with the recorder in place of the boxes.
    std::unique_ptr<WindowSet> openWindows(Messages& messages) const {
        Platform platform;
        platform.messages = &messages;
        auto windows = std::make_unique<WindowSet>(std::move(platform));
        windows->create();
        return windows;
    }

    // Any file of data/, written whole.
    void writeFile(const QByteArray& fileName, const QByteArray& content) {
        QFile file(dataPath(fileName));
        if (file.exists()) file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

  private:
    QString previous_;
    QTemporaryDir dir_;
};

}  // namespace fetaldose::gui::testing
