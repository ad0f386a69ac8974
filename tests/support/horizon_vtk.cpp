#include "tests/support/horizon_vtk.hpp"

#include "formats/surface_export.hpp"

std::string horizons_to_vtk(const std::vector<horizon>& horizons) {
    tolvex::surface_set set;
    set.surfaces = horizons;
    set.cell_data.push_back({"horizon", {}});
    for (std::size_t k = 0; k < horizons.size(); ++k) {
        set.cell_data[0].second.insert(set.cell_data[0].second.end(), horizons[k].triangles.size(),
                                       static_cast<int>(k));
        set.names.push_back(horizons[k].name);
    }
    set.names_of = "horizon";
    return tolvex::surfaces_to_vtk(set);
}
