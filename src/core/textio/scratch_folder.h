#pragma once
// A private folder in the system's temporary folder, for files that are finished there before
// they go where the user wants them. It is removed, with everything in it, when it goes.

#include <string>
#include <string_view>

namespace fetaldose {

class ScratchFolder {
  public:
    // Makes the folder, its name starting with `prefix`; throws IoError if it cannot.
    explicit ScratchFolder(std::string_view prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace fetaldose
