#pragma once

#include "clip_store.h"

namespace talmo {

// Plays one in-memory WAVE image to its end before returning.
class ClipPlayer {
  public:
    virtual ~ClipPlayer() = default;

    // Returns false, without any sound, when the image cannot be played.
    virtual bool PlaySync(ClipBytes image) = 0;
};

}  // namespace talmo
