#include "formats/step_files.hpp"

#include "formats/block_export.hpp"
#include "formats/detail/block_writers.hpp"
#include "formats/surface_export.hpp"
#include "geometry/block_set.hpp"
#include "geometry/outward_faces.hpp"
#include "io/file_paths.hpp"

#include <algorithm>
#include <regex>
#include <span>

namespace tolvex {

namespace {

std::string series_name(run_kind run, step_series series) {
    static const char* const suffix[] = {"", "_tracers", "_horizons"};
    return std::string(run_name(run)) + suffix[static_cast<int>(series)];
}

std::string fault_label(const fault* applied) {
    if (applied == nullptr)
        return "initial";
    return std::to_string(applied->id) + (applied->tag.empty() ? "" : " " + applied->tag);
}

// Block s's part of a per-block list of a set.
template <class T>
std::span<const T> part_of(const T* list, const std::vector<std::size_t>& offset, std::size_t s) {
    return {list + offset[s], offset[s + 1] - offset[s]};
}

// A step of a history as the block writers read a list: each shape where its offset puts it, with
// the outward faces found for it once.
struct history_blocks {
    const step_history& history;
    const std::vector<placed_shape>& placed;
    const outward_shapes& outward;

    struct one {
        std::span<const xyz> vertices;
        std::span<const int> corners; // as the shape holds them
        const int* face_begin;        // face count + 1 positions in corners
        std::span<const int> sources; // per face
        std::span<const xyz> normals; // per face, outward
        const std::uint8_t* turned;   // per face
        const xyz& offset;

        std::size_t vertex_count() const { return vertices.size(); }
        // As the run has the vertex: where the shape holds it, moved by the offset.
        xyz vertex(std::size_t v) const {
            const xyz& p = vertices[v];
            return {p[0] + offset[0], p[1] + offset[1], p[2] + offset[2]};
        }
        std::size_t face_count() const { return sources.size(); }
        std::size_t corner_count(std::size_t f) const {
            return static_cast<std::size_t>(face_begin[f + 1] - face_begin[f]);
        }
        // As outward_faces orders them: a face turned inward keeps its first corner, the rest
        // reversed.
        int corner(std::size_t f, std::size_t k) const {
            const auto first = static_cast<std::size_t>(face_begin[f]);
            return corners[k > 0 && turned[f] != 0 ? first + corner_count(f) - k : first + k];
        }
        xyz normal(std::size_t f) const { return normals[f]; }
        int source(std::size_t f) const { return sources[f]; }
    };
    std::size_t size() const { return placed.size(); }
    one at(std::size_t n) const {
        const block_set& shapes = history.shapes;
        const std::size_t s = placed[n].shape;
        const std::size_t face = shapes.face_offset[s];
        return {part_of(shapes.vertices.data(), shapes.vertex_offset, s),
                part_of(shapes.corners.data(), shapes.corner_offset, s),
                shapes.face_begin.data() + face + s,
                part_of(shapes.face_sources.data(), shapes.face_offset, s),
                part_of(outward.normals.data(), shapes.face_offset, s),
                outward.turned.data() + face,
                offset_of(history, placed[n])};
    }
};

} // namespace

void add_outward_shapes(outward_shapes& outward, const step_history& history) {
    for (; outward.shapes < block_count(history.shapes); ++outward.shapes) {
        // The shape where the run made it: its faces' sides are read from those vertices.
        block b = to_block(shape_of(history, static_cast<std::uint32_t>(outward.shapes)));
        for (vec3& v : b.vertices)
            for (int k = 0; k < 3; ++k)
                v[k] += b.displacement[k];
        const std::vector<face> faces = outward_faces(b);
        for (std::size_t f = 0; f < faces.size(); ++f) {
            outward.turned.push_back(faces[f].indices != b.faces[f].indices ? 1 : 0);
            outward.normals.push_back({faces[f].normal[0], faces[f].normal[1], faces[f].normal[2]});
        }
    }
}

std::string step_file_name(run_kind run, step_series series, std::size_t step,
                           std::size_t step_count, step_format format) {
    const std::size_t width = std::max<std::size_t>(3, std::to_string(step_count).size());
    const std::string number = std::to_string(step);
    // Surfaces have only the legacy writer.
    const bool vtp = format == step_format::vtp && series != step_series::horizons;
    return series_name(run, series) + "_" +
           std::string(width - std::min(width, number.size()), '0') + number +
           (vtp ? ".vtp" : ".vtk");
}

std::string step_series_index_name(run_kind run, step_series series, step_format format) {
    // ParaView picks the reader from the ending before ".series": that of the files listed.
    const std::string first = step_file_name(run, series, 0, 0, format);
    return series_name(run, series) + first.substr(first.rfind('.')) + ".series";
}

std::string step_series_index(run_kind run, step_series series, std::size_t step_count,
                              step_format format) {
    std::string out = "{\n  \"file-series-version\": \"1.0\",\n  \"files\": [\n";
    for (std::size_t step = 0; step <= step_count; ++step)
        out += "    {\"name\": \"" + step_file_name(run, series, step, step_count, format) +
               "\", \"time\": " + std::to_string(step) + (step < step_count ? "},\n" : "}\n");
    return out + "  ]\n}\n";
}

bool is_step_file_name(const std::string& name) {
    static const std::regex pattern(
        R"((restoration|forward)(_tracers|_horizons)?(_[0-9]{3,}\.vt[kp]|\.vt[kp]\.series))");
    return std::regex_match(name, pattern);
}

void stage_step_files(const step_history& history, const outward_shapes& outward,
                      const run_step_change& change, const std::vector<horizon>& horizons,
                      const std::string& folder, const file_fn& out, step_format format,
                      const std::vector<std::string>& fault_labels, tracer_numbers* numbers) {
    const history_step& step = history.steps.back();
    const std::string label = fault_label(change.applied);
    const bool vtp = format == step_format::vtp;
    const auto path = [&](step_series series) {
        return join_path(
            folder, step_file_name(change.run, series, change.step, change.step_count, format));
    };
    const fault_order order{change.run, change.step_count, fault_labels};
    const history_blocks blocks{history, step.blocks, outward};
    out(path(step_series::blocks),
        vtp ? detail::vtp_blocks_text(blocks, change.centre, label, order)
            : detail::vtk_blocks_text(blocks, change.centre, label, order));
    out(path(step_series::tracers),
        vtp ? tracers_to_vtp(change.tracers, change.centre, label, numbers)
            : tracers_to_vtk(change.tracers, change.centre, label));
    std::vector<step_series> written = {step_series::blocks, step_series::tracers};
    if (!change.horizons.empty()) {
        const std::string file = path(step_series::horizons);
        out(file, surfaces_to_text(horizon_surfaces(step.horizons, horizons, change.centre), file,
                                   change.centre));
        written.push_back(step_series::horizons);
    }
    if (change.step < change.step_count)
        return;
    for (const step_series series : written)
        out(join_path(folder, step_series_index_name(change.run, series, format)),
            step_series_index(change.run, series, change.step_count, format));
}

} // namespace tolvex
