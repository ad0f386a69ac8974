#include "python/py_fit.hpp"

#include "model/fit_slips.hpp"
#include "python/py_errors.hpp"
#include "python/py_fault.hpp"
#include "python/py_horizon.hpp"
#include "python/py_progress.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* fit_doc =
    R"(fit_slips(boundary, faults, horizons, fit_rake=False, datum=None, progress=None)
--

The slips that restore the present-day horizons best, how well and how sure.

  boundary   a tolvex.Block.
  faults     Fault objects; the slips they carry are where the fit starts.
  horizons   the present-day Horizon objects.
  fit_rake   fit each slip vector within its plane, not only its length.
  datum      None or "regional" (each horizon to its own plane), "horizontal" (its own level),
             or a dict of restored elevations by horizon name (others get their own level).
  progress   None, or a callable progress(done, total) called after each restoration.

Returns a types.SimpleNamespace: faults (the fitted Fault objects, youngest first), fault_table
(per fault: along, along_error, across, across_error; NaN where not fitted), fault_states (per
fault the words of the along and across components: fitted, unconstrained, singular or held),
horizon_table (per horizon: rms_before, largest_before, rms_after, largest_after), covariance (of
the along and across components, fault by fault; NaN rows for those not fitted), iterations,
restorations, converged, stop_reason and notes. Releases the interpreter lock while it works;
Ctrl-C stops it with KeyboardInterrupt.)";

fit_options options_of(bool fit_rake, py::handle datum) {
    fit_options o;
    o.fit_rake = fit_rake;
    if (datum.is_none())
        return o;
    if (py::isinstance<py::str>(datum)) {
        const std::string word = datum.cast<std::string>();
        if (word == "horizontal")
            o.datum = datum_kind::horizontal;
        else if (word != "regional")
            throw py::value_error("datum: \"" + word +
                                  "\" is not \"regional\", \"horizontal\" or a dict");
        return o;
    }
    if (!py::isinstance<py::dict>(datum))
        throw py::type_error("datum: expected None, a str or a dict, got " + type_name(datum));
    o.datum = datum_kind::given;
    for (const auto& [name, z] : datum.cast<py::dict>())
        o.elevations[py::str(name).cast<std::string>()] = z.cast<double>();
    return o;
}

py::object fit(py::handle boundary, py::handle faults, py::handle horizons, bool fit_rake,
               py::handle datum, py::handle progress) {
    if (!py::isinstance<block>(boundary))
        throw py::type_error("boundary: expected a tolvex.Block, got " + type_name(boundary));
    const std::vector<fault> loaded = faults_for_run(faults);
    const std::vector<horizon> given = horizons_for_run(horizons);
    const fit_options options = options_of(fit_rake, datum);
    const block b = boundary.cast<block>();
    const fault_fn hook = python_fault_hook(progress);
    fit_result r;
    std::optional<std::string> failed;
    {
        py::gil_scoped_release nogil;
        try {
            r = fit_slips(b, loaded, given, options, hook);
        } catch (const fit_error& e) {
            failed = e.what();
        }
    }
    if (failed)
        throw py::value_error(*failed);
    const std::size_t n = r.fault_table.size(), h = r.horizon_table.size();
    py::array_t<double> fault_table({n, std::size_t{4}}), horizon_table({h, std::size_t{4}});
    py::list states;
    for (std::size_t f = 0; f < n; ++f) {
        const fault_fit& row = r.fault_table[f];
        const double values[4] = {row.along, row.along_error, row.across, row.across_error};
        for (std::size_t c = 0; c < 4; ++c)
            fault_table.mutable_at(f, c) = values[c];
        states.append(
            py::make_tuple(fit_state_word(row.along_state), fit_state_word(row.across_state)));
    }
    for (std::size_t k = 0; k < h; ++k) {
        const horizon_fit& row = r.horizon_table[k];
        const double values[4] = {row.rms_before, row.largest_before, row.rms_after,
                                  row.largest_after};
        for (std::size_t c = 0; c < 4; ++c)
            horizon_table.mutable_at(k, c) = values[c];
    }
    py::array_t<double> covariance({2 * n, 2 * n});
    std::copy(r.covariance.begin(), r.covariance.end(), covariance.mutable_data());
    const py::object space = py::module_::import("types").attr("SimpleNamespace");
    return space(py::arg("faults") = r.faults, py::arg("fault_table") = fault_table,
                 py::arg("fault_states") = states, py::arg("horizon_table") = horizon_table,
                 py::arg("covariance") = covariance, py::arg("iterations") = r.iterations,
                 py::arg("restorations") = r.restorations, py::arg("converged") = r.converged,
                 py::arg("stop_reason") = r.stop_reason, py::arg("notes") = r.notes);
}

} // namespace

void add_fit(py::module_& m) {
    m.def("fit_slips", &fit, fit_doc, py::arg("boundary"), py::arg("faults"), py::arg("horizons"),
          py::arg("fit_rake") = false, py::arg("datum") = py::none(),
          py::arg("progress") = py::none());
}

} // namespace tolvex
