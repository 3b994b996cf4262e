#include "gui/filewin/volumes.h"

namespace fetaldose::gui {

VolumeProvider& SystemVolumes() {
    static VolumeProvider volumes;
    return volumes;
}

}  // namespace fetaldose::gui
