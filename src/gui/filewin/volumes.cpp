#include "gui/filewin/volumes.h"

#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>

namespace fetaldose::gui {

QString VolumeProvider::lastDirectoryOn(const QString& rootPath) const {
    const auto found = lastDirectories_.find(rootPath);
    return found == lastDirectories_.end() ? QString() : found->second;
}

void VolumeProvider::rememberDirectory(const QString& rootPath, const QString& directory) {
    lastDirectories_[rootPath] = directory;
}

namespace {

bool isUnder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

class MountedVolumes final : public VolumeProvider {
  public:
    std::vector<Volume> mountedVolumes() override {
        std::vector<MountEntry> mounts;
        for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
            if (!storage.isValid()) continue;
            mounts.push_back({storage.rootPath(), QString::fromLocal8Bit(storage.fileSystemType()),
                              storage.name(), QString::fromLocal8Bit(storage.device())});
        }
        return volumesFromMountTable(mounts);
    }
};

}  // namespace

std::vector<Volume> volumesFromMountTable(const std::vector<MountEntry>& mounts) {
    std::vector<Volume> volumes;
    for (const MountEntry& mount : mounts) {
        const QString& root = mount.rootPath;
        if (isPseudoFileSystem(mount.fileSystemType, root)) continue;
        // Files mounted in place (as containers do with /etc/hosts) have no root directory.
        if (!QFileInfo(root).isDir()) continue;
        Volume volume;
        volume.rootPath = root;
        volume.label = mount.label;
        volume.kind = volumeKindFor(mount.fileSystemType, root);
        if (volume.kind == VolumeKind::Network) volume.remoteName = mount.device;
        volumes.push_back(std::move(volume));
    }
    // A root that the table does not list (a chroot, some containers) is still the way to
    // every folder: it is offered all the same.
    if (std::none_of(volumes.begin(), volumes.end(),
                     [](const Volume& v) { return v.rootPath == u"/"; }))
        volumes.push_back({QStringLiteral("/"), {}, {}, VolumeKind::Fixed});
    // A path mounted over twice lists once, as the mount on top: the later one in the
    // mount table. The sort keeps the table's order among equal paths, so reversing
    // first puts the mount on top ahead of those it hides.
    std::reverse(volumes.begin(), volumes.end());
    std::stable_sort(volumes.begin(), volumes.end(),
                     [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    volumes.erase(
        std::unique(volumes.begin(), volumes.end(),
                    [](const Volume& a, const Volume& b) { return a.rootPath == b.rootPath; }),
        volumes.end());
    return volumes;
}

VolumeProvider& systemVolumes() {
    static MountedVolumes volumes;
    return volumes;
}

QString volumeEntryText(const Volume& volume) {
    if (volume.kind == VolumeKind::Network && !volume.remoteName.isEmpty())
        return volume.rootPath + QLatin1Char(' ') + volume.remoteName.toLower();
    return volume.rootPath + QStringLiteral(" [") + volume.label.toLower() + QLatin1Char(']');
}

VolumeKind volumeKindFor(const QString& fileSystemType, const QString& rootPath) {
    const QString type = fileSystemType.toLower();
    if (type == u"iso9660" || type == u"udf") return VolumeKind::Optical;
    if (type == u"tmpfs" || type == u"ramfs") return VolumeKind::Memory;
    if (type.startsWith(u"nfs") || type == u"cifs" || type == u"smb3" || type == u"smbfs" ||
        type == u"sshfs" || type == u"fuse.sshfs")
        return VolumeKind::Network;
    if ((type == u"vfat" || type == u"exfat" || type == u"msdos") &&
        (isUnder(rootPath, QStringLiteral("/media")) ||
         isUnder(rootPath, QStringLiteral("/run/media"))))
        return VolumeKind::Removable;
    return VolumeKind::Fixed;
}

bool isPseudoFileSystem(const QString& fileSystemType, const QString& rootPath) {
    static const QSet<QString> kernelTypes = {
        QStringLiteral("proc"),        QStringLiteral("sysfs"),    QStringLiteral("devpts"),
        QStringLiteral("devtmpfs"),    QStringLiteral("cgroup"),   QStringLiteral("cgroup2"),
        QStringLiteral("securityfs"),  QStringLiteral("debugfs"),  QStringLiteral("tracefs"),
        QStringLiteral("pstore"),      QStringLiteral("bpf"),      QStringLiteral("mqueue"),
        QStringLiteral("hugetlbfs"),   QStringLiteral("configfs"), QStringLiteral("fusectl"),
        QStringLiteral("binfmt_misc"), QStringLiteral("autofs"),   QStringLiteral("efivarfs"),
        QStringLiteral("selinuxfs"),   QStringLiteral("nsfs"),     QStringLiteral("rpc_pipefs"),
        QStringLiteral("squashfs"),    QStringLiteral("rootfs"),   QStringLiteral("none"),
    };
    if (kernelTypes.contains(fileSystemType.toLower())) return true;
    if (rootPath == u"/") return false;
    // The kernel's and the services' own trees; removable media under /run/media stay.
    for (const char* system : {"/proc", "/sys", "/dev", "/snap"})
        if (isUnder(rootPath, QLatin1String(system))) return true;
    if (isUnder(rootPath, QStringLiteral("/run")) &&
        !isUnder(rootPath, QStringLiteral("/run/media")))
        return true;
    return false;
}

int volumeIndexFor(const std::vector<Volume>& volumes, const QString& directory) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < static_cast<int>(volumes.size()); ++i) {
        const QString& root = volumes[i].rootPath;
        const bool holds =
            root == u"/" ? directory.startsWith(QLatin1Char('/')) : isUnder(directory, root);
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

}  // namespace fetaldose::gui
