#pragma once

namespace fetaldose::gui {

// The mounted volumes the chooser windows list as drives.
class VolumeProvider {
public:
    virtual ~VolumeProvider() = default;
};

VolumeProvider& SystemVolumes();

}  // namespace fetaldose::gui
