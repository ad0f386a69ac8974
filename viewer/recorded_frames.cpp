#include "viewer/recorded_frames.hpp"

const recorded_scene& recorded_frames::frame_for(std::size_t key,
                                                 const std::function<frame_mesh()>& mesh) {
    for (auto it = recorded.begin(); it != recorded.end(); ++it)
        if (it->key == key) {
            recorded.splice(recorded.begin(), recorded, it);
            return recorded.front().scene;
        }
    const recorded_scene scene = record_scene(mesh());
    std::size_t total = scene.bytes;
    for (const recording& r : recorded)
        total += r.scene.bytes;
    while (total > budget && !recorded.empty()) {
        total -= recorded.back().scene.bytes;
        delete_scene(recorded.back().scene);
        recorded.pop_back();
    }
    recorded.push_front({key, scene});
    return recorded.front().scene;
}

void recorded_frames::clear() {
    for (const recording& r : recorded)
        delete_scene(r.scene);
    recorded.clear();
}
