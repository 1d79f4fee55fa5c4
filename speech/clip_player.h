// SPDX-License-Identifier: MIT
#pragma once

#include "speech/clip_store.h"

namespace talmo {

// Plays one in-memory WAVE image to its end before returning.
class ClipPlayer {
  public:
    virtual ~ClipPlayer() = default;

    // Returns false, without any sound, when the image cannot be played.
    virtual bool PlaySync(ClipBytes image) = 0;

    // Says that the clips from here on belong to a new number (or a lone
    // clip). A player that has given up on one clip of a number may refuse
    // the rest of it at once, and tries again from the next number on.
    virtual void BeginNumber() {}

    // Says that the number's last clip has been given. A player that lets one
    // clip run on into the next returns from here once all of it is heard.
    virtual void EndNumber() {}

    // Cuts the sound under way short; may be called from another thread
    // while PlaySync runs there. The clip playing returns false soon after,
    // and so does the rest of its number.
    virtual void Stop() {}
};

}  // namespace talmo
