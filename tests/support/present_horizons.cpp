#include "tests/support/present_horizons.hpp"

#include "model/model_run.hpp"

std::vector<horizon> present_horizons(const block& boundary, const std::vector<fault>& faults,
                                      const std::vector<horizon>& layers) {
    const tolvex::model_result run =
        tolvex::run_model(boundary, faults, {}, {.keep = {false, false}, .horizons = layers});
    std::vector<horizon> present;
    for (const horizon& layer : layers)
        present.push_back({layer.name, {}, {}});
    const horizon_pieces& pieces = run.forward.horizons;
    for (std::size_t p = 0; p < pieces.polygons.size(); ++p) {
        horizon& h = present[pieces.horizon[p]];
        const int first = static_cast<int>(h.vertices.size());
        for (const xyz& c : pieces.polygons.polygon(p))
            h.vertices.push_back(make_vec3(c[0], c[1], c[2]) + run.centre);
        const int corners = static_cast<int>(h.vertices.size()) - first;
        for (int k = 1; k + 1 < corners; ++k)
            h.triangles.push_back({first, first + k, first + k + 1});
    }
    return present;
}
