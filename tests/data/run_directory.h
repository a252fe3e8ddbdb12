#pragma once

// Access to the data files the build wrote into the run directory, read the
// way the game reads them.

#include <filesystem>

#include "res/image.h"

// Makes the run directory the current directory while the object lives, so
// that the resource lookup finds the archives there.
class InRunDirectory {
  public:
    InRunDirectory();
    ~InRunDirectory();
    InRunDirectory(const InRunDirectory&) = delete;
    InRunDirectory& operator=(const InRunDirectory&) = delete;

  private:
    std::filesystem::path previous_;
};

// A PIX picture looked up by name and decoded for an 8-bit display; a
// picture of size 0 when the name is not found.
Image load_pix_resource(const char* name);
