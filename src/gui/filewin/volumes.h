#pragma once
// The mounted volumes the chooser windows list as drives, and the directory last shown on
// each of them. The system's volumes come from QStorageInfo; tests substitute their own.

#include <QString>
#include <map>
#include <vector>

namespace fetaldose::gui {

// The kind of a volume, which picks its glyph in the drive list.
enum class VolumeKind {
    Removable,  // a memory card or stick mounted under /media or /run/media
    Fixed,      // a hard disk
    Network,    // a share of another computer
    Optical,    // a CD or DVD
    Memory,     // a file system in memory
};

struct Volume {
    QString rootPath;    // where it is mounted, such as "/" or "/media/stick"
    QString label;       // the volume label as stored, empty where there is none
    QString remoteName;  // network volumes: the remote share, such as "server:/export"
    VolumeKind kind = VolumeKind::Fixed;
};

class VolumeProvider {
  public:
    virtual ~VolumeProvider() = default;

    // The volumes to list, in the order to list them.
    virtual std::vector<Volume> mountedVolumes() = 0;

    // The directory last shown on the volume mounted at `rootPath` (the working directory the
    // chooser windows last moved to there); empty when none has been.
    QString lastDirectoryOn(const QString& rootPath) const;
    void rememberDirectory(const QString& rootPath, const QString& directory);

  private:
    std::map<QString, QString> lastDirectories_;
};

// The mounted volumes of this system, pseudo file systems left out.
VolumeProvider& systemVolumes();

// One line of a mount table.
struct MountEntry {
    QString rootPath;
    QString fileSystemType;
    QString label;
    QString device;  // the remote share of a network volume
};

// The volumes to list for a mount table, sorted by root path: pseudo file systems and
// files mounted in place left out, a path mounted over twice listed once, and the root
// volume "/" always there, whether the table lists it or not.
std::vector<Volume> volumesFromMountTable(const std::vector<MountEntry>& mounts);

// The text of a volume's entry in the drive list: its root path, a blank, and either the
// remote name of a network volume in lower case or the label in lower case in square
// brackets ("[]" where there is none).
QString volumeEntryText(const Volume& volume);

// The kind of a volume by its file system type and where it is mounted.
VolumeKind volumeKindFor(const QString& fileSystemType, const QString& rootPath);

// Whether a mount is one of the system's own (process, device and kernel tables and the like)
// rather than a place where a user keeps files.
bool isPseudoFileSystem(const QString& fileSystemType, const QString& rootPath);

// The index of the volume holding `directory` (the one with the longest root path that
// contains it), or -1.
int volumeIndexFor(const std::vector<Volume>& volumes, const QString& directory);

}  // namespace fetaldose::gui
