// The frames a window has recorded, one per key (a step of a run), made when the key is first
// shown and replayed on every redraw after. They are kept within a budget of buffer bytes: when
// a new one would go over it, the least recently shown go first (never the one being shown).
#pragma once

#include "viewer/scene_drawing.hpp"

#include <cstddef>
#include <functional>
#include <list>

class recorded_frames {
  public:
    explicit recorded_frames(std::size_t byte_budget) : budget(byte_budget) {}

    // The frame for key, recorded from mesh() when it has none; needs the context current. Its
    // buffer is 0 when GL could not hold it.
    const recorded_scene& frame_for(std::size_t key, const std::function<frame_mesh()>& mesh);

    // Deletes every frame (the context must be current).
    void clear();

    // Drops every frame without deleting its buffers, for a context that is gone.
    void forget() { recorded.clear(); }

  private:
    struct recording {
        std::size_t key;
        recorded_scene scene;
    };
    std::size_t budget;
    std::list<recording> recorded; // most recently shown first
};
